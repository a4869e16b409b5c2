// The single-line edit control over a QLineEdit. Keys reach it as messages
// (so pre-translation sees them first); the line edit only shows the text,
// the caret and the selection.
#include "platform/ui/Controls.h"
#include "platform/ui/WindowImpl.h"
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPointer>

#include <algorithm>
#include <limits>

namespace ce {

using namespace impl;

namespace {

// Shows an input method's composition at the caret; the text it commits
// comes as WM_CHAR instead (the platform's input filter sees to that).
class EditLine : public QLineEdit {
public:
    using QLineEdit::QLineEdit;
    void ShowComposition(const QString& text, int cursor)
    {
        QList<QInputMethodEvent::Attribute> attributes;
        attributes.append({QInputMethodEvent::Cursor, cursor, 1, QVariant()});
        QTextCharFormat underline;
        underline.setFontUnderline(true);
        attributes.append({QInputMethodEvent::TextFormat, 0, int(text.size()), underline});
        QInputMethodEvent event(text, attributes);
        inputMethodEvent(&event);
    }
};

constexpr int DefaultTextLimit = 32767;

struct EditState : ControlState {
    QPointer<EditLine> line;
    bool composing = false;
    // The text as it was set: the line shows bytes kept undecodable as
    // replacement characters, and until the user changes the text it is
    // handed back as it was set, with those bytes.
    std::u16string assigned;
    // The most units typing may make (EM_LIMITTEXT); a text that is set is
    // kept whole, however long.
    int limit = DefaultTextLimit;
};

void SetLineText(EditState& state, std::u16string text)
{
    state.line->setText(DisplayText(text));
    state.line->setCursorPosition(0);
    state.assigned = std::move(text);
}

std::u16string TextOf(const EditState& state)
{
    const QString shown = state.line->text();
    if (shown == DisplayText(state.assigned))
        return state.assigned;
    return shown.toStdU16String();
}

EditLine* LineOf(HWND hwnd)
{
    auto* state = State<EditState>(hwnd);
    return state ? state->line.data() : nullptr;
}

void PlaceLine(Window& w)
{
    auto* state = dynamic_cast<EditState*>(w.state.get());
    if (state && state->line)
        state->line->setGeometry(ClientRectInWidget(w).adjusted(1, 0, -1, 0));
}

std::unique_ptr<ControlState> CreateEditState(Window& w)
{
    auto state = std::make_unique<EditState>();
    auto* line = new EditLine(w.widget);
    line->setFrame(false);
    line->setFocusPolicy(Qt::NoFocus);
    line->setAttribute(Qt::WA_TransparentForMouseEvents);
    line->setAttribute(Qt::WA_InputMethodEnabled, true);
    line->setFont(DeviceFont());
    // The line's own limit would cut a longer text as it is set.
    line->setMaxLength(std::numeric_limits<int>::max());
    state->line = line;
    SetLineText(*state, w.text);
    line->setReadOnly(w.style & ES_READONLY);
    if (w.style & ES_CENTER)
        line->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    else if (w.style & ES_RIGHT)
        line->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    if (w.style & ES_PASSWORD)
        line->setEchoMode(QLineEdit::Password);
    line->show();
    PlaceLine(w);
    return state;
}

bool Typed(HWND hwnd, const EditState& state, QLineEdit& line, char16_t c)
{
    DWORD style = DWORD(GetWindowLongW(hwnd, GWL_STYLE));
    if (style & ES_NUMBER && (c < u'0' || c > u'9'))
        return false;
    if (line.text().size() - line.selectedText().size() >= state.limit)
        return false;
    QString s{QChar(c)};
    if (style & ES_UPPERCASE)
        s = s.toUpper();
    else if (style & ES_LOWERCASE)
        s = s.toLower();
    line.insert(s);
    return true;
}

void Changed(HWND hwnd)
{
    InvalidateRect(hwnd, nullptr, FALSE);
    CommandToParent(hwnd, EN_CHANGE);
}

void PaintEdit(HWND hwnd)
{
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hwnd, &ps);
    HWND parent = GetParent(hwnd);
    HBRUSH brush = nullptr;
    if (parent)
        brush = reinterpret_cast<HBRUSH>(SendMessageW(parent, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(hdc),
                                                      reinterpret_cast<LPARAM>(hwnd)));
    if (!brush)
        brush = GetSysColorBrush(COLOR_WINDOW);
    RECT rc;
    GetClientRect(hwnd, &rc);
    FillRect(hdc, &rc, brush);
    if (QLineEdit* line = LineOf(hwnd)) {
        QPalette palette = line->palette();
        QColor background = BrushColor(brush);
        if (background.isValid())
            palette.setColor(QPalette::Base, background);
        palette.setColor(QPalette::Text, ToQColor(TextColorOfDC(hdc)));
        line->setPalette(palette);
    }
    EndPaint(hwnd, &ps);
}

LRESULT EditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    EditLine* line = LineOf(hwnd);
    if (!line)
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    switch (msg) {
    case WM_PAINT:
        PaintEdit(hwnd);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_SIZE:
        if (Window* w = FindWindow(hwnd))
            PlaceLine(*w);
        return 0;
    case WM_SETTEXT: {
        auto* text = reinterpret_cast<LPCWSTR>(lParam);
        DefWindowProcW(hwnd, msg, wParam, lParam);
        SetLineText(*State<EditState>(hwnd), text ? text : u"");
        return TRUE;
    }
    case WM_GETTEXTLENGTH:
        return line->text().size();
    case WM_GETTEXT: {
        auto* buffer = reinterpret_cast<LPWSTR>(lParam);
        if (!buffer || wParam == 0)
            return 0;
        const std::u16string text = TextOf(*State<EditState>(hwnd));
        std::size_t n = std::min<std::size_t>(wParam - 1, text.size());
        std::copy_n(text.begin(), n, buffer);
        buffer[n] = 0;
        return LRESULT(n);
    }
    case WM_SETFONT:
        DefWindowProcW(hwnd, msg, wParam, lParam);
        line->setFont(FontOf(reinterpret_cast<HFONT>(wParam)));
        return 0;
    case WM_SETFOCUS:
        line->setFocusPolicy(Qt::StrongFocus);
        line->setFocus(Qt::OtherFocusReason);
        line->selectAll();
        CommandToParent(hwnd, EN_SETFOCUS);
        return 0;
    case WM_KILLFOCUS:
        SetComposition(hwnd, QString(), 0);
        line->deselect();
        line->clearFocus();
        line->setFocusPolicy(Qt::NoFocus);
        CommandToParent(hwnd, EN_KILLFOCUS);
        return 0;
    case WM_ENABLE:
        line->setEnabled(wParam != 0);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        if (GetFocus() != hwnd)
            SetFocus(hwnd);
        if ((line = LineOf(hwnd)) == nullptr)
            return 0;
        QPoint at(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        if (Window* w = FindWindow(hwnd))
            at += ClientRectInWidget(*w).topLeft() - line->geometry().topLeft();
        if (msg == WM_LBUTTONDBLCLK)
            line->selectAll();
        else
            line->setCursorPosition(line->cursorPositionAt(at));
        return 0;
    }
    case WM_CHAR: {
        if (line->isReadOnly())
            return 0;
        auto c = char16_t(wParam);
        if (c == 8) {
            if (line->hasSelectedText() || line->cursorPosition() > 0) {
                line->backspace();
                Changed(hwnd);
            }
        } else if (c >= 0x20 && c != 0x7F && Typed(hwnd, *State<EditState>(hwnd), *line, c)) {
            Changed(hwnd);
        }
        return 0;
    }
    case WM_KEYDOWN:
        switch (wParam) {
        case VK_LEFT:
            line->cursorBackward(false);
            break;
        case VK_RIGHT:
            line->cursorForward(false);
            break;
        case VK_HOME:
            line->home(false);
            break;
        case VK_END:
            line->end(false);
            break;
        case VK_DELETE:
            if (!line->isReadOnly()) {
                line->del();
                Changed(hwnd);
            }
            break;
        default:
            break;
        }
        return 0;
    case EM_SETSEL: {
        int length = int(line->text().size());
        int start = int(wParam);
        int end = int(lParam);
        if (start < 0) {
            line->deselect();
            return 0;
        }
        if (end < 0 || end > length)
            end = length;
        start = std::min(start, length);
        line->setSelection(start, end - start);
        return 0;
    }
    case EM_GETSEL: {
        int start = line->hasSelectedText() ? int(line->selectionStart()) : line->cursorPosition();
        int end = line->hasSelectedText() ? start + int(line->selectedText().size()) : start;
        if (auto* s = reinterpret_cast<DWORD*>(wParam))
            *s = DWORD(start);
        if (auto* e = reinterpret_cast<DWORD*>(lParam))
            *e = DWORD(end);
        return LRESULT(MAKELONG(WORD(start), WORD(end)));
    }
    case EM_LIMITTEXT:
        State<EditState>(hwnd)->limit =
            wParam ? int(std::min<WPARAM>(wParam, std::numeric_limits<int>::max())) : DefaultTextLimit;
        return 0;
    case EM_SETREADONLY:
        line->setReadOnly(wParam != 0);
        if (Window* w = FindWindow(hwnd))
            w->style = wParam ? (w->style | ES_READONLY) : (w->style & ~ES_READONLY);
        return TRUE;
    default:
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

} // namespace

namespace impl {

bool AcceptsComposition(HWND hwnd)
{
    EditLine* line = LineOf(hwnd);
    return line && line->isEnabled() && !line->isReadOnly();
}

void SetComposition(HWND hwnd, const QString& text, int cursor)
{
    auto* state = State<EditState>(hwnd);
    if (!state || !state->line || (text.isEmpty() && !state->composing) || !AcceptsComposition(hwnd))
        return;
    // A composition replaces the selection, as typing does.
    if (!state->composing && state->line->hasSelectedText()) {
        state->line->del();
        Changed(hwnd);
    }
    state->composing = !text.isEmpty();
    state->line->ShowComposition(text, cursor);
}

QRect CaretRectOnScreen(HWND hwnd)
{
    EditLine* line = LineOf(hwnd);
    if (!line)
        return QRect();
    const QRect caret = line->inputMethodQuery(Qt::ImCursorRectangle).toRect();
    return caret.translated(line->mapTo(ScreenWidget(), QPoint()));
}

void RegisterEditClass()
{
    RegisterWindowClass({WC_EDITW, CS_DBLCLKS, nullptr, &EditProc, &CreateEditState});
}

} // namespace impl

IMPLEMENT_DYNAMIC(CEdit, CWnd)

BOOL CEdit::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CWnd::Create(WC_EDITW, nullptr, style, rect, parent, id);
}

void CEdit::SetSel(int start, int end)
{
    SendMessage(EM_SETSEL, WPARAM(start), LPARAM(end));
}

void CEdit::GetSel(int& start, int& end) const
{
    DWORD s = 0;
    DWORD e = 0;
    SendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&e));
    start = int(s);
    end = int(e);
}

void CEdit::LimitText(int maxChars)
{
    SendMessage(EM_LIMITTEXT, WPARAM(maxChars));
}

BOOL CEdit::SetReadOnly(BOOL readOnly)
{
    return BOOL(SendMessage(EM_SETREADONLY, WPARAM(readOnly)));
}

} // namespace ce
