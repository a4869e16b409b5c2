// Conversions of typical field texts, as the data file reader and writer run
// them for every field of every record.
#include "platform/core/CodePage.h"

#include <benchmark/benchmark.h>

namespace {

const std::u16string kLatin = u"Calle Mayor 12, 3o B, 28013 Madrid";
const std::u16string kChinese = u"\u674e\u5c0f\u9f99 \u5317\u4eac\u5e02\u671d\u9633\u533a";

void Setup(const benchmark::State&) { ce::SetACP(936); }

void BM_WideToAnsiLatin(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(ce::WideToAnsi(kLatin));
}

void BM_WideToAnsiChinese(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(ce::WideToAnsi(kChinese));
}

void BM_AnsiToWideLatin(benchmark::State& state)
{
    const std::string bytes = ce::WideToAnsi(kLatin);
    for (auto _ : state)
        benchmark::DoNotOptimize(ce::AnsiToWide(bytes));
}

void BM_AnsiToWideChinese(benchmark::State& state)
{
    const std::string bytes = ce::WideToAnsi(kChinese);
    for (auto _ : state)
        benchmark::DoNotOptimize(ce::AnsiToWide(bytes));
}

BENCHMARK(BM_WideToAnsiLatin)->Setup(Setup);
BENCHMARK(BM_WideToAnsiChinese)->Setup(Setup);
BENCHMARK(BM_AnsiToWideLatin)->Setup(Setup);
BENCHMARK(BM_AnsiToWideChinese)->Setup(Setup);

} // namespace
