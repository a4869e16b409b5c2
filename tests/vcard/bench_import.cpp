// Import of vCard files as the command line does it: the book loaded, the
// cards read, decoded, checked and inserted in name order, the book saved.
// Beside each, its floor measured in the same run: a Load plus a Save of the
// book the import ends with.
#include "data/ContactList.h"
#include "tests/data/support/FloorRatio.h"
#include "tests/data/support/SampleContacts.h"
#include "vcard/CardWriter.h"
#include "vcard/Import.h"

namespace {

constexpr int AddedToFullBook = 1000;

void LoadAndSave(benchmark::State& state, const std::u16string& from, const std::u16string& to)
{
    ContactList list;
    if (!list.Load(from) || !list.Save(to))
        state.SkipWithError("load or save failed");
}

// Load of `book` (none when empty), import of `cards`, save to `to`. The
// cards are given as the command line gives a file it has read, made before
// the clock starts, as the floor's file is there before its load.
void Import(benchmark::State& state, const std::u16string& book, const std::vector<vcard::SourceFile>& cards,
            int expected, const std::u16string& to)
{
    ContactList list;
    if (!book.empty() && !list.Load(book))
        state.SkipWithError("load failed");
    vcard::ImportSummary summary;
    vcard::ImportFailure failure;
    if (!vcard::ImportCards(cards, list, summary, failure) || summary.imported != expected)
        state.SkipWithError("the cards did not import whole");
    if (!list.Save(to))
        state.SkipWithError("save failed");
}

void BM_ImportIntoEmptyBook(benchmark::State& state)
{
    const int count = int(state.range(0));
    testdata::SampleFile& sample = testdata::SampleOf(count);
    const std::vector<vcard::SourceFile> cards = {{"cards.vcf", vcard::WriteCards(sample.list)}};
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
        added.Append(std::make_unique<ContactRecord>(other.Contact()));
    const std::vector<vcard::SourceFile> cards = {{"cards.vcf", vcard::WriteCards(added)}};
    // The floor's book is the one the import ends with.
    Import(state, sample.Path("Contacts.pcd"), cards, AddedToFullBook, sample.Path("Grown.pcd"));
    benchfloor::CompareWithFloor(
        state, [&] { LoadAndSave(state, sample.Path("Grown.pcd"), sample.Path("Copy.pcd")); },
        [&] { Import(state, sample.Path("Contacts.pcd"), cards, AddedToFullBook, sample.Path("Imported.pcd")); });
}

} // namespace

BENCHMARK(BM_ImportIntoEmptyBook)->Arg(10000)->Arg(100000)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportIntoFullBook)->Arg(10000)->Arg(100000)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
