#include "dialogs/ControlPlacement.h"

#include <algorithm>

namespace {

ce::SIZE Extent(ce::HDC dc, const char16_t* text, int length)
{
    ce::SIZE size{};
    ce::GetTextExtentExPointW(dc, text, length, -1, nullptr, nullptr, &size);
    return size;
}

bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// Where the character that starts at `at` ends: a surrogate pair is one.
std::size_t CharacterEnd(std::u16string_view text, std::size_t at)
{
    ++at;
    while (at < text.size() && IsLowSurrogate(text[at]))
        ++at;
    return at;
}

// The next line of `rest`: the whole rest when it is not wider than
// `available`, else its longest prefix that is narrower than `available`,
// at least one character. Only the line itself and a few prefixes as long
// as it are measured, so that breaking a long text costs its length: the
// search doubles a prefix until it is too wide, then halves the gap.
std::size_t LineLength(ce::HDC dc, std::u16string_view rest, int available)
{
    auto width = [&](std::size_t length) { return Extent(dc, rest.data(), int(length)).cx; };
    std::size_t narrower = 0; // a prefix narrower than `available`; 0 for none
    std::size_t wider = CharacterEnd(rest, 0);
    for (;;) {
        const int w = width(wider);
        if (wider == rest.size() && w <= available)
            return wider;
        if (w >= available)
            break;
        narrower = wider;
        wider = std::min(rest.size(), 2 * wider);
        while (wider < rest.size() && IsLowSurrogate(rest[wider]))
            ++wider;
    }
    while (CharacterEnd(rest, narrower) < wider) {
        std::size_t middle = narrower + (wider - narrower) / 2;
        while (middle < wider && IsLowSurrogate(rest[middle]))
            ++middle;
        if (middle <= narrower || middle >= wider)
            middle = CharacterEnd(rest, narrower);
        (width(middle) < available ? narrower : wider) = middle;
    }
    return narrower ? narrower : wider;
}

} // namespace

void BreakLines(ce::HDC dc, std::u16string& text, int available)
{
    std::u16string out;
    std::u16string_view rest = text;
    while (!rest.empty()) {
        const std::size_t n = LineLength(dc, rest, available);
        if (!out.empty())
            out += u'\n';
        out.append(rest.substr(0, n));
        rest.remove_prefix(n);
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
