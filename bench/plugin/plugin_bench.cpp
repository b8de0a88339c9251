// A whole ListLoadW, as the host makes it, on generated classes of 100, 1,000
// and 10,000 source lines decompiled by the bridge: the plugin's own
// timing line gives the decompile and highlight times, the rest (control,
// text, header lines, showing) is the whole call less those two.
//   plugin_bench.exe [RUNS]      (default 3 loads a class; the median is shown)
#include <windows.h>

// psapi.h needs windows.h before it.
#include <psapi.h>
#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <string>
#include <vector>

#include "bench/bench_clock.h"
#include "host/listplug.h"
#include "tests/windows/decompile/plugin_folder.h"
#include "tests/windows/test_support.h"

namespace {

double CommittedMegabytes() {
  PROCESS_MEMORY_COUNTERS counters = {};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  return static_cast<double>(counters.PagefileUsage) / (1024.0 * 1024.0);
}

void Pump() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
}

struct Load {
  double total = 0;
  int decompile = -1, highlight = -1, lines = 0, characters = 0;
};

Load LoadOnce(decltype(&ListLoadW) listLoadW, decltype(&ListCloseWindow) listCloseWindow,
              HWND lister, const std::wstring& classFile) {
  Load load;
  double start = NowMs();
  HWND window = listLoadW(lister, const_cast<WCHAR*>(classFile.c_str()), 0);
  load.total = NowMs() - start;
  Pump();
  if (window == nullptr) return load;
  char timing[128] = "";
  // The second line: "// Jad: Xms | Highlighted: Yms".
  *reinterpret_cast<WORD*>(timing) = sizeof timing - 1;
  int n = static_cast<int>(SendMessageA(window, EM_GETLINE, 1, reinterpret_cast<LPARAM>(timing)));
  timing[n < static_cast<int>(sizeof timing) ? n : sizeof timing - 1] = '\0';
  sscanf(timing, "// Jad: %dms | Highlighted: %dms", &load.decompile, &load.highlight);
  load.lines = static_cast<int>(SendMessageA(window, EM_GETLINECOUNT, 0, 0));
  load.characters = GetWindowTextLengthA(window);
  listCloseWindow(window);
  return load;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  int runs = argc > 1 ? atoi(argv[1]) : 3;
  if (runs < 1) runs = 1;
  PluginFolder folder;
  if (!folder.loaded()) {
    fprintf(stderr, "plugin_bench: the plugin copy did not load\n");
    return 1;
  }
  folder.InstallBridgeJad();
  auto listLoadW = reinterpret_cast<decltype(&ListLoadW)>(
      reinterpret_cast<void*>(GetProcAddress(folder.module(), "ListLoadW")));
  auto listCloseWindow = reinterpret_cast<decltype(&ListCloseWindow)>(
      reinterpret_cast<void*>(GetProcAddress(folder.module(), "ListCloseWindow")));
  HWND lister = CreateWindowExA(0, "STATIC", "Lister", WS_OVERLAPPEDWINDOW, 0, 0, 800, 600, nullptr,
                                nullptr, nullptr, nullptr);

  printf("Whole ListLoadW through the bridge, median of %d loads (ms):\n", runs);
  printf("%-12s %8s %8s %10s %10s %8s %8s %12s\n", "class", "lines", "chars", "total", "decompile",
         "highl.", "rest", "committed");
  for (int size : {100, 1000, 10000}) {
    std::wstring classFile =
        ExeDirectory() + L"plugin_bench_data\\bench\\Bench" + std::to_wstring(size) + L".class";
    std::vector<double> totals, decompiles, highlights, rests;
    Load last;
    for (int i = 0; i < runs; ++i) {
      last = LoadOnce(listLoadW, listCloseWindow, lister, classFile);
      if (last.decompile < 0) {
        fprintf(stderr, "plugin_bench: Bench%d.class was not shown\n", size);
        return 1;
      }
      totals.push_back(last.total);
      decompiles.push_back(last.decompile);
      highlights.push_back(last.highlight);
      rests.push_back(last.total - last.decompile - last.highlight);
    }
    printf("Bench%-7d %8d %8d %10.0f %10.0f %8.0f %8.0f %9.1f MB\n", size, last.lines,
           last.characters, Median(totals), Median(decompiles), Median(highlights), Median(rests),
           CommittedMegabytes());
    fflush(stdout);
  }
  DestroyWindow(lister);
  return 0;
}
