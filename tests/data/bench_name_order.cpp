// Sorted insertion into 100,000 names and single name comparisons with
// their heap allocations.
#include "data/ContactList.h"
#include "platform/core/CodePage.h"
#include "tests/data/support/SampleContacts.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <new>
#include <vector>

namespace {

std::atomic<long> g_allocations{0};

} // namespace

// Counts every allocation of the program. GCC pairs the inlined
// replacements with their callers and mistakes free() for a mismatch.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif

void* operator new(std::size_t size)
{
    ++g_allocations;
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}

void operator delete(void* p) noexcept
{
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}

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
    const long before = g_allocations;
    for (auto _ : state)
        benchmark::DoNotOptimize(fa.IsLessThan(fb));
    state.counters["allocs_per_compare"] =
        double(g_allocations - before) / double(std::max<benchmark::IterationCount>(state.iterations(), 1));
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
