// A benchmark's figure beside its floor, both measured in the same run: each
// round times the floor and then the subject, the fastest of each counts, and
// the benchmark shows both and their ratio. Work on one thread is timed by
// the process's processor time, which other programs on a busy machine do
// not stretch the way they stretch the clock; work that waits on the disk
// by the clock.
#pragma once
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <limits>
#include <time.h>

namespace benchfloor {

template <class Work>
double SecondsOf(Work&& work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

template <class Work>
double ProcessorSecondsOf(Work&& work)
{
    timespec start{};
    timespec end{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &start);
    work();
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &end);
    return double(end.tv_sec - start.tv_sec) + double(end.tv_nsec - start.tv_nsec) * 1e-9;
}

inline void ShowRatio(benchmark::State& state, double subject, double floor)
{
    state.counters["ms"] = subject * 1e3;
    state.counters["floor_ms"] = floor * 1e3;
    state.counters["ratio"] = floor > 0 ? subject / floor : 0.0;
}

enum class Clock { Processor, Wall };

template <class Work>
double SecondsOf(Clock clock, Work&& work)
{
    return clock == Clock::Processor ? ProcessorSecondsOf(work) : SecondsOf(work);
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
        bestFloor = std::min(bestFloor, SecondsOf(clock, floor));
        reset();
        const double seconds = SecondsOf(clock, subject);
        best = std::min(best, seconds);
        state.SetIterationTime(seconds);
    }
    reset();
    ShowRatio(state, best, bestFloor);
}

template <class Floor, class Subject>
void CompareWithFloor(benchmark::State& state, Floor&& floor, Subject&& subject, Clock clock = Clock::Processor)
{
    CompareWithFloor(state, [] {}, floor, subject, clock);
}

} // namespace benchfloor
