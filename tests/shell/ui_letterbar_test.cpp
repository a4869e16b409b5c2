// The letter bar over the list window: button places, commands, the
// colours of bar and buttons through a click, and a picture of both.
#include "platform/ui/CommandBar.h"
#include "shell/LetterBar.h"
#include "tests/listwnd/support/ListWndTestSupport.h"

namespace {

constexpr ce::COLORREF kWhite = 0x00FFFFFF;
constexpr ce::COLORREF kBlack = 0x00000000;

// The list window's stand-in frame with a letter bar on top of the pane.
class LetterBarTest : public ListWndTest {
protected:
    void SetUp() override
    {
        ListWndTest::SetUp();
        ASSERT_TRUE(bar.CreateEx(&frame, ce::TBSTYLE_FLAT,
                                 ce::WS_CHILD | ce::WS_VISIBLE | ce::CBRS_TOP | ce::CBRS_TOOLTIPS | ce::CBRS_FLYBY |
                                     ce::CBRS_SIZE_FIXED,
                                 ce::CRect(0, 0, 0, 0), ce::AFX_IDW_TOOLBAR));
        EXPECT_EQ(bar.CreateLetterButtons(), 9);
        barHeight = bar.CalcFixedLayout(ce::FALSE, ce::TRUE).cy;
        bar.MoveWindow(0, kBarTop, 320, barHeight);
    }

    void TearDown() override
    {
        bar.DestroyWindow();
        ListWndTest::TearDown();
    }

    int FrameTop() const override { return kBarTop + ce::CToolBar::BarHeight; }

    // A button's face where its label does not reach.
    ce::COLORREF FacePixel(int button)
    {
        const ce::ScreenImage image = ce::GrabWindow(bar.buttons[button].m_hWnd);
        return image.Pixel(2, 2);
    }

    // Whether any pixel of the button shows `color`.
    bool ShowsColor(int button, ce::COLORREF color)
    {
        const ce::ScreenImage image = ce::GrabWindow(bar.buttons[button].m_hWnd);
        return std::find(image.pixels.begin(), image.pixels.end(), color) != image.pixels.end();
    }

    void Click(int button)
    {
        ce::SimulateMouse(bar.buttons[button].m_hWnd, ce::WM_LBUTTONDOWN, 10, 8);
        ce::SimulateMouse(bar.buttons[button].m_hWnd, ce::WM_LBUTTONUP, 10, 8);
        ce::PumpMessages();
    }

