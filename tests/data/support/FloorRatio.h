// A benchmark's figure beside its floor, both measured in the same run: each
// round times the floor and then the subject, the fastest of each counts, and
// the benchmark shows both and their ratio.
#pragma once
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <limits>

namespace benchfloor {

template <class Work>
double SecondsOf(Work&& work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

inline void ShowRatio(benchmark::State& state, double subject, double floor)
{
    state.counters["ms"] = subject * 1e3;
    state.counters["floor_ms"] = floor * 1e3;
    state.counters["ratio"] = floor > 0 ? subject / floor : 0.0;
}

// Register with ->UseManualTime(). Untimed preparation belongs in reset,
// which runs before each floor and each subject.
template <class Reset, class Floor, class Subject>
void CompareWithFloor(benchmark::State& state, Reset&& reset, Floor&& floor, Subject&& subject)
{
    double bestFloor = std::numeric_limits<double>::infinity();
    double best = bestFloor;
    for (auto _ : state) {
        reset();
        bestFloor = std::min(bestFloor, SecondsOf(floor));
        reset();
        const double seconds = SecondsOf(subject);
        best = std::min(best, seconds);
        state.SetIterationTime(seconds);
    }
    reset();
    ShowRatio(state, best, bestFloor);
}

template <class Floor, class Subject>
void CompareWithFloor(benchmark::State& state, Floor&& floor, Subject&& subject)
{
    CompareWithFloor(state, [] {}, floor, subject);
}

} // namespace benchfloor
