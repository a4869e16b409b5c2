// A form taller than the screen: its scroll bar in the strip at the right,
// the thumb following the scroll, the stylus on the arrows and the wheel.
#include "dialogs/ContactEditDlg.h"
#include "dialogs/ContactShowDlg.h"
#include "platform/ui/testing/ScreenGrab.h"
#include "platform/ui/testing/SimulatedInput.h"
#include "support/DialogTestSupport.h"

namespace {

using FormScrollingTest = DialogTest;

ce::CFormView* Form(const ce::CDialog& dialog) { return dynamic_cast<ce::CFormView*>(Pane(dialog)); }

// The dialog's client area on the screen.
ce::CRect ClientOnScreen(const ce::CDialog& dialog)
{
    ce::CRect client;
    dialog.GetClientRect(&client);
    dialog.ClientToScreen(&client);
    return client;
}

// The scroll bar as the screen shows it: its track colour runs down whole
// columns, those of the strip at the client area's right and no other (grey
// text edges share it only here and there); in its second column the arrow
// buttons, each ending on a black row, and the thumb.
struct BarOnScreen {
    int left = 0, arrow = 0, thumbTop = 0, thumbBottom = 0;
};

BarOnScreen FindBar(const ce::ScreenImage& screen, const ce::CRect& client)
{
    const ce::COLORREF track = ce::GetSysColor(ce::COLOR_SCROLLBAR);
    BarOnScreen bar{client.right - ce::GetSystemMetrics(ce::SM_CXVSCROLL)};
    for (int x = 0; x < screen.width; ++x) {
        int rows = 0;
        for (int y = client.top; y < client.bottom; ++y)
            rows += screen.Pixel(x, y) == track;
        EXPECT_EQ(rows >= client.Height() / 4, x >= bar.left && x < client.right) << "column " << x;
    }
    const int x = bar.left + 1;
    while (client.top + bar.arrow < client.bottom && screen.Pixel(x, client.top + bar.arrow) != 0)
        ++bar.arrow;
    ++bar.arrow; // its black bottom row
    bar.thumbTop = client.top + bar.arrow;
    while (bar.thumbTop < client.bottom && screen.Pixel(x, bar.thumbTop) == track)
        ++bar.thumbTop;
    bar.thumbBottom = bar.thumbTop;
    while (bar.thumbBottom < client.bottom - bar.arrow && screen.Pixel(x, bar.thumbBottom) != track)
        ++bar.thumbBottom;
    return bar;
}

// The bar stands in the strip, its thumb where the scroll position puts it within the track.
void ExpectBarFollows(const ce::CDialog& dialog, const char* when)
{
    SCOPED_TRACE(when);
    const ce::CRect client = ClientOnScreen(dialog);
    const BarOnScreen bar = FindBar(ce::GrabScreen(), client);
    ce::CFormView* form = Form(dialog);
    const ce::CPoint now = form->GetScrollPosition();
    form->ScrollToPosition(ce::CPoint(0, 100000));
    const int maxScroll = form->GetScrollPosition().y;
    form->ScrollToPosition(now);
    const int track = client.Height() - 2 * bar.arrow, thumb = bar.thumbBottom - bar.thumbTop;
    ASSERT_GT(thumb, 0);
    ASSERT_GT(maxScroll, 0);
    const double expected = client.top + bar.arrow + double(track - thumb) * now.y / maxScroll;
    EXPECT_NEAR(bar.thumbTop, expected, 1.0) << "at " << now.y;
}

TEST_F(FormScrollingTest, ATallFormShowsItsScrollBarInTheRightStripWithTheThumbAtItsScroll)
{
    auto contact = FilledContact();
    CContactShowDlg detail(contact.get());
    RunModal(detail, [&] { ExpectBarFollows(detail, "detail at the top"); });

    CContactEditDlg edit(contact.get(), EditModeEdit);
    RunModal(edit, [&] {
        ce::ShowWindow(InputPanel(), ce::SW_HIDE);
        const ce::CRect client = ClientOnScreen(edit);
        const ce::ScreenImage screen = ce::GrabScreen();
        const BarOnScreen bar = FindBar(screen, client);
        EXPECT_EQ(screen.Pixel(bar.left + 1, client.top), ce::GetSysColor(ce::COLOR_BTNHIGHLIGHT)) << "up arrow";
        EXPECT_EQ(screen.Pixel(bar.left + 1, client.bottom - 1), 0u) << "down arrow";
        EXPECT_EQ(bar.arrow, client.right - bar.left) << "square arrow buttons";
        ExpectBarFollows(edit, "at the top");

        // The stylus on the down arrow scrolls a line, the thumb goes along.
        ce::SimulateTap(bar.left + bar.arrow / 2, client.bottom - bar.arrow / 2);
        ce::PumpMessages();
        EXPECT_EQ(Form(edit)->GetScrollPosition().y, ce::GetDialogBaseUnits().cy);
        ExpectBarFollows(edit, "a line down");

        Form(edit)->ScrollToPosition(ce::CPoint(0, 1000));
        ExpectBarFollows(edit, "at the end");
    });
}

TEST_F(FormScrollingTest, TheWheelScrollsThreeLinesANotchOverTheFormItsControlsAndItsBar)
{
    auto contact = FilledContact();
    CContactEditDlg dialog(contact.get(), EditModeEdit);
    RunModal(dialog, [&] {
        ce::ShowWindow(InputPanel(), ce::SW_HIDE);
        ce::CFormView* form = Form(dialog);
        const int notch = 3 * ce::GetDialogBaseUnits().cy;
        const ce::CRect client = ClientOnScreen(dialog);
        const ce::CRect label = ScreenRect(Control(form, IDC_LABEL_FIRST + 2)),
                        field = ScreenRect(Control(form, IDC_VALUE_FIRST + 2));
        ce::SimulateWheel(label.left + 5, label.top + 5, -ce::WHEEL_DELTA);
        EXPECT_EQ(form->GetScrollPosition().y, notch) << "over a label";
        ce::SimulateWheel(field.left + 20, field.top + 4 - notch, -ce::WHEEL_DELTA);
        EXPECT_EQ(form->GetScrollPosition().y, 2 * notch) << "over an edit field";
        ce::SimulateWheel(client.right - 5, (client.top + client.bottom) / 2, ce::WHEEL_DELTA);
        EXPECT_EQ(form->GetScrollPosition().y, notch) << "over the scroll bar, back up";
        ce::SimulateWheel(label.left + 5, label.top + 5 - notch, 3 * ce::WHEEL_DELTA);
        EXPECT_EQ(form->GetScrollPosition().y, 0) << "no further than the top";
        ExpectBarFollows(dialog, "after the wheel");
    });
}

} // namespace
