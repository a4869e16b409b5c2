// Modal dialogs and form views from the templates of the resource script.
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

// A dialog that hosts the form as its pane, as the contact dialogs do.
class CHostDialog : public CDialog {
public:
    CHostDialog() : CDialog(IDD_EDIT_DIALOG) {}
    CTestForm* view = nullptr;
    std::function<void(CHostDialog&)> whileOpen;

    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        MoveWindow(0, 0, 320, 240);
        CCreateContext context;
        context.m_pNewViewClass = RUNTIME_CLASS(CTestForm);
        view = dynamic_cast<CTestForm*>(CreateView(&context));
        if (view)
            view->ShowWindow(SW_SHOWNORMAL);
        if (whileOpen)
            PostTask([this] { whileOpen(*this); });
        return TRUE;
    }
};

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

    // Scrolling moves the controls, neither above the start nor past the last one at the bottom.
    auto bottom = [&] { // of the last rule
        RECT rc;
        GetWindowRect(GetDlgItem(form->m_hWnd, 1095), &rc);
        return rc.bottom;
    };
    const int before = bottom();
    form->ScrollToPosition(POINT{0, 100});
    EXPECT_EQ(form->GetScrollPosition(), CPoint(0, 100));
    EXPECT_EQ(bottom(), before - 100);
    form->ScrollToPosition(POINT{0, -50});
    EXPECT_EQ(form->GetScrollPosition().y, 0);
    form->ScrollToPosition(POINT{0, 5000});
    EXPECT_EQ(bottom(), 240);

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

TEST_F(DialogTest, HostedViewIsThePaneTheFirstFieldTakesTheFocusAndEnterIsOk)
{
    CHostDialog dialog;
    HWND viewHandle = nullptr;
    std::vector<UINT> focused;
    dialog.whileOpen = [&](CHostDialog& d) {
        ASSERT_NE(d.view, nullptr);
        viewHandle = d.view->m_hWnd;
        EXPECT_EQ(GetDlgItem(d.m_hWnd, int(AFX_IDW_PANE_FIRST)), viewHandle);
        EXPECT_EQ(GetFocus(), GetDlgItem(viewHandle, 1040));
        // Tab walks the template order: 1041 follows 1040.
        DeliverKeyStroke(VK_TAB, 9);
        EXPECT_EQ(GetFocus(), GetDlgItem(viewHandle, 1041));
        focused = d.view->focused;
        DeliverKeyStroke(VK_RETURN, 13);
    };
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(focused, (std::vector<UINT>{1040, 1041}));
    EXPECT_FALSE(IsWindow(viewHandle));
    EXPECT_EQ(g_formsAlive, 0);
}
