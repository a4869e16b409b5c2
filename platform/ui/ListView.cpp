// The report list view. It draws its header and rows with the device
// context functions into its backing image; the vertical scroll bar is an
// inner Qt widget.
#include "platform/ui/ListView.h"
#include "platform/ui/DeviceScrollBar.h"
#include "platform/ui/WindowImpl.h"
#include <QFontMetrics>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

namespace ce {
namespace {

constexpr int TextMax = 260;  // units the view offers for one cell
constexpr int TextIndent = 4; // left margin of a cell's text
constexpr int ImageIndent = 2;

struct Column {
    int fmt = LVCFMT_LEFT;
    int cx = 0;
    std::u16string text;
    int subItem = 0;
    int order = 0;
};

struct ListViewState : impl::ControlState {
    int count = 0;
    std::vector<Column> columns;
    std::vector<char> selected; // one flag per item
    int focused = -1;
    int top = 0;
    DWORD exStyle = 0;
    HIMAGELIST smallImages = nullptr;
    HIMAGELIST normalImages = nullptr;
    QScrollBar* bar = nullptr;
    int wheel = 0; // the part of a wheel turn not yet scrolled
};

LRESULT ListViewProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

impl::ClassRegistrar listViewClass({std::u16string(WC_LISTVIEWW), CS_DBLCLKS, nullptr, &ListViewProc,
                                [](impl::Window& w) -> std::unique_ptr<impl::ControlState> {
                                    auto state = std::make_unique<ListViewState>();
                                    state->bar = new impl::DeviceScrollBar(w.widget);
                                    state->bar->hide();
                                    const HWND hwnd = w.hwnd;
                                    QObject::connect(state->bar, &QScrollBar::valueChanged, [hwnd](int value) {
                                        auto* s = impl::State<ListViewState>(hwnd);
                                        if (!s || s->top == value)
                                            return;
                                        s->top = value;
                                        InvalidateRect(hwnd, nullptr, FALSE);
                                    });
                                    return state;
                                }});

struct Geometry {
    int width = 0;  // client width, without the scroll bar
    int height = 0; // client height
    int header = 0; // header height, 0 without a header
    int row = 1;    // row height
    int perPage = 1; // rows that fit whole
};

Geometry Measure(HWND hwnd, const ListViewState& s)
{
    Geometry g;
    impl::Window* w = impl::FindWindow(hwnd);
    RECT rc{};
    GetClientRect(hwnd, &rc);
    g.width = rc.right;
    g.height = rc.bottom;
    const QFontMetrics metrics(w ? impl::WindowFont(*w) : impl::DeviceFont());
    int iconHeight = 0;
    ImageList_GetIconSize(s.smallImages, nullptr, &iconHeight);
    g.row = std::max(metrics.height(), iconHeight) + 2;
    const bool report = w && (w->style & LVS_REPORT) && !(w->style & LVS_NOCOLUMNHEADER);
    g.header = report ? metrics.height() + 4 : 0;
    g.perPage = std::max(1, (g.height - g.header) / g.row);
    if (s.bar && !s.bar->isHidden())
        g.width = std::max(0, g.width - GetSystemMetrics(SM_CXVSCROLL));
    return g;
}

int MaxTop(const ListViewState& s, const Geometry& g)
{
    return std::max(0, s.count - g.perPage);
}

// Keeps the top row in range and the scroll bar in step with it.
void UpdateScrolling(HWND hwnd, ListViewState& s)
{
    impl::Window* w = impl::FindWindow(hwnd);
    if (!w || !s.bar)
        return;
    const int barWidth = GetSystemMetrics(SM_CXVSCROLL);
    const QRect client = impl::ClientRectInWidget(*w);
    Geometry g = Measure(hwnd, s);
    const bool needed = s.count > g.perPage;
    s.top = std::clamp(s.top, 0, MaxTop(s, g));
    const QSignalBlocker block(s.bar);
    s.bar->setGeometry(client.right() + 1 - barWidth, client.top(), barWidth, client.height());
    s.bar->setRange(0, MaxTop(s, g));
    s.bar->setPageStep(g.perPage);
    s.bar->setValue(s.top);
    s.bar->setVisible(needed && client.width() > barWidth);
}

void Redraw(HWND hwnd, ListViewState& s)
{
    UpdateScrolling(hwnd, s);
    InvalidateRect(hwnd, nullptr, FALSE);
}

int TotalColumnWidth(const ListViewState& s)
{
    int total = 0;
    for (const Column& c : s.columns)
        total += c.cx;
    return total;
}

// Columns in display order.
std::vector<const Column*> DisplayOrder(const ListViewState& s)
{
    std::vector<const Column*> order;
    for (const Column& c : s.columns)
        order.push_back(&c);
    std::stable_sort(order.begin(), order.end(), [](const Column* a, const Column* b) { return a->order < b->order; });
    return order;
}

// Asks the parent for a cell. The answer may point pszText at text of the
// parent's own instead of filling the buffer.
void RequestCell(HWND hwnd, LVITEMW& item)
{
    NMLVDISPINFOW info;
    info.hdr.code = LVN_GETDISPINFOW;
    info.item = item;
    impl::NotifyParent(hwnd, info.hdr);
    item = info.item;
}

// The text of a cell, at most cchTextMax - 1 units of it.
std::u16string CellText(HWND hwnd, int index, int subItem, int* image)
{
    WCHAR buffer[TextMax] = {};
    LVITEMW item;
    item.mask = LVIF_TEXT | (image ? LVIF_IMAGE : 0);
    item.iItem = index;
    item.iSubItem = subItem;
    item.pszText = buffer;
    item.cchTextMax = TextMax;
    item.iImage = -1;
    RequestCell(hwnd, item);
    if (image)
        *image = item.iImage;
    if (!item.pszText)
        return {};
    std::u16string text;
    for (int i = 0; i < TextMax - 1 && item.pszText[i]; ++i)
        text.push_back(item.pszText[i]);
    return text;
}

void PaintHeader(HDC hdc, const ListViewState& s, const Geometry& g)
{
    RECT face{0, 0, g.width, g.header};
    FillRect(hdc, &face, GetSysColorBrush(COLOR_BTNFACE));
    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, GetSysColor(COLOR_BTNTEXT));
    int x = 0;
    for (const Column* c : DisplayOrder(s)) {
        RECT cell{x, 0, x + c->cx, g.header};
        RECT shadow{cell.right - 1, 0, cell.right, g.header};
        FillRect(hdc, &shadow, GetSysColorBrush(COLOR_BTNSHADOW));
        RECT light{cell.left, 0, cell.right - 1, 1};
        FillRect(hdc, &light, GetSysColorBrush(COLOR_BTNHIGHLIGHT));
        RECT text{cell.left + TextIndent, 0, cell.right - TextIndent, g.header};
        const UINT align = c->fmt == LVCFMT_RIGHT ? DT_RIGHT : c->fmt == LVCFMT_CENTER ? DT_CENTER : DT_LEFT;
        DrawTextW(hdc, c->text.c_str(), int(c->text.size()), &text,
                  align | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
        x = cell.right;
    }
    RECT line{0, g.header - 1, g.width, g.header};
    FillRect(hdc, &line, GetSysColorBrush(COLOR_BTNSHADOW));
}

void PaintRow(HWND hwnd, HDC hdc, const ListViewState& s, const Geometry& g, int index, int y, bool hasFocus)
{
    const bool fullRow = s.exStyle & LVS_EX_FULLROWSELECT;
    impl::Window* w = impl::FindWindow(hwnd);
    const bool showSelection = hasFocus || (w && (w->style & LVS_SHOWSELALWAYS));
    const bool selected = s.selected[std::size_t(index)] && showSelection;
    int iconWidth = 0;
    ImageList_GetIconSize(s.smallImages, &iconWidth, nullptr);

    int x = 0;
    bool first = true;
    for (const Column* c : DisplayOrder(s)) {
        RECT cell{x, y, x + c->cx, y + g.row};
        x = cell.right;
        int image = -1;
        const std::u16string text = CellText(hwnd, index, c->subItem, first && s.smallImages ? &image : nullptr);
        const bool withImage = first && s.smallImages;
        const int textLeft = withImage ? cell.left + ImageIndent + iconWidth + 2 : cell.left + TextIndent;
        RECT textRect{textLeft, y, cell.right - 2, y + g.row};
        // The band goes first: the row's image stays visible on it.
        if (selected && (fullRow || first)) {
            RECT band = fullRow ? cell : RECT{textLeft - 2, y, cell.right, y + g.row};
            FillRect(hdc, &band, GetSysColorBrush(COLOR_HIGHLIGHT));
            SetTextColor(hdc, GetSysColor(COLOR_HIGHLIGHTTEXT));
        } else {
            SetTextColor(hdc, GetSysColor(COLOR_WINDOWTEXT));
        }
        if (withImage && image >= 0) {
            int iconHeight = 0;
            ImageList_GetIconSize(s.smallImages, nullptr, &iconHeight);
            ImageList_Draw(s.smallImages, image, hdc, cell.left + ImageIndent, y + (g.row - iconHeight) / 2,
                           ILD_TRANSPARENT);
        }
        const UINT align = c->fmt == LVCFMT_RIGHT ? DT_RIGHT : c->fmt == LVCFMT_CENTER ? DT_CENTER : DT_LEFT;
        DrawTextW(hdc, text.c_str(), int(text.size()), &textRect,
                  align | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
        first = false;
    }

    if (hasFocus && index == s.focused) {
        if (auto p = impl::PainterOf(hdc)) {
            p->save();
            p->setPen(QPen(selected ? Qt::white : Qt::black, 1, Qt::DotLine));
            p->setBrush(Qt::NoBrush);
            p->drawRect(QRect(0, y, std::min(x, g.width), g.row).adjusted(0, 0, -1, -1));
            p->restore();
        }
    }
}

// A modal window over the view (a question about its rows) disables the
// view's top-level window and takes the focus; until the focus comes back
// the view keeps looking focused, so the row in question stays selected.
bool UnderModalWindow(HWND hwnd)
{
    impl::Window* w = impl::FindWindow(hwnd);
    while (w && w->parent)
        w = impl::FindWindow(w->parent);
    return w && (w->style & WS_DISABLED);
}

void Paint(HWND hwnd, ListViewState& s)
{
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hwnd, &ps);
    const Geometry g = Measure(hwnd, s);
    RECT all{0, 0, g.width, g.height};
    FillRect(hdc, &all, GetSysColorBrush(COLOR_WINDOW));
    SetBkMode(hdc, TRANSPARENT);
    if (g.header)
        PaintHeader(hdc, s, g);
    const bool hasFocus = GetFocus() == hwnd || UnderModalWindow(hwnd);
    for (int index = s.top, y = g.header; index < s.count && y < g.height; ++index, y += g.row)
        PaintRow(hwnd, hdc, s, g, index, y, hasFocus);
    EndPaint(hwnd, &ps);
}

int RowAt(HWND hwnd, const ListViewState& s, int x, int y)
{
    const Geometry g = Measure(hwnd, s);
    if (y < g.header || x < 0 || x >= g.width)
        return -1;
    const int index = s.top + (y - g.header) / g.row;
    return index < s.count ? index : -1;
}

void SetState(ListViewState& s, int index, UINT state, UINT mask, bool singleSelection)
{
    if (mask & LVIS_FOCUSED) {
        if (state & LVIS_FOCUSED)
            s.focused = index;
        else if (s.focused == index || index < 0)
            s.focused = -1;
    }
    if (mask & LVIS_SELECTED) {
        const char on = (state & LVIS_SELECTED) ? 1 : 0;
        if (index < 0) {
            std::fill(s.selected.begin(), s.selected.end(), on);
        } else {
            if (on && singleSelection)
                std::fill(s.selected.begin(), s.selected.end(), 0);
            s.selected[std::size_t(index)] = on;
        }
    }
}

// A tap or a key makes one row focused and the only selected one.
void SelectOnly(HWND hwnd, ListViewState& s, int index)
{
    std::fill(s.selected.begin(), s.selected.end(), 0);
    if (index >= 0 && index < s.count) {
        s.selected[std::size_t(index)] = 1;
        s.focused = index;
        SendMessageW(hwnd, LVM_ENSUREVISIBLE, WPARAM(index), FALSE);
    }
    Redraw(hwnd, s);
}

void NotifyActivate(HWND hwnd, UINT code, int index, int x, int y)
{
    NMITEMACTIVATE info;
    info.hdr.code = code;
    info.iItem = index;
    info.ptAction = POINT{x, y};
    impl::NotifyParent(hwnd, info.hdr);
}

void KeyDown(HWND hwnd, ListViewState& s, UINT vk)
{
    NMLVKEYDOWN info;
    info.hdr.code = LVN_KEYDOWN;
    info.wVKey = WORD(vk);
    impl::NotifyParent(hwnd, info.hdr);
    if (!IsWindow(hwnd) || s.count == 0)
        return;
    const Geometry g = Measure(hwnd, s);
    const int from = s.focused < 0 ? 0 : s.focused;
    int to = -1;
    switch (vk) {
    case VK_UP: to = s.focused < 0 ? 0 : from - 1; break;
    case VK_DOWN: to = s.focused < 0 ? 0 : from + 1; break;
    case VK_PRIOR: to = from - g.perPage; break;
    case VK_NEXT: to = from + g.perPage; break;
    case VK_HOME: to = 0; break;
    case VK_END: to = s.count - 1; break;
    default: return;
    }
    SelectOnly(hwnd, s, std::clamp(to, 0, s.count - 1));
}

LRESULT ListViewProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* s = impl::State<ListViewState>(hwnd);
    impl::Window* w = impl::FindWindow(hwnd);
    if (!s || !w)
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    const bool singleSelection = w->style & LVS_SINGLESEL;
    const int index = int(wParam);
    const bool inRange = index >= 0 && index < s->count;

