// The soft input panel: an on-screen keyboard that types into the focused
// window without taking the focus, in three modes: letters, accents, and
// pinyin with a row of candidates.
#include "platform/ui/Sip.h"
#include "platform/core/CodePage.h"
#include "platform/ui/Host.h"
#include "platform/ui/SipLayout.h"
#include "platform/ui/WindowImpl.h"
#include <algorithm>

namespace ce {

using namespace impl;

namespace {

constexpr int SipWidth = 240;
constexpr int SipHeight = 80;
constexpr int KeyWidth = SipWidth / SipColumns;
constexpr int KeyHeight = SipHeight / SipRows;
constexpr std::size_t LongestSyllable = 6; // zhuang

std::function<std::u16string(std::u16string_view)> g_candidateSource;

struct PanelState : ControlState {
    SipMode mode = SipMode::Letters;
    bool shift = false;
    int pressed = -1;
    std::u16string syllable; // pinyin typed so far
    std::u16string candidates;
    int page = 0;
};

const std::vector<SipKey>& KeysOf(const PanelState& s) { return SipKeys(s.mode); }

QRect KeyRect(const SipKey& k)
{
    return QRect(k.column * KeyWidth, k.row * KeyHeight, k.span * KeyWidth, KeyHeight);
}

// The candidate a cell shows, or 0.
char16_t CandidateOf(const PanelState& s, const SipKey& k)
{
    if (k.ch != SipCandidate)
        return 0;
    const std::size_t index = std::size_t(s.page * SipCandidatesPerPage + k.column - SipCandidateColumn);
    return index < s.candidates.size() ? s.candidates[index] : 0;
}

int PageCount(const PanelState& s)
{
    return int((s.candidates.size() + SipCandidatesPerPage - 1) / SipCandidatesPerPage);
}

// What the key types now, for the check against the code page.
char16_t Typed(const PanelState& s, const SipKey& k)
{
    return k.ch == SipCandidate ? CandidateOf(s, k) : SipCharacter(k, s.shift);
}

// A character the data file cannot keep is shown but not typed.
bool Storable(char16_t c) { return c < 0x80 || CanStore(std::u16string_view(&c, 1)); }

bool Active(const PanelState& s, const SipKey& k)
{
    switch (k.ch) {
    case SipShift:
        return s.shift;
    case SipAccents:
        return s.mode == SipMode::Accents;
    case SipPinyin:
        return s.mode == SipMode::Pinyin;
    default:
        return false;
    }
}

QString Label(const PanelState& s, const SipKey& k)
{
    switch (k.ch) {
    case SipShift:
        return QStringLiteral("\u21E7");
    case SipBack:
        return QStringLiteral("\u2190");
    case SipEnter:
        return QStringLiteral("\u21B5");
    case SipAccents:
        return QStringLiteral("\u00E0\u00E9");
    case SipPinyin:
        return QStringLiteral("\u62FC");
    case SipPrevPage:
        return s.page > 0 ? QStringLiteral("\u25C0") : QString();
    case SipNextPage:
        return s.page + 1 < PageCount(s) ? QStringLiteral("\u25B6") : QString();
    case SipSyllable:
        return QString::fromStdU16String(s.syllable);
    default: {
        const char16_t c = Typed(s, k);
        return c ? QString(QChar(c)) : QString();
    }
    }
}

void PaintPanel(HWND hwnd)
{
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hwnd, &ps);
    auto* s = State<PanelState>(hwnd);
    if (auto p = PainterOf(hdc); p && s) {
        p->fillRect(QRect(0, 0, SipWidth, SipHeight), QColor(192, 192, 192));
        p->setFont(DeviceFont());
        const auto& keys = KeysOf(*s);
        for (int i = 0; i < int(keys.size()); ++i) {
            const SipKey& key = keys[std::size_t(i)];
            QRect r = KeyRect(key).adjusted(1, 1, -1, -1);
            const bool down = i == s->pressed || Active(*s, key);
            const char16_t typed = Typed(*s, key);
            const bool refused = typed && !Storable(typed);
            QColor face = down ? QColor(0, 0, 128) : QColor(Qt::white);
            if (key.ch == SipSyllable || refused)
                face = QColor(224, 224, 224);
            p->fillRect(r, face);
            p->setPen(QColor(128, 128, 128));
            p->setBrush(Qt::NoBrush);
            p->drawRect(r.adjusted(0, 0, -1, -1));
            p->setPen(down ? QColor(Qt::white) : refused ? QColor(160, 160, 160) : QColor(Qt::black));
            p->drawText(r, Qt::AlignCenter, Label(*s, key));
        }
    }
    EndPaint(hwnd, &ps);
}

int KeyAt(const PanelState& s, int x, int y)
{
    const auto& keys = KeysOf(s);
    for (int i = 0; i < int(keys.size()); ++i)
        if (KeyRect(keys[std::size_t(i)]).contains(x, y))
            return i;
    return -1;
}

UINT VirtualKey(char16_t c)
{
    if (c >= u'a' && c <= u'z')
        return UINT('A' + (c - u'a'));
    if (c >= u'0' && c <= u'9')
        return UINT(c);
    switch (c) {
    case SipBack:
        return VK_BACK;
    case SipEnter:
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

void SetSyllable(PanelState& s, std::u16string syllable)
{
    s.syllable = std::move(syllable);
    s.candidates = g_candidateSource && !s.syllable.empty() ? g_candidateSource(s.syllable) : std::u16string();
    s.page = 0;
}

// The syllable ends: its first candidate the data file keeps is typed, or
// its letters when it has none.
void CommitSyllable(PanelState& s)
{
    std::u16string typed = s.syllable;
    for (char16_t c : s.candidates) {
        if (Storable(c)) {
            typed.assign(1, c);
            break;
        }
    }
    SetSyllable(s, std::u16string());
    for (char16_t c : typed)
        DeliverKeyStroke(VirtualKey(c), c);
}

// The pinyin mode's own handling of a key; false when the key types as usual.
bool Compose(PanelState& s, const SipKey& key)
{
    if (s.mode != SipMode::Pinyin)
        return false;
    const char16_t c = key.ch;
    if (c >= u'a' && c <= u'z' && !s.shift) {
        if (s.syllable.size() < LongestSyllable)
            SetSyllable(s, s.syllable + c);
        return true;
    }
    if (s.syllable.empty())
        return false;
    if (c == SipBack) {
        SetSyllable(s, s.syllable.substr(0, s.syllable.size() - 1));
        return true;
    }
    CommitSyllable(s);
    return c == u' ' || c == SipEnter;
}

void Tap(PanelState& s, const SipKey& key)
{
    switch (key.ch) {
    case SipShift:
        s.shift = !s.shift;
        return;
    case SipAccents:
    case SipPinyin: {
        const SipMode mode = key.ch == SipAccents ? SipMode::Accents : SipMode::Pinyin;
        s.mode = s.mode == mode ? SipMode::Letters : mode;
        SetSyllable(s, std::u16string());
        return;
    }
    case SipPrevPage:
        s.page = std::max(0, s.page - 1);
        return;
    case SipNextPage:
        s.page = std::min(std::max(0, PageCount(s) - 1), s.page + 1);
        return;
    case SipSyllable:
        return;
    case SipCandidate:
        if (const char16_t c = CandidateOf(s, key); c && Storable(c)) {
            SetSyllable(s, std::u16string());
            DeliverKeyStroke(VirtualKey(c), c);
        }
        return;
    default:
        break;
    }
    const char16_t c = SipCharacter(key, s.shift);
    if ((c && !Storable(c)) || Compose(s, key))
        return;
    s.shift = false;
    DeliverKeyStroke(VirtualKey(key.ch), c);
}

LRESULT PanelProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* s = State<PanelState>(hwnd);
    if (!s)
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    switch (msg) {
    case WM_PAINT:
        PaintPanel(hwnd);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        const int index = KeyAt(*s, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        if (index < 0)
            return 0;
        s->pressed = index;
        InvalidateRect(hwnd, nullptr, FALSE);
        Tap(*s, KeysOf(*s)[std::size_t(index)]);
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
                    (GetSystemMetrics(SM_CXSCREEN) - SipWidth) / 2, GetSystemMetrics(SM_CYSCREEN) - SipHeight, SipWidth,
                    SipHeight, nullptr, nullptr, nullptr, nullptr);
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

void SipSetCandidateSource(std::function<std::u16string(std::u16string_view)> source)
{
    g_candidateSource = std::move(source);
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
