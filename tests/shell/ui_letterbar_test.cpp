// The letter bar over the list window: button places, commands, the colours
// of bar and buttons through a click, and a picture of both.
#include "platform/ui/CommandBar.h"
#include "platform/ui/testing/ScreenGrab.h"
#include "platform/ui/testing/SimulatedInput.h"
#include "shell/LetterBar.h"
#include "tests/listwnd/support/ListWndTestSupport.h"

namespace {

constexpr ce::COLORREF kWhite = 0x00FFFFFF;
constexpr ce::COLORREF kBlack = 0x00000000;
// Under the command bar, sharing its last row, as the frame stacks them.
constexpr int kBarTop = ce::CCommandBar::BarHeight - 1;

// The list window's stand-in frame (pane from y 44) with a letter bar above the pane.
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
        barHeight = bar.CalcFixedLayout(ce::FALSE, ce::TRUE).cy;
        bar.MoveWindow(0, kBarTop, 320, barHeight);
    }

    void TearDown() override { bar.DestroyWindow(), ListWndTest::TearDown(); }

    ce::ScreenImage Grab(int button) { return ce::GrabWindow(bar.buttons[button].m_hWnd); }
    bool ShowsColor(int button, ce::COLORREF color)
    {
        const ce::ScreenImage image = Grab(button);
        return std::find(image.pixels.begin(), image.pixels.end(), color) != image.pixels.end();
    }
    // A label's pixels: its colour, give or take the letters' grey edges.
    bool ShowsLabelIn(int button, ce::COLORREF color)
    {
        const ce::ScreenImage image = Grab(button);
        const auto near = [color](ce::COLORREF pixel) {
            for (int shift : {0, 8, 16})
                if (std::abs(int((pixel >> shift) & 0xFF) - int((color >> shift) & 0xFF)) > 64)
                    return false;
            return true;
        };
        return std::any_of(image.pixels.begin(), image.pixels.end(), near);
    }

    void Click(int button)
    {
        ce::SimulateMouse(bar.buttons[button].m_hWnd, ce::WM_LBUTTONDOWN, 10, 8);
        ce::SimulateMouse(bar.buttons[button].m_hWnd, ce::WM_LBUTTONUP, 10, 8);
        ce::PumpMessages();
    }

    CLetterBar bar;
    int barHeight = 0;
};

TEST_F(LetterBarTest, NineButtonsAtTheirPlacesOnAFaceColoredBarWithBlackLines)
{
    const char16_t* labels[] = {u"#ab", u"cde", u"fgh", u"ijk", u"lmn", u"opq", u"rst", u"uvw", u"xyz"};
    const int from[] = {1, 34, 67, 101, 134, 167, 201, 234, 267, 301};
    for (int i = 0; i < 9; ++i) {
        std::u16string label;
        bar.buttons[i].GetWindowText(label);
        EXPECT_EQ(label, labels[i]);
        ce::CRect rect;
        bar.buttons[i].GetWindowRect(&rect);
        bar.ScreenToClient(&rect);
        EXPECT_EQ(rect, ce::CRect(from[i], 3, from[i + 1], 19)) << i;
    }

    const ce::ScreenImage image = ce::GrabWindow(bar.m_hWnd);
    ASSERT_EQ(image.width, 320);
    ASSERT_EQ(image.height, barHeight);
    for (int x = 0; x < 320; ++x)
        EXPECT_TRUE(image.Pixel(x, 0) == kBlack && image.Pixel(x, barHeight - 1) == kBlack) << x;
    for (int x = 301; x < 320; ++x)
        for (int y = 1; y < barHeight - 1; ++y)
            ASSERT_EQ(image.Pixel(x, y), FaceColor) << x << "," << y;
    EXPECT_EQ(Grab(4).Pixel(2, 2), FaceColor);
    EXPECT_TRUE(ShowsLabelIn(4, kBlack)) << "the label";
}

TEST_F(LetterBarTest, PressDrawsWhiteWithBlackFrame)
{
    const ce::HWND button = bar.buttons[3].m_hWnd;
    ce::GrabScreen();
    ce::SimulateMouse(button, ce::WM_LBUTTONDOWN, 10, 8);
    ce::PumpMessages();
    const ce::ScreenImage image = Grab(3);
    for (int x = 0; x < image.width; ++x)
        EXPECT_TRUE(image.Pixel(x, 0) == kBlack && image.Pixel(x, image.height - 1) == kBlack) << x;
    for (int y = 0; y < image.height; ++y)
        EXPECT_TRUE(image.Pixel(0, y) == kBlack && image.Pixel(image.width - 1, y) == kBlack) << y;
    EXPECT_EQ(image.Pixel(2, 2), kWhite);
    EXPECT_EQ(image.Pixel(image.width - 3, image.height - 3), kWhite);
    ce::SimulateMouse(button, ce::WM_LBUTTONUP, 10, 8);
    EXPECT_EQ(bar.buttons[3].GetState() & ce::BST_PUSHED, 0u);
}

TEST_F(LetterBarTest, ClickSelectsTheGroupOrKeepsTheFocusFace)
{
    Load({u"Ana", u"Carlos", u"Zoe"});
    Click(1);
    EXPECT_EQ(frame.commands, std::vector<ce::UINT>{32783});
    EXPECT_EQ(Current(), 1);
    EXPECT_EQ(ce::GetFocus(), view().m_hWnd);
    EXPECT_EQ(Grab(1).Pixel(2, 2), FaceColor);
    EXPECT_FALSE(ShowsColor(1, FocusColor));

    // "ijk" in a list that starts later selects nothing: the button keeps the focus.
    Load({u"Zoe"});
    list().SendMessage(WM_CONTACTS_LOADED);
    Click(3);
    EXPECT_EQ(Current(), 0) << "selection unchanged";
    EXPECT_EQ(ce::GetFocus(), bar.buttons[3].m_hWnd);
    EXPECT_EQ(Grab(3).Pixel(2, 2), FocusColor);
    EXPECT_TRUE(ShowsLabelIn(3, kWhite)) << "white label on the focus face";
    EXPECT_FALSE(ShowsLabelIn(3, kBlack));
}

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
    EXPECT_TRUE(screen.SavePng(std::string(CONTACTS_PICTURES_DIR) + "/list-window.png"));
}

} // namespace
