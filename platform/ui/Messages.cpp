// Sent and posted messages, timers and the way of input through
// pre-translation.
#include "platform/core/System.h"
#include "platform/ui/Host.h"
#include "platform/ui/WindowImpl.h"
#include "platform/ui/Wnd.h"
#include <QDateTime>
#include <QMouseEvent>
#include <QTimer>
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>

namespace ce::impl {
namespace {

struct TimerKey {
    HWND hwnd;
    UINT_PTR id;
    bool operator<(const TimerKey& o) const { return hwnd != o.hwnd ? hwnd < o.hwnd : id < o.id; }
};

struct TimerEntry {
    QTimer* timer = nullptr;
    TIMERPROC proc = nullptr;
};

std::map<TimerKey, TimerEntry>& Timers()
{
    static auto* timers = new std::map<TimerKey, TimerEntry>;
    return *timers;
}

void Tick(HWND hwnd, UINT_PTR id)
{
    auto it = Timers().find({hwnd, id});
    if (it == Timers().end())
        return;
    if (!FindWindow(hwnd)) {
        KillWindowTimers(hwnd);
        return;
    }
    if (TIMERPROC proc = it->second.proc) {
        proc(hwnd, WM_TIMER, id, DWORD(QDateTime::currentMSecsSinceEpoch()));
        return;
    }
    MSG msg;
    msg.hwnd = hwnd;
    msg.message = WM_TIMER;
    msg.wParam = id;
    DeliverInput(msg);
}

void StartTimer(HWND hwnd, UINT_PTR id, UINT elapseMs, TIMERPROC proc)
{
    if (!FindWindow(hwnd))
        return;
    auto& entry = Timers()[{hwnd, id}];
    if (!entry.timer) {
        entry.timer = new QTimer(ScreenWidget());
        QObject::connect(entry.timer, &QTimer::timeout, [hwnd, id] { Tick(hwnd, id); });
    }
    entry.proc = proc;
    entry.timer->start(int(std::max<UINT>(elapseMs, 1)));
}

void StopTimer(HWND hwnd, UINT_PTR id)
{
    auto it = Timers().find({hwnd, id});
    if (it == Timers().end())
        return;
    it->second.timer->stop();
    it->second.timer->deleteLater();
    Timers().erase(it);
}

// A cross-thread send: completed by the user-interface thread, or with 0
// when the task is dropped unrun (the application went away).
struct SendPacket {
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
    LRESULT result = 0;

    void Finish(LRESULT r)
    {
        std::lock_guard lock(mutex);
        if (finished)
            return;
        result = r;
        finished = true;
        done.notify_all();
    }
};

struct SendTask {
    SendTask(std::shared_ptr<SendPacket> p, HWND h, UINT m, WPARAM w, LPARAM l)
        : packet(std::move(p)), hwnd(h), msg(m), wParam(w), lParam(l)
    {
    }
    SendTask(const SendTask&) = delete;
    SendTask& operator=(const SendTask&) = delete;
    std::shared_ptr<SendPacket> packet;
    HWND hwnd;
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
    ~SendTask()
    {
        if (packet)
            packet->Finish(0);
    }
};

// What other threads' SendMessageW wait for, in the order they came.
struct SentMessages {
    std::mutex mutex;
    std::condition_variable arrived;
    std::deque<std::shared_ptr<SendTask>> queue;
};

SentMessages& Sent()
{
    static auto* sent = new SentMessages;
    return *sent;
}

} // namespace

void ServeSentMessages()
{
    SentMessages& sent = Sent();
    for (;;) {
        std::shared_ptr<SendTask> task;
        {
            std::lock_guard lock(sent.mutex);
            if (sent.queue.empty())
                return;
            task = std::move(sent.queue.front());
            sent.queue.pop_front();
        }
        task->packet->Finish(SendMessageW(task->hwnd, task->msg, task->wParam, task->lParam));
    }
}

void KillWindowTimers(HWND hwnd)
{
    std::vector<UINT_PTR> ids;
    for (auto& [key, entry] : Timers())
        if (key.hwnd == hwnd)
            ids.push_back(key.id);
    for (UINT_PTR id : ids)
        StopTimer(hwnd, id);
}

namespace {
HWND g_inputOwner = nullptr;
}

void GrabInput(HWND popup)
{
    g_inputOwner = popup;
}

void ReleaseInput(HWND popup)
{
    if (g_inputOwner == popup)
        g_inputOwner = nullptr;
}

HWND InputOwner()
{
    return FindWindow(g_inputOwner) ? g_inputOwner : nullptr;
}

bool TapToInputOwner(QObject* watched, QEvent* event)
{
    static const std::map<QEvent::Type, UINT> messages = {{QEvent::MouseButtonPress, WM_LBUTTONDOWN},
                                                          {QEvent::MouseButtonRelease, WM_LBUTTONUP},
                                                          {QEvent::MouseButtonDblClick, WM_LBUTTONDBLCLK}};
    const auto message = messages.find(event->type());
    auto* widget = qobject_cast<QWidget*>(watched);
    Window* owner = FindWindow(InputOwner());
    if (message == messages.end() || !owner || !widget || dynamic_cast<WindowWidget*>(widget) ||
        !ScreenWidget()->isAncestorOf(widget))
        return false;
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const QPoint at = widget->mapTo(ScreenWidget(), mouse->position().toPoint()) - ClientOriginOnScreen(*owner);
    MSG msg;
    msg.hwnd = owner->hwnd;
    msg.message = message->second;
    msg.wParam = (mouse->buttons() & Qt::LeftButton) ? MK_LBUTTON : 0;
    msg.lParam = MAKELPARAM(WORD(short(at.x())), WORD(short(at.y())));
    msg.pt = POINT{at.x(), at.y()};
    DeliverInput(msg);
    return true;
}

HWND KeyTarget()
{
    if (HWND popup = InputOwner())
        return popup;
    // Keys never reach a window under a modal dialog or message box: with
    // the focus left there, they go to the active window instead.
    for (HWND target : {GetFocus(), GetActiveWindow()})
        if (target && InputAllowed(target))
            return target;
    return nullptr;
}

bool DeliverInput(MSG& msg)
{
    HWND target = msg.hwnd;
    if (!FindWindow(target))
        return false;
    for (HWND h = target; h && FindWindow(h);) {
        Window* w = FindWindow(h);
        HWND next = w->parent;
        if (CWnd* wnd = w->wnd)
            if (wnd->PreTranslateMessage(&msg))
                return false;
        if (!FindWindow(target))
            return false;
        h = next;
    }
    SendMessageW(target, msg.message, msg.wParam, msg.lParam);
    return true;
}

} // namespace ce::impl

