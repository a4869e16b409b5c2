// Painting the list window's view costs the rows on screen, not the list:
// the same paint over lists of very different lengths.
#include "tests/listwnd/support/ListWndTestSupport.h"
#include <benchmark/benchmark.h>

namespace {

void PaintList(benchmark::State& state)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ce::SetACP(936);
    ce::InitPlatform();
    CTestFrame frame;
    if (!frame.Open(44)) {
        state.SkipWithError("no frame");
        return;
    }
    std::vector<std::u16string> names;
    for (int i = 0; i < state.range(0); ++i)
        names.push_back(u"Contact " + std::u16string(1, char16_t(u'A' + i % 26)));
    LoadList(frame.listWindow, names);
    frame.listWindow.SelectItem(int(state.range(0)) / 2);
    ce::CListCtrl& view = frame.listWindow.GetListView();
    for (auto _ : state) {
        view.Invalidate(ce::FALSE);
        benchmark::DoNotOptimize(ce::GrabWindow(view.m_hWnd));
    }
    frame.DestroyWindow();
    g_contactList.Clear();
}
BENCHMARK(PaintList)->Arg(100)->Arg(100000)->Unit(benchmark::kMicrosecond);

} // namespace
