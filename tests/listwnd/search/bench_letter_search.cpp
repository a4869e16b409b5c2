// The letter search on a list of 100,000 names: every group of the letter
// bar in turn, beside its floor measured in the same run, a plain walk over
// the names before the row each group finds, reading each name's first
// unit. The search walks the list in name order, so its figure is that of
// the same walk.
#include "listwnd/LetterGroup.h"
#include "listwnd/LetterSearch.h"
#include "tests/data/support/FloorRatio.h"
#include "tests/data/support/SampleContacts.h"

#include <benchmark/benchmark.h>

namespace {

int PlainWalk(const ContactListBase& list, int rows)
{
    auto guard = list.Lock();
    int initials = 0;
    for (int i = 0; i < rows; ++i) {
        const std::u16string_view name = list.GetAt(i)->GetField(FieldName)->TextValue();
        initials += !name.empty() && name[0] >= u'A';
    }
    return initials;
}

void BM_LetterSearchAgainstWalk(benchmark::State& state)
{
    const ContactListBase& list = testdata::SortedNames();
    int found[LetterGroupCount];
    for (int group = 0; group < LetterGroupCount; ++group) {
        const int row = FindLetterGroup(list, group);
        found[group] = row < 0 ? list.GetCount() : row + 1;
    }
    benchfloor::CompareWithFloor(
        state,
        [&] {
            for (int group = 0; group < LetterGroupCount; ++group)
                benchmark::DoNotOptimize(PlainWalk(list, found[group]));
        },
        [&] {
            for (int group = 0; group < LetterGroupCount; ++group)
                benchmark::DoNotOptimize(FindLetterGroup(list, group));
        });
}

} // namespace

BENCHMARK(BM_LetterSearchAgainstWalk)->UseManualTime()->Iterations(20)->Unit(benchmark::kMillisecond);
