#include "shell/SyncCommand.h"

#include "platform/core/FileSystem.h"
#include "platform/core/Resources.h"
#include "platform/ui/WinUser.h"
#include "res/resource.h"

bool CSyncCommand::Start(ce::HWND target, ce::UINT message)
{
    if (thread)
        return false;
    window = target;
    done = message;
    outcome.reset();
    thread = ce::CreateThread(nullptr, 0, &CSyncCommand::Run, this, 0, nullptr);
    return thread != nullptr;
}

ce::DWORD CSyncCommand::Run(ce::LPVOID parameter)
{
    auto* command = static_cast<CSyncCommand*>(parameter);
    command->outcome = std::make_unique<carddav::SyncOutcome>(carddav::SyncDataFile(false));
    ce::PostMessageW(command->window, command->done, 0, 0);
    return 0;
}

void CSyncCommand::Wait()
{
    if (!thread)
        return;
    ce::WaitForSingleObject(thread, ce::INFINITE);
    ce::CloseHandle(thread);
    thread = nullptr;
}

std::unique_ptr<carddav::SyncOutcome> CSyncCommand::TakeOutcome()
{
    Wait();
    return std::move(outcome);
}

std::u16string CSyncCommand::Message(const carddav::SyncOutcome& outcome)
{
    if (!outcome.ok)
        return ce::LoadStringW(IDS_SYNC_FAILED) + u"\n" + ce::Utf8ToUtf16(outcome.error);
    const carddav::SyncSummary& s = outcome.summary;
    std::u16string counts = ce::LoadStringW(IDS_SYNC_COUNTS);
    const int values[] = {s.received + s.changedHere, s.sent + s.changedThere, s.deletedHere + s.deletedThere,
                          s.conflicts};
    for (int i = 0; i < 4; ++i) {
        const std::u16string mark = u"%" + std::u16string(1, char16_t(u'1' + i));
        if (const auto at = counts.find(mark); at != std::u16string::npos)
            counts.replace(at, mark.size(), ce::Utf8ToUtf16(std::to_string(values[i])));
    }
    return ce::LoadStringW(IDS_SYNC_DONE) + u"\n" + counts;
}
