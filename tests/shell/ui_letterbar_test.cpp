// The letter bar over the list window: a click's command and where the
// focus goes, the colours of a pressed and a focused button, and a picture
// of both bars over the list.
#include "platform/ui/CommandBar.h"
#include "platform/ui/testing/SimulatedInput.h"
#include "shell/LetterBar.h"
#include "tests/common/UiHarness.h"
#include "tests/listwnd/support/ListWndTestSupport.h"

namespace {

using uiharness::Black;
using uiharness::White;

// The list window's stand-in frame (pane from y 44) with a letter bar above
// the pane, under the command bar and sharing its last row, as the frame
// stacks them.
class LetterBarTest : public ListWndTest {
protected:
    void SetUp() override
    {
        ListWndTest::SetUp();
        ASSERT_TRUE(bar.CreateEx(&frame, ce::TBSTYLE_FLAT,
                                 ce::WS_CHILD | ce::WS_VISIBLE | ce::CBRS_TOP | ce::CBRS_TOOLTIPS | ce::CBRS_FLYBY |
                                     ce::CBRS_SIZE_FIXED,
                                 ce::CRect(0, 0, 0, 0), ce::AFX_IDW_TOOLBAR));
        ASSERT_EQ(bar.CreateLetterButtons(), 9);
        bar.MoveWindow(0, ce::CCommandBar::BarHeight - 1, 320, bar.CalcFixedLayout(ce::FALSE, ce::TRUE).cy);
    }

    void TearDown() override { bar.DestroyWindow(), ListWndTest::TearDown(); }

    ce::ScreenImage Grab(int button) { return ce::GrabWindow(bar.buttons[button].m_hWnd); }
    // A label's pixels: its colour, give or take the letters' grey edges.
    bool ShowsLabelIn(int button, ce::COLORREF color)
    {
        const ce::ScreenImage image = Grab(button);
        return uiharness::CountPixels(image, {0, 0, image.width, image.height}, [color](ce::COLORREF pixel) {
                   for (int shift : {0, 8, 16})
                       if (std::abs(int((pixel >> shift) & 0xFF) - int((color >> shift) & 0xFF)) > 64)
                           return false;
                   return true;
               }) > 0;
    }

    void Click(int button)
    {
        ce::SimulateMouse(bar.buttons[button].m_hWnd, ce::WM_LBUTTONDOWN, 10, 8);
        ce::SimulateMouse(bar.buttons[button].m_hWnd, ce::WM_LBUTTONUP, 10, 8);
        ce::PumpMessages();
    }

    CLetterBar bar;
};

TEST_F(LetterBarTest, APressDrawsWhiteInABlackFrameAndAClickSelectsTheGroupOrKeepsTheFocusFace)
{
    const ce::HWND pressed = bar.buttons[3].m_hWnd;
    ce::GrabScreen();
    ce::SimulateMouse(pressed, ce::WM_LBUTTONDOWN, 10, 8);
    ce::PumpMessages();
    const ce::ScreenImage image = Grab(3);
    const int w = image.width, h = image.height;
    EXPECT_EQ(uiharness::PixelsOf(image, {0, 0, w, h}, Black) - uiharness::PixelsOf(image, {1, 1, w - 1, h - 1}, Black),
              2 * (w + h) - 4) << "a black frame";
    EXPECT_EQ(image.Pixel(2, 2), White);
    EXPECT_EQ(image.Pixel(w - 3, h - 3), White);
    ce::SimulateMouse(pressed, ce::WM_LBUTTONUP, 10, 8);
    frame.commands.clear();

    Load({u"Ana", u"Carlos", u"Zoe"});
    Click(1);
    EXPECT_EQ(frame.commands, std::vector<ce::UINT>{ID_LETTERS_CDE});
    EXPECT_EQ(Current(), 1);
    EXPECT_EQ(ce::GetFocus(), view().m_hWnd);
    EXPECT_EQ(Grab(1).Pixel(2, 2), FaceColor);

    // "ijk" in a list that starts later selects nothing: the button keeps the focus.
    Load({u"Zoe"});
    list().SendMessage(WM_CONTACTS_LOADED);
    Click(3);
    EXPECT_EQ(Current(), 0) << "selection unchanged";
    EXPECT_EQ(ce::GetFocus(), bar.buttons[3].m_hWnd);
    EXPECT_EQ(Grab(3).Pixel(2, 2), FocusColor);
    EXPECT_TRUE(ShowsLabelIn(3, White)) << "white label on the focus face";
    EXPECT_FALSE(ShowsLabelIn(3, Black));
}

// The picture shows the bar's face colour, its buttons' black labels and its
// black lines; the check is that the lines run the bar's whole width.
TEST_F(LetterBarTest, PictureOfTheListWindowWithItsLetterBar)
{
    Load({u"", u"#1 Taller", u"Ana Mar\u00eda", u"bob", u"Carlos Ruiz", u"Dolores", u"Mart\u00edn", u"Zoe",
          u"\u5218\u5fb7\u534e", u"\u738b\u4e94", u"\u5f20\u4e09", u"\u8d75\u654f"});
    {
        auto guard = g_contactList.Lock();
        for (int i = 0; i < g_contactList.GetCount(); ++i)
            g_contactList.GetAt(i)->GetField(FieldTelephone)->SetValue(u"91 555 01" + std::u16string(1, u'0' + i % 10), 0.0);
    }
    ce::CCommandBar commandBar; // above the letter bar, as in the program
    ASSERT_TRUE(commandBar.Create(&frame));
    commandBar.InsertMenuBar(IDR_MAINFRAME);
    commandBar.AddAdornments();
    commandBar.MoveWindow(0, 0, 320, ce::CCommandBar::BarHeight);
    list().SendMessage(WM_CONTACTS_LOADED);
    Command(ID_LETTERS_CDE);
    EXPECT_EQ(Current(), 4);
    const ce::ScreenImage screen = ce::GrabScreen();
    const ce::ScreenImage letters = ce::GrabWindow(bar.m_hWnd);
    EXPECT_EQ(uiharness::PixelsOf(letters, {0, 0, 320, 1}, Black) + uiharness::PixelsOf(letters, {0, letters.height - 1, 320, letters.height}, Black), 640);
    EXPECT_EQ(letters.Pixel(310, letters.height / 2), FaceColor);
    EXPECT_TRUE(uiharness::SavePicture("list-window", screen));
}

} // namespace
