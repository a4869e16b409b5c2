// Modal dialogs and form views from the templates of the resource script
// (the contact dialogs' tests scroll the forms and walk their tab stops).
#include "platform/ui/testing/SimulatedInput.h"
#include "tests/platform/ui/support/UiTest.h"
#include "platform/core/Resources.h"
#include "res/resource.h"

using namespace ce;
using uitest::CRecordingWnd;
using uitest::UiTest;

namespace {

int g_formsAlive = 0;

class CTestForm : public CFormView {
    DECLARE_DYNCREATE(CTestForm)
public:
    CTestForm() : CFormView(IDD_EDIT_FORM) { ++g_formsAlive; }
    ~CTestForm() override { --g_formsAlive; }
    int childrenAtCreate = -1;
    CDateTimeCtrl picker;
    void DoDataExchange(CDataExchange* pDX) override { DDX_Control(pDX, IDC_BIRTHDAY_PICKER, picker); }
    std::vector<UINT> focused; // ids that reported EN_SETFOCUS
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        if (HIWORD(wParam) == EN_SETFOCUS)
            focused.push_back(LOWORD(wParam));
        return CFormView::OnCommand(wParam, lParam);
    }

protected:
    int OnCreate(LPCREATESTRUCT cs)
    {
        const int result = CFormView::OnCreate(cs);
        childrenAtCreate = 0;
        for (HWND h = GetWindow(m_hWnd, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT))
            ++childrenAtCreate;
        return result;
    }
    DECLARE_MESSAGE_MAP()
};

IMPLEMENT_DYNCREATE(CTestForm, CFormView)
BEGIN_MESSAGE_MAP(CTestForm, CFormView)
    ON_WM_CREATE()
END_MESSAGE_MAP()

class DialogTest : public UiTest {};

} // namespace

TEST_F(DialogTest, FormViewMakesItsTemplateControlsAndScrollsThem)
{
    CRecordingWnd host;
    ASSERT_TRUE(host.Make(nullptr, RECT{0, 0, 320, 240}));
    auto* form = new CTestForm;
    ASSERT_TRUE(form->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, RECT{}, &host, AFX_IDW_PANE_FIRST));
    const DialogTemplate* t = FindDialogTemplate(IDD_EDIT_FORM);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(form->childrenAtCreate, int(t->controls.size()));

    // An empty rectangle fills the parent's client area.
    CRect pane, client;
    form->GetClientRect(&pane);
    host.GetClientRect(&client);
    EXPECT_EQ(pane, client);

    // The initial update binds the picker object to its control.
    EXPECT_EQ(form->picker.m_hWnd, nullptr);
    form->OnInitialUpdate();
    EXPECT_EQ(CWnd::FromHandlePermanent(GetDlgItem(form->m_hWnd, IDC_BIRTHDAY_PICKER)), &form->picker);

    // The form goes with its window.
    EXPECT_EQ(g_formsAlive, 1);
    form->DestroyWindow();
    EXPECT_EQ(g_formsAlive, 0);
}

TEST_F(DialogTest, ModalDialogDisablesItsOwnerAndEndsByEndDialogCloseBoxEscapeOrOwner)
{
    CRecordingWnd owner;
    ASSERT_TRUE(owner.Make(nullptr, RECT{0, 0, 320, 240}));
    owner.SetFocus();
    CDialog dialog(IDD_SHOW_DIALOG, &owner);
    PostTask([&] {
        EXPECT_TRUE(dialog.IsWindowVisible());
        EXPECT_FALSE(owner.IsWindowEnabled());
        EXPECT_EQ(GetParent(dialog.m_hWnd), owner.m_hWnd);
        dialog.EndDialog(5);
    });
    EXPECT_EQ(dialog.DoModal(), 5);
    EXPECT_TRUE(owner.IsWindowEnabled());

    CDialog closed(IDD_SHOW_DIALOG, &owner);
    PostTask([&] { // the close box sits at the right end of the caption
        CRect rc;
        closed.GetWindowRect(&rc);
        SimulateTap(rc.right - 8, rc.top + 1 + GetSystemMetrics(SM_CYCAPTION) / 2);
    });
    EXPECT_EQ(closed.DoModal(), IDCANCEL);

    // A dialog without controls holds the focus itself, so typed keys reach
    // its pre-translation; the focus then goes back.
    CDialog escaped(IDD_SHOW_DIALOG, &owner);
    PostTask([&] {
        EXPECT_EQ(GetFocus(), escaped.m_hWnd);
        DeliverKeyStroke(VK_ESCAPE, 27);
    });
    EXPECT_EQ(escaped.DoModal(), IDCANCEL);
    EXPECT_EQ(GetFocus(), owner.m_hWnd);

    // Destroying the owner takes the dialog along and ends its loop.
    CDialog owned(IDD_SHOW_DIALOG, &owner);
    PostTask([&] { owner.DestroyWindow(); });
    EXPECT_EQ(owned.DoModal(), IDCANCEL);
    EXPECT_EQ(owned.m_hWnd, nullptr);
    EXPECT_EQ(CDialog(9999).DoModal(), -1) << "a missing template";
}
