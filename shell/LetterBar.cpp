#include "shell/LetterBar.h"
#include "listwnd/LetterGroup.h"

namespace {

constexpr ce::COLORREF White = 0x00FFFFFF;
constexpr ce::UINT LabelFormat = ce::DT_CENTER | ce::DT_VCENTER;

// Fills `rect` with a solid brush of `color`, outlined with the selected pen.
void FillWithPen(ce::CDC& dc, const ce::CRect& rect, ce::COLORREF color)
{
    ce::HBRUSH brush = ce::CreateSolidBrush(color);
    ce::HGDIOBJ previous = dc.SelectObject(brush);
    dc.Rectangle(rect.left, rect.top, rect.right, rect.bottom);
    dc.SelectObject(previous);
    ce::DeleteObject(brush);
}

} // namespace

BEGIN_MESSAGE_MAP(CLetterButton, ce::CButton)
    ON_WM_ERASEBKGND()
    ON_WM_LBUTTONDOWN()
    ON_WM_PAINT()
END_MESSAGE_MAP()

CLetterButton::~CLetterButton() = default;

ce::BOOL CLetterButton::OnEraseBkgnd(ce::CDC* pDC)
{
    ce::CRect rect;
    GetClientRect(&rect);
    rect.InflateRect(1, 0);
    pDC->SelectObject(ce::GetStockObject(ce::NULL_PEN));
    FillWithPen(*pDC, rect, FaceColor);
    return ce::TRUE;
}

void CLetterButton::DrawFace(ce::CDC& dc)
{
    const bool focus = GetState() & ce::BST_FOCUS;
    ce::HBRUSH brush = ce::CreateSolidBrush(focus ? FocusColor : FaceColor);
    dc.SetTextColor(focus ? White : textColor);
    ce::HGDIOBJ previous = dc.SelectObject(brush);
    ce::CRect rect;
    GetClientRect(&rect);
    dc.SelectObject(ce::GetStockObject(ce::NULL_PEN));
    dc.Rectangle(&rect);
    std::u16string label;
    GetWindowText(label);
    dc.SetBkMode(ce::TRANSPARENT);
    dc.DrawText(label, &rect, LabelFormat);
    dc.SelectObject(previous);
    ce::DeleteObject(brush);
}

void CLetterButton::OnPaint()
{
    ce::CPaintDC dc(this);
    DrawFace(dc);
}

void CLetterButton::DrawItem(ce::LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    ce::CDC* dc = ce::CDC::FromHandle(lpDrawItemStruct->hDC);
    DrawFace(*dc);
}

// The face turns white with a black frame the moment the stylus goes down,
// over the focus face that the default handling has just drawn.
void CLetterButton::OnLButtonDown(ce::UINT nFlags, ce::CPoint point)
{
    ce::CButton::OnLButtonDown(nFlags, point);
    ce::CClientDC dc(this);
    ce::CRect rect;
    GetClientRect(&rect);
    dc.SelectObject(ce::GetStockObject(ce::BLACK_PEN));
    FillWithPen(dc, rect, White);
    std::u16string label;
    GetWindowText(label);
    dc.SetBkMode(ce::TRANSPARENT);
    dc.DrawText(label, &rect, LabelFormat);
}

BEGIN_MESSAGE_MAP(CLetterBar, ce::CToolBar)
    ON_WM_ERASEBKGND()
    ON_WM_CREATE()
END_MESSAGE_MAP()

// The buttons go from the last to the first, before the bar itself.
CLetterBar::~CLetterBar() = default;

int CLetterBar::OnCreate(ce::LPCREATESTRUCT cs)
{
    return ce::CToolBar::OnCreate(cs) == -1 ? -1 : 0;
}

// The outline's left and right sides fall outside the bar, so only its top
// and bottom lines show.
ce::BOOL CLetterBar::OnEraseBkgnd(ce::CDC* pDC)
{
    ce::CRect rect;
    GetClientRect(&rect);
    rect.InflateRect(1, 0);
    FillWithPen(*pDC, rect, FaceColor);
    return ce::TRUE;
}

int CLetterBar::CreateLetterButtons()
{
    ce::CRect rect(1, 3, 1, 19);
    for (int i = 0; i < LetterGroupCount; ++i) {
        const LetterGroup& group = LetterGroups[i];
        SetButtonInfo(0, group.commandId, 0, LetterButtonWidths[i]);
        rect.right = rect.left + LetterButtonWidths[i];
        if (!buttons[i].Create(group.label, ce::WS_CHILD | ce::WS_VISIBLE | ce::BS_OWNERDRAW, rect, this,
                               group.commandId))
            return i;
        rect.left = rect.right;
        buttons[i].textColor = 0;
    }
    return LetterGroupCount;
}
