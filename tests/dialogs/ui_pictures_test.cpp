// The README's pictures of both dialogs and of typing in the edit dialog
// (scripts/pictures runs this program), each with a check of what only the
// picture shows.
#include "data/PinyinCandidates.h"
#include "dialogs/ContactEditDlg.h"
#include "dialogs/ContactShowDlg.h"
#include "platform/core/CodePage.h"
#include "platform/ui/testing/ScreenGrab.h"
#include "platform/ui/testing/SimulatedInput.h"
#include "support/DialogTestSupport.h"

namespace {

constexpr ce::COLORREF Navy = ce::RGB(0, 0, 128);

class Pictures : public DialogTest {
protected:
    void TearDown() override
    {
        ce::SipSetCandidateSource(nullptr);
        ce::SetACP(936);
    }
};

TEST_F(Pictures, DetailAndEditDialogs)
{
    // A Chinese name and an address long enough to wrap.
    auto contact = MakeContact({{FieldName, u"王小明"},
                                {FieldAddress, u"Calle de Alcalá 123, 4º izquierda, 28009 Madrid, España"},
                                {FieldTelephone, u"914 123 456"},
                                {FieldEmail, u"xiaoming.wang@example.com"},
                                {FieldCompany, u"北京科技有限公司"}},
                               ToDate(SampleBirthday()));
    CContactShowDlg detail(contact.get());
    RunModal(detail, [&] {
        const ce::ScreenImage screen = ce::GrabScreen();
        ce::CRect address = ScreenRect(Control(Pane(detail), IDC_VALUE_FIRST));
        address.top += address.Height() / 2;
        EXPECT_GT(uiharness::InkIn(screen, address), 10) << "the wrapped address's second line is drawn";
        EXPECT_EQ(screen.Pixel(10, ScreenHeight - 5), White) << "the form is white";
        const ce::CRect line = ScreenRect(Control(Pane(detail), IDC_LINE_FIRST));
        EXPECT_EQ(screen.Pixel(line.left + 5, line.top), 0u) << "the black line under the name";
        EXPECT_TRUE(uiharness::SavePicture("dialog-detail", screen));
    });

    CContactEditDlg edit(contact.get(), EditModeEdit);
    RunModal(edit, [&] {
        Control(Pane(edit), IDC_VALUE_FIRST + 1)->SetFocus();
        ce::PumpMessages();
        const ce::ScreenImage screen = ce::GrabScreen();
        const ce::CRect value = ScreenRect(Control(Pane(edit), IDC_VALUE_FIRST));
        EXPECT_EQ(screen.Pixel(value.left + 5, value.bottom), ce::RGB(128, 128, 128)) << "the gray line under a field";
        EXPECT_EQ(screen.Pixel(value.left + 20, value.top - 5), White) << "the form is white";
        EXPECT_TRUE(uiharness::SavePicture("dialog-edit", screen));
    });
}

TEST_F(Pictures, InputPanelInEachModeAndTheCompositionAtTheCaret)
{
    ce::SipSetCandidateSource(&PinyinCandidates);
    auto contact = MakeContact({{FieldName, u"Li "}});
    CContactEditDlg dialog(contact.get(), EditModeEdit);
    RunModal(dialog, [&] {
        ce::CWnd* name = Control(Pane(dialog), IDC_VALUE_FIRST + FieldName);
        name->SetFocus();
        ce::PumpMessages();
        name->SendMessage(ce::EM_SETSEL, 3, 3);
        ce::ScreenImage screen = ce::GrabScreen();
        // A mode key that is down is drawn navy.
        const auto down = [&](ce::POINT key) { return screen.Pixel(key.x - 8, key.y) == Navy; };
        EXPECT_FALSE(down(KeyCentre(0, 4)) || down(KeyCentre(1, 4)));
        EXPECT_TRUE(uiharness::SavePicture("input-panel-letters", screen));

        // Accents, for a data file in 1252 (which keeps them all).
        ce::SetACP(1252);
        TapKey(0, 4);
        screen = ce::GrabScreen();
        EXPECT_TRUE(down(KeyCentre(0, 4)));
        EXPECT_TRUE(uiharness::SavePicture("input-panel-accents", screen));
        TapKey(0, 4);
        ce::SetACP(936);

        // Pinyin: "wang" and its first ideographs on top.
        TapKey(1, 4);
        const ce::POINT corner = KeyCentre(0, 0);
        const ce::CRect candidates(corner.x + 36, corner.y - 6, corner.x + 180, corner.y + 6);
        const int emptyRow = uiharness::InkIn(ce::GrabScreen(), candidates);
        for (auto [column, row] : {std::pair{1, 1}, {0, 2}, {6, 3}, {4, 2}}) // w a n g
            TapKey(column, row);
        screen = ce::GrabScreen();
        EXPECT_TRUE(down(KeyCentre(1, 4)));
        EXPECT_GT(uiharness::InkIn(screen, candidates), emptyRow + 6 * 20) << "six candidates";
        EXPECT_TRUE(uiharness::SavePicture("input-panel-pinyin", screen));
        TapKey(1, 4);

        // A desktop input method's composition, drawn in the field.
        const int before = uiharness::InkIn(ce::GrabScreen(), ScreenRect(name));
        ce::SimulateInputMethod(u"", u"xiao", 4);
        screen = ce::GrabScreen();
        EXPECT_GT(uiharness::InkIn(screen, ScreenRect(name)), before + 20);
        EXPECT_TRUE(uiharness::SavePicture("input-method-composition", screen));
    });
}

} // namespace
