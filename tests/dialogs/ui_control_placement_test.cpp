// Placing a text control and breaking its text into lines.
#include "dialogs/ControlPlacement.h"
#include "support/DialogTestSupport.h"
#include <algorithm>

namespace {

constexpr int kText = 11;
constexpr int kEdit = 12;
constexpr int kLine = 13;
constexpr int kMissing = 14;
constexpr int kEditHeight = 20;

class ControlPlacementTest : public DialogTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(form.CreateEx(0, nullptr, u"", ce::WS_POPUP | ce::WS_VISIBLE, 0, 0, kScreenWidth,
                                  kScreenHeight, nullptr, nullptr));
        ASSERT_TRUE(text.Create(u"", ce::WS_CHILD | ce::SS_LEFT, ce::CRect(0, 0, 50, 12), &form, kText));
        ASSERT_TRUE(edit.Create(ce::WS_CHILD | ce::ES_AUTOHSCROLL, ce::CRect(0, 0, 60, kEditHeight), &form, kEdit));
        ASSERT_TRUE(line.Create(u"#142", ce::WS_CHILD | ce::SS_BITMAP, ce::CRect(0, 0, 50, 12), &form, kLine));
        lineHeight = TextExtent(&text, u"Ag").cy + 6;
    }

    int Width(const std::u16string& s) const { return TextExtent(&text, s).cx; }

    // Breaks `s` on the text control's context.
    std::u16string Broken(std::u16string s, int available) const
    {
        ce::HDC dc = ce::GetDC(text.m_hWnd);
        BreakLines(dc, s, available);
        ce::ReleaseDC(text.m_hWnd, dc);
        return s;
    }

    ce::CWnd form;
    ce::CStatic text;
    ce::CEdit edit;
    ce::CStatic line;
    int lineHeight = 0;
};

int LineCount(const std::u16string& s) { return int(std::count(s.begin(), s.end(), u'\n')) + 1; }

std::u16string Joined(std::u16string s)
{
    s.erase(std::remove(s.begin(), s.end(), u'\n'), s.end());
    return s;
}

TEST_F(ControlPlacementTest, TextAsWideAsTheColumnStaysOneLineAndOnePixelMoreBreaksIt)
{
    const std::u16string original = u"Calle Mayor 12, Madrid";
    const int width = Width(original);

    std::u16string s = original;
    int y = 20;
    PlaceControl(form, kText, s, 10, 10 + width + 3, y, PlaceText, nullptr);
    EXPECT_EQ(s, original);
    EXPECT_EQ(RectInParent(&text), ce::CRect(10, 20, 10 + width + 3, 20 + lineHeight));
    EXPECT_EQ(y, 20 + lineHeight + 10);
    EXPECT_TRUE(text.IsWindowVisible());
    EXPECT_EQ(ce::GetWindowText(text.m_hWnd), original);

    s = original;
    y = 20;
    PlaceControl(form, kText, s, 10, 10 + width + 2, y, PlaceText, nullptr);
    EXPECT_EQ(RectInParent(&text).Height(), 2 * lineHeight);
    EXPECT_EQ(y, 20 + 2 * lineHeight + 10);
    EXPECT_EQ(LineCount(s), 2);
    EXPECT_EQ(Joined(s), original);
    EXPECT_EQ(ce::GetWindowText(text.m_hWnd), s);
}

// The height follows the measured width, not the lines the breaks make.
TEST_F(ControlPlacementTest, HeightCountsWidthsEvenWhenBreaksMakeMoreLines)
{
    const std::u16string original(5, u'M');
    const int available = Width(u"MM");
    const int whole = Width(original);
    ASSERT_GT(whole, 2 * available);
    ASSERT_LE(whole, 3 * available);

    std::u16string s = original;
    int y = 0;
    PlaceControl(form, kText, s, 0, available + 3, y, PlaceText, nullptr);
    EXPECT_EQ(RectInParent(&text).Height(), 3 * lineHeight);
    EXPECT_EQ(s, u"M\nM\nM\nMM");
}

