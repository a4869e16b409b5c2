// Breaking a long field into the lines of the detail view, beside its floor
// measured in the same run: the whole text measured once.
#include "dialogs/ControlPlacement.h"
#include "platform/ui/Afx.h"
#include "tests/common/UiHarness.h"
#include "tests/data/support/FloorRatio.h"

namespace {

void BM_BreakLinesAgainstOneMeasure(benchmark::State& state)
{
    uiharness::StartWindowSystem();
    ce::CWnd form;
    ce::CStatic label;
    if (!uiharness::CreateScreenWindow(form) ||
        !label.Create(u"", ce::WS_CHILD | ce::SS_LEFT, ce::CRect(0, 0, 50, 12), &form, 11)) {
        state.SkipWithError("no window");
        return;
    }
    std::u16string text;
    while (text.size() < std::size_t(state.range(0)))
        text += u"Calle Mayor 12, \u5317\u4EAC\u5E02 ";
    text.resize(std::size_t(state.range(0)));
    ce::HDC dc = ce::GetDC(label.m_hWnd);
    benchfloor::CompareWithFloor(
        state,
        [&] {
            ce::SIZE size{};
            ce::GetTextExtentExPointW(dc, text.data(), int(text.size()), -1, nullptr, nullptr, &size);
            benchmark::DoNotOptimize(size);
        },
        [&] {
            std::u16string broken = text;
            BreakLines(dc, broken, 280);
            benchmark::DoNotOptimize(broken);
        });
    ce::ReleaseDC(label.m_hWnd, dc);
    form.DestroyWindow();
}

} // namespace

BENCHMARK(BM_BreakLinesAgainstOneMeasure)->Arg(6000)->Arg(60000)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);
