// The bytecode view (the class read whole, then written as javap -c -p
// writes it), the outline and the glance the thumbnail draws (the class read
// whole, then its heading and members) of large real classes: time per
// class, and the view's size in lines and bytes.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>

#include "classfile/bytecode_view.h"
#include "classfile/class_members.h"

namespace {

std::string ClassBytes(const char* name) {
  std::ifstream file(std::string(BENCH_CLASSES) + "/" + name + ".class", std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

void Run(benchmark::State& state, const char* name, bool outline) {
  const std::string bytes = ClassBytes(name);
  const unsigned char* data = reinterpret_cast<const unsigned char*>(bytes.data());
  std::string text, error;
  for (auto _ : state) {
    bool read = outline ? ClassOutlineOf(data, bytes.size(), &text, &error)
                        : BytecodeViewOf(data, bytes.size(), &text, &error);
    if (!read) state.SkipWithError(error.c_str());
    benchmark::DoNotOptimize(text.data());
  }
  state.counters["class_bytes"] = static_cast<double>(bytes.size());
  state.counters["lines"] = static_cast<double>(std::count(text.begin(), text.end(), '\n'));
  state.counters["text_bytes"] = static_cast<double>(text.size());
}

void Glance(benchmark::State& state, const char* name) {
  const std::string bytes = ClassBytes(name);
  const unsigned char* data = reinterpret_cast<const unsigned char*>(bytes.data());
  size_t members = 0;
  for (auto _ : state) {
    ParsedClass parsed;
    std::string error;
    if (!ReadClassFile(data, bytes.size(), &parsed, &error)) state.SkipWithError(error.c_str());
    ClassGlance glance = ClassGlanceOf(parsed);
    members = glance.members.size();
    benchmark::DoNotOptimize(glance.members.data());
  }
  state.counters["members"] = static_cast<double>(members);
}

void BM_View_StrBuilder(benchmark::State& s) { Run(s, "StrBuilder", false); }
void BM_View_PublicSuffixPatterns(benchmark::State& s) { Run(s, "PublicSuffixPatterns", false); }
void BM_View_Maps(benchmark::State& s) { Run(s, "Maps", false); }
void BM_Outline_StrBuilder(benchmark::State& s) { Run(s, "StrBuilder", true); }
void BM_Outline_Maps(benchmark::State& s) { Run(s, "Maps", true); }

void BM_Glance_StrBuilder(benchmark::State& s) { Glance(s, "StrBuilder"); }
void BM_Glance_PublicSuffixPatterns(benchmark::State& s) { Glance(s, "PublicSuffixPatterns"); }
void BM_Glance_Maps(benchmark::State& s) { Glance(s, "Maps"); }

BENCHMARK(BM_View_StrBuilder)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_View_PublicSuffixPatterns)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_View_Maps)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Outline_StrBuilder)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Outline_Maps)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Glance_StrBuilder)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Glance_PublicSuffixPatterns)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Glance_Maps)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
