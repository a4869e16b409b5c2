// Load and Save of 100,000 contacts, each beside its floor measured in the
// same run. Load's floor reads the same file in 4096-byte chunks and converts
// every field's bytes with the same converter, building no records. Save's
// floor writes the same bytes, already encoded, through the same steps
// (temporary file, 64 KiB writes, flush, rename).
#include "data/ContactFileFormat.h"
#include "data/ContactList.h"
#include "platform/core/CodePage.h"
#include "platform/core/File.h"
#include "tests/data/support/SampleContacts.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

namespace {

constexpr int ContactCount = 100000;

testdata::SampleFile& Sample()
{
    static testdata::SampleFile sample(ContactCount);
    return sample;
}

void BM_Load(benchmark::State& state)
{
    const std::u16string path = Sample().Path("Contacts.pcd");
    for (auto _ : state) {
        ContactListBase list;
        if (list.Load(path) != 1 || list.GetCount() != ContactCount)
            state.SkipWithError("load failed");
        state.PauseTiming();
        list.Clear();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t(Sample().bytes.size()));
}

void BM_LoadWithLabels(benchmark::State& state)
{
    const std::u16string path = Sample().Path("Contacts.pcd");
    for (auto _ : state) {
        ContactList list;
        if (list.Load(path) != 1)
            state.SkipWithError("load failed");
        state.PauseTiming();
        list.Clear();
        state.ResumeTiming();
    }
}

void BM_LoadFloor(benchmark::State& state)
{
    using namespace ContactFileFormat;
    const std::u16string path = Sample().Path("Contacts.pcd");
    const std::unique_ptr<char[]> chunk(new char[ChunkSize]);
    for (auto _ : state) {
        ce::CFile file;
        if (!file.Open(path, ce::CFile::modeRead | ce::CFile::shareExclusive))
            state.SkipWithError("open failed");
        std::string pending;
        std::size_t dateHeld = 0;
        FieldId field = 0;
        std::size_t units = 0;
        while (const std::size_t n = file.Read(chunk.get(), ChunkSize)) {
            std::size_t pos = 0;
            while (pos < n) {
                if (IsDateField(field)) {
                    const std::size_t take = std::min(DateSize - dateHeld, n - pos);
                    dateHeld += take;
                    pos += take;
                    if (dateHeld < DateSize)
                        break;
                    dateHeld = 0;
                } else {
                    const char* start = chunk.get() + pos;
                    const void* end = std::memchr(start, 0, n - pos);
                    if (!end) {
                        pending.append(start, n - pos);
                        break;
                    }
                    std::string_view bytes(start, static_cast<const char*>(end) - start);
                    pos += bytes.size() + 1;
                    if (!pending.empty()) {
                        pending.append(bytes);
                        bytes = pending;
                    }
                    if (!bytes.empty())
                        units += ce::AnsiToWide(bytes).size();
                    pending.clear();
                }
                field = (field + 1) % FieldCount;
            }
        }
        benchmark::DoNotOptimize(units);
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t(Sample().bytes.size()));
}

void BM_Save(benchmark::State& state)
{
    const std::u16string path = Sample().Path("Saved.pcd");
    for (auto _ : state) {
        if (Sample().list.Save(path) != 1)
            state.SkipWithError("save failed");
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t(Sample().bytes.size()));
}

void BM_SaveFloor(benchmark::State& state)
{
    const std::u16string path = Sample().Path("Raw.pcd");
    const std::u16string temp = path + u".tmp";
    const std::string& bytes = Sample().bytes;
    for (auto _ : state) {
        ce::CFile file;
        bool ok = file.Open(temp, ce::CFile::modeCreate | ce::CFile::modeWrite | ce::CFile::shareExclusive);
        for (std::size_t pos = 0; ok && pos < bytes.size(); pos += 64 * 1024)
            ok = file.Write(bytes.data() + pos, std::min<std::size_t>(64 * 1024, bytes.size() - pos));
        ok = ok && file.Flush();
        file.Close();
        if (!ok || !ce::CFile::Rename(temp, path))
            state.SkipWithError("write failed");
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t(bytes.size()));
}

} // namespace

BENCHMARK(BM_LoadFloor)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Load)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadWithLabels)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveFloor)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Save)->Unit(benchmark::kMillisecond);
