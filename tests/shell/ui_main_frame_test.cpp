// The main frame's layout, its menu by keys and pointer, and its command routing.
#include "platform/ui/testing/ScreenGrab.h"
#include "platform/ui/testing/SimulatedInput.h"
#include "support/ShellFixtures.h"
#include "platform/ui/CommandBar.h"
#include "platform/ui/Menu.h"
#include "platform/ui/ToolBar.h"
#include "tests/common/UiHarness.h"

using namespace shelltest;
using namespace ce;

namespace {

class MainFrame : public FrameFixture {
protected:
    void SetUp() override
    {
        FrameFixture::SetUp();
        ASSERT_TRUE(OpenFrameOn(People({u"Ana", u"Bob", u"Carl", u"Dora"})));
        bar = ChildOf<CCommandBar>(frameWindow);
        ASSERT_NE(bar, nullptr);
    }

    // A key pressed on the keyboard: with Alt held (or F10) as the menus take it.
    static void Press(UINT key, bool alt = false)
    {
        if (alt)
            SimulateKey(GetFocus(), WM_SYSKEYDOWN, key);
        else if (key == VK_ESCAPE || key == VK_RETURN)
            DeliverKeyStroke(key, WCHAR(key));
        else
            DeliverKeyStroke(key, key >= 'A' && key <= 'Z' ? WCHAR(key - 'A' + 'a') : 0);
        PumpMessages();
    }

