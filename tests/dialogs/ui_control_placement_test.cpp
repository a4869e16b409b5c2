// Placing texts in the forms' columns: breaking a text into the lines of a
// column, a control the form lacks, and the field labels of every shipped
// language shown whole in the label column.
#include "dialogs/ContactEditDlg.h"
#include "dialogs/ContactShowDlg.h"
#include "dialogs/ControlPlacement.h"
#include "support/DialogTestSupport.h"
#include <string>
#include <vector>

namespace {

// The lines of a broken text.
std::vector<std::u16string> Lines(const std::u16string& text)
{
    std::vector<std::u16string> lines(1);
    for (char16_t c : text) {
        if (c == u'\n')
            lines.emplace_back();
        else
            lines.back() += c;
    }
    return lines;
}

class ControlPlacementTest : public DialogTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(uiharness::CreateScreenWindow(form));
        ASSERT_TRUE(text.Create(u"", ce::WS_CHILD | ce::SS_LEFT, ce::CRect(0, 0, 50, 12), &form, 11));
    }

    int Width(const std::u16string& s) const { return uiharness::TextExtent(text.m_hWnd, s).cx; }

    std::u16string Broken(std::u16string s, int available) const
    {
        ce::HDC dc = ce::GetDC(text.m_hWnd);
        BreakLines(dc, s, available);
        ce::ReleaseDC(text.m_hWnd, dc);
        return s;
    }

    ce::CWnd form;
    ce::CStatic text;
};

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
    const int column = available * 5;
    std::u16string broken = Broken(longText, column);
    const std::vector<std::u16string> lines = Lines(broken);
    for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
        const std::u16string& next = lines[i + 1];
        const bool pair = next[0] >= 0xD800 && next[0] <= 0xDBFF;
        ASSERT_LT(Width(lines[i]), column) << i;
        ASSERT_GE(Width(lines[i] + next.substr(0, pair ? 2 : 1)), column) << i;
    }
    EXPECT_LE(Width(lines.back()), column);
    std::erase(broken, u'\n');
    EXPECT_EQ(broken, longText);
}

TEST_F(ControlPlacementTest, AMissingControlLeavesTextAndYAlone)
{
    std::u16string s = u"MMMMMMMM";
    int y = 37;
    PlaceControl(form, 14, s, 0, 40, y, PlaceText, nullptr);
    EXPECT_EQ(y, 37);
    EXPECT_EQ(s, u"MMMMMMMM");
}

using TranslatedLabelsTest = DialogTest;

const char* const Languages[] = {"0409", "0407", "040c", "0410", "0416", "0816", "0804", "0404"};

// Label control `id` shows `label` whole, broken into lines that each fit
// the control's width and together its height.
void ExpectShownWhole(const ce::CWnd* form, int id, const std::u16string& label)
{
    SCOPED_TRACE(testing::Message() << "control " << id);
    const ce::CWnd* control = Control(form, id);
    ASSERT_NE(control, nullptr);
    const ce::CRect rect = RectInParent(control);
    std::u16string shown = TextOf(form, id);
    int height = 0;
    for (const std::u16string& line : Lines(shown)) {
        const ce::SIZE extent = uiharness::TextExtent(control->m_hWnd, line);
        EXPECT_LE(extent.cx, rect.Width()) << "a line is cut at the side";
        height += extent.cy;
    }
    std::erase(shown, u'\n');
    EXPECT_EQ(shown, label);
    EXPECT_LE(height, rect.Height());
}

TEST_F(TranslatedLabelsTest, EveryLabelShowsWholeInEveryLanguage)
{
    for (const char* language : Languages) {
        SCOPED_TRACE(language);
        const uiharness::InterfaceLanguage speaking(language);
        ASSERT_NE(speaking.module, nullptr);
        auto contact = FilledContact();

        CContactEditDlg edit(contact.get(), EditModeEdit);
        RunModal(edit, [&] {
            const ce::CWnd* form = Pane(edit);
            for (int field = 0; field < 16; ++field)
                ExpectShownWhole(form, IDC_LABEL_FIRST + field, ce::LoadStringW(ce::UINT(field + 1)));
        });
        // The detail form's labels: the filled fields after the name, in order.
        CContactShowDlg detail(contact.get());
        RunModal(detail, [&] {
            const ce::CWnd* form = Pane(detail);
            for (int field = 1; field < 16; ++field)
                ExpectShownWhole(form, IDC_LABEL_FIRST + field - 1, ce::LoadStringW(ce::UINT(field + 1)));
        });
    }
}

} // namespace
