// Big and hostile vCard input costs its length: each import beside its floor
// measured in the same run, ten imports of the same input a tenth as long.
// A card with one line of 10 MB (a card may hold 16 MiB), a value folded
// over a million lines, and a line without ':' followed by folded lines.
#include "data/ContactList.h"
#include "platform/core/CodePage.h"
#include "tests/data/support/FloorRatio.h"
#include "vcard/Import.h"

#include <functional>

namespace {

void ImportOnce(const std::string& cards)
{
    ContactList list;
    vcard::ImportSummary summary;
    vcard::ImportFailure failure;
    benchmark::DoNotOptimize(vcard::ImportCards({{"cards.vcf", cards}}, list, summary, failure));
}

void LinearIn(benchmark::State& state, const std::function<std::string(std::size_t)>& make)
{
    ce::SetACP(936);
    const std::size_t size = std::size_t(state.range(0));
    const std::string small = make(size / 10);
    const std::string big = make(size);
    benchfloor::CompareWithFloor(
        state,
        [&] {
            for (int i = 0; i < 10; ++i)
                ImportOnce(small);
        },
        [&] { ImportOnce(big); });
}

void BM_LongLine(benchmark::State& state)
{
    LinearIn(state, [](std::size_t bytes) {
        return "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Ana\r\nTITLE:" + std::string(bytes, 'a') + "\r\nEND:VCARD\r\n";
    });
}

// A card whose line `head` goes on over that many folded lines.
std::string Folded(const std::string& head, std::size_t lines)
{
    std::string card = "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Ana\r\n" + head;
    for (std::size_t i = 0; i < lines; ++i)
        card += "\r\n b";
    return card + "\r\nEND:VCARD\r\n";
}

void BM_FoldedLines(benchmark::State& state)
{
    LinearIn(state, [](std::size_t lines) { return Folded("TITLE:a", lines); });
}

void BM_FoldedLinesWithoutColon(benchmark::State& state)
{
    LinearIn(state, [](std::size_t lines) { return Folded("X-BROKEN", lines); });
}

} // namespace

BENCHMARK(BM_LongLine)->Arg(10'000'000)->UseManualTime()->Iterations(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FoldedLines)->Arg(1'000'000)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FoldedLinesWithoutColon)->Arg(100'000)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
