// The message loop, the quit message and the waits that keep events flowing.
#include "platform/ui/host/HostShared.h"
#include "platform/ui/Host.h"
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <thread>
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

void PumpMessages(int forMs)
{
    EnsureApplication();
    if (!IsUiThread())
        return;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    if (forMs > 0) {
        QEventLoop loop;
        QTimer::singleShot(forMs, &loop, &QEventLoop::quit);
        loop.exec();
    }
}

bool WaitWhilePumping(const std::function<bool()>& done, int timeoutMs)
{
    EnsureApplication();
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (timeoutMs >= 0 && clock.elapsed() >= timeoutMs)
            return done();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

void PostTask(std::function<void()> task)
{
    EnsureApplication();
    PostToUiThread(std::move(task));
}

} // namespace ce
