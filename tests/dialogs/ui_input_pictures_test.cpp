// Pictures of typing in the edit dialog: the input panel in each of its modes,
// and an input method's composition at the caret.
#include "data/PinyinCandidates.h"
#include "dialogs/ContactEditDlg.h"
#include "platform/core/CodePage.h"
#include "platform/ui/testing/ScreenGrab.h"
#include "platform/ui/testing/SimulatedInput.h"
#include "support/DialogTestSupport.h"
#include <filesystem>

namespace {

constexpr ce::COLORREF kNavy = ce::RGB(0, 0, 128);

class InputPicturesTest : public DialogTest {
protected:
    void SetUp() override
    {
        std::filesystem::create_directories(kPictures);
        ce::SipSetCandidateSource(&PinyinCandidates);
    }
    void TearDown() override
    {
        ce::SipSetCandidateSource(nullptr);
        ce::SetACP(936);
    }
    const std::string kPictures = CONTACTS_PICTURES_DIR;
};

ce::CRect PanelRect()
{
    ce::CRect rect;
    ce::GetWindowRect(ce::FindWindowW(ce::SIP_WINDOW_CLASS, nullptr), &rect);
    return rect;
}

ce::POINT KeyCentre(int column, int row)
{
    const ce::CRect panel = PanelRect();
    return {panel.left + column * 24 + 12, panel.top + row * 16 + 8};
}

void TapKey(int column, int row)
{
    const ce::POINT at = KeyCentre(column, row);
    ce::SimulateTap(at.x, at.y);
    ce::PumpMessages();
}

TEST_F(InputPicturesTest, PanelInEachModeAndTheCompositionAtTheCaret)
{
    auto contact = MakeContact({{FieldName, u"Li "}});
    CContactEditDlg dialog(contact.get(), EditModeEdit);
    RunModal(dialog, [&] {
        ce::CWnd* name = Control(Pane(dialog), kValue + FieldName);
        name->SetFocus();
        ce::PumpMessages();
        name->SendMessage(ce::EM_SETSEL, 3, 3);

        // Letters: neither mode key is down.
        ce::ScreenImage screen = ce::GrabScreen();
        const ce::POINT accentKey = KeyCentre(0, 4), pinyinKey = KeyCentre(1, 4);
        const auto down = [&](ce::POINT key) { return screen.Pixel(key.x - 8, key.y) == kNavy; };
        EXPECT_FALSE(down(accentKey) || down(pinyinKey));
        EXPECT_TRUE(screen.SavePng(kPictures + "/input-panel-letters.png"));

        // Accents, for a data file in 1252 (which keeps them all): its key is down.
        ce::SetACP(1252);
        TapKey(0, 4);
        screen = ce::GrabScreen();
        EXPECT_TRUE(down(accentKey));
        EXPECT_TRUE(screen.SavePng(kPictures + "/input-panel-accents.png"));
        TapKey(0, 4);
        ce::SetACP(936);

        // Pinyin: its key is down, "wang" and its first ideographs on top.
        TapKey(1, 4);
        const ce::CRect panel = PanelRect();
        const ce::CRect candidates(panel.left + 48, panel.top + 2, panel.left + 192, panel.top + 14);
        const int emptyRow = InkIn(ce::GrabScreen(), candidates);
        for (auto [column, row] : {std::pair{1, 1}, {0, 2}, {6, 3}, {4, 2}}) // w a n g
            TapKey(column, row);
        screen = ce::GrabScreen();
        EXPECT_TRUE(down(pinyinKey));
        EXPECT_GT(InkIn(screen, candidates), emptyRow + 6 * 20) << "six candidates";
        EXPECT_TRUE(screen.SavePng(kPictures + "/input-panel-pinyin.png"));
        TapKey(1, 4);
        EXPECT_EQ(TextOf(Pane(dialog), kValue + FieldName), u"Li ") << "leaving the mode typed nothing";

        // A desktop input method's composition is drawn in the field, not part of its text.
        const int before = InkIn(ce::GrabScreen(), ScreenRect(name));
        ce::SimulateInputMethod(u"", u"xiao", 4);
        screen = ce::GrabScreen();
        EXPECT_GT(InkIn(screen, ScreenRect(name)), before + 20);
        EXPECT_EQ(TextOf(Pane(dialog), kValue + FieldName), u"Li ");
        EXPECT_TRUE(screen.SavePng(kPictures + "/input-method-composition.png"));
    });
}

} // namespace
