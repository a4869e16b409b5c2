// The input panel's letter and accent layers and pinyin mode: what each tap
// types into the focused field through the form's pre-translation, and that
// what the data file's code page cannot keep is not typed.
#include "platform/ui/testing/SimulatedInput.h"
#include "tests/platform/ui/support/UiTest.h"
#include "platform/core/CodePage.h"

using namespace ce;

namespace {

constexpr int AccentKey = 0, PinyinKey = 1, Space = 3, Comma = 8, PrevPage = 8, NextPage = 9;

class InputPanelModesTest : public uitest::UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        SetACP(1252);
        ASSERT_TRUE(form.Make(nullptr, RECT{0, 0, 320, 240}));
        ASSERT_TRUE(edit.Create(WS_VISIBLE | ES_AUTOHSCROLL, RECT{90, 40, 290, 58}, &form, 1040));
        edit.SetFocus();
        panel = FindWindowW(SIP_WINDOW_CLASS, nullptr);
        ShowWindow(panel, SW_SHOWNA);
        MoveWindow(panel, 40, 150, 240, 80, TRUE);
        SipSetCandidateSource([](std::u16string_view syllable) -> std::u16string {
            if (syllable == u"wang")
                return u"汪王亡枉网往旺望忘妄";
            if (syllable == u"wan")
                return u"湾弯玩顽";
            return u"";
        });
    }
    void TearDown() override
    {
        SipSetCandidateSource(nullptr);
        SetACP(0);
        UiTest::TearDown();
    }
    // Taps the key at (column, row) of the ten-by-five grid.
    static void Tap(int column, int row) { SimulateTap(40 + column * 24 + 12, 150 + row * 16 + 8); }
    // Taps letter keys of the middle rows.
    static void Letters(std::u16string_view letters)
    {
        static const std::u16string_view rows[] = {u"qwertyuiop", u"asdfghjkl", u"zxcvbnm"};
        for (char16_t c : letters)
            for (int row = 0; row < 3; ++row)
                if (std::size_t column = rows[row].find(c); column != std::u16string_view::npos)
                    Tap(int(column) + (row == 2 ? 1 : 0), row + 1);
    }
    std::u16string Text() const { return GetWindowText(edit.m_hWnd); }
    uitest::CRecordingWnd form;
    CEdit edit;
    HWND panel = nullptr;
};

} // namespace

TEST_F(InputPanelModesTest, LetterKeysTypeIntoTheFocusedEditWithoutTakingTheFocus)
{
    // h, e, shift + k, backspace, l, space, 2, shift + z
    const std::pair<int, int> keys[] = {{5, 2}, {2, 1}, {0, 3}, {7, 2}, {9, 2}, {8, 2}, {3, 4}, {1, 0}, {0, 3}, {1, 3}};
    for (auto [column, row] : keys)
        Tap(column, row);
    EXPECT_EQ(Text(), u"hel 2Z");
    EXPECT_EQ(GetFocus(), edit.m_hWnd);

    // Enter takes the way of a real key: the form's pre-translation sees it.
    form.pretranslated.clear();
    Tap(9, 3);
    EXPECT_EQ(form.pretranslated, (std::vector<UINT>{WM_KEYDOWN, WM_CHAR}));
}

TEST_F(InputPanelModesTest, AccentLayerTypesAccentsAndCapitalsOneKeyAway)
{
    Tap(AccentKey, 4);
    Tap(0, 1);               // á
    Tap(6, 1);               // ñ
    Tap(0, 3), Tap(6, 1);    // shift + ñ
    Tap(8, 1), Tap(9, 1);    // ¿ ¡
    Tap(0, 3), Tap(7, 1);    // shift + ç
    Tap(0, 3), Tap(5, 0);    // shift + ß stays one letter
    Tap(0, 3), Tap(9, 0);    // shift + œ
    Tap(8, 3), Tap(Space, 4); // € and space
    Tap(AccentKey, 4);      // back to the letters
    Tap(0, 1);               // q
    EXPECT_EQ(Text(), u"áñÑ¿¡ÇßŒ€ q");
    EXPECT_EQ(form.pretranslatedChars, Text());
    EXPECT_EQ(GetFocus(), edit.m_hWnd);

    // Under 936 the letters the data file keeps still type; ñ, ¿ and ß are refused silently.
    SetACP(936);
    SetWindowText(edit.m_hWnd, u"");
    form.pretranslatedChars.clear();
    Tap(AccentKey, 4);
    Tap(1, 1), Tap(6, 1), Tap(8, 1), Tap(5, 0), Tap(5, 1); // é ñ ¿ ß ü
    EXPECT_EQ(Text(), u"éü");
    EXPECT_EQ(form.pretranslatedChars, u"éü");
    Tap(AccentKey, 4);
}

TEST_F(InputPanelModesTest, PinyinModeTypesTheCandidateTappedOrTheFirst)
{
    SetACP(936);
    Tap(PinyinKey, 4);
    Letters(u"wang");
    EXPECT_EQ(Text(), u"") << "the syllable is not typed";
    EXPECT_TRUE(form.pretranslated.empty());
    Tap(3, 0); // second candidate
    EXPECT_EQ(Text(), u"王");

    // Paging: the second page starts with the seventh candidate; back again.
    Letters(u"wang");
    Tap(NextPage, 0), Tap(NextPage, 0); // there is no third page
    Tap(PrevPage, 0), Tap(NextPage, 0);
    Tap(2, 0);
    EXPECT_EQ(Text(), u"王旺");

    // Backspace edits the syllable first, then the text; Space types the first candidate.
    Letters(u"wang");
    Tap(9, 2);
    Tap(Space, 4);
    EXPECT_EQ(Text(), u"王旺湾");
    Tap(9, 2);
    EXPECT_EQ(Text(), u"王旺");

    // Enter types a syllable without candidates as letters and nothing more; another
    // key ends the syllable first; Shift types a capital letter at once.
    Letters(u"xyz");
    Tap(9, 3);
    Letters(u"wang");
    Tap(Comma, 3);
    Tap(0, 3), Letters(u"l");
    EXPECT_EQ(Text(), u"王旺xyz汪,L");
    EXPECT_EQ(form.pretranslatedChars, u"王旺湾\bxyz汪,L");

    // The data file under 1252 keeps no ideograph: Space types the letters.
    SetACP(1252);
    SetWindowText(edit.m_hWnd, u"");
    Letters(u"wang");
    Tap(2, 0);
    EXPECT_EQ(Text(), u"") << "a candidate the code page cannot store is not typed";
    Tap(Space, 4);
    EXPECT_EQ(Text(), u"wang");

    // Leaving the pinyin mode drops an unfinished syllable.
    Letters(u"wan");
    Tap(PinyinKey, 4);
    Letters(u"a");
    EXPECT_EQ(Text(), u"wanga");
}