    switch (msg) {
    case WM_PAINT:
        Paint(hwnd, *s);
        return 0;
    case WM_ERASEBKGND:
        return TRUE; // the paint fills everything
    case WM_SIZE:
        Redraw(hwnd, *s);
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        SetFocus(hwnd);
        const int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
        const int row = RowAt(hwnd, *s, x, y);
        if (y >= Measure(hwnd, *s).header)
            SelectOnly(hwnd, *s, row);
        NotifyActivate(hwnd, msg == WM_LBUTTONDOWN ? NM_CLICK : NM_DBLCLK, row, x, y);
        return 0;
    }
    case WM_KEYDOWN:
        KeyDown(hwnd, *s, UINT(wParam));
        return 0;
    case WM_MOUSEWHEEL: {
        // Whole rows; what a fine-grained wheel turns less than a row waits.
        s->wheel += GET_WHEEL_DELTA_WPARAM(wParam);
        const int rows = s->wheel * impl::WheelLines / WHEEL_DELTA;
        s->wheel -= rows * WHEEL_DELTA / impl::WheelLines;
        s->top -= rows;
        Redraw(hwnd, *s);
        return 0;
    }

    case LVM_GETITEMCOUNT:
        return s->count;
    case LVM_SETITEMCOUNT:
        s->count = std::max(0, index);
        s->selected.resize(std::size_t(s->count), 0);
        if (s->focused >= s->count)
            s->focused = -1;
        Redraw(hwnd, *s);
        return TRUE;
    case LVM_DELETEITEM:
        if (!inRange)
            return FALSE;
        s->selected.erase(s->selected.begin() + index);
        --s->count;
        if (s->focused == index)
            s->focused = -1;
        else if (s->focused > index)
            --s->focused;
        Redraw(hwnd, *s);
        return TRUE;
    case LVM_DELETEALLITEMS:
        s->count = 0;
        s->selected.clear();
        s->focused = -1;
        s->top = 0;
        Redraw(hwnd, *s);
        return TRUE;
    case LVM_GETNEXTITEM: {
        const UINT flags = UINT(lParam);
        const int start = std::max(-1, int(wParam));
        if (flags & LVNI_FOCUSED) {
            const int f = s->focused;
            const bool ok = f > start && f < s->count && (!(flags & LVNI_SELECTED) || s->selected[std::size_t(f)]);
            return ok ? f : -1;
        }
        for (int i = start + 1; i < s->count; ++i)
            if (!(flags & LVNI_SELECTED) || s->selected[std::size_t(i)])
                return i;
        return -1;
    }
    case LVM_SETITEMSTATE: {
        auto* item = reinterpret_cast<const LVITEMW*>(lParam);
        if (!item || (index != -1 && !inRange))
            return FALSE;
        SetState(*s, index, item->state, item->stateMask, singleSelection);
        InvalidateRect(hwnd, nullptr, FALSE);
        return TRUE;
    }
    case LVM_GETITEMSTATE: {
        if (!inRange)
            return 0;
        UINT state = (s->focused == index ? LVIS_FOCUSED : 0) | (s->selected[std::size_t(index)] ? LVIS_SELECTED : 0);
        return state & UINT(lParam);
    }
    case LVM_GETSELECTEDCOUNT:
        return std::count(s->selected.begin(), s->selected.end(), 1);
    case LVM_ENSUREVISIBLE: {
        if (!inRange)
            return FALSE;
        const Geometry g = Measure(hwnd, *s);
        const int visibleRows = (g.height - g.header + g.row - 1) / g.row;
        const bool partlyShown = index >= s->top && index < s->top + visibleRows;
        if (index < s->top)
            s->top = index;
        else if (index >= s->top + g.perPage && !(lParam && partlyShown))
            s->top = index - g.perPage + 1;
        Redraw(hwnd, *s);
        return TRUE;
    }
    case LVM_GETTOPINDEX:
        return s->top;
    case LVM_GETCOUNTPERPAGE:
        return Measure(hwnd, *s).perPage;
    case LVM_GETITEMRECT: {
        auto* rect = reinterpret_cast<RECT*>(lParam);
        if (!rect || !inRange)
            return FALSE;
        const Geometry g = Measure(hwnd, *s);
        const int code = rect->left;
        const int y = g.header + (index - s->top) * g.row;
        int iconWidth = 0;
        ImageList_GetIconSize(s->smallImages, &iconWidth, nullptr);
        const int firstWidth = s->columns.empty() ? g.width : DisplayOrder(*s).front()->cx;
        *rect = RECT{0, y, std::max(TotalColumnWidth(*s), firstWidth), y + g.row};
        if (code == LVIR_ICON)
            *rect = RECT{ImageIndent, y, ImageIndent + iconWidth, y + g.row};
        else if (code == LVIR_LABEL)
            *rect = RECT{iconWidth ? ImageIndent + iconWidth : 0, y, firstWidth, y + g.row};
        return TRUE;
    }
    case LVM_SCROLL: {
        const Geometry g = Measure(hwnd, *s);
        // Report view scrolls whole rows: dy is rounded to the nearest row.
        const int dy = int(lParam);
        s->top += (dy + (dy < 0 ? -g.row / 2 : g.row / 2)) / g.row;
        Redraw(hwnd, *s);
        return TRUE;
    }
    case LVM_HITTEST: {
        auto* info = reinterpret_cast<LVHITTESTINFO*>(lParam);
        if (!info)
            return -1;
        info->iItem = RowAt(hwnd, *s, info->pt.x, info->pt.y);
        info->flags = info->iItem < 0 ? LVHT_NOWHERE : LVHT_ONITEMLABEL;
        return info->iItem;
    }
    case LVM_REDRAWITEMS:
        InvalidateRect(hwnd, nullptr, FALSE);
        return TRUE;
    case LVM_SETEXTENDEDLISTVIEWSTYLE: {
        const DWORD old = s->exStyle;
        const DWORD mask = wParam ? DWORD(wParam) : ~DWORD(0);
        s->exStyle = (s->exStyle & ~mask) | (DWORD(lParam) & mask);
        InvalidateRect(hwnd, nullptr, FALSE);
        return old;
    }
    case LVM_GETEXTENDEDLISTVIEWSTYLE:
        return s->exStyle;
    case LVM_SETIMAGELIST: {
        auto list = reinterpret_cast<HIMAGELIST>(lParam);
        HIMAGELIST& slot = wParam == WPARAM(LVSIL_SMALL) ? s->smallImages : s->normalImages;
        HIMAGELIST old = slot;
        slot = list;
        Redraw(hwnd, *s);
        return reinterpret_cast<LRESULT>(old);
    }
    case LVM_GETIMAGELIST:
        return reinterpret_cast<LRESULT>(wParam == WPARAM(LVSIL_SMALL) ? s->smallImages : s->normalImages);
    case LVM_INSERTCOLUMNW: {
        auto* column = reinterpret_cast<const LVCOLUMNW*>(lParam);
        if (!column || index < 0)
            return -1;
        const int at = std::min(index, int(s->columns.size()));
        Column c;
        if (column->mask & LVCF_FMT)
            c.fmt = column->fmt;
        if (column->mask & LVCF_WIDTH)
            c.cx = std::max(0, column->cx);
        if ((column->mask & LVCF_TEXT) && column->pszText)
            c.text = column->pszText;
        c.subItem = (column->mask & LVCF_SUBITEM) ? column->iSubItem : at;
        c.order = (column->mask & LVCF_ORDER) ? column->iOrder : at;
        s->columns.insert(s->columns.begin() + at, c);
        Redraw(hwnd, *s);
        return at;
    }
    case LVM_GETCOLUMNW: {
        auto* column = reinterpret_cast<LVCOLUMNW*>(lParam);
        if (!column || index < 0 || index >= int(s->columns.size()))
            return FALSE;
        const Column& c = s->columns[std::size_t(index)];
        if (column->mask & LVCF_FMT)
            column->fmt = c.fmt;
        if (column->mask & LVCF_WIDTH)
            column->cx = c.cx;
        if ((column->mask & LVCF_TEXT) && column->pszText && column->cchTextMax > 0) {
            const std::size_t n = std::min(c.text.size(), std::size_t(column->cchTextMax - 1));
            std::copy_n(c.text.begin(), n, column->pszText);
            column->pszText[n] = 0;
        }
        if (column->mask & LVCF_SUBITEM)
            column->iSubItem = c.subItem;
        if (column->mask & LVCF_ORDER)
            column->iOrder = c.order;
        return TRUE;
    }
    case LVM_GETCOLUMNWIDTH:
        return index >= 0 && index < int(s->columns.size()) ? s->columns[std::size_t(index)].cx : 0;
    case LVM_SETCOLUMNWIDTH:
        if (index < 0 || index >= int(s->columns.size()))
            return FALSE;
        s->columns[std::size_t(index)].cx = std::max(0, int(GET_X_LPARAM(lParam)));
        Redraw(hwnd, *s);
        return TRUE;
    case LVM_GETITEMTEXTW: {
        auto* item = reinterpret_cast<LVITEMW*>(lParam);
        if (!item || !item->pszText || item->cchTextMax <= 0)
            return 0;
        item->pszText[0] = 0;
        if (!inRange)
            return 0;
        const std::u16string text = CellText(hwnd, index, item->iSubItem, nullptr);
        const std::size_t n = std::min(text.size(), std::size_t(item->cchTextMax - 1));
        std::copy_n(text.begin(), n, item->pszText);
        item->pszText[n] = 0;
        return LRESULT(n);
    }
    default:
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

} // namespace

IMPLEMENT_DYNAMIC(CListCtrl, CWnd)

BOOL CListCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CWnd::Create(WC_LISTVIEWW, nullptr, style, rect, parent, id);
}

DWORD CListCtrl::SetExtendedStyle(DWORD exStyle)
{
    return DWORD(SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LPARAM(exStyle)));
}

DWORD CListCtrl::GetExtendedStyle() const
{
    return DWORD(SendMessage(LVM_GETEXTENDEDLISTVIEWSTYLE));
}

CImageList* CListCtrl::SetImageList(CImageList* imageList, int kind)
{
    SendMessage(LVM_SETIMAGELIST, WPARAM(kind), reinterpret_cast<LPARAM>(imageList ? imageList->GetSafeHandle() : nullptr));
    return imageList;
}

HIMAGELIST CListCtrl::GetImageList(int kind) const
{
    return reinterpret_cast<HIMAGELIST>(SendMessage(LVM_GETIMAGELIST, WPARAM(kind)));
}

int CListCtrl::InsertColumn(int index, const LVCOLUMNW* column)
{
    return int(SendMessage(LVM_INSERTCOLUMNW, WPARAM(index), reinterpret_cast<LPARAM>(column)));
}

int CListCtrl::GetColumnWidth(int column) const
{
    return int(SendMessage(LVM_GETCOLUMNWIDTH, WPARAM(column)));
}

BOOL CListCtrl::SetItemCountEx(int count, DWORD flags)
{
    return BOOL(SendMessage(LVM_SETITEMCOUNT, WPARAM(count), LPARAM(flags)));
}

