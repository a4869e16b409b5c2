// For tests only: message boxes answered without being shown.
#pragma once
#include "platform/ui/WinDef.h"
#include <functional>
#include <string>

namespace ce {

// While a hook is set, MessageBoxW shows nothing and returns the hook's
// answer. An empty hook restores the real box.
using MessageBoxHook =
    std::function<int(HWND owner, const std::u16string& text, const std::u16string& caption, UINT type)>;
void SetMessageBoxHook(MessageBoxHook hook);

} // namespace ce
