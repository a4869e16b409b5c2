// Import and export of 10,000 contacts as vCard, beside their floor measured
// in the same run: the plain Load and Save of the same contacts' data file.
// Import reads, decodes and maps every card, inserts each in name order and
// saves; export loads the data file and writes every card.
#include "data/ContactList.h"
#include "platform/core/CodePage.h"
#include "tests/data/support/SampleContacts.h"
#include "vcard/CardWriter.h"
#include "vcard/Import.h"

#include <benchmark/benchmark.h>


namespace {

constexpr int ContactCount = 10000;

// The sample's data file and the same contacts as vCard.
struct Sample : testdata::SampleFile {
    Sample() : SampleFile(ContactCount), cards(vcard::WriteCards(list)) {}
    std::string cards;
};

Sample& TheSample()
{
    static Sample sample;
    return sample;
}

void BM_FloorLoadAndSave(benchmark::State& state)
{
    Sample& sample = TheSample();
    for (auto _ : state) {
        ContactList list;
        list.Load(sample.Path("Contacts.pcd"));
        benchmark::DoNotOptimize(list.Save(sample.Path("Copy.pcd")));
    }
}

void BM_Import(benchmark::State& state)
{
    Sample& sample = TheSample();
    for (auto _ : state) {
        ContactList list;
        vcard::ImportSummary summary;
        vcard::ImportFailure failure;
        if (!vcard::ImportCards({{"sample.vcf", sample.cards}}, list, summary, failure) ||
            summary.imported != ContactCount)
            state.SkipWithError("the sample did not import whole");
        benchmark::DoNotOptimize(list.Save(sample.Path("Imported.pcd")));
    }
}

void BM_Export(benchmark::State& state)
{
    Sample& sample = TheSample();
    for (auto _ : state) {
        ContactList list;
        list.Load(sample.Path("Contacts.pcd"));
        benchmark::DoNotOptimize(vcard::WriteCards(list));
    }
}

BENCHMARK(BM_FloorLoadAndSave)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Import)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Export)->Unit(benchmark::kMillisecond);

} // namespace