TEST_F(ControlPlacementTest, PrefixExactlyAsWideDoesNotFitButRestExactlyAsWideDoes)
{
    const int available = Width(u"MMMM");
    EXPECT_EQ(Broken(u"MMMMMMM", available), u"MMM\nMMMM");
    EXPECT_EQ(Broken(u"MMMM", available), u"MMMM");
    EXPECT_EQ(Broken(u"", available), u"");
}

TEST_F(ControlPlacementTest, CharacterWiderThanTheColumnTakesALineOfItsOwn)
{
    EXPECT_EQ(Broken(u"WWW", 1), u"W\nW\nW");
    EXPECT_EQ(Broken(u"王小明", Width(u"王") - 1), u"王\n小\n明");
    // A character outside the basic plane is never cut in half.
    EXPECT_EQ(Broken(u"\U00020000\U0002000Ba", 1), u"\U00020000\n\U0002000B\na");
}

TEST_F(ControlPlacementTest, MissingControlLeavesTextAndYAlone)
{
    std::u16string s(50, u'M');
    int y = 37;
    PlaceControl(form, kMissing, s, 0, 40, y, PlaceText, nullptr);
    EXPECT_EQ(y, 37);
    EXPECT_EQ(s, std::u16string(50, u'M'));
}

TEST_F(ControlPlacementTest, KindsDecideTheHeight)
{
    // An edit field keeps its height and its text is never broken.
    std::u16string s(40, u'M');
    int y = 30;
    PlaceControl(form, kEdit, s, 90, 150, y, PlaceEdit, nullptr);
    EXPECT_EQ(RectInParent(&edit), ce::CRect(90, 30, 150, 30 + kEditHeight));
    EXPECT_EQ(y, 30 + kEditHeight + 10);
    EXPECT_EQ(ce::GetWindowText(edit.m_hWnd), std::u16string(40, u'M'));
    EXPECT_TRUE(edit.IsWindowVisible());

    // An empty label keeps its height; an empty text on the detail form is 1 pixel.
    text.MoveWindow(0, 0, 50, 17);
    std::u16string empty;
    y = 5;
    PlaceControl(form, kText, empty, 2, 88, y, PlaceLabel, nullptr);
    EXPECT_EQ(RectInParent(&text), ce::CRect(2, 5, 88, 22));
    y = 5;
    PlaceControl(form, kText, empty, 2, 88, y, PlaceText, nullptr);
    EXPECT_EQ(RectInParent(&text), ce::CRect(2, 5, 88, 6));
    EXPECT_EQ(y, 16);

    // A line is 1 pixel high and keeps showing its picture.
    y = 50;
    PlaceControl(form, kLine, empty, 90, 294, y, PlaceLine, nullptr);
    EXPECT_EQ(RectInParent(&line), ce::CRect(90, 50, 294, 51));
    EXPECT_EQ(y, 61);
    EXPECT_TRUE(line.IsWindowVisible());
    const ce::ScreenImage picture = ce::GrabWindow(line.m_hWnd);
    ASSERT_EQ(picture.width, 294 - 90);
    EXPECT_EQ(picture.Pixel(100, 0), ce::RGB(128, 128, 128));
}

TEST_F(ControlPlacementTest, GivenFontIsSetAndMeasured)
{
    ce::LOGFONTW description{};
    description.lfHeight = 16;
    description.lfWeight = 700;
    const ce::HFONT bold = ce::CreateFontIndirectW(&description);
    ASSERT_NE(bold, nullptr);

    std::u16string s = u"Ana Lopez";
    const ce::SIZE extent = TextExtent(&text, s, bold);
    ASSERT_GT(extent.cx, Width(s));
    int y = 10;
    PlaceControl(form, kText, s, 2, 2 + extent.cx + 3, y, PlaceText, bold);
    EXPECT_EQ(RectInParent(&text).Height(), extent.cy + 6);
    EXPECT_EQ(s, u"Ana Lopez");
    EXPECT_EQ(reinterpret_cast<ce::HFONT>(text.SendMessage(ce::WM_GETFONT)), bold);

    form.DestroyWindow();
    ce::DeleteObject(bold);
}

} // namespace
