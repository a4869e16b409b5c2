// Time from the start of the main frame to its first painted screen, with a
// data file of 200,000 contacts and with no data file, in the same run: the
// file is read in the background, so the two should be close.
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

const std::string& LargeFile()
{
    static const std::string bytes = [] {
        const std::string scratch = Root().root + "/large";
        WriteDataFile(scratch, ManyPeople(200'000, 0));
        return ReadBytes(scratch);
    }();
    return bytes;
}

void StartUp(benchmark::State& state, bool withFile)
{
    const std::string& bytes = LargeFile(); // also makes the device root current
    InitPlatform();
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

BENCHMARK_CAPTURE(StartUp, no_data_file, false)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK_CAPTURE(StartUp, data_file_200000_contacts, true)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace
