// Time from the start of the main frame to its first painted screen with a
// file of 200,000 contacts, beside the same with a file of one screenful
// (20 contacts) in the same run. The file is read in the background, so its
// size should not count; the rows on the screen do.
#include "support/ShellFixtures.h"
#include "platform/ui/Host.h"
#include "platform/ui/testing/ScreenGrab.h"
#include "tests/data/support/FloorRatio.h"

#include <benchmark/benchmark.h>

using namespace shelltest;
namespace fs = std::filesystem;

namespace {

void BM_FirstWindowAgainstScreenful(benchmark::State& state)
{
    const std::string root = MakeTempFolder("bench-startup"), pim = root + "/My Flash Disk/PIM";
    fs::create_directories(pim);
    UseDeviceRoot(root); // before the window system starts
    ce::InitPlatform();
    const std::string screenful = root + "/screenful", big = root + "/big";
    WriteDataFile(screenful, ManyPeople(20, 0));
    WriteDataFile(big, ManyPeople(int(state.range(0)), 0));
    CMainFrame* frame = nullptr;
    bool bigNext = false;
    // Before each start: the last frame gone, then the data file of the
    // floor (one screenful) and of the subject (the big book) in turn.
    const auto reset = [&] {
        if (frame) {
            const ce::HWND window = frame->m_hWnd;
            ce::DestroyWindow(window);
            WaitFor([&] { return !ce::IsWindow(window); });
        }
        fs::copy_file(bigNext ? big : screenful, pim + "/Contacts.pcd", fs::copy_options::overwrite_existing);
        bigNext = !bigNext;
    };
    const auto start = [&] {
        frame = OpenMainFrame();
        if (!frame)
            return state.SkipWithError("the frame was not created");
        benchmark::DoNotOptimize(ce::GrabScreen().pixels.data());
    };
    benchfloor::CompareWithFloor(state, reset, start, start, benchfloor::Clock::Wall);
    RemoveFolder(root);
}

BENCHMARK(BM_FirstWindowAgainstScreenful)->Arg(200'000)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);

} // namespace
