// Sorted insertion into 100,000 names and single name comparisons with
// their heap allocations.
#include "data/ContactList.h"
#include "platform/core/CodePage.h"
#include "tests/data/support/SampleContacts.h"

#include "tests/common/CountingNew.h"

#include <benchmark/benchmark.h>

#include <algorithm>

namespace {

void BM_InsertSorted(benchmark::State& state)
{
    ContactListBase& list = testdata::SortedNames();
    testdata::SampleContacts sample(777);
    for (auto _ : state) {
        state.PauseTiming();
        std::unique_ptr<ContactRecord> record = testdata::Named(sample.Name());
        state.ResumeTiming();
        const int index = list.InsertSorted(std::move(record), FieldName);
        state.PauseTiming();
        list.RemoveAt(index);
        state.ResumeTiming();
    }
}

void Compare(benchmark::State& state, const std::u16string& a, const std::u16string& b)
{
    ContactRecord ra;
    ContactRecord rb;
    ra.GetField(FieldName)->SetValue(a, 0.0);
    rb.GetField(FieldName)->SetValue(b, 0.0);
    const ContactField& fa = *ra.GetField(FieldName);
    const ContactField& fb = *rb.GetField(FieldName);
    testalloc::allocations = 0;
    testalloc::counting = true;
    for (auto _ : state)
        benchmark::DoNotOptimize(fa.IsLessThan(fb));
    testalloc::counting = false;
    state.counters["allocs_per_compare"] =
        double(testalloc::allocations) / double(std::max<benchmark::IterationCount>(state.iterations(), 1));
}

void BM_IsLessThanChinese(benchmark::State& state)
{
    Compare(state, u"\u5F20\u4F1F", u"\u738B\u82B3"); // zhang vs wang: the longest backward scans
}

void BM_IsLessThanLatin(benchmark::State& state)
{
    Compare(state, u"Fern\u00E1ndez Mu\u00F1oz", u"FERN\u00C1NDEZ MU\u00D1OZ Ruiz");
}

} // namespace

BENCHMARK(BM_InsertSorted)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_IsLessThanChinese);
BENCHMARK(BM_IsLessThanLatin);
