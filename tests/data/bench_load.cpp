// Load of the data file beside its floor: the same file read in the same
// chunks, every text field's bytes converted by the same converter, and no
// records made.
#include "data/ContactFileFormat.h"
#include "data/ContactList.h"
#include "platform/core/CodePage.h"
#include "platform/core/File.h"
#include "tests/data/support/FloorRatio.h"
#include "tests/data/support/SampleContacts.h"

#include <cstring>
#include <memory>

namespace {

std::size_t ReadAndConvert(const std::u16string& path)
{
    using namespace ContactFileFormat;
    ce::CFile file;
    if (!file.Open(path, ce::CFile::modeRead | ce::CFile::shareExclusive))
        return 0;
    const std::unique_ptr<char[]> chunk(new char[ChunkSize]);
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
    return units;
}

void BM_LoadAgainstFloor(benchmark::State& state)
{
    const int count = int(state.range(0));
    const std::u16string path = testdata::SampleOf(count).Path("Contacts.pcd");
    ContactList list;
    benchfloor::CompareWithFloor(
        state, [&] { list.Clear(); }, [&] { benchmark::DoNotOptimize(ReadAndConvert(path)); },
        [&] {
            if (list.Load(path) != 1 || list.GetCount() != count)
                state.SkipWithError("load failed");
        });
}

} // namespace

BENCHMARK(BM_LoadAgainstFloor)->Arg(10000)->Arg(100000)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);
