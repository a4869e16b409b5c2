// The soft input panel beside the field that has the focus, and the focus
// walking the form with Tab and Shift+Tab.
#include "dialogs/ContactEditDlg.h"
#include "platform/ui/testing/SimulatedInput.h"
#include "support/DialogTestSupport.h"
#include <vector>

namespace {

using InputPanelTest = DialogTest;

// Tab and Shift+Tab walk the edit fields in field order, then the birthday's
// picker, both ways round, and a field may take the focus from anywhere;
// each comes into sight, an edit field (one in sight stays where it is)
// with the panel on the screen above or below it, never over it.
TEST_F(InputPanelTest, PanelShowsAtStartAndFollowsTheFocusThroughTabAndShiftTabAndHidesWithTheForm)
{
    ASSERT_NE(InputPanel(), nullptr);
    ce::ShowWindow(InputPanel(), ce::SW_HIDE);
    auto contact = FilledContact();
    CContactEditDlg dialog(contact.get(), EditModeEdit);
    RunModal(dialog, [&] {
        EXPECT_TRUE(ce::IsWindowVisible(InputPanel()));
        const ce::CWnd* form = Pane(dialog);
        std::vector<int> order;
        for (int id = 0; id < FieldCount; ++id)
            if (id != FieldBirthday)
                order.push_back(IDC_VALUE_FIRST + id);
        order.push_back(IDC_BIRTHDAY_PICKER);
        int above = 0, below = 0; // the panel's two places
        // After `move`, control `expected` has the focus, in sight.
        const auto expectFocus = [&](int expected, const std::function<void()>& move) {
            const ce::CRect before = ScreenRect(Control(form, expected));
            move();
            ce::PumpMessages();
            ASSERT_EQ(ce::GetDlgCtrlID(ce::GetFocus()), expected);
            const ce::CRect rect = ScreenRect(Control(form, expected));
            EXPECT_TRUE(rect.top >= 0 && rect.bottom <= ScreenHeight) << expected << " at " << rect.top;
            if (expected == IDC_BIRTHDAY_PICKER)
                return;
            if (before.top >= 0 && before.bottom <= ScreenHeight) {
                EXPECT_EQ(rect, before) << expected << " was in sight";
            }
            ASSERT_TRUE(ce::IsWindowVisible(InputPanel()));
            const ce::CRect panel = ScreenRect(ce::CWnd::FromHandle(InputPanel()));
            EXPECT_TRUE(panel.top >= 0 && panel.bottom <= ScreenHeight) << expected;
            EXPECT_TRUE(panel.bottom <= rect.top || panel.top >= rect.bottom) << expected << " is covered";
            ++(panel.bottom <= rect.top ? above : below);
        };
        const auto tab = [](bool shift) {
            if (shift)
                ce::SimulateKey(ce::GetFocus(), ce::WM_KEYDOWN, ce::VK_SHIFT);
            ce::DeliverKeyStroke(ce::VK_TAB, 9);
            if (shift)
                ce::SimulateKey(ce::GetFocus(), ce::WM_KEYUP, ce::VK_SHIFT);
        };
        Control(form, order.front())->SetFocus();
        for (std::size_t i = 1; i <= order.size(); ++i)
            expectFocus(order[i % order.size()], [&] { tab(false); });
        // Back from the name: round to the picker, then the web page, and on.
        for (std::size_t i = order.size(); i > order.size() - 4; --i)
            expectFocus(order[i - 1], [&] { tab(true); });
        expectFocus(order[order.size() - 3], [&] { tab(false); });
        // A tap's focus, from wherever the form stands scrolled.
        for (int field : {0, 15, 9, 2, 12, 1})
            expectFocus(IDC_VALUE_FIRST + field, [&] { Control(form, IDC_VALUE_FIRST + field)->SetFocus(); });
        EXPECT_EQ(ce::GetKeyState(ce::VK_SHIFT), 0) << "released";
        EXPECT_TRUE(above > 0 && below > 0);
    });
    EXPECT_FALSE(ce::IsWindowVisible(InputPanel()));
}

} // namespace
