// Time from the start of the main frame to its first painted screen, with no
// data file, with a file of one screenful (20 contacts) and with a file of
// 200,000 contacts, in the same run. The file is read in the background, so
// its size should not count; the rows on the screen do.
#include "support/ShellTestSupport.h"
#include "platform/ui/Host.h"
#include "shell/MainFrm.h"

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
    return ReadBytes(scratch);
}

void StartUp(benchmark::State& state, int contacts)
{
    Root(); // the device root before the window system starts
    InitPlatform();
    const bool withFile = contacts > 0;
    const std::string bytes = withFile ? FileOf(contacts) : std::string();
    for (auto _ : state) {
        state.PauseTiming();
        std::filesystem::remove(Root().dataFile);
        if (withFile)
            std::ofstream(Root().dataFile, std::ios::binary) << bytes;
        state.ResumeTiming();

        CMainFrame* frame = OpenMainFrame();
        if (!frame) {
            state.SkipWithError("the frame was not created");
            break;
        }
        ScreenImage screen = GrabScreen();
        benchmark::DoNotOptimize(screen.pixels.data());

        state.PauseTiming();
        HWND window = frame->m_hWnd;
        DestroyWindow(window);
        WaitFor([&] { return !IsWindow(window); });
        state.ResumeTiming();
    }
}

BENCHMARK_CAPTURE(StartUp, no_data_file, 0)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK_CAPTURE(StartUp, data_file_20_contacts, 20)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK_CAPTURE(StartUp, data_file_200000_contacts, 200'000)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace
