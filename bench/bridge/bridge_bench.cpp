// F3 through a copy of the plugin with the bridge as it ships beside it as
// jad.exe, against the engine's own command line, in one run on the stand-in
// java.exe (Vineflower, on Linux's Java 17):
// - cold F3, the service off: the one-shot run (the first compiler tier, the
//   serial collector, the engine's class-data cache) against the engine's
//   plain command line (java -jar vineflower.jar with the same engine options,
//   nothing else) on Showcase (with its nested enum) and on Bench1000,
//   interleaved, after one run of each that fills the file cache and makes
//   the cache;
// - with the resident service: cold F3 (the one-shot run, the service started
//   after it), warm F3 on 1,000-line classes no view has seen, and repeat F3
//   of a class seen before;
// - the second view: a class ten seconds after a cold F3 of another (the new
//   service's first request), against the same class as a first view (no
//   service) and the same class again right after its cold view.
// - the class-data cache: the first cold view of a runtime (no cache; a
//   training run makes one after it), the next (which checks the new cache,
//   moves it into place and maps it), a later one, then warm and repeat.
// - the host's thread: how long ListLoadW holds it, and how long the source
//   takes to come, for a cold view, a warm one, a repeat, a decompiler that
//   hangs until the bridge's time limit, and ten Quick View steps in a row;
//   as the plugin does it now (a 250 ms wait) and as it did before (waiting
//   for the whole run, which a long DRAVIK_LOAD_WAIT_MS gives); and for cold
//   views of real classes with the plugin's own wait;
// - the bytecode view (the plugin's own reader, its text highlighted) of
//   commons-lang3's StrBuilder and guava's largest classes against a warm
//   decompile of the same.
// - a Quick View storm (the storm test's: 200 of guava's collect classes
//   loaded and closed 0 to 300 ms apart): the kept class's load to its
//   source after the storm against the same class alone, and the service's
//   processor time spent on the storm's views, which nobody waited for (only
//   in storm mode).
// DRAVIK_TEST_JAVA names a real Windows Java runtime to run on instead.
//   bridge_bench.exe [RUNS] [second|cache|host|hold|bytecode|storm]   (default 5 of each but
//                                                         the storm; medians and minimums; a
//                                                         name: that alone)
#include <windows.h>

// psapi.h needs windows.h before it.
#include <psapi.h>
#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <string>
#include <vector>

#include "bench/bench_clock.h"
#include "bridge/engines/engine.h"
#include "bridge/windows/argument_quoting.h"
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

// A class of the benchmark's data, with its family.
struct BenchClass {
  const wchar_t* file;                 // under plugin_bench_data
  std::vector<const wchar_t*> family;  // beside it
  const char* internalName;
};

// The engine's plain command line on a copy of the class and its family in a
// folder of their own; the folder's output is removed outside the timing.
double EngineDirectly(PluginCopyFixture& plugin, const BenchClass& shown) {
  const std::wstring data = ExeDirectory() + L"plugin_bench_data\\";
  const std::wstring work = plugin.inputs() + L"\\direct";
  CreateDirectoryW(work.c_str(), nullptr);
  CreateDirectoryW((work + L"\\out").c_str(), nullptr);
  CreateDirectoryW((work + L"\\classes").c_str(), nullptr);
  std::wstring name = shown.file;
  name = name.substr(name.find_last_of(L'\\') + 1);
  CopyFileW((data + shown.file).c_str(), (work + L"\\classes\\" + name).c_str(), FALSE);
  const std::wstring folder =
      std::wstring(shown.file).substr(0, std::wstring(shown.file).size() - name.size());
  for (const wchar_t* member : shown.family) {
    CopyFileW((data + folder + member).c_str(), (work + L"\\classes\\" + member).c_str(), FALSE);
  }
  // Vineflower's own command line with the bridge's engine options, as it
  // lists the Java runtime's classes for itself.
  std::string command =
      QuotedArgument(ToUtf8(TestJava()), true) + " -Dfile.encoding=UTF-8 -jar " +
      QuotedArgument(EngineJar(Engine::Vineflower, ToUtf8(plugin.folder().directory())), true);
  for (const std::string& option : EngineOptions(Engine::Vineflower, true)) {
    command += " " + QuotedArgument(option);
  }
  command += " " + QuotedArgument(std::string("--only=") + shown.internalName) + " " +
             QuotedArgument(ToUtf8(work + L"\\classes"), true) + " " +
             QuotedArgument(ToUtf8(work + L"\\out"), true);
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

// Cold F3 without the service against the engine's plain command line.
void ColdFigures(PluginCopyFixture& plugin, int runs) {
  plugin.folder().InstallBridgeJad();
  const BenchClass classes[] = {
      {L"demo\\Showcase.class", {L"Showcase$Planet.class"}, "demo/Showcase"},
      {L"bench\\Bench1000.class", {}, "bench/Bench1000"},
  };
  printf(
      "Cold F3 (no service) against the engine's plain command line, %d interleaved runs (ms):\n",
      runs);
  printf("  %-16s %8s %10s %10s %10s %10s %8s\n", "class", "lines", "F3 med", "F3 min", "plain med",
         "plain min", "ratio");
  for (const BenchClass& shown : classes) {
    const std::wstring file = ExeDirectory() + L"plugin_bench_data\\" + shown.file;
    int lines = 0;
    // Not counted: the file cache, and the view whose training run makes the
    // class-data cache.
    EngineDirectly(plugin, shown);
    F3(plugin, file, &lines);
    WaitForTrainingRuns(plugin.folder().directory(), 120000);
    std::vector<double> plain, f3;
    for (int i = 0; i < runs; ++i) {
      plain.push_back(EngineDirectly(plugin, shown));
      f3.push_back(F3(plugin, file, &lines));
    }
    printf("  %-16ls %8d %10.0f %10.0f %10.0f %10.0f %8.3f\n",
           std::wstring(shown.file).substr(std::wstring(shown.file).find(L'\\') + 1).c_str(), lines,
           Median(f3), Minimum(f3), Median(plain), Minimum(plain), Median(f3) / Median(plain));
  }
}

// F3 through the resident service: the first view (no service), warm views of
// classes not seen before, repeat views of one seen before.
void ServiceFigures(PluginCopyFixture& plugin, int runs) {
  plugin.folder().InstallBridgeJad("service=on\r\nservice_idle_minutes=5\r\n");
  const std::wstring portFile = ServicePortFileFor(plugin.folder().directory());
  const std::wstring data = ExeDirectory() + L"plugin_bench_data\\bench\\";
  EndServices(portFile);
  int lines = 0;
  double cold = F3(plugin, data + L"Bench1000.class", &lines);
  if (NewPortFileText(portFile, "", 60000).empty()) {
    fprintf(stderr, "bridge_bench: no service started\n");
    return;
  }
  // The service's first answers, while its compiler warms up, are not counted.
  double firstWarm = F3(plugin, data + L"Bench100.class", &lines);
  F3(plugin, data + L"Bench10000.class", &lines);
  std::vector<double> unseen, repeat;
  for (int i = 1; i <= 8; ++i) {
    unseen.push_back(F3(plugin, data + L"Unseen" + std::to_wstring(i) + L".class", &lines));
  }
  for (int i = 0; i < runs; ++i) repeat.push_back(F3(plugin, data + L"Bench1000.class", &lines));
  printf("F3 with the resident service (ms):\n");
  printf("  cold, Bench1000 (the one-shot run, the service started after it): %8.0f\n", cold);
  printf("  the new service's first answer, Bench100:                       %8.0f\n", firstWarm);
  printf(
      "  warm, 1,000-line classes not seen before (%d lines shown), median / min of 8: %6.0f / "
      "%6.0f\n",
      lines, Median(unseen), Minimum(unseen));
  printf("  repeat, Bench1000 seen before, median / min of %d:             %6.0f / %6.0f\n", runs,
         Median(repeat), Minimum(repeat));
  EndServices(portFile);
}

// The second view after a cold start: StrBuilder cold (the one-shot run, a
// service started after it), then ImmutableSortedMap ten seconds later, against
// ImmutableSortedMap as a first view and again right after its cold view.
void SecondViewFigures(PluginCopyFixture& plugin, int runs) {
  plugin.folder().InstallBridgeJad("service=on\r\nservice_idle_minutes=5\r\n");
  const std::wstring portFile = ServicePortFileFor(plugin.folder().directory());
  const std::wstring data = ExeDirectory() + L"real_bench_data\\";
  const std::wstring first = data + L"StrBuilder.class",
                     second = data + L"ImmutableSortedMap.class";
  int lines = 0;
  // Not counted: the file cache and the view whose training run makes the
  // class-data cache.
  EndServices(portFile);
  F3(plugin, first, &lines);
  WaitForTrainingRuns(plugin.folder().directory(), 120000);
  F3(plugin, second, &lines);
  std::vector<double> cold, afterOther, again;
  for (int i = 0; i < runs; ++i) {
    EndServices(portFile);
    cold.push_back(F3(plugin, second, &lines));
    again.push_back(F3(plugin, second, &lines));
    EndServices(portFile);
    F3(plugin, first, &lines);
    Sleep(10000);
    afterOther.push_back(F3(plugin, second, &lines));
  }
  EndServices(portFile);
  printf("The second view (ImmutableSortedMap, %d lines shown), median / min of %d (ms):\n", lines,
         runs);
  printf("  as a first view (no service):                       %6.0f / %6.0f\n", Median(cold),
         Minimum(cold));
  printf("  10 s after a cold view of StrBuilder:                %6.0f / %6.0f  (x%.3f)\n",
         Median(afterOther), Minimum(afterOther), Median(afterOther) / Median(cold));
  printf("  again right after its own cold view:                %6.0f / %6.0f  (x%.3f)\n",
         Median(again), Minimum(again), Median(again) / Median(cold));
}

// The class-data cache, with the service on as users have it: Showcase's
// first cold view of the runtime (no cache), the next cold view once the
// training run after it has ended, a later cold view (services ended in
// between), then warm (a class not seen before) and repeat.
void CacheFigures(PluginCopyFixture& plugin, int runs) {
  plugin.folder().InstallBridgeJad("service=on\r\nservice_idle_minutes=5\r\n");
  const std::wstring portFile = ServicePortFileFor(plugin.folder().directory());
  const std::wstring data = ExeDirectory() + L"plugin_bench_data\\";
  const std::wstring shown = data + L"demo\\Showcase.class";
  int lines = 0;
  F3(plugin, shown, &lines);  // not counted: the file cache
  std::vector<double> first, next, later, warm, repeat;
  for (int i = 0; i < runs; ++i) {
    EndServices(portFile);
    EndTrainingRuns(plugin.folder().directory());
    RemoveCaches();
    first.push_back(F3(plugin, shown, &lines));
    WaitForTrainingRuns(plugin.folder().directory(), 120000);
    EndServices(portFile);
    next.push_back(F3(plugin, shown, &lines));
    EndServices(portFile);
    later.push_back(F3(plugin, shown, &lines));
    if (NewPortFileText(portFile, "", 60000).empty()) continue;
    warm.push_back(
        F3(plugin, data + L"bench\\Unseen" + std::to_wstring(i % 8 + 1) + L".class", &lines));
    repeat.push_back(F3(plugin, shown, &lines));
  }
  EndServices(portFile);
  printf("The class-data cache, Showcase, median / min of %d (ms):\n", runs);
  printf("  first cold view (no cache):                         %6.0f / %6.0f  (x%.3f of later)\n",
         Median(first), Minimum(first), Median(first) / Median(later));
  printf("  next cold view (the new cache checked and mapped):  %6.0f / %6.0f\n", Median(next),
         Minimum(next));
  printf("  later cold view:                                    %6.0f / %6.0f\n", Median(later),
         Minimum(later));
  if (!warm.empty()) {
    printf("  the new service's first answer (a 1,000-line class): %6.0f / %6.0f\n", Median(warm),
           Minimum(warm));
    printf("  repeat:                                             %6.0f / %6.0f\n", Median(repeat),
           Minimum(repeat));
  }
}

// A view as the host sees it: how long ListLoadW held its thread, and how
// long until the source was shown (the timing line in place), messages
// handled meanwhile as the Lister does.
struct HostView {
  double held = 0;
  double shown = 0;
};

HostView ViewAsHost(PluginCopyFixture& plugin, const std::wstring& classFile,
                    HWND* keep = nullptr) {
  HostView view;
  double start = NowMs();
  HWND window = plugin.listLoadW(plugin.lister(), const_cast<WCHAR*>(classFile.c_str()), 0);
  view.held = NowMs() - start;
  while (window != nullptr && WindowText(window).find("// Jad: ") == std::string::npos &&
         NowMs() - start < 120000) {
    PumpMessages();
    Sleep(5);
  }
  view.shown = NowMs() - start;
  if (keep != nullptr) {
    *keep = window;
  } else if (window != nullptr) {
    plugin.listCloseWindow(window);
    PumpMessages();
  }
  return view;
}

void HostFigures(PluginCopyFixture& plugin, int runs) {
  const std::wstring data = ExeDirectory() + L"plugin_bench_data\\";
  const std::wstring shown = data + L"demo\\Showcase.class";
  const std::wstring portFile = ServicePortFileFor(plugin.folder().directory());
  const struct {
    const char* name;
    const wchar_t* wait;
  } modes[] = {{"before (the host waits for the whole run)", L"600000"},
               {"now (a 250 ms wait)", L"250"}};
  printf(
      "The host's thread: ListLoadW held it / the source shown after, median (max) of %d (ms):\n",
      runs);
  for (const auto& mode : modes) {
    SetEnvironmentVariableW(L"DRAVIK_LOAD_WAIT_MS", mode.wait);
    plugin.folder().InstallBridgeJad("service=on\r\nservice_idle_minutes=5\r\n");
    std::vector<double> coldHeld, coldShown, warmHeld, warmShown, repeatHeld, repeatShown;
    for (int i = 0; i < runs; ++i) {
      EndServices(portFile);
      HostView cold = ViewAsHost(plugin, shown);
      coldHeld.push_back(cold.held);
      coldShown.push_back(cold.shown);
      if (NewPortFileText(portFile, "", 60000).empty()) continue;
      // Warm: the new service has answered two other classes first.
      for (int k = 1; k <= 2; ++k) {
        ViewAsHost(plugin, data + L"bench\\Unseen" + std::to_wstring(k) + L".class");
      }
      HostView warm = ViewAsHost(plugin, data + L"bench\\Unseen3.class");
      warmHeld.push_back(warm.held);
      warmShown.push_back(warm.shown);
      HostView repeat = ViewAsHost(plugin, shown);
      repeatHeld.push_back(repeat.held);
      repeatShown.push_back(repeat.shown);
    }
    EndServices(portFile);
    auto row = [](const char* what, const std::vector<double>& held,
                  const std::vector<double>& shown) {
      if (held.empty()) return;
      printf("    %-28s held %6.0f (%6.0f)   shown %6.0f (%6.0f)\n", what, Median(held),
             *std::max_element(held.begin(), held.end()), Median(shown),
             *std::max_element(shown.begin(), shown.end()));
    };
    printf("  %s:\n", mode.name);
    row("cold Showcase", coldHeld, coldShown);
    row("warm, a class not seen", warmHeld, warmShown);
    row("repeat Showcase", repeatHeld, repeatShown);

    // A decompiler that never ends until the bridge's time limit (5 s here).
    const std::string token = "dravik-bench-sleeper";
    plugin.folder().InstallBridgeJad("timeout=5\r\ndecompiler=\"{java}\" -cp \"" +
                                     ToUtf8(ExeDirectory()) + "bridge_data\" Sleeper " + token +
                                     "\r\n");
    HostView hung = ViewAsHost(plugin, shown);
    printf("    %-28s held %6.0f            shown %6.0f (its comment)\n", "hung, 5 s limit",
           hung.held, hung.shown);

    // Quick View: ten files, each loaded as the last one closes, no service.
    plugin.folder().InstallBridgeJad();
    double longest = 0, total = 0;
    HWND window = nullptr;
    double start = NowMs();
    for (int step = 0; step < 10; ++step) {
      const std::wstring file =
          step < 7 ? data + L"bench\\Unseen" + std::to_wstring(step + 1) + L".class"
                   : data + (step == 7   ? L"bench\\Bench100.class"
                             : step == 8 ? L"bench\\Bench1000.class"
                                         : L"demo\\Showcase.class");
      double stepStart = NowMs();
      if (window != nullptr) plugin.listCloseWindow(window);
      window = plugin.listLoadW(plugin.lister(), const_cast<WCHAR*>(file.c_str()), 0);
      double held = NowMs() - stepStart;
      longest = std::max(longest, held);
      total += held;
      PumpMessages();
    }
    while (window != nullptr && WindowText(window).find("// Jad: ") == std::string::npos &&
           NowMs() - start < 120000) {
      PumpMessages();
      Sleep(5);
    }
    double last = NowMs() - start;
    if (window != nullptr) plugin.listCloseWindow(window);
    PumpMessages();
    printf("    %-28s held %6.0f longest, %6.0f in all; the last one's source after %6.0f\n",
           "ten Quick View steps", longest, total, last);
    WaitForTrainingRuns(plugin.folder().directory(), 120000);
  }
  SetEnvironmentVariableW(L"DRAVIK_LOAD_WAIT_MS", L"120000");
}

// The processor time of the service's Linux java so far, in ms (utime and
// stime of its /proc stat, in ticks of 10 ms); -1 without one.
double ServiceCpuMs(const std::wstring& portFile) {
  const std::vector<std::wstring> services = ServiceProcesses(portFile);
  if (services.empty()) return -1;
  std::string stat = ReadFileBytes(L"Z:\\proc\\" + services[0] + L"\\stat");
  size_t at = stat.rfind(')');
  if (at == std::string::npos) return -1;
  // After the name: state is field 3; utime and stime are fields 14 and 15.
  std::vector<std::string> fields;
  for (size_t i = at + 2; i < stat.size();) {
    size_t end = stat.find(' ', i);
    fields.push_back(stat.substr(i, end - i));
    if (end == std::string::npos) break;
    i = end + 1;
  }
  if (fields.size() < 13) return -1;
  return (atof(fields[11].c_str()) + atof(fields[12].c_str())) * 10;
}

// Waits until the service has used no processor time for two seconds (at
// most two minutes); its processor time then.
double ServiceCpuWhenQuiet(const std::wstring& portFile) {
  double cpu = ServiceCpuMs(portFile);
  for (double start = NowMs(), still = NowMs(); NowMs() - start < 120000; Sleep(250)) {
    double now = ServiceCpuMs(portFile);
    if (now != cpu) {
      cpu = now;
      still = NowMs();
    } else if (NowMs() - still >= 2000) {
      break;
    }
  }
  return cpu;
}

void StormFigures(PluginCopyFixture& plugin, int runs) {
  SetEnvironmentVariableW(L"DRAVIK_LOAD_WAIT_MS", L"250");
  plugin.folder().InstallBridgeJad("service=on\r\nservice_idle_minutes=5\r\n");
  const std::wstring portFile = ServicePortFileFor(plugin.folder().directory());
  const std::wstring data = ExeDirectory() + L"storm_data\\";
  const std::wstring kept = data + L"ImmutableSortedMap.class";
  std::vector<std::wstring> classes;
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((data + L"*.class").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = found.cFileName;
      if (name.find(L'$') == std::wstring::npos && name != L"ImmutableSortedMap.class") {
        classes.push_back(data + name);
      }
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  if (classes.size() < 3) {
    printf("storm: no classes in %s\n", ToUtf8(data).c_str());
    return;
  }
  // A new service, warmed by two views of other classes (not the storm's).
  auto warmService = [&] {
    EndServices(portFile);
    ViewAsHost(plugin, classes[0]);
    NewPortFileText(portFile, "", 60000);
    ViewAsHost(plugin, classes[1]);
  };
  std::vector<double> alone, afterStorm, keptCpu, stormCpu, leftCpu;
  for (int i = 0; i < runs; ++i) {
    warmService();
    double before = ServiceCpuWhenQuiet(portFile);
    alone.push_back(ViewAsHost(plugin, kept).shown);
    keptCpu.push_back(ServiceCpuWhenQuiet(portFile) - before);

    warmService();
    before = ServiceCpuWhenQuiet(portFile);
    unsigned seed = 44;
    for (int load = 0; load < 200; ++load) {
      seed = seed * 1103515245u + 12345u;
      const double apart = static_cast<double>((seed >> 16) % 301);
      const std::wstring& file = classes[2 + load % (classes.size() - 2)];
      HWND window = plugin.listLoadW(plugin.lister(), const_cast<WCHAR*>(file.c_str()), 0);
      for (double start = NowMs(); NowMs() - start < apart; Sleep(5)) PumpMessages();
      if (window != nullptr) plugin.listCloseWindow(window);
      PumpMessages();
    }
    const double stormEnd = ServiceCpuMs(portFile);
    afterStorm.push_back(ViewAsHost(plugin, kept).shown);
    stormCpu.push_back(stormEnd - before);
    leftCpu.push_back(ServiceCpuWhenQuiet(portFile) - stormEnd - keptCpu.back());
  }
  EndServices(portFile);
  SetEnvironmentVariableW(L"DRAVIK_LOAD_WAIT_MS", L"120000");
  printf("A Quick View storm (200 of guava's collect classes, 0 to 300 ms apart), median of %d:\n",
         runs);
  printf("  ImmutableSortedMap, load to source: alone %.0f ms, after the storm %.0f ms (x%.3f)\n",
         Median(alone), Median(afterStorm), Median(afterStorm) / Median(alone));
  printf(
      "  the service's processor time during the storm %.0f ms, and after its last view "
      "closed, but the kept class's own (%.0f ms), %.0f ms\n",
      Median(stormCpu), Median(keptCpu), Median(leftCpu));
}

// The host's thread for a cold view with the plugin's own wait (no
// DRAVIK_LOAD_WAIT_MS): real classes whose source takes longer than the wait,
// each a first view (no service), so the window comes with the outline.
void HoldFigures(PluginCopyFixture& plugin, int runs) {
  SetEnvironmentVariableW(L"DRAVIK_LOAD_WAIT_MS", nullptr);
  plugin.folder().InstallBridgeJad();
  const std::wstring data = ExeDirectory() + L"real_bench_data\\";
  printf(
      "The host's thread, a cold view with the plugin's own wait: ListLoadW held it / the "
      "source shown after, median (max) of %d (ms):\n",
      runs);
  for (const wchar_t* name : {L"ImmutableSortedMap", L"Maps", L"StrBuilder"}) {
    std::vector<double> held, shown;
    for (int i = 0; i < runs; ++i) {
      HostView view = ViewAsHost(plugin, data + name + L".class");
      held.push_back(view.held);
      shown.push_back(view.shown);
    }
    printf("  %-20ls held %6.0f (%6.0f)   shown %6.0f (%6.0f)\n", name, Median(held),
           *std::max_element(held.begin(), held.end()), Median(shown),
           *std::max_element(shown.begin(), shown.end()));
  }
  WaitForTrainingRuns(plugin.folder().directory(), 120000);
  SetEnvironmentVariableW(L"DRAVIK_LOAD_WAIT_MS", L"120000");
}

// The bytecode view of large classes against a warm decompile of the same
// (the service warmed on other classes first, each class new to it).
void BytecodeFigures(PluginCopyFixture& plugin, int runs) {
  plugin.folder().InstallBridgeJad("service=on\r\nservice_idle_minutes=5\r\n");
  const std::wstring portFile = ServicePortFileFor(plugin.folder().directory());
  const std::wstring data = ExeDirectory() + L"real_bench_data\\";
  const std::wstring unseen = ExeDirectory() + L"plugin_bench_data\\bench\\Unseen";
  printf("The bytecode view against a warm decompile, median / min of %d (ms):\n", runs);
  for (const wchar_t* name : {L"StrBuilder", L"Maps", L"PublicSuffixPatterns"}) {
    std::vector<double> warm, bytecode, back;
    int lines = 0, bytecodeLines = 0;
    for (int i = 0; i < runs; ++i) {
      EndServices(portFile);
      ViewAsHost(plugin, unseen + L"1.class");
      if (NewPortFileText(portFile, "", 60000).empty()) continue;
      for (int k = 2; k <= 4; ++k) ViewAsHost(plugin, unseen + std::to_wstring(k) + L".class");
      HWND window = nullptr;
      warm.push_back(ViewAsHost(plugin, data + name + L".class", &window).shown);
      if (window == nullptr) continue;
      lines = static_cast<int>(SendMessageW(window, EM_GETLINECOUNT, 0, 0));
      double start = NowMs();
      SendMessageW(window, WM_COMMAND, 0x7D02, 0);  // the context menu's "Bytecode"
      bytecode.push_back(NowMs() - start);
      bytecodeLines = static_cast<int>(SendMessageW(window, EM_GETLINECOUNT, 0, 0));
      start = NowMs();
      SendMessageW(window, WM_COMMAND, 0x7D01, 0);  // and "Java source"
      back.push_back(NowMs() - start);
      plugin.listCloseWindow(window);
      PumpMessages();
    }
    if (warm.empty() || bytecode.empty()) continue;
    printf(
        "  %-22ls warm decompile %6.0f / %6.0f (%d lines)   bytecode view %6.0f / %6.0f (%d lines)"
        "   back to the source %6.0f / %6.0f\n",
        name, Median(warm), Minimum(warm), lines, Median(bytecode), Minimum(bytecode),
        bytecodeLines, Median(back), Minimum(back));
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
  double committedBefore = CommittedMegabytes();
  const std::string only = argc > 2 ? argv[2] : "";
  if (only.empty()) {
    ColdFigures(plugin, runs);
    ServiceFigures(plugin, runs);
  }
  if (only.empty() || only == "second") SecondViewFigures(plugin, runs);
  if (only.empty() || only == "cache") CacheFigures(plugin, runs);
  if (only.empty() || only == "host") HostFigures(plugin, runs);
  if (only.empty() || only == "hold") HoldFigures(plugin, runs);
  if (only.empty() || only == "bytecode") BytecodeFigures(plugin, runs);
  if (only == "storm") StormFigures(plugin, runs);
  printf("committed memory of the host: %.1f MB before the runs, %.1f MB after\n", committedBefore,
         CommittedMegabytes());
  return 0;
}
