#include "platform/ui/testing/MessageBoxAnswer.h"
#include "platform/ui/WindowImpl.h"

namespace ce {

void SetMessageBoxHook(MessageBoxHook hook)
{
    impl::MessageBoxAnswer() = std::move(hook);
}

} // namespace ce
