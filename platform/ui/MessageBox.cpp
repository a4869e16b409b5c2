#include "platform/ui/MessageBox.h"
#include "platform/core/Resources.h"
#include "platform/core/System.h"
#include "platform/ui/Button.h"
#include "platform/ui/Host.h"
#include "platform/ui/WindowImpl.h"
#include "platform/ui/Wnd.h"
#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <array>
#include <memory>

namespace ce {
namespace {

constexpr int Margin = 8;
constexpr int IconSize = 32;
constexpr int TextWidth = 176;
constexpr int ButtonWidth = 64;
constexpr int ButtonHeight = 22;

impl::ClassRegistrar messageBoxClass({std::u16string(MESSAGEBOX_CLASSW), 0, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1),
                                nullptr, nullptr});

struct BoxButton {
    int id;
    UINT word;             // string resource
    const char16_t* english; // when the resources lack it
};
constexpr BoxButton Ok{IDOK, IDS_MESSAGEBOX_OK, u"OK"};
constexpr BoxButton Cancel{IDCANCEL, IDS_MESSAGEBOX_CANCEL, u"Cancel"};
constexpr BoxButton Yes{IDYES, IDS_MESSAGEBOX_YES, u"Yes"};
constexpr BoxButton No{IDNO, IDS_MESSAGEBOX_NO, u"No"};
constexpr BoxButton Retry{IDRETRY, IDS_MESSAGEBOX_RETRY, u"Retry"};

std::u16string WordOf(const BoxButton& button)
{
    std::u16string word = LoadStringW(button.word);
    return word.empty() ? button.english : word;
}

std::vector<BoxButton> ButtonsOf(UINT type)
{
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL: return {Ok, Cancel};
    case MB_YESNOCANCEL: return {Yes, No, Cancel};
    case MB_YESNO: return {Yes, No};
    case MB_RETRYCANCEL: return {Retry, Cancel};
    default: return {Ok};
    }
}

// The answer of Escape and the close box; 0 when the box has none.
int CancelAnswer(UINT type)
{
    switch (type & MB_TYPEMASK) {
    case MB_OK: return IDOK;
    case MB_YESNO: return 0;
    default: return IDCANCEL;
    }
}


class CMessageBoxWnd : public CWnd {
public:
    CMessageBoxWnd(std::u16string text, UINT type) : text(std::move(text)), type(type) {}

    BOOL CreateBox(HWND owner, const std::u16string& caption)
    {
        const std::vector<BoxButton> choices = ButtonsOf(type);
        const QFontMetrics metrics(impl::DeviceFont());
        const QRect textBounds = metrics.boundingRect(QRect(0, 0, TextWidth, 1000), Qt::TextWordWrap,
                                                      QString::fromStdU16String(text));
        int buttonWidth = ButtonWidth;
        for (const BoxButton& choice : choices)
            buttonWidth = std::max(buttonWidth, metrics.horizontalAdvance(QString::fromStdU16String(WordOf(choice))) + Margin);
        const int buttonsWidth = int(choices.size()) * buttonWidth + int(choices.size() - 1) * Margin;
        const int iconSpace = (type & MB_ICONMASK) ? IconSize + Margin : 0;
        const int clientWidth = std::max(buttonsWidth, iconSpace + textBounds.width()) + 2 * Margin;
        const int bodyHeight = std::max((type & MB_ICONMASK) ? IconSize : 0, textBounds.height());
        const int clientHeight = Margin + bodyHeight + Margin + ButtonHeight + Margin;

        DWORD style = WS_POPUP | WS_CAPTION | WS_VISIBLE;
        if (CancelAnswer(type))
            style |= WS_SYSMENU;
        const int width = clientWidth + 2;
        const int height = clientHeight + 2 + 18;
        const int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
        const int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
        if (!CreateEx(0, MESSAGEBOX_CLASSW, caption.c_str(), style, x, y, width, height, owner, nullptr))
            return FALSE;
        // The frame's real caption height may differ from the estimate.
        RECT client{};
        GetClientRect(&client);
        MoveWindow(x, y, width, height + clientHeight - client.bottom, TRUE);

        textRect = CRect(Margin + iconSpace, Margin, clientWidth - Margin, Margin + bodyHeight);
        int left = (clientWidth - buttonsWidth) / 2;
        const int top = clientHeight - Margin - ButtonHeight;
        for (std::size_t i = 0; i < choices.size(); ++i) {
            auto button = std::make_unique<CButton>();
            const DWORD buttonStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | (i == 0 ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
            if (!button->Create(WordOf(choices[i]).c_str(), buttonStyle,
                                CRect(left, top, left + buttonWidth, top + ButtonHeight), this, UINT(choices[i].id)))
                return FALSE;
            left += buttonWidth + Margin;
            buttons.push_back(std::move(button));
        }
        buttons.front()->SetFocus();
        return TRUE;
    }

    int result = 0;
    // Runs until the first answer or the box's end.
    impl::ModalLoop loop;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM) override
    {
        if (HIWORD(wParam) == BN_CLICKED && IndexOf(GetDlgItem(LOWORD(wParam))) >= 0)
            Answer(LOWORD(wParam));
        return TRUE;
    }