int CListCtrl::GetItemCount() const
{
    return int(SendMessage(LVM_GETITEMCOUNT));
}

BOOL CListCtrl::DeleteItem(int item)
{
    return BOOL(SendMessage(LVM_DELETEITEM, WPARAM(item)));
}

int CListCtrl::GetNextItem(int start, int flags) const
{
    return int(SendMessage(LVM_GETNEXTITEM, WPARAM(start), LPARAM(flags)));
}

BOOL CListCtrl::SetItemState(int item, UINT state, UINT mask)
{
    LVITEMW lvi;
    lvi.state = state;
    lvi.stateMask = mask;
    return BOOL(SendMessage(LVM_SETITEMSTATE, WPARAM(item), reinterpret_cast<LPARAM>(&lvi)));
}

UINT CListCtrl::GetItemState(int item, UINT mask) const
{
    return UINT(SendMessage(LVM_GETITEMSTATE, WPARAM(item), LPARAM(mask)));
}

BOOL CListCtrl::EnsureVisible(int item, BOOL partialOK)
{
    return BOOL(SendMessage(LVM_ENSUREVISIBLE, WPARAM(item), LPARAM(partialOK)));
}

int CListCtrl::GetTopIndex() const
{
    return int(SendMessage(LVM_GETTOPINDEX));
}

