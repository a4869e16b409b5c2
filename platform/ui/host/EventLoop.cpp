// The message loop, the modal loop of dialogs and message boxes, and the
// quit message.
#include "platform/ui/host/HostShared.h"
#include "platform/ui/Host.h"
#include <QCoreApplication>
#include <QEventLoop>
#include <vector>

namespace ce::impl {

namespace {

std::vector<QEventLoop*> g_messageLoops;

int g_quitCode = 0;

} // namespace

void ModalLoop::Run()
{
    if (ended)
        return;
    QEventLoop loop;
    running = &loop;
    loop.exec();
    running = nullptr;
}

void ModalLoop::End()
{
    ended = true;
    if (running)
        static_cast<QEventLoop*>(running)->exit();
}

} // namespace ce::impl

namespace ce {

using namespace impl;

int RunMessageLoop()
{
    EnsureApplication();
    QEventLoop loop;
    g_messageLoops.push_back(&loop);
    loop.exec();
    g_messageLoops.pop_back();
    return g_quitCode;
}

void PostQuitMessage(int exitCode)
{
    PostToUiThread([exitCode] {
        g_quitCode = exitCode;
        if (!g_messageLoops.empty())
            g_messageLoops.back()->exit(exitCode);
    });
}

} // namespace ce
