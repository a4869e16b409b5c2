#include "dialogs/DialogSupport.h"

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
    if (ce::CWnd* pane = dialog.GetDlgItem(ce::AFX_IDW_PANE_FIRST))
        pane->MoveWindow(0, 0, cx, cy, ce::TRUE);
}

ce::HBRUSH WhiteFormBrush(ce::CDC* dc)
{
    dc->SetBkMode(ce::TRANSPARENT);
    return static_cast<ce::HBRUSH>(ce::GetStockObject(ce::WHITE_BRUSH));
}
