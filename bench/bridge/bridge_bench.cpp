// What the plugin and the bridge add to the engine: F3 on a class of 1,000
// source lines (ListLoadW through a copy of the plugin, the bridge beside it as
// jad.exe with the service off, its default engine on the stand-in java.exe:
// Vineflower on Java 17) against the same engine command line started
// directly on a copy of the class, both on the stand-in java.exe,
// interleaved in one run. Then F3 with the resident decompile service on the
// classes of 100, 1,000 and 10,000 lines: cold (no service running: the
// one-shot run, with the service started beside it) and warm (through the
// service once it has answered a first class).
//   bridge_bench.exe [RUNS]      (default 5 of each; medians and minimums shown)
#include <windows.h>

// psapi.h needs windows.h before it.
#include <psapi.h>
#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <string>
#include <vector>

#include "bench/bench_clock.h"
#include "bridge/engine.h"
#include "tests/windows/bridge/service_processes.h"
#include "tests/windows/soak/soak_fixture.h"
#include "tests/windows/test_support.h"

namespace {

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

double Minimum(const std::vector<double>& values) {
  return *std::min_element(values.begin(), values.end());
}

double CommittedMegabytes() {
  PROCESS_MEMORY_COUNTERS counters = {};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  return static_cast<double>(counters.PagefileUsage) / (1024.0 * 1024.0);
}

// The engine's command line as the bridge's one-shot run starts it, on a copy
// of the class in a folder of its own; the folder's output is removed outside
// the timing.
double EngineDirectly(PluginCopyFixture& plugin, const std::wstring& classFile) {
  const std::wstring work = plugin.inputs() + L"\\direct";
  CreateDirectoryW(work.c_str(), nullptr);
  CreateDirectoryW((work + L"\\out").c_str(), nullptr);
  CreateDirectoryW((work + L"\\classes").c_str(), nullptr);
  CopyFileW(classFile.c_str(), (work + L"\\classes\\Bench1000.class").c_str(), FALSE);
  EngineRun run;
  run.java = ToUtf8(ExeDirectory() + L"java.exe");
  run.home = ToUtf8(plugin.folder().directory());
  run.classFolder = ToUtf8(work + L"\\classes");
  run.classFile = ToUtf8(work + L"\\classes\\Bench1000.class");
  run.internalName = "Bench1000";
  run.outFolder = ToUtf8(work + L"\\out");
  run.lineNumbers = true;
  std::string command = EngineCommandLine(Engine::Vineflower, run);
  std::wstring line(command.size(), L'\0');
  line.resize(MultiByteToWideChar(CP_UTF8, 0, command.data(), static_cast<int>(command.size()),
                                  &line[0], static_cast<int>(line.size())));
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  double start = NowMs();
  if (CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                     work.c_str(), &startup, &process)) {
    WaitForSingleObject(process.hProcess, INFINITE);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
  }
  double elapsed = NowMs() - start;
  RemoveTree(work);
  return elapsed;
}

// F3: the whole ListLoadW, the control closed again outside the timing.
double F3(PluginCopyFixture& plugin, const std::wstring& classFile, int* lines) {
  double start = NowMs();
  HWND window = plugin.listLoadW(plugin.lister(), const_cast<WCHAR*>(classFile.c_str()), 0);
  double elapsed = NowMs() - start;
  *lines = window != nullptr ? static_cast<int>(SendMessageA(window, EM_GETLINECOUNT, 0, 0)) : 0;
  if (window != nullptr) plugin.listCloseWindow(window);
  PumpMessages();
  return elapsed;
}

// Cold and warm F3 through the resident service on each generated class.
void ServiceFigures(PluginCopyFixture& plugin, int runs) {
  plugin.folder().InstallBridgeJad("service=on\r\nservice_idle_minutes=5\r\n");
  const std::wstring portFile = ServicePortFileFor(plugin.folder().directory());
  printf("F3 with the resident service, %d warm runs each (ms):\n", runs);
  printf("  %-16s %8s %8s %12s %10s %10s\n", "class", "lines", "cold", "first warm", "warm med",
         "warm/cold");
  for (const wchar_t* name : {L"Bench100", L"Bench1000", L"Bench10000"}) {
    const std::wstring classFile =
        ExeDirectory() + L"plugin_bench_data\\bench\\" + name + L".class";
    EndServices(portFile);
    int lines = 0;
    double cold = F3(plugin, classFile, &lines);
    if (NewPortFileText(portFile, "", 60000).empty()) {
      fprintf(stderr, "bridge_bench: no service started\n");
      break;
    }
    double firstWarm = F3(plugin, classFile, &lines);
    std::vector<double> warm;
    for (int i = 0; i < runs; ++i) warm.push_back(F3(plugin, classFile, &lines));
    printf("  %-16ls %8d %8.0f %12.0f %10.0f %10.3f\n", name, lines, cold, firstWarm, Median(warm),
           Median(warm) / cold);
  }
  EndServices(portFile);
}

}  // namespace

int main(int argc, char** argv) {
  int runs = argc > 1 ? atoi(argv[1]) : 5;
  if (runs < 1) runs = 1;
  PluginCopyFixture plugin;
  if (!plugin.folder().loaded()) {
    fprintf(stderr, "bridge_bench: the plugin copy did not load\n");
    return 1;
  }
  plugin.folder().InstallBridgeJad();
  const std::wstring classFile = ExeDirectory() + L"plugin_bench_data\\bench\\Bench1000.class";

  int lines = 0;
  // One of each first, not counted: it fills the file cache.
  EngineDirectly(plugin, classFile);
  F3(plugin, classFile, &lines);
  if (lines == 0) {
    fprintf(stderr, "bridge_bench: Bench1000.class was not shown\n");
    return 1;
  }
  double committedBefore = CommittedMegabytes();
  std::vector<double> direct, f3;
  // Interleaved, so drift in the machine's load hits both alike.
  for (int i = 0; i < runs; ++i) {
    direct.push_back(EngineDirectly(plugin, classFile));
    f3.push_back(F3(plugin, classFile, &lines));
  }
  printf("Bench1000.class (1,000 source lines, %d lines shown), %d runs of each (ms):\n", lines,
         runs);
  printf("  Vineflower directly:           median %8.0f  min %8.0f\n", Median(direct),
         Minimum(direct));
  printf("  F3: plugin+bridge+Vineflower:  median %8.0f  min %8.0f\n", Median(f3), Minimum(f3));
  printf("  ratio F3 / direct:             median %8.3f  min %8.3f\n", Median(f3) / Median(direct),
         Minimum(f3) / Minimum(direct));
  printf("  committed memory of the host: %.1f MB before the runs, %.1f MB after\n",
         committedBefore, CommittedMegabytes());
  ServiceFigures(plugin, runs);
  return 0;
}