    static constexpr int kBarTop = 24;
    CLetterBar bar;
    int barHeight = 0;
};

TEST_F(LetterBarTest, NineButtonsInTableOrderAtTheirPlaces)
{
    const char16_t* labels[] = {u"#ab", u"cde", u"fgh", u"ijk", u"lmn", u"opq", u"rst", u"uvw", u"xyz"};
    const int from[] = {1, 34, 67, 101, 134, 167, 201, 234, 267, 301};
    const ce::UINT ids[] = {32774, 32783, 32776, 32777, 32778, 32779, 32780, 32781, 32782};
    for (int i = 0; i < 9; ++i) {
        std::u16string label;
        bar.buttons[i].GetWindowText(label);
        EXPECT_EQ(label, labels[i]);
        EXPECT_EQ(bar.buttons[i].GetDlgCtrlID(), int(ids[i]));
        EXPECT_EQ(bar.buttons[i].GetStyle() & 0xFFFF, ce::BS_OWNERDRAW);
        ce::CRect rect;
        bar.buttons[i].GetWindowRect(&rect);
        bar.ScreenToClient(&rect);
        EXPECT_EQ(rect, ce::CRect(from[i], 3, from[i + 1], 19)) << i;
    }
    for (int i = 9; i < CLetterBar::ButtonCount; ++i)
        EXPECT_EQ(bar.buttons[i].m_hWnd, nullptr);
    // The last group's settings are left in toolbar button 0.
    EXPECT_EQ(bar.GetCount(), 1);
    ce::UINT id = 0, style = 9;
    int image = 0;
    ASSERT_TRUE(bar.GetButtonInfo(0, id, style, image));
    EXPECT_EQ(id, 32782u);
    EXPECT_EQ(style, 0u);
    EXPECT_EQ(image, 34);
    EXPECT_GE(barHeight, 20);
}

TEST_F(LetterBarTest, BarShowsFaceColorWithBlackTopAndBottomLines)
{
    const ce::ScreenImage image = ce::GrabWindow(bar.m_hWnd);
    ASSERT_EQ(image.width, 320);
    ASSERT_EQ(image.height, barHeight);
    for (int x = 0; x < 320; ++x) {
        EXPECT_EQ(image.Pixel(x, 0), kBlack) << x;
        EXPECT_EQ(image.Pixel(x, barHeight - 1), kBlack) << x;
    }
    for (int x = 301; x < 320; ++x)
        for (int y = 1; y < barHeight - 1; ++y)
            ASSERT_EQ(image.Pixel(x, y), FaceColor) << x << "," << y;
    for (int y = 1; y < barHeight - 1; ++y)
        EXPECT_EQ(image.Pixel(0, y), FaceColor) << "no line on the left side, y " << y;
    // Faces are filled without an outline, labels in black.
    const ce::ScreenImage face = ce::GrabWindow(bar.buttons[4].m_hWnd);
    ASSERT_EQ(face.width, 33);
    ASSERT_EQ(face.height, 16);
    for (int x = 0; x < face.width; ++x) {
        EXPECT_EQ(face.Pixel(x, 0), FaceColor);
        EXPECT_EQ(face.Pixel(x, face.height - 1), FaceColor);
    }
    EXPECT_TRUE(ShowsColor(4, kBlack)) << "the label";
}

TEST_F(LetterBarTest, PressDrawsWhiteWithBlackFrame)
{
    const ce::HWND button = bar.buttons[3].m_hWnd;
    ce::GrabScreen();
    ce::SimulateMouse(button, ce::WM_LBUTTONDOWN, 10, 8);
    ce::PumpMessages();
    EXPECT_EQ(bar.buttons[3].GetState() & (ce::BST_PUSHED | ce::BST_FOCUS), ce::BST_PUSHED | ce::BST_FOCUS);
    const ce::ScreenImage image = ce::GrabWindow(button);
    for (int x = 0; x < image.width; ++x) {
        EXPECT_EQ(image.Pixel(x, 0), kBlack) << x;
        EXPECT_EQ(image.Pixel(x, image.height - 1), kBlack) << x;
    }
    for (int y = 0; y < image.height; ++y) {
        EXPECT_EQ(image.Pixel(0, y), kBlack) << y;
        EXPECT_EQ(image.Pixel(image.width - 1, y), kBlack) << y;
    }
    EXPECT_EQ(image.Pixel(2, 2), kWhite);
    EXPECT_EQ(image.Pixel(image.width - 3, image.height - 3), kWhite);
    ce::SimulateMouse(button, ce::WM_LBUTTONUP, 10, 8);
    EXPECT_EQ(bar.buttons[3].GetState() & ce::BST_PUSHED, 0u);
}

TEST_F(LetterBarTest, ClickSelectsTheGroupAndTheButtonReturnsToFaceColor)
{
    Load({u"Ana", u"Carlos", u"Zoe"});
    Click(1);
    EXPECT_EQ(frame.commands, std::vector<ce::UINT>{32783});
    EXPECT_EQ(Current(), 1);
    EXPECT_EQ(ce::GetFocus(), view().m_hWnd);
    EXPECT_EQ(FacePixel(1), FaceColor);
    EXPECT_FALSE(ShowsColor(1, FocusColor));

    // Nothing in "fgh" or before it: the fallback row is Carlos again, so
    // the list takes the focus; "ijk" after a list that starts later finds nothing.
    Load({u"Zoe"});
    list().SendMessage(WM_CONTACTS_LOADED);
    Click(3);
    EXPECT_EQ(frame.commands.back(), 32777u);
    EXPECT_EQ(Current(), 0) << "selection unchanged";
    EXPECT_EQ(ce::GetFocus(), bar.buttons[3].m_hWnd);
    EXPECT_EQ(FacePixel(3), FocusColor);
    EXPECT_TRUE(ShowsColor(3, kWhite)) << "white label on the focus face";
    EXPECT_FALSE(ShowsColor(3, kBlack));

    // The focus face goes when the focus moves on.
    list().SelectItem(0);
    EXPECT_EQ(FacePixel(3), FaceColor);
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
    // The frame's command bar above the letter bar, as in the program.
    ce::CCommandBar commandBar;
    ASSERT_TRUE(commandBar.Create(&frame));
    commandBar.InsertMenuBar(IDR_MAINFRAME);
    commandBar.AddAdornments();
    commandBar.MoveWindow(0, 0, 320, kBarTop);
    list().SendMessage(WM_CONTACTS_LOADED);
    Command(ID_LETTERS_CDE);
    const ce::ScreenImage screen = ce::GrabScreen();
    ASSERT_EQ(screen.width, 320);
    ASSERT_EQ(screen.height, 240);
    EXPECT_TRUE(screen.SavePng(std::string(CONTACTS_SOURCE_DIR) + "/docs/list-window.png"));

    // The current row is highlighted across the columns, and the rest of
    // the view shows the list's white ground.
    ce::CRect row;
    ASSERT_TRUE(view().GetItemRect(4, &row, ce::LVIR_BOUNDS));
    ce::POINT origin{0, 0};
    ce::ClientToScreen(view().m_hWnd, &origin);
    const int y = origin.y + row.top + 1;
    EXPECT_EQ(screen.Pixel(origin.x + 200, y), ce::GetSysColor(ce::COLOR_HIGHLIGHT));
    EXPECT_EQ(screen.Pixel(origin.x + 300, y), ce::GetSysColor(ce::COLOR_HIGHLIGHT));
    EXPECT_EQ(screen.Pixel(origin.x + 200, origin.y + row.top - 3 * row.Height() + 1), kWhite);
}

} // namespace