int CListCtrl::GetCountPerPage() const
{
    return int(SendMessage(LVM_GETCOUNTPERPAGE));
}

BOOL CListCtrl::GetItemRect(int item, LPRECT rect, UINT code) const
{
    if (!rect)
        return FALSE;
    rect->left = LONG(code);
    return BOOL(SendMessage(LVM_GETITEMRECT, WPARAM(item), reinterpret_cast<LPARAM>(rect)));
}

BOOL CListCtrl::Scroll(SIZE size)
{
    return BOOL(SendMessage(LVM_SCROLL, WPARAM(size.cx), LPARAM(size.cy)));
}

int CListCtrl::HitTest(POINT pt, UINT* flags) const
{
    LVHITTESTINFO info;
    info.pt = pt;
    const int item = int(SendMessage(LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)));
    if (flags)
        *flags = info.flags;
    return item;
}

std::u16string CListCtrl::GetItemText(int item, int subItem) const
{
    WCHAR buffer[TextMax] = {};
    LVITEMW lvi;
    lvi.iSubItem = subItem;
    lvi.pszText = buffer;
    lvi.cchTextMax = TextMax;
    const int n = int(SendMessage(LVM_GETITEMTEXTW, WPARAM(item), reinterpret_cast<LPARAM>(&lvi)));
    return std::u16string(buffer, std::size_t(std::max(0, n)));
}

} // namespace ce
