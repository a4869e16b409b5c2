// The message box: modal over its disabled owner, answered with keys, taps
// or the close box, its buttons in the interface language.
#include "platform/ui/MessageBox.h"
#include "platform/core/Resources.h"
#include "platform/ui/testing/ScreenGrab.h"
#include "platform/ui/testing/SimulatedInput.h"
#include "tests/platform/ui/support/UiTest.h"
#include "tests/common/UiHarness.h"
#include "res/resource.h"
#include <cstdlib>

namespace {

using namespace ce;

class MessageBoxTest : public uitest::UiTest {
protected:
    void SetUp() override
    {
        setenv("CONTACTS_UI_LANGUAGE", "0c0a", 1);
        UiTest::SetUp();
        ASSERT_TRUE(uiharness::CreateScreenWindow(owner));
        ASSERT_TRUE(child.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 100, 100), &owner, 5));
        child.SetFocus();
    }

    // Shows a box owned by the child window while `act` runs inside it (its
    // owner disabled); a box that `act` left open is closed.
    int Ask(UINT type, const std::function<void(HWND box)>& act)
    {
        int answer = 0;
        const std::u16string caption = uiharness::RunWithDialog(
            [&] { answer = child.MessageBox(u"Borrar definitivamente el contacto?", u"Contactos", type); },
            [&] {
                EXPECT_FALSE(IsWindowEnabled(owner.m_hWnd)) << "the owner is disabled";
                act(FindWindowW(MESSAGEBOX_CLASSW, nullptr));
            });
        EXPECT_EQ(caption, u"Contactos") << "the box came up";
        return answer;
    }

    static void Tap(HWND box, int id)
    {
        const HWND button = GetDlgItem(box, id);
        ASSERT_NE(button, nullptr) << id;
        SimulateMouse(button, WM_LBUTTONDOWN, 5, 5);
        SimulateMouse(button, WM_LBUTTONUP, 5, 5);
    }

    CWnd owner;
    CWnd child;
};

TEST_F(MessageBoxTest, ModalInTheScreenOverItsDisabledOwnerAndAnsweredByKeysTapsAndCloseBox)
{
    EXPECT_EQ(Ask(MB_OKCANCEL | MB_ICONQUESTION, [&](HWND box) {
        CRect rect;
        GetWindowRect(box, &rect);
        EXPECT_TRUE(rect.top >= 0 && rect.bottom <= 240);
        EXPECT_LE(std::abs((rect.left + rect.right) - 320), 1) << "centred";
        EXPECT_EQ(GetFocus(), GetDlgItem(box, IDOK));
        const ScreenImage image = GrabWindow(box);
        EXPECT_GT(std::count(image.pixels.begin(), image.pixels.end(), COLORREF(0x00A00000)), 100) << "question mark";
        EXPECT_GT(std::count(image.pixels.begin(), image.pixels.end(), COLORREF(0)), 100) << "text";
        const auto captionEnd = image.pixels.begin() + image.width * (1 + GetSystemMetrics(SM_CYCAPTION));
        EXPECT_GT(std::count(image.pixels.begin(), captionEnd, GetSysColor(COLOR_CAPTIONTEXT)), 20) << "caption";
        Tap(box, IDOK);
    }), IDOK);
    EXPECT_EQ(GetFocus(), child.m_hWnd) << "the focus goes back";

    // Keys, taps and the close box give their answers.
    EXPECT_EQ(Ask(MB_OKCANCEL, [](HWND box) { Tap(box, IDCANCEL); }), IDCANCEL);
    EXPECT_EQ(Ask(MB_OKCANCEL, [](HWND) { DeliverKeyStroke(VK_RETURN, u'\r'); }), IDOK);
    EXPECT_EQ(Ask(MB_OKCANCEL, [](HWND) { DeliverKeyStroke(VK_ESCAPE, 27); }), IDCANCEL);
    EXPECT_EQ(Ask(MB_OKCANCEL,
                  [](HWND) {
                      DeliverKeyStroke(VK_TAB, 0);
                      DeliverKeyStroke(VK_RETURN, u'\r');
                  }),
              IDCANCEL)
        << "Enter chooses the focused button";
    EXPECT_EQ(Ask(MB_OKCANCEL, [](HWND box) { SendMessageW(box, WM_CLOSE); }), IDCANCEL);
    EXPECT_TRUE(IsWindowEnabled(owner.m_hWnd));
}

// Each button shows the word of the interface language (the built-in Spanish
// or a satellite's) and fits it.
TEST_F(MessageBoxTest, ButtonsSpeakTheInterfaceLanguageAndFitTheirWords)
{
    for (const char* language : {"0c0a", "0409", "0407", "040c", "0410", "0416", "0816", "0804", "0404"}) {
        const uiharness::InterfaceLanguage speaking(language);
        ASSERT_NE(speaking.module, nullptr) << language;
        for (UINT type : {MB_OKCANCEL, MB_YESNOCANCEL}) {
            Ask(type, [&](HWND box) {
                for (auto [id, word] : {std::pair{IDOK, IDS_MESSAGEBOX_OK}, {IDCANCEL, IDS_MESSAGEBOX_CANCEL},
                                        {IDYES, IDS_MESSAGEBOX_YES}, {IDNO, IDS_MESSAGEBOX_NO}}) {
                    const HWND button = GetDlgItem(box, id);
                    if (!button)
                        continue;
                    const std::u16string text = GetWindowText(button);
                    EXPECT_EQ(text, LoadStringW(word)) << language;
                    CRect rect;
                    GetClientRect(button, &rect);
                    EXPECT_LT(uiharness::TextExtent(button, text).cx, rect.Width()) << language;
                }
                EXPECT_EQ(GetDlgItem(box, IDYES) != nullptr, type == MB_YESNOCANCEL);
            });
        }
    }
}

} // namespace
