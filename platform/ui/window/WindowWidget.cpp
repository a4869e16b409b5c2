// The Qt widget of every window: paints its backing image and turns the
// pointer and the wheel into the window's mouse messages.
#include "platform/ui/window/WindowRegistry.h"
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

namespace ce::impl {

WindowWidget::WindowWidget(HWND hwnd, QWidget* parent) : QWidget(parent), ownHwnd(hwnd)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
}

void WindowWidget::paintEvent(QPaintEvent*)
{
    Window* w = FindWindow(ownHwnd);
    if (!w)
        return;
    PaintWindow(*w);
    if ((w = FindWindow(ownHwnd)) == nullptr)
        return;
    QPainter p(this);
    p.drawImage(0, 0, w->backing);
}

// An open menu or calendar gets every click and move, in its own client
// coordinates, wherever on the screen they are.
static bool ToInputOwner(const Window& w, QPoint pos, UINT message, Qt::MouseButtons buttons)
{
    Window* owner = FindWindow(InputOwner());
    if (!owner || owner == &w)
        return false;
    const QPoint c = pos - ClientRectInWidget(w).topLeft() + ClientOriginOnScreen(w) - ClientOriginOnScreen(*owner);
    MSG msg;
    msg.hwnd = owner->hwnd;
    msg.message = message;
    msg.wParam = (buttons & Qt::LeftButton) ? MK_LBUTTON : 0;
    msg.lParam = MAKELPARAM(WORD(short(c.x())), WORD(short(c.y())));
    msg.pt = POINT{c.x(), c.y()};
    DeliverInput(msg);
    return true;
}

void FollowPointer(HWND hwnd)
{
    if (Window* w = FindWindow(hwnd); w && w->widget)
        w->widget->setMouseTracking(true);
}

static QRect CloseBoxInWidget(const Window& w)
{
    if (!(w.style & WS_SYSMENU) || !CaptionHeight(w))
        return QRect();
    int b = BorderWidth(w);
    return QRect(w.rect.width() - b - CloseBoxWidth, b, CloseBoxWidth, CaptionHeight(w));
}

void WindowWidget::Mouse(QMouseEvent* event, UINT message)
{
    Window* w = FindWindow(ownHwnd);
    if (!w || ToInputOwner(*w, event->position().toPoint(), message, event->buttons()) || !InputAllowed(ownHwnd))
        return;
    QPoint pos = event->position().toPoint();
    QRect close = CloseBoxInWidget(*w);
    if (close.contains(pos) || (closePressed && message != WM_MOUSEMOVE)) {
        if (message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK)
            closePressed = true;
        else if (message == WM_LBUTTONUP) {
            bool inside = close.contains(pos) && closePressed;
            closePressed = false;
            if (inside)
                SendMessageW(ownHwnd, WM_CLOSE, 0, 0);
        }
        return;
    }
    QRect client = ClientRectInWidget(*w);
    if (!client.contains(pos) && message != WM_LBUTTONUP && message != WM_MOUSEMOVE)
        return;
    QPoint c = pos - client.topLeft();
    MSG msg;
    msg.hwnd = ownHwnd;
    msg.message = message;
    msg.wParam = (event->buttons() & Qt::LeftButton) ? MK_LBUTTON : 0;
    msg.lParam = MAKELPARAM(WORD(short(c.x())), WORD(short(c.y())));
    msg.pt = POINT{c.x(), c.y()};
    DeliverInput(msg);
}

void WindowWidget::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        Mouse(event, WM_LBUTTONDOWN);
}

void WindowWidget::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        Mouse(event, WM_LBUTTONUP);
}

void WindowWidget::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    Window* w = FindWindow(ownHwnd);
    bool dbl = w && w->cls && (w->cls->style & CS_DBLCLKS);
    Mouse(event, dbl ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN);
}

void WindowWidget::mouseMoveEvent(QMouseEvent* event)
{
    if ((event->buttons() & Qt::LeftButton) || hasMouseTracking())
        Mouse(event, WM_MOUSEMOVE);
}

void WindowWidget::leaveEvent(QEvent*)
{
    if (hasMouseTracking())
        SendMessageW(ownHwnd, WM_MOUSELEAVE, 0, 0);
}

void WindowWidget::wheelEvent(QWheelEvent* event)
{
    // WM_MOUSEWHEEL for the window under the pointer, as a desktop has it;
    // what that window leaves unhandled goes on to its parent.
    const int delta = event->angleDelta().y();
    Window* w = FindWindow(ownHwnd);
    if (!w || !delta || !InputAllowed(ownHwnd)) {
        event->ignore();
        return;
    }
    event->accept();
    const QPoint screen = event->position().toPoint() - ClientRectInWidget(*w).topLeft() + ClientOriginOnScreen(*w);
    MSG msg;
    msg.hwnd = ownHwnd;
    msg.message = WM_MOUSEWHEEL;
    msg.wParam = MAKEWPARAM(WORD((event->buttons() & Qt::LeftButton) ? MK_LBUTTON : 0), WORD(short(delta)));
    msg.lParam = MAKELPARAM(WORD(short(screen.x())), WORD(short(screen.y())));
    msg.pt = POINT{screen.x(), screen.y()};
    DeliverInput(msg);
}

bool InputAllowed(HWND hwnd)
{
    for (Window* w = FindWindow(hwnd); w; w = FindWindow(w->parent))
        if (w->style & WS_DISABLED)
            return false;
    return true;
}

} // namespace ce::impl
