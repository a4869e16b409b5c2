// The soft input panel: an on-screen keyboard that types into the focused
// window without taking the focus.
#include "platform/ui/Sip.h"
#include "platform/ui/Host.h"
#include "platform/ui/WindowImpl.h"

namespace ce {

using namespace impl;

namespace {

constexpr int kWidth = 240;
constexpr int kHeight = 80;
constexpr int kRows = 5;
constexpr int kColumns = 10;
constexpr int kKeyWidth = kWidth / kColumns;
constexpr int kKeyHeight = kHeight / kRows;

enum Special : char16_t { kShift = 1, kBack = 8, kEnter = 13 };

struct Key {
    char16_t ch; // the character typed, or a Special
    int row;
    int column;
    int span;
};

// Five rows of ten key widths: digits, three letter rows, symbols and space.
const std::vector<Key>& Keys()
{
    static const std::vector<Key> keys = [] {
        std::vector<Key> k;
        auto row = [&k](int r, std::u16string_view chars) {
            for (int i = 0; i < int(chars.size()); ++i)
                k.push_back({chars[std::size_t(i)], r, i, 1});
        };
        row(0, u"1234567890");
        row(1, u"qwertyuiop");
        row(2, u"asdfghjkl");
        k.push_back({kBack, 2, 9, 1});
        k.push_back({kShift, 3, 0, 1});
        for (int i = 0; i < 7; ++i)
            k.push_back({u"zxcvbnm"[i], 3, 1 + i, 1});
        k.push_back({u',', 3, 8, 1});
        k.push_back({kEnter, 3, 9, 1});
        k.push_back({u'@', 4, 0, 1});
        k.push_back({u'-', 4, 1, 1});
        k.push_back({u'_', 4, 2, 1});
        k.push_back({u' ', 4, 3, 4});
        k.push_back({u'.', 4, 7, 1});
        k.push_back({u'/', 4, 8, 1});
        k.push_back({u':', 4, 9, 1});
        return k;
    }();
    return keys;
}

struct PanelState : ControlState {
    bool shift = false;
    int pressed = -1;
};

QRect KeyRect(const Key& k)
{
    return QRect(k.column * kKeyWidth, k.row * kKeyHeight, k.span * kKeyWidth, kKeyHeight);
}

QString Label(const Key& k, bool shift)
{
    switch (k.ch) {
    case kShift:
        return QStringLiteral("\u21E7");
    case kBack:
        return QStringLiteral("\u2190");
    case kEnter:
        return QStringLiteral("\u21B5");
    default:
        return shift ? QString(QChar(k.ch)).toUpper() : QString(QChar(k.ch));
    }
}

UINT VirtualKey(char16_t c)
{
    if (c >= u'a' && c <= u'z')
        return UINT('A' + (c - u'a'));
    if (c >= u'0' && c <= u'9')
        return UINT(c);
    switch (c) {
    case kBack:
        return VK_BACK;
    case kEnter:
        return VK_RETURN;
    case u' ':
        return VK_SPACE;
    case u',':
        return 0xBC;
    case u'-':
        return 0xBD;
    case u'.':
        return 0xBE;
    case u'/':
        return 0xBF;
    default:
        return 0xE5;
    }
}

void Paint(HWND hwnd)
{
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hwnd, &ps);
    auto* s = State<PanelState>(hwnd);
    if (auto p = PainterOf(hdc); p && s) {
        p->fillRect(QRect(0, 0, kWidth, kHeight), QColor(192, 192, 192));
        QFont font = DeviceFont();
        p->setFont(font);
        const auto& keys = Keys();
        for (int i = 0; i < int(keys.size()); ++i) {
            QRect r = KeyRect(keys[std::size_t(i)]).adjusted(1, 1, -1, -1);
            bool down = i == s->pressed || (keys[std::size_t(i)].ch == kShift && s->shift);
            p->fillRect(r, down ? QColor(0, 0, 128) : QColor(Qt::white));
            p->setPen(QColor(128, 128, 128));
            p->setBrush(Qt::NoBrush);
            p->drawRect(r.adjusted(0, 0, -1, -1));
            p->setPen(down ? Qt::white : Qt::black);
            p->drawText(r, Qt::AlignCenter, Label(keys[std::size_t(i)], s->shift));
        }
    }
    EndPaint(hwnd, &ps);
}

int KeyAt(int x, int y)
{
    const auto& keys = Keys();
    for (int i = 0; i < int(keys.size()); ++i)
        if (KeyRect(keys[std::size_t(i)]).contains(x, y))
            return i;
    return -1;
}

LRESULT PanelProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* s = State<PanelState>(hwnd);
    if (!s)
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    switch (msg) {
    case WM_PAINT:
        Paint(hwnd);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        int index = KeyAt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        if (index < 0)
            return 0;
        const Key& key = Keys()[std::size_t(index)];
        s->pressed = index;
        InvalidateRect(hwnd, nullptr, FALSE);
        if (key.ch == kShift) {
            s->shift = !s->shift;
            return 0;
        }
        char16_t c = key.ch;
        if (s->shift && c >= u'a' && c <= u'z')
            c = char16_t(c - u'a' + u'A');
        s->shift = false;
        SimulateKeyStroke(VirtualKey(key.ch), c);
        return 0;
    }
    case WM_LBUTTONUP:
        s->pressed = -1;
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    default:
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

std::unique_ptr<ControlState> CreatePanelState(Window&)
{
    return std::make_unique<PanelState>();
}

HWND Panel()
{
    return FindWindowW(SIP_WINDOW_CLASS, nullptr);
}

} // namespace

namespace impl {

void RegisterInputPanelClass()
{
    RegisterWindowClass({SIP_WINDOW_CLASS, 0, nullptr, &PanelProc, &CreatePanelState});
}

void CreateInputPanel()
{
    CreateWindowExW(WS_EX_TOPMOST, SIP_WINDOW_CLASS, u"Input Panel", WS_POPUP,
                    (GetSystemMetrics(SM_CXSCREEN) - kWidth) / 2, GetSystemMetrics(SM_CYSCREEN) - kHeight, kWidth,
                    kHeight, nullptr, nullptr, nullptr, nullptr);
}

} // namespace impl

BOOL SipGetInfo(SIPINFO* info)
{
    if (!info || info->cbSize != sizeof(SIPINFO))
        return FALSE;
    HWND panel = Panel();
    if (!panel)
        return FALSE;
    RECT rc;
    GetWindowRect(panel, &rc);
    bool on = IsWindowVisible(panel);
    info->fdwFlags = on ? SIPF_ON : SIPF_OFF;
    info->rcSipRect = rc;
    info->rcVisibleDesktop = RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), on ? rc.top : GetSystemMetrics(SM_CYSCREEN)};
    info->dwImDataSize = 0;
    info->pvImData = 0;
    return TRUE;
}

BOOL SipSetInfo(SIPINFO* info)
{
    if (!info || info->cbSize != sizeof(SIPINFO))
        return FALSE;
    HWND panel = Panel();
    if (!panel)
        return FALSE;
    const RECT& r = info->rcSipRect;
    if (r.right > r.left && r.bottom > r.top)
        MoveWindow(panel, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
    ShowWindow(panel, (info->fdwFlags & SIPF_ON) ? SW_SHOWNA : SW_HIDE);
    return TRUE;
}

BOOL SipShowIM(DWORD flags)
{
    HWND panel = Panel();
    if (!panel)
        return FALSE;
    ShowWindow(panel, (flags & SIPF_ON) ? SW_SHOWNA : SW_HIDE);
    return TRUE;
}

} // namespace ce
