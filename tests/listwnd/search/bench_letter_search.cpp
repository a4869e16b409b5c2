// The letter search for each group on a list of 100,000 names.
#include "listwnd/LetterGroup.h"
#include "listwnd/LetterSearch.h"
#include "tests/data/support/SampleContacts.h"

#include <benchmark/benchmark.h>

namespace {

void BM_FindLetterGroup(benchmark::State& state)
{
    const ContactListBase& list = testdata::SortedNames();
    const int group = int(state.range(0));
    int row = -1;
    for (auto _ : state) {
        row = FindLetterGroup(list, group);
        benchmark::DoNotOptimize(row);
    }
    const LetterGroup& letters = LetterGroups[group];
    state.SetLabel(std::string(letters.label, letters.label + 3) + " -> row " + std::to_string(row));
}

} // namespace

BENCHMARK(BM_FindLetterGroup)->DenseRange(0, LetterGroupCount - 1)->Unit(benchmark::kMicrosecond);