    // The middle of a device screen point of a window's client rectangle.
    static POINT CentreOnScreen(HWND hwnd, CRect rect)
    {
        POINT centre{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
        ClientToScreen(hwnd, &centre);
        return centre;
    }

    // Taps the pop-up's button, as the user opens the menu.
    void OpenMenu()
    {
        const POINT centre = CentreOnScreen(bar->m_hWnd, bar->GetMenuButtonRect(0));
        SimulateTap(centre.x, centre.y);
        PumpMessages();
    }

    CCommandBar* bar = nullptr;
    uiharness::AnsweredMessageBoxes boxes{IDCANCEL}; // the questions asked
};

TEST_F(MainFrame, StacksCommandBarLetterBarAndListAndRoutesCommandsToTheList)
{
    EXPECT_GT(HostWindowIconSize().cx, 0) << "the host window shows the program's icon";
    // Each starts on the last row of the one above: one black line at each join.
    CRect letters;
    GetWindowRect(ChildOf<CToolBar>(frameWindow)->m_hWnd, &letters);
    const ScreenImage screen = GrabScreen();
    for (int join : {letters.top, letters.bottom - 1})
        for (int x : {2, 150, 260}) {
            EXPECT_EQ(screen.Pixel(x, join), uiharness::Black) << "join " << join << ", x " << x;
            EXPECT_EQ(uiharness::PixelsOf(screen, {x, join - 4, x + 1, join + 4}, uiharness::Black), 1) << "x " << x;
        }

    SendMessageW(frameWindow, WM_COMMAND, ID_LETTERS_CDE, 0);
    EXPECT_EQ(CurrentRow(), 2); // Carl
}

constexpr int ItemHeight = 18;

TEST_F(MainFrame, MenuByKeysTakesTheKeyboardUntilChosenOrDismissed)
{
    SetFocus(ListView());
    const HWND focus = GetFocus();
    Press(VK_F10, true);
    ASSERT_NE(bar->GetPopupWindow(), nullptr);
    EXPECT_EQ(bar->GetHighlightedItem(), 0) << "Abrir";
    // Up, Down, Home and End move over the six items, wrapping at the ends;
    // the list underneath keeps its row.
    const std::pair<UINT, int> moves[] = {{VK_DOWN, 1}, {VK_DOWN, 2}, {VK_UP, 1}, {VK_UP, 0}, {VK_UP, 5},
                                          {VK_DOWN, 0}, {VK_END, 5}, {VK_HOME, 0}};
    for (auto [key, item] : moves) {
        Press(key);
        EXPECT_EQ(bar->GetHighlightedItem(), item) << "key " << key;
    }
    EXPECT_EQ(CurrentRow(), 0);
    // Escape closes only the menu: the program runs on, the focus stays.
    Press(VK_ESCAPE);
    EXPECT_EQ(bar->GetPopupWindow(), nullptr);
    EXPECT_TRUE(IsWindow(frameWindow));
    EXPECT_EQ(GetFocus(), focus);
    Press(VK_DOWN);
    EXPECT_EQ(CurrentRow(), 1) << "keys reach the list again";

    // Alt+A opens "&Archivo"; "A&brir" and "&Borrar" share their mnemonic:
    // B moves between them, Return chooses.
    Press('A', true);
    ASSERT_NE(bar->GetPopupWindow(), nullptr);
    for (int item : {3, 0, 3}) {
        Press('B');
        EXPECT_EQ(bar->GetHighlightedItem(), item);
    }
    Press(VK_RETURN);
    EXPECT_EQ(bar->GetPopupWindow(), nullptr);
    EXPECT_EQ(boxes.texts, std::vector<std::u16string>{u"Borrar definitivamente el contacto?"});
    EXPECT_EQ(CurrentRow(), 1);

    // Without a current row the grayed items are passed over.
    SetCurrentRow(-1);
    ASSERT_EQ(CurrentRow(), -1);
    Press(VK_F10, true);
    EXPECT_EQ(bar->GetHighlightedItem(), 1) << "Nuevo";
    for (int item : {4, 5}) { // "Sincronizar", "Salir"
        Press(VK_DOWN);
        EXPECT_EQ(bar->GetHighlightedItem(), item);
    }
    Press('B');
    EXPECT_NE(bar->GetPopupWindow(), nullptr) << "a grayed item's mnemonic does nothing";
    // An item's only mnemonic chooses it at once: "&Salir" ends the program.
    Press('S');
    EXPECT_TRUE(WaitFor([this] { return !IsWindow(frameWindow); }));
}

TEST_F(MainFrame, MenuByPointerHighlightsUnderThePointerAndATapOutsideGoesNowhereElse)
{
    OpenMenu();
    const HWND popup = bar->GetPopupWindow();
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(bar->GetHighlightedItem(), -1) << "opened by the pointer";
    SimulateMouse(popup, WM_MOUSEMOVE, 20, 2 * ItemHeight + 5);
    PumpMessages();
    EXPECT_EQ(bar->GetHighlightedItem(), 2) << "Editar";
    // The highlighted row is drawn in the highlight colour, the text white.
    CRect rect;
    GetWindowRect(popup, &rect);
    const ScreenImage screen = GrabScreen();
    const CRect editRow(rect.left + 1, rect.top + 1 + 2 * ItemHeight, rect.right - 1, rect.top + 1 + 3 * ItemHeight);
    EXPECT_GT(uiharness::PixelsOf(screen, editRow, RGB(0, 0, 128)), editRow.Width() * ItemHeight * 3 / 4);
    EXPECT_GT(uiharness::PixelsOf(screen, editRow, uiharness::White), 20);
    EXPECT_TRUE(uiharness::SavePicture("menu-open", screen));
    SimulateMouse(popup, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(bar->GetHighlightedItem(), -1);

    // A tap on a list row closes the menu and selects nothing.
    CRect rowRect(LVIR_BOUNDS, 0, 0, 0);
    SendMessageW(ListView(), LVM_GETITEMRECT, 3, LPARAM(&rowRect));
    const POINT row = CentreOnScreen(ListView(), rowRect);
    ASSERT_TRUE(row.y > rect.bottom || row.x > rect.right) << "the row lies beside the menu";
    SimulateTap(row.x, row.y);
    PumpMessages();
    EXPECT_EQ(bar->GetPopupWindow(), nullptr);
    EXPECT_EQ(CurrentRow(), 0);
    SimulateTap(row.x, row.y);
    PumpMessages();
    EXPECT_EQ(CurrentRow(), 3) << "the next tap is the list's";

    // The button opens and closes it; a tap on an item chooses it.
    const POINT button = CentreOnScreen(bar->m_hWnd, bar->GetMenuButtonRect(0));
    SimulateTap(button.x, button.y);
    ASSERT_NE(bar->GetPopupWindow(), nullptr);
    SimulateTap(button.x, button.y);
    EXPECT_EQ(bar->GetPopupWindow(), nullptr);
    OpenMenu();
    GetWindowRect(bar->GetPopupWindow(), &rect);
    SimulateTap(rect.left + 20, rect.top + 1 + 3 * ItemHeight + ItemHeight / 2);
    PumpMessages();
    EXPECT_EQ(bar->GetPopupWindow(), nullptr);
    EXPECT_EQ(boxes.texts, std::vector<std::u16string>{u"Borrar definitivamente el contacto?"});
    EXPECT_TRUE(IsWindow(frameWindow));
}

TEST_F(MainFrame, ChineseMenuOpensWithAltFAndAnswersItsBracketedMnemonics)
{
    CloseFrame();
    const uiharness::InterfaceLanguage chinese("0804");
    OpenFrame();
    ASSERT_TRUE(WaitForLoad());
    bar = ChildOf<CCommandBar>(frameWindow);
    SetFocus(ListView());
    Press('F', true);
    ASSERT_NE(bar->GetPopupWindow(), nullptr);
    Press('D');
    EXPECT_EQ(bar->GetPopupWindow(), nullptr);
    EXPECT_EQ(boxes.texts, std::vector<std::u16string>{u"确定要永久删除该联系人吗？"});
    CloseFrame();
}

} // namespace
