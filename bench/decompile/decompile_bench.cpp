// What the run adds to the decompiler itself: DecompileClassFile (copy, probe,
// start and wait, search, read, two deletions) against starting the same
// decompiler directly on a class file already in place, both timed over
// several runs, for the fake Jad and for the bridge.
#include <windows.h>

// psapi.h needs windows.h before it.
#include <psapi.h>
#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <string>
#include <vector>

#include "bench/bench_clock.h"
#include "decompile/decompile_run.h"
#include "tests/windows/decompile/plugin_folder.h"

namespace {

struct Figures {
  double mean;
  double median;
  double min;
};

Figures Summarise(std::vector<double> times) {
  std::sort(times.begin(), times.end());
  double sum = 0;
  for (double t : times) sum += t;
  return {sum / times.size(), times[times.size() / 2], times.front()};
}

// The decompiler started as the run starts it, on a copy made beforehand and
// outside the timing; its output is deleted outside the timing too.
double RunDirectly(const PluginFolder& folder, const std::wstring& classFile) {
  const std::wstring stamp = L"424242";
  CopyFileW(classFile.c_str(), folder.Path(stamp + L".class").c_str(), FALSE);
  std::wstring command =
      L"\"" + folder.directory() + L"\\jad\" -lnc -o -s \"" + stamp + L".java\" \"" + stamp + L"\"";
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  double start = NowMs();
  if (CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                     folder.directory().c_str(), &startup, &process)) {
    WaitForSingleObject(process.hProcess, INFINITE);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
  }
  double elapsed = NowMs() - start;
  for (const std::wstring& name : folder.ExtraFiles()) DeleteFileW(folder.Path(name).c_str());
  return elapsed;
}

double RunThroughThePlugin(const std::wstring& classFile, size_t* textBytes) {
  double start = NowMs();
  char* text = DecompileClassFile(classFile.c_str());
  double elapsed = NowMs() - start;
  *textBytes = text ? strlen(text) : 0;
  free(text);
  return elapsed;
}

SIZE_T PeakWorkingSet() {
  PROCESS_MEMORY_COUNTERS counters = {};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  return counters.PeakWorkingSetSize;
}

void Measure(const char* label, int runs, bool bridge) {
  PluginFolder folder;
  if (bridge) {
    folder.InstallBridgeJad();
  } else {
    folder.InstallFakeJad("write");
  }
  const std::wstring classFile = DataFile(L"sample\\Greeter.class");
  std::vector<double> direct, run;
  size_t textBytes = 0;
  // One warm-up of each, not counted: the first start loads the file cache.
  RunDirectly(folder, classFile);
  RunThroughThePlugin(classFile, &textBytes);
  SIZE_T peakBefore = PeakWorkingSet();
  // Interleaved, so drift in the machine's load hits both alike.
  for (int i = 0; i < runs; ++i) {
    direct.push_back(RunDirectly(folder, classFile));
    run.push_back(RunThroughThePlugin(classFile, &textBytes));
  }
  SIZE_T peakAfter = PeakWorkingSet();
  Figures d = Summarise(direct), r = Summarise(run);
  printf("%s, %d runs, text %zu bytes\n", label, runs, textBytes);
  printf("  direct:             mean %8.2f ms  median %8.2f ms  min %8.2f ms\n", d.mean, d.median,
         d.min);
  printf("  DecompileClassFile: mean %8.2f ms  median %8.2f ms  min %8.2f ms\n", r.mean, r.median,
         r.min);
  printf("  ratio (run/direct): mean %.3f  median %.3f  min %.3f; overhead median %.2f ms\n",
         r.mean / d.mean, r.median / d.median, r.min / d.min, r.median - d.median);
  printf("  peak working set grew by %zu KiB over the runs\n",
         static_cast<size_t>((peakAfter - peakBefore) / 1024));
}

}  // namespace

int main(int argc, char** argv) {
  int runs = argc > 1 ? atoi(argv[1]) : 10;
  if (runs < 1) runs = 1;
  Measure("fake jad", runs * 3, false);
  Measure("bridge", runs, true);
  return 0;
}
