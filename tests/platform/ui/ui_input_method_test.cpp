// Desktop input methods and dead keys: committed text reaches the focused edit
// as WM_CHAR that pre-translation sees; the composition shows at the caret only.
#include "platform/ui/testing/ScreenGrab.h"
#include "platform/ui/testing/SimulatedInput.h"
#include "tests/common/UiHarness.h"
#include "tests/platform/ui/support/UiTest.h"

using namespace ce;

namespace {

// A form that counts its fields' changes and the times one lost the focus.
class CForm : public uitest::CRecordingWnd {
public:
    int changes = 0, focusLost = 0;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        changes += HIWORD(wParam) == EN_CHANGE;
        focusLost += HIWORD(wParam) == EN_KILLFOCUS;
        return CRecordingWnd::OnCommand(wParam, lParam);
    }
};

class InputMethodTest : public uitest::UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        ASSERT_TRUE(form.Make(nullptr, RECT{0, 0, 320, 240}));
        ASSERT_TRUE(edit.Create(WS_VISIBLE | ES_AUTOHSCROLL, RECT{90, 40, 290, 58}, &form, 1040));
        ASSERT_TRUE(other.Create(WS_VISIBLE | ES_AUTOHSCROLL, RECT{90, 80, 290, 98}, &form, 1041));
        edit.SetFocus();
        PumpMessages();
    }
    std::u16string Text(const CEdit& e) const { return GetWindowText(e.m_hWnd); }
    CForm form;
    CEdit edit;
    CEdit other;
};

} // namespace

TEST_F(InputMethodTest, CompositionShowsAtTheCaretAndOnlyTheCommitBecomesText)
{
    SimulateInputMethod(u"", u"wang", 4);
    EXPECT_EQ(Text(edit), u"");
    EXPECT_TRUE(form.pretranslatedChars.empty());
    EXPECT_GT(uiharness::InkIn(GrabScreen(), RECT{92, 41, 150, 57}), 20) << "the composition is drawn in the field";

    // The caret the input method places its candidates by: in the field, after the composition.
    const InputMethodAnswer answer = QueryInputMethod();
    EXPECT_TRUE(answer.enabled);
    EXPECT_GE(answer.caret.top, 40);
    EXPECT_LE(answer.caret.bottom, 58);
    EXPECT_GT(answer.caret.left, 110);
    EXPECT_LT(answer.caret.left, 200);

    // A Chinese name, an accented one and a character beyond the basic plane: one WM_CHAR per unit.
    const std::u16string typed = u"\u738B \u00C1ngela \U00020BB7";
    SimulateInputMethod(typed);
    EXPECT_EQ(Text(edit), typed);
    EXPECT_EQ(form.pretranslatedChars, typed);
    EXPECT_EQ(form.Count(WM_CHAR), 0) << "the characters went to the field, not the form";
    EXPECT_GE(form.changes, int(typed.size()));

    // The caret follows the text; a read-only field takes no composition.
    EXPECT_GT(QueryInputMethod().caret.left, answer.caret.left);
    edit.SetReadOnly(TRUE);
    EXPECT_FALSE(QueryInputMethod().enabled);
}

TEST_F(InputMethodTest, CompositionReplacesTheSelectionAndEndsWithTheFocus)
{
    edit.SetWindowText(u"Ana");
    edit.SetSel(0, -1);
    form.changes = 0;
    SimulateInputMethod(u"", u"zhang", 5);
    EXPECT_EQ(Text(edit), u"") << "the selection gives way to the composition, as to a typed key";
    EXPECT_EQ(form.changes, 1) << "and the form hears of it";

    // A commit and a new composition in one event: only the commit is typed.
    SimulateInputMethod(u"\u5F20", u"san", 3);
    EXPECT_EQ(Text(edit), u"\u5F20");

    // Leaving the field drops the composition: it becomes text neither there nor in the next field.
    other.SetFocus();
    PumpMessages();
    EXPECT_EQ(form.focusLost, 1);
    EXPECT_EQ(Text(edit), u"\u5F20");
    SimulateInputMethod(u"\u4E09");
    EXPECT_EQ(Text(other), u"\u4E09");
    EXPECT_EQ(Text(edit), u"\u5F20");
}

TEST_F(InputMethodTest, DeadKeysComposeTheAccentedLetter)
{
    // Acute + e, Shift between dead key and letter, tilde + n, diaeresis + u,
    // acute + space (the accent alone), acute + q (accent, then the letter).
    SimulateHostKeys(u"Jos\u0301e \u0301E\u0303n\u0308u\u0301 \u0301q");
    EXPECT_EQ(Text(edit), u"Jos\u00E9 \u00C9\u00F1\u00FC\u00B4\u00B4q");
    EXPECT_EQ(form.pretranslatedChars, Text(edit));
}
