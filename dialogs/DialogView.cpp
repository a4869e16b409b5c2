#include "dialogs/DialogView.h"
#include "data/ContactRecord.h"
#include "dialogs/ControlPlacement.h"
#include "dialogs/CurrentContact.h"
#include "dialogs/DialogSupport.h"
#include "res/resource.h"
#include <algorithm>

IMPLEMENT_DYNCREATE(CDialogView, ce::CFormView)

BEGIN_MESSAGE_MAP(CDialogView, ce::CFormView)
    ON_WM_DESTROY()
    ON_WM_LBUTTONDOWN()
    ON_WM_CREATE()
    ON_WM_CTLCOLORSTATIC()
    ON_WM_CTLCOLORDLG()
END_MESSAGE_MAP()

CDialogView::CDialogView() : ce::CFormView(IDD_SHOW_FORM), contact(g_currentContact) {}

CDialogView::~CDialogView()
{
    if (nameFont)
        ce::DeleteObject(nameFont);
}

int CDialogView::OnCreate(ce::LPCREATESTRUCT create)
{
    if (ce::CFormView::OnCreate(create) == -1)
        return -1;
    LayoutControls();
    return 0;
}

void CDialogView::LayoutControls()
{
    const int screenWidth = ce::GetSystemMetrics(ce::SM_CXSCREEN);
    const int right = screenWidth - ce::GetSystemMetrics(ce::SM_CXHSCROLL) - 10;

    ce::LOGFONTW description{};
    description.lfHeight = 16;
    description.lfWeight = 700;
    nameFont = ce::CreateFontIndirectW(&description);

    ce::RECT parentRect{};
    if (ce::CWnd* parent = GetParent()) {
        parent->GetClientRect(&parentRect);
        contact = g_currentContact;
    }

    int y = 10;
    std::u16string name;
    if (contact)
        contact->GetField(FieldName)->GetText(name);
    PlaceControl(*this, IDC_NAME_LINE, name, 2, right, y, PlaceText, nameFont);

    const int lineTop = y;
    std::u16string none;
    PlaceControl(*this, IDC_LINE_FIRST, none, 0, screenWidth, y, PlaceLine, nullptr);

    if (contact) {
        int row = 0;
        for (int id = FieldAddress; id < FieldCount; ++id) {
            const ContactField* field = contact->GetField(id);
            if (field->IsEmpty())
                continue;
            std::u16string label, value;
            field->GetLabel(label);
            field->GetText(value);
            if (value.empty())
                continue;
            int labelY = y, valueY = y;
            PlaceControl(*this, IDC_LABEL_FIRST + row, label, 2, 88, labelY, PlaceText, nullptr);
            PlaceControl(*this, IDC_VALUE_FIRST + row, value, 90, right, valueY, PlaceText, nullptr);
            ++row;
            y = std::max(labelY, valueY);
        }
    }

    if (y > parentRect.bottom) {
        if (ce::CWnd* line = GetDlgItem(IDC_LINE_FIRST))
            line->MoveWindow(0, lineTop, right, 1, ce::TRUE);
        MoveWindow(parentRect.left, parentRect.top, right - parentRect.left, y + 10 - parentRect.top, ce::TRUE);
    }
}

void CDialogView::OnDestroy()
{
    ce::CFormView::OnDestroy();
    if (nameFont) {
        ce::DeleteObject(nameFont);
        nameFont = nullptr;
    }
}

// Taps on the read-only form do nothing.
void CDialogView::OnLButtonDown(ce::UINT, ce::CPoint) {}

ce::HBRUSH CDialogView::OnCtlColor(ce::CDC* dc, ce::CWnd*, ce::UINT) { return WhiteFormBrush(dc); }
