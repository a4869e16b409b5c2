// Save of the data file beside its floor: the same bytes, already encoded,
// written through the same steps (temporary file, 64 KiB writes, flush,
// rename), timed by the clock: both wait on the disk.
#include "data/ContactList.h"
#include "platform/core/File.h"
#include "tests/data/support/FloorRatio.h"
#include "tests/data/support/SampleContacts.h"

namespace {

bool WriteRaw(const std::string& bytes, const std::u16string& path)
{
    const std::u16string temp = path + u".tmp";
    ce::CFile file;
    bool ok = file.Open(temp, ce::CFile::modeCreate | ce::CFile::modeWrite | ce::CFile::shareExclusive);
    for (std::size_t pos = 0; ok && pos < bytes.size(); pos += 64 * 1024)
        ok = file.Write(bytes.data() + pos, std::min<std::size_t>(64 * 1024, bytes.size() - pos));
    ok = ok && file.Flush();
    file.Close();
    return ok && ce::CFile::Rename(temp, path);
}

void BM_SaveAgainstFloor(benchmark::State& state)
{
    testdata::SampleFile& sample = testdata::SampleOf(int(state.range(0)));
    benchfloor::CompareWithFloor(
        state,
        [&] {
            if (!WriteRaw(sample.bytes, sample.Path("Raw.pcd")))
                state.SkipWithError("write failed");
        },
        [&] {
            if (sample.list.Save(sample.Path("Saved.pcd")) != 1)
                state.SkipWithError("save failed");
        },
        benchfloor::Clock::Wall);
}

} // namespace

BENCHMARK(BM_SaveAgainstFloor)->Arg(10000)->Arg(100000)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);
