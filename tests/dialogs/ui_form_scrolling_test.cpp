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

// The scroll bar as the screen shows it: the columns of its track colour, and
// in its second column the arrow buttons (each ending on a black row) and the thumb.
struct BarOnScreen {
    int left = 320, right = -1; // columns of the track colour, right exclusive
    int top = 0, bottom = 0;    // the whole bar, bottom exclusive
    int arrow = 0;              // height of each arrow button
    int thumbTop = 0, thumbBottom = 0;
};

BarOnScreen FindBar(const ce::ScreenImage& screen, const ce::CRect& client)
{
    const ce::COLORREF track = ce::GetSysColor(ce::COLOR_SCROLLBAR);
    BarOnScreen bar;
    // The track runs down whole columns; grey text edges share its colour only here and there.
    for (int x = 0; x < screen.width; ++x) {
        int rows = 0;
        for (int y = client.top; y < client.bottom; ++y)
            rows += screen.Pixel(x, y) == track;
        if (rows >= client.Height() / 4) {
            bar.left = std::min(bar.left, x);
            bar.right = std::max(bar.right, x + 1);
        }
    }
    bar.top = client.top;
    bar.bottom = client.bottom;
    const int x = bar.left + 1;
    while (bar.top + bar.arrow < bar.bottom && screen.Pixel(x, bar.top + bar.arrow) != 0)
        ++bar.arrow;
    ++bar.arrow; // its black bottom row
    bar.thumbTop = bar.top + bar.arrow;
    while (bar.thumbTop < bar.bottom && screen.Pixel(x, bar.thumbTop) == track)
        ++bar.thumbTop;
    bar.thumbBottom = bar.thumbTop;
    while (bar.thumbBottom < bar.bottom - bar.arrow && screen.Pixel(x, bar.thumbBottom) != track)
        ++bar.thumbBottom;
    return bar;
}

// The thumb stands where the scroll position puts it within the track.
void ExpectThumbFollows(const ce::CDialog& dialog, const char* when)
{
    const ce::CRect client = ClientOnScreen(dialog);
    const BarOnScreen bar = FindBar(ce::GrabScreen(), client);
    ce::CFormView* form = Form(dialog);
    const ce::CPoint now = form->GetScrollPosition();
    form->ScrollToPosition(ce::CPoint(0, 100000));
    const int maxScroll = form->GetScrollPosition().y;
    form->ScrollToPosition(now);
    const int track = bar.bottom - bar.top - 2 * bar.arrow, thumb = bar.thumbBottom - bar.thumbTop;
    ASSERT_GT(thumb, 0) << when;
    ASSERT_GT(maxScroll, 0) << when;
    const double expected = bar.top + bar.arrow + double(track - thumb) * form->GetScrollPosition().y / maxScroll;
    EXPECT_NEAR(bar.thumbTop, expected, 1.0) << when << " at " << form->GetScrollPosition().y;
}

TEST_F(FormScrollingTest, ATallFormShowsItsScrollBarInTheRightStripWithTheThumbAtItsScroll)
{
    auto contact = FilledContact();
    const int barWidth = ce::GetSystemMetrics(ce::SM_CXVSCROLL);
    const auto expectInRightStrip = [&](const BarOnScreen& bar, const ce::CRect& client) {
        EXPECT_EQ(bar.left, client.right - barWidth);
        EXPECT_EQ(bar.right, client.right);
    };
    CContactShowDlg detail(contact.get());
    RunModal(detail, [&] {
        expectInRightStrip(FindBar(ce::GrabScreen(), ClientOnScreen(detail)), ClientOnScreen(detail));
        ExpectThumbFollows(detail, "detail at the top");
    });

    CContactEditDlg edit(contact.get(), EditModeEdit);
    RunModal(edit, [&] {
        ce::ShowWindow(InputPanel(), ce::SW_HIDE);
        const ce::CRect client = ClientOnScreen(edit);
        const ce::ScreenImage screen = ce::GrabScreen();
        const BarOnScreen bar = FindBar(screen, client);
        // Right of the value column, from the top of the client area to its bottom.
        EXPECT_GE(bar.left, ValueRight);
        expectInRightStrip(bar, client);
        EXPECT_EQ(screen.Pixel(bar.left + 1, client.top), ce::GetSysColor(ce::COLOR_BTNHIGHLIGHT)) << "up arrow";
        EXPECT_EQ(screen.Pixel(bar.left + 1, client.bottom - 1), 0u) << "down arrow";
        EXPECT_EQ(bar.arrow, barWidth);
        ExpectThumbFollows(edit, "at the top");

        // The stylus on the down arrow scrolls a line, the thumb goes along.
        ce::CFormView* form = Form(edit);
        const int line = ce::GetDialogBaseUnits().cy;
        ce::SimulateTap(bar.left + barWidth / 2, client.bottom - bar.arrow / 2);
        ce::PumpMessages();
        EXPECT_EQ(form->GetScrollPosition().y, line);
        ExpectThumbFollows(edit, "a line down");

        form->ScrollToPosition(ce::CPoint(0, 1000));
        ExpectThumbFollows(edit, "at the end");
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
        const ce::CRect label = ScreenRect(Control(form, IDC_LABEL_FIRST + 2)), field = ScreenRect(Control(form, IDC_VALUE_FIRST + 2));
        ce::SimulateWheel(label.left + 5, label.top + 5, -ce::WHEEL_DELTA);
        EXPECT_EQ(form->GetScrollPosition().y, notch) << "over a label";
        ce::SimulateWheel(field.left + 20, field.top + 4 - notch, -ce::WHEEL_DELTA);
        EXPECT_EQ(form->GetScrollPosition().y, 2 * notch) << "over an edit field";
        ce::SimulateWheel(client.right - 5, (client.top + client.bottom) / 2, ce::WHEEL_DELTA);
        EXPECT_EQ(form->GetScrollPosition().y, notch) << "over the scroll bar, back up";
        ce::SimulateWheel(label.left + 5, label.top + 5 - notch, 3 * ce::WHEEL_DELTA);
        EXPECT_EQ(form->GetScrollPosition().y, 0) << "no further than the top";
        ExpectThumbFollows(dialog, "after the wheel");
    });
}

} // namespace
