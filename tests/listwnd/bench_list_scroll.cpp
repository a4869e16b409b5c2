// The list of 200,000 contacts scrolled from top to bottom, a thousand
// screens spread over its whole length each painted, beside its floor
// measured in the same run: the same thousand screens over 2,000 contacts.
// A screen costs its rows, not the list.
#include "platform/ui/testing/ScreenGrab.h"
#include "tests/data/support/FloorRatio.h"
#include "tests/listwnd/support/ListWndTestSupport.h"

namespace {

constexpr int Screens = 1000;

// Paints the thousand screens spread over the first `rows` rows.
void ScrollOver(CTestFrame& frame, int rows)
{
    ce::CListCtrl& view = frame.listWindow.GetListView();
    for (int screen = 0; screen < Screens; ++screen) {
        view.EnsureVisible(int(std::int64_t(rows - 1) * screen / (Screens - 1)), ce::FALSE);
        view.Invalidate(ce::FALSE);
        benchmark::DoNotOptimize(ce::GrabWindow(view.m_hWnd));
    }
}

void BM_ScrollAgainstShortList(benchmark::State& state)
{
    uiharness::StartWindowSystem();
    CTestFrame frame;
    if (!frame.Open(44)) {
        state.SkipWithError("no frame");
        return;
    }
    auto namesOf = [](int count) {
        std::vector<std::u16string> names;
        for (int i = 0; i < count; ++i)
            names.push_back(u"Contact " + std::u16string(1, char16_t(u'A' + i % 26)) + u" " +
                            std::u16string(1, char16_t(u'0' + i % 10)));
        return names;
    };
    const std::vector<std::u16string> few = namesOf(2000);
    const std::vector<std::u16string> many = namesOf(int(state.range(0)));
    // Each floor runs over the short list, each subject over the long one.
    int resets = 0;
    benchfloor::CompareWithFloor(
        state, [&] { LoadList(frame.listWindow, resets++ % 2 == 0 ? few : many); },
        [&] { ScrollOver(frame, int(few.size())); }, [&] { ScrollOver(frame, int(many.size())); });
    frame.DestroyWindow();
    g_contactList.Clear();
}

} // namespace

BENCHMARK(BM_ScrollAgainstShortList)->Arg(200000)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
