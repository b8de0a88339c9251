// NumberLines on 64 MB of source-like text against memcpy of the same bytes,
// in the same run; prints the time ratio and the result's size over the input.
#include <benchmark/benchmark.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <map>
#include <random>
#include <string>
#include <vector>

#include "sideviews/line_numbers.h"

namespace {

const size_t kTextBytes = 64u << 20;

// Lines of 0 to 80 printable characters (about 40 on average, as in source
// code), ended with CR LF.
const std::string& SampleText() {
  static const std::string text = [] {
    std::string s;
    s.reserve(kTextBytes + 128);
    std::mt19937 random(8);
    while (s.size() < kTextBytes) {
      size_t length = random() % 81;
      for (size_t i = 0; i < length; ++i) s += static_cast<char>(' ' + random() % 95);
      s += "\r\n";
    }
    s.resize(kTextBytes);
    return s;
  }();
  return text;
}

void BM_NumberLines(benchmark::State& state) {
  const std::string& text = SampleText();
  char* sample = NumberLines(text.c_str(), static_cast<int>(text.size()));
  size_t resultBytes = strlen(sample) + 1;
  free(sample);
  for (auto _ : state) {
    char* result = NumberLines(text.c_str(), static_cast<int>(text.size()));
    benchmark::DoNotOptimize(result);
    free(result);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
  state.counters["result/input"] = static_cast<double>(resultBytes) / text.size();
}

// Like NumberLines, a fresh buffer per call, so both pay for its pages.
void BM_MemcpyFresh(benchmark::State& state) {
  const std::string& text = SampleText();
  for (auto _ : state) {
    char* copy = static_cast<char*>(malloc(text.size() + 1));
    memcpy(copy, text.c_str(), text.size() + 1);
    benchmark::DoNotOptimize(copy);
    free(copy);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

void BM_MemcpyWarm(benchmark::State& state) {
  const std::string& text = SampleText();
  std::vector<char> copy(text.size() + 1);
  for (auto _ : state) {
    memcpy(copy.data(), text.c_str(), text.size() + 1);
    benchmark::DoNotOptimize(copy.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

BENCHMARK(BM_NumberLines)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MemcpyFresh)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MemcpyWarm)->Unit(benchmark::kMillisecond);

// The console report, plus each benchmark's time per iteration kept for the ratio.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  RatioReporter() : ConsoleReporter(OO_Tabular) {}
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type == Run::RT_Iteration) {
        times[run.run_name.function_name] = run.GetAdjustedRealTime();
        cpuTimes[run.run_name.function_name] = run.GetAdjustedCPUTime();
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }
  std::map<std::string, double> times;
  std::map<std::string, double> cpuTimes;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  SampleText();
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  // Both clocks: on a shared machine the CPU times are the steadier figure.
  for (const char* baseline : {"BM_MemcpyFresh", "BM_MemcpyWarm"}) {
    double real = reporter.times[baseline];
    double cpu = reporter.cpuTimes[baseline];
    if (real > 0 && cpu > 0) {
      printf("NumberLines / %s on 64 MB: %.2f (real time), %.2f (CPU time)\n", baseline + 3,
             reporter.times["BM_NumberLines"] / real, reporter.cpuTimes["BM_NumberLines"] / cpu);
    }
  }
  benchmark::Shutdown();
  return 0;
}
