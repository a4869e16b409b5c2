// The main frame's layout, its menu and its command routing.
#include "support/ShellFixtures.h"
#include "platform/ui/CommandBar.h"
#include "platform/ui/Host.h"
#include "platform/ui/ListView.h"
#include "platform/ui/Menu.h"
#include "res/resource.h"
#include "shell/MainFrm.h"

using namespace shelltest;
using namespace ce;

namespace {

class MainFrame : public FrameFixture {
protected:
    void SetUp() override
    {
        FrameFixture::SetUp();
        MakePimFolder();
        ASSERT_TRUE(WriteDataFile(dataFile, People({u"Ana", u"Bob", u"Carl", u"Dora"})));
        OpenFrame();
        ASSERT_TRUE(WaitForLoad());
    }

    CCommandBar* CommandBar() const
    {
        for (HWND child = GetWindow(frameWindow, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            if (auto* bar = dynamic_cast<CCommandBar*>(CWnd::FromHandlePermanent(child)))
                return bar;
        }
        return nullptr;
    }

    HMENU FileMenu() const { return GetSubMenu(CommandBar()->GetMenu(), 0); }

    bool Grayed(UINT command) const { return (GetMenuState(FileMenu(), command, MF_BYCOMMAND) & MF_GRAYED) != 0; }

    // Taps the pop-up's button, as the user opens the menu.
    void OpenMenu()
    {
        CRect button = CommandBar()->GetMenuButtonRect(0);
        POINT center{(button.left + button.right) / 2, (button.top + button.bottom) / 2};
        ClientToScreen(CommandBar()->m_hWnd, &center);
        SimulateTap(center.x, center.y);
        PumpMessages();
    }

    void SelectNothing()
    {
        LVITEMW item;
        item.stateMask = LVIS_FOCUSED | LVIS_SELECTED;
        item.state = 0;
        SendMessageW(ListView(), LVM_SETITEMSTATE, WPARAM(CurrentRow()), LPARAM(&item));
        ASSERT_EQ(CurrentRow(), -1);
    }
};

TEST_F(MainFrame, StacksCommandBarLetterBarAndListFromTheTop)
{
    CRect frameRect;
    GetWindowRect(frameWindow, &frameRect);
    EXPECT_EQ(frameRect, CRect(0, 0, 320, 240));

    std::vector<CRect> bars;
    HWND pane = nullptr;
    for (HWND child = GetWindow(frameWindow, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (GetDlgCtrlID(child) == int(AFX_IDW_PANE_FIRST)) {
            pane = child;
        } else if (GetDlgCtrlID(child) == int(AFX_IDW_TOOLBAR)) {
            CRect rect;
            GetWindowRect(child, &rect);
            bars.push_back(rect);
        }
    }
    ASSERT_EQ(bars.size(), 2u);
    ASSERT_NE(pane, nullptr);
    // Command bar first, letter bar right under it, the list below both.
    EXPECT_EQ(bars[0], CRect(0, 0, 320, CCommandBar::BarHeight));
    EXPECT_EQ(bars[1].top, bars[0].bottom);
    EXPECT_GE(bars[1].Height(), 20);
    EXPECT_EQ(bars[1].Width(), 320);
    CRect paneRect;
    GetWindowRect(pane, &paneRect);
    EXPECT_EQ(paneRect, CRect(0, bars[1].bottom, 320, 240));
    EXPECT_EQ(GetWindowText(frameWindow), u"Contactos");
}

TEST_F(MainFrame, MenuGraysOpenEditDeleteOnlyWithoutACurrentRow)
{
    ASSERT_EQ(CurrentRow(), 0);
    // What the frame's rule leaves alone keeps the state it had.
    EnableMenuItem(FileMenu(), ID_CONTACT_NEW, MF_BYCOMMAND | MF_GRAYED);

    OpenMenu();
    ASSERT_NE(CommandBar()->GetPopupWindow(), nullptr);
    EXPECT_FALSE(Grayed(ID_CONTACT_OPEN));
    EXPECT_FALSE(Grayed(ID_CONTACT_EDIT));
    EXPECT_FALSE(Grayed(ID_CONTACT_DELETE));
    EXPECT_TRUE(Grayed(ID_CONTACT_NEW));
    EXPECT_FALSE(Grayed(ID_APP_EXIT));
    CommandBar()->TrackPopup(0); // a second tap closes it
    EXPECT_EQ(CommandBar()->GetPopupWindow(), nullptr);

    EnableMenuItem(FileMenu(), ID_CONTACT_NEW, MF_BYCOMMAND | MF_ENABLED);
    SelectNothing();
    OpenMenu();
    EXPECT_TRUE(Grayed(ID_CONTACT_OPEN));
    EXPECT_TRUE(Grayed(ID_CONTACT_EDIT));
    EXPECT_TRUE(Grayed(ID_CONTACT_DELETE));
    EXPECT_FALSE(Grayed(ID_CONTACT_NEW));
    EXPECT_FALSE(Grayed(ID_APP_EXIT));
}

TEST_F(MainFrame, TappingAGrayedItemDoesNothingAndSalirCloses)
{
    SelectNothing();
    OpenMenu();
    HWND popup = CommandBar()->GetPopupWindow();
    ASSERT_NE(popup, nullptr);
    CRect popupRect;
    GetWindowRect(popup, &popupRect);
    const int itemHeight = (popupRect.Height() - 2) / 5;
    auto tapItem = [&](int index) {
        SimulateTap(popupRect.left + 20, popupRect.top + 1 + index * itemHeight + itemHeight / 2);
        PumpMessages();
    };

    tapItem(3); // "Borrar", grayed
    EXPECT_TRUE(IsWindow(popup));
    EXPECT_TRUE(IsWindow(frameWindow));

    tapItem(4); // "Salir"
    EXPECT_FALSE(IsWindow(popup));
    EXPECT_TRUE(WaitFor([this] { return !IsWindow(frameWindow); }));
    frameWindow = nullptr;
    EXPECT_TRUE(FileExists(dataFile));
}

TEST_F(MainFrame, CloseBoxClosesTheFrame)
{
    CRect box = CommandBar()->GetCloseBoxRect();
    ASSERT_FALSE(box.IsRectEmpty());
    POINT center{(box.left + box.right) / 2, (box.top + box.bottom) / 2};
    ClientToScreen(CommandBar()->m_hWnd, &center);
    SimulateTap(center.x, center.y);
    EXPECT_TRUE(WaitFor([this] { return !IsWindow(frameWindow); }));
    frameWindow = nullptr;
}

TEST_F(MainFrame, CommandsGoToTheListWindowAndFocusFollowsTheFrame)
{
    SendMessageW(frameWindow, WM_COMMAND, ID_LETTERS_CDE, 0);
    EXPECT_EQ(CurrentRow(), 2); // Carl
    SendMessageW(frameWindow, WM_COMMAND, ID_LETTERS_AB, 0);
    EXPECT_EQ(CurrentRow(), 0); // Ana

    SetFocus(frameWindow);
    EXPECT_EQ(GetDlgCtrlID(GetFocus()), int(AFX_IDW_PANE_FIRST));
}

} // namespace
