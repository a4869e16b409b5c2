// Export as the command line does it: the book loaded and every contact
// written as a vCard. Its floor, measured in the same run: the same Load and
// every field's text encoded as UTF-8.
#include "data/ContactList.h"
#include "platform/core/FileSystem.h"
#include "tests/data/support/FloorRatio.h"
#include "tests/data/support/SampleContacts.h"
#include "vcard/CardWriter.h"

namespace {

void BM_ExportAgainstFloor(benchmark::State& state)
{
    const int count = int(state.range(0));
    const std::u16string path = testdata::SampleOf(count).Path("Contacts.pcd");
    benchfloor::CompareWithFloor(
        state,
        [&] {
            ContactList list;
            list.Load(path);
            std::string text;
            for (int i = 0; i < list.GetCount(); ++i) {
                for (FieldId id = 0; id < FieldCount; ++id)
                    text += ce::Utf16ToUtf8(list.GetAt(i)->GetField(id)->TextValue());
            }
            benchmark::DoNotOptimize(text);
        },
        [&] {
            ContactList list;
            list.Load(path);
            benchmark::DoNotOptimize(vcard::WriteCards(list));
        });
}

} // namespace

BENCHMARK(BM_ExportAgainstFloor)->Arg(10000)->Arg(100000)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);