namespace ce {

using namespace impl;

LRESULT SendMessageW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (!hwnd)
        return 0;
    if (IsUiThread()) {
        Window* w = FindWindow(hwnd);
        if (!w)
            return 0;
        if (w->wnd)
            return CallFrameworkProc(w->wnd, msg, wParam, lParam);
        return CallWindowProcW(w->cls->proc, hwnd, msg, wParam, lParam);
    }
    if (!IsWindow(hwnd))
        return 0;
    auto packet = std::make_shared<SendPacket>();
    {
        std::lock_guard lock(Sent().mutex);
        Sent().queue.push_back(std::make_shared<SendTask>(packet, hwnd, msg, wParam, lParam));
    }
    Sent().arrived.notify_all();
    // The message loop serves it unless a wait for this thread does first.
    PostToUiThread(ServeSentMessages, true);
    std::unique_lock lock(packet->mutex);
    packet->done.wait(lock, [&] { return packet->finished; });
    return packet->result;
}

void WaitServingSentMessages(HANDLE thread)
{
    if (!IsUiThread()) {
        WaitForSingleObject(thread, INFINITE);
        return;
    }
    SentMessages& sent = Sent();
    while (WaitForSingleObject(thread, 0) == WAIT_TIMEOUT) {
        ServeSentMessages();
        std::unique_lock lock(sent.mutex);
        sent.arrived.wait_for(lock, std::chrono::milliseconds(1), [&] { return !sent.queue.empty(); });
    }
}

BOOL PostMessageW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (!IsWindow(hwnd))
        return FALSE;
    PostToUiThread([hwnd, msg, wParam, lParam] {
        MSG m;
        m.hwnd = hwnd;
        m.message = msg;
        m.wParam = wParam;
        m.lParam = lParam;
        DeliverInput(m);
    });
    return TRUE;
}

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs, TIMERPROC proc)
{
    if (!IsWindow(hwnd))
        return 0;
    if (IsUiThread())
        StartTimer(hwnd, id, elapseMs, proc);
    else
        PostToUiThread([hwnd, id, elapseMs, proc] { StartTimer(hwnd, id, elapseMs, proc); });
    return id;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id)
{
    if (!hwnd)
        return FALSE;
    if (!IsUiThread()) {
        PostToUiThread([hwnd, id] { StopTimer(hwnd, id); });
        return TRUE;
    }
    bool existed = Timers().count({hwnd, id}) != 0;
    StopTimer(hwnd, id);
    return existed ? TRUE : FALSE;
}

} // namespace ce