    BOOL PreTranslateMessage(MSG* msg) override
    {
        if (msg->message == WM_CHAR && (msg->wParam == u'\r' || msg->wParam == 27))
            return TRUE;
        if (msg->message != WM_KEYDOWN)
            return CWnd::PreTranslateMessage(msg);
        const int focused = IndexOf(CWnd::GetFocus());
        switch (msg->wParam) {
        case VK_RETURN:
            Answer(buttons[std::size_t(std::max(focused, 0))]->GetDlgCtrlID());
            return TRUE;
        case VK_ESCAPE:
            Answer(CancelAnswer(type));
            return TRUE;
        case VK_TAB:
        case VK_RIGHT:
        case VK_LEFT: {
            const int n = int(buttons.size());
            const int step = msg->wParam == VK_LEFT ? n - 1 : 1;
            buttons[std::size_t((std::max(focused, 0) + step) % n)]->SetFocus();
            return TRUE;
        }
        default:
            return CWnd::PreTranslateMessage(msg);
        }
    }

    void OnPaint()
    {
        CPaintDC dc(this);
        if (auto p = impl::PainterOf(dc.GetSafeHdc()); p && (type & MB_ICONMASK))
            DrawIcon(*p, QRect(Margin, Margin, IconSize, IconSize));
        dc.SetBkMode(TRANSPARENT);
        dc.SetTextColor(GetSysColor(COLOR_WINDOWTEXT));
        CRect rect = textRect;
        dc.DrawText(text, &rect, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
    }

    void OnClose() { Answer(CancelAnswer(type)); }
    void PostNcDestroy() override
    {
        loop.End();
        CWnd::PostNcDestroy();
    }

    DECLARE_MESSAGE_MAP()

private:
    // The first answer counts; 0 is none.
    void Answer(int answer)
    {
        if (!result)
            result = answer;
        loop.End();
    }

    int IndexOf(const CWnd* wnd) const
    {
        for (std::size_t i = 0; i < buttons.size(); ++i)
            if (wnd && buttons[i]->m_hWnd == wnd->m_hWnd)
                return int(i);
        return -1;
    }

    void DrawIcon(QPainter& p, const QRect& area) const
    {
        QColor face(0, 0, 160);
        QString glyph = QStringLiteral("?");
        switch (type & MB_ICONMASK) {
        case MB_ICONHAND: face = QColor(200, 0, 0); glyph = QStringLiteral("X"); break;
        case MB_ICONEXCLAMATION: face = QColor(200, 150, 0); glyph = QStringLiteral("!"); break;
        case MB_ICONASTERISK: glyph = QStringLiteral("i"); break;
        default: break;
        }
        p.save();
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(face);
        p.drawEllipse(area.adjusted(1, 1, -1, -1));
        QFont font = impl::DeviceFont();
        font.setBold(true);
        font.setPixelSize(area.height() * 2 / 3);
        p.setFont(font);
        p.setPen(Qt::white);
        p.drawText(area, Qt::AlignCenter, glyph);
        p.restore();
    }

    std::u16string text;
    UINT type;
    CRect textRect;
    std::vector<std::unique_ptr<CButton>> buttons;
};

BEGIN_MESSAGE_MAP(CMessageBoxWnd, CWnd)
    ON_WM_PAINT()
    ON_WM_CLOSE()
END_MESSAGE_MAP()

} // namespace

namespace impl {

std::function<int(HWND, const std::u16string&, const std::u16string&, UINT)>& MessageBoxAnswer()
{
    static std::function<int(HWND, const std::u16string&, const std::u16string&, UINT)> answer;
    return answer;
}

} // namespace impl

int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type)
{
    const std::u16string body = text ? text : u"";
    const std::u16string title = caption ? caption : u"";
    if (const auto& answer = impl::MessageBoxAnswer())
        return answer(owner, body, title, type);

    const HWND previousFocus = GetFocus();
    const HWND top = impl::TopLevelOf(owner);
    CMessageBoxWnd box(body, type);
    if (!box.CreateBox(top, title))
        return 0;
    const bool disableOwner = top && IsWindowEnabled(top);
    if (disableOwner)
        EnableWindow(top, FALSE);
    box.loop.Run();
    if (disableOwner)
        EnableWindow(top, TRUE);
    box.DestroyWindow();
    if (previousFocus && IsWindow(previousFocus))
        SetFocus(previousFocus);
    return box.result ? box.result : CancelAnswer(type) ? CancelAnswer(type) : IDNO;
}

int CWnd::MessageBox(LPCWSTR text, LPCWSTR caption, UINT type)
{
    return MessageBoxW(m_hWnd, text, caption, type);
}

} // namespace ce
