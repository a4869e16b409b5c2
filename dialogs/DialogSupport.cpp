#include "dialogs/DialogSupport.h"
#include <cstdlib>

namespace {

constexpr int ScrollStep = 20;
// How far the stylus moves before a tap becomes a drag.
constexpr int DragSlop = 4;

} // namespace

bool IsDialogEndKey(const ce::MSG& msg)
{
    if (msg.message != ce::WM_KEYDOWN && msg.message != ce::WM_CHAR)
        return false;
    return msg.wParam == 13 || msg.wParam == 27 || msg.wParam == 195;
}

ce::CWnd* CreateDialogPane(ce::CDialog& dialog, const ce::CRuntimeClass* viewClass)
{
    ce::CCreateContext context;
    context.m_pNewViewClass = viewClass;
    return dialog.CreateView(&context, ce::AFX_IDW_PANE_FIRST);
}

void FitPane(ce::CDialog& dialog, int cx, int cy)
{
    if (ce::CFormView* form = DialogForm(dialog))
        form->MoveWindow(0, 0, cx, cy, ce::TRUE);
}

ce::HBRUSH WhiteFormBrush(ce::CDC* dc)
{
    dc->SetBkMode(ce::TRANSPARENT);
    return static_cast<ce::HBRUSH>(ce::GetStockObject(ce::WHITE_BRUSH));
}

ce::CFormView* DialogForm(const ce::CDialog& dialog)
{
    return dynamic_cast<ce::CFormView*>(dialog.GetDlgItem(int(ce::AFX_IDW_PANE_FIRST)));
}

void ScrollFormForKey(const ce::CDialog& dialog, ce::UINT key)
{
    ce::CFormView* form = DialogForm(dialog);
    if (!form)
        return;
    ce::CRect client;
    dialog.GetClientRect(&client);
    const int page = client.Height() - ScrollStep;
    const int y = form->GetScrollPosition().y;
    switch (key) {
    case ce::VK_DOWN: form->ScrollToPosition(ce::CPoint(0, y + ScrollStep)); break;
    case ce::VK_UP: form->ScrollToPosition(ce::CPoint(0, y - ScrollStep)); break;
    case ce::VK_NEXT: form->ScrollToPosition(ce::CPoint(0, y + page)); break;
    case ce::VK_PRIOR: form->ScrollToPosition(ce::CPoint(0, y - page)); break;
    default: break;
    }
}

// The controls move while the form scrolls, so the drag is followed on the screen.
void FormDrag::Filter(const ce::CDialog& dialog, const ce::MSG& msg)
{
    if (msg.message != ce::WM_LBUTTONDOWN && msg.message != ce::WM_MOUSEMOVE && msg.message != ce::WM_LBUTTONUP)
        return;
    ce::CFormView* form = DialogForm(dialog);
    if (!form)
        return;
    ce::POINT point{ce::GET_X_LPARAM(msg.lParam), ce::GET_Y_LPARAM(msg.lParam)};
    ce::ClientToScreen(msg.hwnd, &point);
    if (msg.message == ce::WM_LBUTTONDOWN) {
        pressed = true;
        dragging = false;
        startY = point.y;
        startScroll = form->GetScrollPosition().y;
    } else if (msg.message == ce::WM_MOUSEMOVE && pressed && (msg.wParam & ce::MK_LBUTTON)) {
        dragging = dragging || std::abs(point.y - startY) > DragSlop;
        if (dragging)
            form->ScrollToPosition(ce::CPoint(0, startScroll + startY - point.y));
    } else if (msg.message == ce::WM_LBUTTONUP) {
        pressed = false;
        dragging = false;
    }
}
