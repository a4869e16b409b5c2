// Feeds arbitrary bytes to the data file reader. Whatever it accepts must
// save and load again to the same number of contacts.
#include "data/ContactList.h"
#include "platform/core/CodePage.h"
#include "tests/common/Files.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const TempDir dir = [] {
        ce::SetACP(936);
        return TempDir("fuzz");
    }();
    static const std::string input = dir.File("input.pcd");
    static const std::string output = dir.File("output.pcd");

    if (!WriteHostFile(input, std::string_view(reinterpret_cast<const char*>(data), size)))
        std::abort();
    ContactListBase list;
    if (list.Load(ce::Utf8ToUtf16(input)) != 1)
        std::abort();
    if (list.Save(ce::Utf8ToUtf16(output)) != 1)
        std::abort();
    ContactListBase again;
    if (again.Load(ce::Utf8ToUtf16(output)) != 1 || again.GetCount() != list.GetCount())
        std::abort();
    return 0;
}
