#include "platform/ui/testing/EventPump.h"
#include "platform/ui/Host.h"
#include "platform/ui/WindowImpl.h"
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <thread>

namespace ce {

void PumpMessages(int forMs)
{
    InitPlatform();
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
    InitPlatform();
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
    InitPlatform();
    impl::PostToUiThread(std::move(task));
}

} // namespace ce
