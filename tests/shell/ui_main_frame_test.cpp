// The main frame's layout, its menu and its command routing.
#include "support/ShellFixtures.h"
#include "platform/ui/CommandBar.h"
#include "platform/ui/Menu.h"
#include "platform/ui/ToolBar.h"

using namespace shelltest;
using namespace ce;

namespace {

class MainFrame : public FrameFixture {
protected:
    void SetUp() override
    {
        FrameFixture::SetUp();
        MakeDataFile(People({u"Ana", u"Bob", u"Carl", u"Dora"}));
        OpenFrame();
        ASSERT_TRUE(WaitForLoad());
        bar = ChildOf<CCommandBar>(frameWindow);
        ASSERT_NE(bar, nullptr);
    }

    bool Grayed(UINT command) const
    {
        return (GetMenuState(GetSubMenu(bar->GetMenu(), 0), command, MF_BYCOMMAND) & MF_GRAYED) != 0;
    }

    // Taps the pop-up's button, as the user opens the menu.
    void OpenMenu()
    {
        CRect button = bar->GetMenuButtonRect(0);
        POINT center{(button.left + button.right) / 2, (button.top + button.bottom) / 2};
        ClientToScreen(bar->m_hWnd, &center);
        SimulateTap(center.x, center.y);
        PumpMessages();
    }

    CCommandBar* bar = nullptr;
};

TEST_F(MainFrame, StacksCommandBarLetterBarAndListAndRoutesCommandsToTheList)
{
    CRect rect;
    GetWindowRect(frameWindow, &rect);
    EXPECT_EQ(rect, CRect(0, 0, 320, 240));
    EXPECT_EQ(GetWindowText(frameWindow), u"Contactos");
    GetWindowRect(bar->m_hWnd, &rect);
    EXPECT_EQ(rect, CRect(0, 0, 320, CCommandBar::BarHeight));
    // Each starts on the last row of the one above: one line at each join.
    CRect letters;
    GetWindowRect(ChildOf<CToolBar>(frameWindow)->m_hWnd, &letters);
    EXPECT_EQ(letters.top, rect.bottom - 1);
    EXPECT_EQ(letters.Width(), 320);
    GetWindowRect(GetDlgItem(frameWindow, int(AFX_IDW_PANE_FIRST)), &rect);
    EXPECT_EQ(rect, CRect(0, letters.bottom - 1, 320, 240));
    const ScreenImage screen = GrabScreen();
    for (int join : {letters.top, letters.bottom - 1})
        for (int x : {2, 150, 260}) {
            std::vector<int> blackRows;
            for (int y = join - 4; y <= join + 3; ++y)
                if (screen.Pixel(x, y) == RGB(0, 0, 0))
                    blackRows.push_back(y);
            EXPECT_EQ(blackRows, std::vector<int>{join}) << "x " << x;
        }

    SendMessageW(frameWindow, WM_COMMAND, ID_LETTERS_CDE, 0);
    EXPECT_EQ(CurrentRow(), 2); // Carl
    SetFocus(frameWindow);
    EXPECT_EQ(GetDlgCtrlID(GetFocus()), int(AFX_IDW_PANE_FIRST));
}

TEST_F(MainFrame, MenuGraysOpenEditDeleteOnlyWithoutACurrentRow)
{
    ASSERT_EQ(CurrentRow(), 0);
    // What the frame's rule leaves alone keeps the state it had.
    EnableMenuItem(GetSubMenu(bar->GetMenu(), 0), ID_CONTACT_NEW, MF_BYCOMMAND | MF_GRAYED);
    OpenMenu();
    ASSERT_NE(bar->GetPopupWindow(), nullptr);
    for (UINT command : std::initializer_list<UINT>{ID_CONTACT_OPEN, ID_CONTACT_EDIT, ID_CONTACT_DELETE, ID_APP_EXIT})
        EXPECT_FALSE(Grayed(command)) << command;
    EXPECT_TRUE(Grayed(ID_CONTACT_NEW));
    bar->TrackPopup(0); // a second tap closes it
    EXPECT_EQ(bar->GetPopupWindow(), nullptr);

    EnableMenuItem(GetSubMenu(bar->GetMenu(), 0), ID_CONTACT_NEW, MF_BYCOMMAND | MF_ENABLED);
    LVITEMW item;
    item.stateMask = LVIS_FOCUSED | LVIS_SELECTED, item.state = 0;
    SendMessageW(ListView(), LVM_SETITEMSTATE, 0, LPARAM(&item));
    ASSERT_EQ(CurrentRow(), -1);
    OpenMenu();
    for (UINT command : std::initializer_list<UINT>{ID_CONTACT_OPEN, ID_CONTACT_EDIT, ID_CONTACT_DELETE})
        EXPECT_TRUE(Grayed(command)) << command;
    EXPECT_FALSE(Grayed(ID_CONTACT_NEW));
    EXPECT_FALSE(Grayed(ID_APP_EXIT));
}

} // namespace
