// Placing a text control and breaking its text into lines.
#include "dialogs/ControlPlacement.h"
#include "support/DialogTestSupport.h"
#include <algorithm>

namespace {

constexpr int kText = 11, kMissing = 14;

class ControlPlacementTest : public DialogTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(uiharness::CreateScreenWindow(form));
        ASSERT_TRUE(text.Create(u"", ce::WS_CHILD | ce::SS_LEFT, ce::CRect(0, 0, 50, 12), &form, kText));
        lineHeight = Extent(u"Ag").cy + 6;
    }

    ce::SIZE Extent(const std::u16string& s) const { return uiharness::TextExtent(text.m_hWnd, s); }
    int Width(const std::u16string& s) const { return Extent(s).cx; }

    std::u16string Broken(std::u16string s, int available) const
    {
        ce::HDC dc = ce::GetDC(text.m_hWnd);
        BreakLines(dc, s, available);
        ce::ReleaseDC(text.m_hWnd, dc);
        return s;
    }

    ce::CWnd form;
    ce::CStatic text;
    int lineHeight = 0;
};

TEST_F(ControlPlacementTest, ExactlyAsWideIsOneLineOnePixelWiderTwo)
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

    y = 20;
    PlaceControl(form, kText, s, 10, 10 + width + 2, y, PlaceText, nullptr);
    EXPECT_EQ(RectInParent(&text).Height(), 2 * lineHeight);
    EXPECT_EQ(y, 20 + 2 * lineHeight + 10);
    EXPECT_EQ(std::count(s.begin(), s.end(), u'\n'), 1);
    EXPECT_EQ(ce::GetWindowText(text.m_hWnd), s);
    s.erase(std::remove(s.begin(), s.end(), u'\n'), s.end());
    EXPECT_EQ(s, original);
}

// The height follows the measured width, not the lines the breaks make.
TEST_F(ControlPlacementTest, HeightCountsWidthsEvenWhenBreaksMakeMoreLines)
{
    std::u16string s(5, u'M');
    const int available = Width(u"MM");
    ASSERT_GT(Width(s), 2 * available);
    ASSERT_LE(Width(s), 3 * available);
    int y = 0;
    PlaceControl(form, kText, s, 0, available + 3, y, PlaceText, nullptr);
    EXPECT_EQ(RectInParent(&text).Height(), 3 * lineHeight);
    EXPECT_EQ(s, u"M\nM\nM\nMM");
}

TEST_F(ControlPlacementTest, BreakingLines)
{
    // A prefix exactly as wide does not fit; a rest exactly as wide does.
    const int available = Width(u"MMMM");
    EXPECT_EQ(Broken(u"MMMMMMM", available), u"MMM\nMMMM");
    EXPECT_EQ(Broken(u"MMMM", available), u"MMMM");
    EXPECT_EQ(Broken(u"", available), u"");
    // A character wider than the column ends its line, never cut in half.
    EXPECT_EQ(Broken(u"WWW", 1), u"W\nW\nW");
    EXPECT_EQ(Broken(u"王小明", Width(u"王") - 1), u"王\n小\n明");
    EXPECT_EQ(Broken(u"\U00020000\U0002000Ba", 1), u"\U00020000\n\U0002000B\na");

    // A long text of mixed widths: every line is the longest that fits.
    std::u16string longText;
    for (int i = 0; longText.size() < 3000; ++i)
        longText += std::u16string(u"Calle Mayor 12, \u5317\u4EAC\U00020000 iiWW ").substr(0, std::size_t(3 + i % 17));
    const std::u16string broken = Broken(longText, available * 5);
    std::u16string joined;
    std::size_t start = 0;
    while (start <= broken.size()) {
        const std::size_t end = std::min(broken.find(u'\n', start), broken.size());
        const std::u16string line = broken.substr(start, end - start);
        joined += line;
        if (end < broken.size()) {
            ASSERT_LT(Width(line), available * 5) << line.size();
            const bool pair = broken[end + 1] >= 0xD800 && broken[end + 1] <= 0xDBFF;
            ASSERT_GE(Width(line + broken.substr(end + 1, pair ? 2 : 1)), available * 5) << line.size();
        } else {
            EXPECT_LE(Width(line), available * 5);
        }
        start = end + 1;
    }
    EXPECT_EQ(joined, longText);
}

TEST_F(ControlPlacementTest, MissingControlLeavesTextAndYAlone)
{
    std::u16string s(50, u'M');
    int y = 37;
    PlaceControl(form, kMissing, s, 0, 40, y, PlaceText, nullptr);
    EXPECT_EQ(y, 37);
    EXPECT_EQ(s, std::u16string(50, u'M'));
}

} // namespace
