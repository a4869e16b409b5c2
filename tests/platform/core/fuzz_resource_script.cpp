// Satellites are data from the disk: the resource script parser must refuse
// any malformed input without crashing.
#include "platform/core/ResourceScript.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string error;
    auto script = ce::ResourceScript::Parse(std::string_view(reinterpret_cast<const char*>(data), size), &error);
    if (!script && error.empty())
        __builtin_trap();
    return 0;
}
