// A benchmark's figure beside its floor, both measured in the same run: each
// round times the floor and then the subject, the fastest of each counts, and
// the benchmark shows both and their ratio. Work on one thread is timed by
// the process's processor time, which other programs on a busy machine do
// not stretch the way they stretch the clock; work that waits on the disk
// by the clock.
#pragma once
#include <benchmark/benchmark.h>

#include <algorithm>
#include <limits>
#include <time.h>

namespace benchfloor {

enum class Clock { Processor, Wall };

// The seconds `work` takes by the process's processor time or by the clock.
template <class Work>
double SecondsOf(Work&& work, Clock clock = Clock::Wall)
{
    const clockid_t id = clock == Clock::Processor ? CLOCK_PROCESS_CPUTIME_ID : CLOCK_MONOTONIC;
    timespec start{};
    timespec end{};
    clock_gettime(id, &start);
    work();
    clock_gettime(id, &end);
    return double(end.tv_sec - start.tv_sec) + double(end.tv_nsec - start.tv_nsec) * 1e-9;
}

// Register with ->UseManualTime(). Untimed preparation belongs in reset,
// which runs before each floor and each subject.
template <class Reset, class Floor, class Subject>
void CompareWithFloor(benchmark::State& state, Reset&& reset, Floor&& floor, Subject&& subject,
                      Clock clock = Clock::Processor)
{
    double bestFloor = std::numeric_limits<double>::infinity();
    double best = bestFloor;
    for (auto _ : state) {
        reset();
        bestFloor = std::min(bestFloor, SecondsOf(floor, clock));
        reset();
        const double seconds = SecondsOf(subject, clock);
        best = std::min(best, seconds);
        state.SetIterationTime(seconds);
    }
    reset();
    state.counters["ms"] = best * 1e3;
    state.counters["floor_ms"] = bestFloor * 1e3;
    state.counters["ratio"] = bestFloor > 0 ? best / bestFloor : 0.0;
}

template <class Floor, class Subject>
void CompareWithFloor(benchmark::State& state, Floor&& floor, Subject&& subject, Clock clock = Clock::Processor)
{
    CompareWithFloor(state, [] {}, floor, subject, clock);
}

} // namespace benchfloor
