// Keys, taps, clicks, wheel turns and input methods delivered as if they
// came from the host's keyboard, the touch screen or the mouse.
#include "platform/ui/testing/SimulatedInput.h"
#include "platform/ui/WindowImpl.h"
#include <QCoreApplication>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QInputMethodQueryEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QWheelEvent>

namespace ce {

using namespace impl;

namespace {

// Where the host sends input method and key events: the focused widget of
// the device screen, also while the host window is not active.
QObject* HostFocus()
{
    QWidget* screen = ScreenWidget();
    if (auto* focus = qobject_cast<QWidget*>(QGuiApplication::focusObject()))
        if (focus == screen || screen->isAncestorOf(focus))
            return focus;
    if (QWidget* focus = screen->focusWidget())
        return focus;
    return screen;
}

} // namespace

void SimulateKey(HWND hwnd, UINT message, WPARAM wParam)
{
    DeliverKey(hwnd, message, wParam);
}

void SimulateMouse(HWND hwnd, UINT message, int x, int y)
{
    MSG msg;
    msg.hwnd = hwnd;
    msg.message = message;
    msg.wParam = (message == WM_LBUTTONUP) ? 0 : MK_LBUTTON;
    msg.lParam = MAKELPARAM(WORD(short(x)), WORD(short(y)));
    msg.pt = POINT{x, y};
    DeliverInput(msg);
}

void SimulateTap(int x, int y)
{
    QWidget* screen = ScreenWidget();
    QPoint pos(x, y);
    QWidget* target = screen->childAt(pos);
    if (!target)
        target = screen;
    QPointer<QWidget> guard(target);
    QPointF local = target->mapFrom(screen, QPointF(pos));
    QPointF global = screen->mapToGlobal(QPointF(pos));
    QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &press);
    if (!guard)
        return;
    QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &release);
}

void SimulateWheel(int x, int y, int delta)
{
    QWidget* screen = ScreenWidget();
    QPoint pos(x, y);
    QWidget* target = screen->childAt(pos);
    if (!target)
        target = screen;
    QWheelEvent wheel(target->mapFrom(screen, QPointF(pos)), screen->mapToGlobal(QPointF(pos)), QPoint(),
                      QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(target, &wheel);
}

void SimulateInputMethod(const std::u16string& commit, const std::u16string& composition, int cursor)
{
    QList<QInputMethodEvent::Attribute> attributes;
    attributes.append({QInputMethodEvent::Cursor, cursor, 1, QVariant()});
    QInputMethodEvent event(QString::fromStdU16String(composition), attributes);
    event.setCommitString(QString::fromStdU16String(commit));
    QCoreApplication::sendEvent(HostFocus(), &event);
}

void SimulateHostKeys(const std::u16string& keys)
{
    for (char16_t c : keys) {
        int key = DeadKeyOf(c);
        QString text;
        if (!key) {
            text = QString(QChar(c));
            key = QChar(c).toUpper().unicode();
        }
        if (QChar(c).isUpper()) {
            QKeyEvent shift(QEvent::KeyPress, Qt::Key_Shift, Qt::NoModifier);
            QCoreApplication::sendEvent(HostFocus(), &shift);
        }
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QCoreApplication::sendEvent(HostFocus(), &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
        QCoreApplication::sendEvent(HostFocus(), &release);
    }
}

InputMethodAnswer QueryInputMethod()
{
    QObject* focus = HostFocus();
    QInputMethodQueryEvent query(Qt::ImEnabled | Qt::ImCursorRectangle);
    QCoreApplication::sendEvent(focus, &query);
    InputMethodAnswer answer;
    answer.enabled = query.value(Qt::ImEnabled).toBool();
    QRect caret = query.value(Qt::ImCursorRectangle).toRect();
    if (auto* widget = qobject_cast<QWidget*>(focus))
        caret.translate(widget->mapTo(ScreenWidget(), QPoint()));
    answer.caret = RECT{caret.left(), caret.top(), caret.right() + 1, caret.bottom() + 1};
    return answer;
}

} // namespace ce
