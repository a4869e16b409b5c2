// The host's keys: their virtual keys and characters, delivered to the
// focused window, and the state of the keys held down.
#include "platform/ui/host/HostShared.h"
#include "platform/ui/Host.h"
#include <QCoreApplication>
#include <QKeyEvent>
#include <array>

namespace ce::impl {

namespace {

std::array<bool, 256> g_keysDown{}; // by virtual key

void RecordKey(UINT vk, bool down)
{
    if (vk < g_keysDown.size())
        g_keysDown[vk] = down;
}

UINT VirtualKeyOf(const QKeyEvent& e)
{
    int key = e.key();
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return UINT('A' + (key - Qt::Key_A));
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return UINT('0' + (key - Qt::Key_0));
    if (key >= Qt::Key_F1 && key <= Qt::Key_F11)
        return VK_F1 + UINT(key - Qt::Key_F1);
    switch (key) {
    case Qt::Key_F12:
        return VK_DEVICE_KEY;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return VK_RETURN;
    case Qt::Key_Escape:
        return VK_ESCAPE;
    case Qt::Key_Backspace:
        return VK_BACK;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return VK_TAB;
    case Qt::Key_Space:
        return VK_SPACE;
    case Qt::Key_Left:
        return VK_LEFT;
    case Qt::Key_Right:
        return VK_RIGHT;
    case Qt::Key_Up:
        return VK_UP;
    case Qt::Key_Down:
        return VK_DOWN;
    case Qt::Key_Home:
        return VK_HOME;
    case Qt::Key_End:
        return VK_END;
    case Qt::Key_PageUp:
        return VK_PRIOR;
    case Qt::Key_PageDown:
        return VK_NEXT;
    case Qt::Key_Delete:
        return VK_DELETE;
    case Qt::Key_Shift:
        return VK_SHIFT;
    case Qt::Key_Control:
        return VK_CONTROL;
    case Qt::Key_Alt:
        return VK_MENU;
    case Qt::Key_Semicolon:
        return 0xBA;
    case Qt::Key_Equal:
        return 0xBB;
    case Qt::Key_Comma:
        return 0xBC;
    case Qt::Key_Minus:
        return 0xBD;
    case Qt::Key_Period:
        return 0xBE;
    case Qt::Key_Slash:
        return 0xBF;
    case Qt::Key_QuoteLeft:
        return 0xC0;
    case Qt::Key_BracketLeft:
        return 0xDB;
    case Qt::Key_Backslash:
        return 0xDC;
    case Qt::Key_BracketRight:
        return 0xDD;
    case Qt::Key_Apostrophe:
        return 0xDE;
    default:
        return 0xE5; // a key known only by its character
    }
}

WCHAR CharacterOf(const QKeyEvent& e, UINT vk)
{
    switch (vk) {
    case VK_RETURN:
        return 13;
    case VK_ESCAPE:
        return 27;
    case VK_BACK:
        return 8;
    case VK_TAB:
        return 9;
    case VK_DEVICE_KEY:
    case VK_DELETE:
        return 0;
    default:
        break;
    }
    QString text = e.text();
    if (text.size() != 1)
        return 0;
    char16_t c = text.at(0).unicode();
    return (c >= 0x20 && c != 0x7F) ? c : 0;
}

bool InDeviceScreen(QObject* object)
{
    auto* widget = qobject_cast<QWidget*>(object);
    return widget && g_screen && (widget == g_screen || g_screen->isAncestorOf(widget));
}

// Every key typed on the device screen becomes WM_KEYDOWN/WM_CHAR/WM_KEYUP
// for the focused window, and so does what an input method commits.
class KeyFilter : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        MarkTakeOver(event);
        if (TapToInputOwner(watched, event))
            return true;
        if (event->type() == QEvent::InputMethod || event->type() == QEvent::InputMethodQuery)
            return InDeviceScreen(watched) && FilterInputMethod(watched, event);
        if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease &&
            event->type() != QEvent::ShortcutOverride)
            return false;
        if (!InDeviceScreen(watched))
            return false;
        if (event->type() == QEvent::ShortcutOverride) {
            event->accept();
            return true;
        }
        auto* key = static_cast<QKeyEvent*>(event);
        UINT vk = VirtualKeyOf(*key);
        // Shift+Tab comes as its own key with the modifier held.
        if (vk == VK_SHIFT)
            RecordKey(VK_SHIFT, event->type() == QEvent::KeyPress);
        else
            RecordKey(VK_SHIFT, key->modifiers() & Qt::ShiftModifier);
        HWND target = KeyTarget();
        if (!target)
            return true;
        // F10 and keys pressed with Alt are the menus' and type nothing.
        const bool menuKey = vk == VK_F10 || vk == VK_MENU || (key->modifiers() & Qt::AltModifier);
        if (menuKey) {
            MSG msg;
            msg.hwnd = target;
            msg.message = event->type() == QEvent::KeyRelease ? WM_SYSKEYUP : WM_SYSKEYDOWN;
            msg.wParam = vk;
            msg.lParam = event->type() == QEvent::KeyRelease ? LPARAM(0xE0000001) : LPARAM(0x20000001);
            DeliverInput(msg);
            return true;
        }
        if (event->type() == QEvent::KeyRelease) {
            MSG up;
            up.hwnd = target;
            up.message = WM_KEYUP;
            up.wParam = vk;
            up.lParam = LPARAM(0xC0000001);
            DeliverInput(up);
            return true;
        }
        if (RememberDeadKey(key->key()))
            return true;
        const std::u16string typed = ApplyDeadKey(CharacterOf(*key, vk));
        DeliverKeyStroke(vk, typed.empty() ? 0 : typed.front());
        if (typed.size() > 1)
            TypeCharacter(typed.back());
        return true;
    }
};

} // namespace

void DeliverKey(HWND hwnd, UINT message, WPARAM wParam)
{
    if (message == WM_KEYDOWN || message == WM_KEYUP)
        RecordKey(UINT(wParam), message == WM_KEYDOWN);
    MSG msg;
    msg.hwnd = hwnd;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = message == WM_KEYUP ? LPARAM(0xC0000001) : 1;
    DeliverInput(msg);
}

void InstallKeyFilter()
{
    QCoreApplication::instance()->installEventFilter(new KeyFilter);
}

} // namespace ce::impl

namespace ce {

using namespace impl;

std::int16_t GetKeyState(int virtualKey)
{
    return virtualKey >= 0 && std::size_t(virtualKey) < g_keysDown.size() && g_keysDown[std::size_t(virtualKey)]
               ? std::int16_t(-0x8000)
               : std::int16_t(0);
}

void DeliverKeyStroke(UINT vk, WCHAR ch)
{
    HWND target = KeyTarget();
    if (!target)
        return;
    MSG down;
    down.hwnd = target;
    down.message = WM_KEYDOWN;
    down.wParam = vk;
    down.lParam = 1;
    if (!DeliverInput(down) || !ch)
        return;
    // As classic, the character goes to the window of the key down.
    MSG character;
    character.hwnd = target;
    character.message = WM_CHAR;
    character.wParam = ch;
    character.lParam = 1;
    DeliverInput(character);
}

} // namespace ce
