// Import of vCard files as the command line does it: the book loaded, the
// cards read, decoded, checked and inserted in name order, the book saved.
// Beside each, its floor measured in the same run: a Load plus a Save of the
// book the import ends with. Reading hostile text (a line without ':'
// followed by folded lines) stands beside reading as many ordinary lines:
// at four times the lines, the ratio stays.
#include "data/ContactList.h"
#include "tests/data/support/FloorRatio.h"
#include "tests/data/support/SampleContacts.h"
#include "vcard/CardReader.h"
#include "vcard/CardWriter.h"
#include "vcard/Import.h"

namespace {

constexpr int AddedToFullBook = 1000;

std::string CardsOf(const ContactListBase& list)
{
    return vcard::WriteCards(list);
}

void LoadAndSave(benchmark::State& state, const std::u16string& from, const std::u16string& to)
{
    ContactList list;
    if (!list.Load(from) || !list.Save(to))
        state.SkipWithError("load or save failed");
}

// Load of `book` (none when empty), import of `cards`, save to `to`.
void Import(benchmark::State& state, const std::u16string& book, const std::string& cards, int expected,
            const std::u16string& to)
{
    ContactList list;
    if (!book.empty() && !list.Load(book))
        state.SkipWithError("load failed");
    vcard::ImportSummary summary;
    vcard::ImportFailure failure;
    if (!vcard::ImportCards({{"cards.vcf", cards}}, list, summary, failure) || summary.imported != expected)
        state.SkipWithError("the cards did not import whole");
    if (!list.Save(to))
        state.SkipWithError("save failed");
}

void BM_ImportIntoEmptyBook(benchmark::State& state)
{
    const int count = int(state.range(0));
    testdata::SampleFile& sample = testdata::SampleOf(count);
    const std::string cards = CardsOf(sample.list);
    benchfloor::CompareWithFloor(
        state, [&] { LoadAndSave(state, sample.Path("Contacts.pcd"), sample.Path("Copy.pcd")); },
        [&] { Import(state, {}, cards, count, sample.Path("Imported.pcd")); });
}

void BM_ImportIntoFullBook(benchmark::State& state)
{
    const int count = int(state.range(0));
    testdata::SampleFile& sample = testdata::SampleOf(count);
    ContactListBase added;
    testdata::SampleContacts other(777);
    for (int i = 0; i < AddedToFullBook; ++i)
        added.Append(new ContactRecord(other.Contact()));
    const std::string cards = CardsOf(added);
    // The floor's book is the one the import ends with.
    Import(state, sample.Path("Contacts.pcd"), cards, AddedToFullBook, sample.Path("Grown.pcd"));
    benchfloor::CompareWithFloor(
        state, [&] { LoadAndSave(state, sample.Path("Grown.pcd"), sample.Path("Copy.pcd")); },
        [&] { Import(state, sample.Path("Contacts.pcd"), cards, AddedToFullBook, sample.Path("Imported.pcd")); });
}

// One card: a name and ordinary properties, or else folded lines of a
// header that never finds its ':'.
std::string CardOfLines(std::int64_t lines, bool hostile)
{
    std::string text = "BEGIN:VCARD\r\nVERSION:3.0\r\n";
    text += hostile ? "X-NO-VALUE\r\n" : "FN:Ana\r\n";
    for (std::int64_t i = 0; i < lines; ++i)
        text += hostile ? " folded\r\n" : "NOTE:x\r\n";
    return text + "END:VCARD\r\n";
}

void ReadCards(const std::string& text)
{
    std::vector<vcard::RawCard> cards;
    vcard::ReadError error;
    benchmark::DoNotOptimize(vcard::ReadCards(text, cards, error));
}

void BM_ReadFoldedLinesWithoutValue(benchmark::State& state)
{
    const std::string ordinary = CardOfLines(state.range(0), false), hostile = CardOfLines(state.range(0), true);
    benchfloor::CompareWithFloor(state, [&] { ReadCards(ordinary); }, [&] { ReadCards(hostile); });
}

} // namespace

BENCHMARK(BM_ReadFoldedLinesWithoutValue)->Arg(100000)->Arg(400000)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportIntoEmptyBook)->Arg(10000)->Arg(100000)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportIntoFullBook)->Arg(10000)->Arg(100000)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
