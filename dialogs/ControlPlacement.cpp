#include "dialogs/ControlPlacement.h"

namespace {

ce::SIZE Extent(ce::HDC dc, const char16_t* text, int length)
{
    ce::SIZE size{};
    ce::GetTextExtentExPointW(dc, text, length, -1, nullptr, nullptr, &size);
    return size;
}

bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// The longest prefix of `rest` that is narrower than `available` while one
// more character is not; at least one character (two units for a pair).
std::size_t LineLength(ce::HDC dc, std::u16string_view rest, int available)
{
    std::size_t n = 1;
    while (n < rest.size() && IsLowSurrogate(rest[n]))
        ++n;
    if (Extent(dc, rest.data(), int(n)).cx >= available)
        return n;
    for (;;) {
        std::size_t next = n + 1;
        while (next < rest.size() && IsLowSurrogate(rest[next]))
            ++next;
        if (next >= rest.size() || Extent(dc, rest.data(), int(next)).cx >= available)
            return n;
        n = next;
    }
}

} // namespace

void BreakLines(ce::HDC dc, std::u16string& text, int available)
{
    std::u16string out;
    std::u16string_view rest = text;
    while (!rest.empty() && Extent(dc, rest.data(), int(rest.size())).cx > available) {
        std::size_t n = LineLength(dc, rest, available);
        if (!out.empty())
            out += u'\n';
        out.append(rest.substr(0, n));
        rest.remove_prefix(n);
    }
    if (!rest.empty()) {
        if (!out.empty())
            out += u'\n';
        out.append(rest);
    }
    text = std::move(out);
}

void PlaceControl(ce::CWnd& form, int id, std::u16string& text, int left, int right, int& y,
                  PlaceKind kind, ce::HFONT font)
{
    ce::CWnd* control = form.GetDlgItem(id);
    if (!control)
        return;
    if (font)
        control->SendMessage(ce::WM_SETFONT, reinterpret_cast<ce::WPARAM>(font), ce::TRUE);

    ce::RECT before{};
    control->GetWindowRect(&before);
    int height = before.bottom - before.top;
    const int available = right - left - 3;

    if (kind == PlaceLine || (kind == PlaceText && text.empty())) {
        height = 1;
    } else if (kind != PlaceEdit && !text.empty()) {
        ce::HDC dc = ce::GetDC(control->m_hWnd);
        ce::HGDIOBJ previous = font ? ce::SelectObject(dc, font) : nullptr;
        const ce::SIZE whole = Extent(dc, text.data(), int(text.size()));
        const int width = available > 0 ? available : 1;
        int lines = whole.cx / width + (whole.cx % width != 0 ? 1 : 0);
        if (lines < 1)
            lines = 1;
        height = lines * (whole.cy + 6);
        if (lines > 1)
            BreakLines(dc, text, available);
        if (font)
            ce::SelectObject(dc, previous);
        ce::ReleaseDC(control->m_hWnd, dc);
    }

    const int top = y;
    y = top + height + 10;
    control->MoveWindow(left, top, right - left, height, ce::TRUE);
    control->ShowWindow(ce::SW_SHOW);
    // A picture's text names its bitmap: an empty one would blank the line.
    if (kind != PlaceLine)
        control->SetWindowText(text);
}
