// Time from the start of the main frame to its first painted screen with a
// file of 200,000 contacts, beside the same with a file of one screenful
// (20 contacts) in the same run. The file is read in the background, so its
// size should not count; the rows on the screen do.
#include "support/ShellTestSupport.h"
#include "platform/ui/Host.h"
#include "platform/ui/testing/ScreenGrab.h"
#include "shell/MainFrm.h"
#include "tests/data/support/FloorRatio.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

using namespace shelltest;
using namespace ce;

namespace {

DeviceRoot& Root()
{
    static DeviceRoot root = [] {
        DeviceRoot made;
        made.Make();
        std::filesystem::create_directories(made.pimFolder);
        return made;
    }();
    return root;
}

// The bytes of a data file of `count` contacts, made once per size.
std::string FileOf(int count)
{
    const std::string scratch = Root().root + "/file" + std::to_string(count);
    WriteDataFile(scratch, ManyPeople(count, 0));
    return ReadHostFile(scratch);
}

// Seconds from the frame's start on a data file of these bytes to its first
// painted screen.
double StartUpSeconds(benchmark::State& state, const std::string& bytes)
{
    std::filesystem::remove(Root().dataFile);
    std::ofstream(Root().dataFile, std::ios::binary) << bytes;
    CMainFrame* frame = nullptr;
    const double seconds = benchfloor::SecondsOf([&] {
        frame = OpenMainFrame();
        if (frame) {
            ScreenImage screen = GrabScreen();
            benchmark::DoNotOptimize(screen.pixels.data());
        }
    });
    if (!frame) {
        state.SkipWithError("the frame was not created");
        return seconds;
    }
    HWND window = frame->m_hWnd;
    DestroyWindow(window);
    WaitFor([&] { return !IsWindow(window); });
    return seconds;
}

// The first window of a big book against that of one screenful (20 contacts).
void BM_FirstWindowAgainstScreenful(benchmark::State& state)
{
    Root(); // the device root before the window system starts
    InitPlatform();
    const std::string screenful = FileOf(20);
    const std::string big = FileOf(int(state.range(0)));
    double best = 1e9;
    double bestFloor = 1e9;
    for (auto _ : state) {
        bestFloor = std::min(bestFloor, StartUpSeconds(state, screenful));
        const double seconds = StartUpSeconds(state, big);
        best = std::min(best, seconds);
        state.SetIterationTime(seconds);
    }
    benchfloor::ShowRatio(state, best, bestFloor);
}

BENCHMARK(BM_FirstWindowAgainstScreenful)->Arg(200'000)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);

} // namespace
