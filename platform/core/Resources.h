// String resources of the current resource module: the language satellite
// when one was loaded, else the program's own embedded resource script.
#pragma once
#include "platform/core/Types.h"
#include <string>

namespace ce {

// String `id` of the current resource module; empty when it has none.
std::u16string LoadStringW(UINT id);

} // namespace ce
