// The host's import hooks, put into the probe plugin: hooked calls answer as
// the script says and are logged; what is not hooked is untouched.
#include "standins/lister/host_hooks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "standins/lister/host_log.h"
#include "tests/windows/test_support.h"

namespace {

bool Logged(const std::string& line) {
  std::vector<std::string> lines = KeptLogLines();
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

class HostHooksTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    KeepLogLines();
    probe_ = LoadLibraryW((ExeDirectory() + L"lister_probe.wlx64").c_str());
    ASSERT_NE(probe_, nullptr);
    InstallHostHooks(probe_);
  }
  static void TearDownTestSuite() {
    SetScriptedClock(false, 0);
    SetReportedPlatform(-1);
    FreeLibrary(probe_);
  }
  template <typename T>
  T Export(const char* name) {
    return reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(probe_, name)));
  }
  static HMODULE probe_;
};
HMODULE HostHooksTest::probe_ = nullptr;

TEST_F(HostHooksTest, EveryHookThePluginImportsIsInstalled) {
  for (const char* name : {"GetTickCount", "GetVersionExA", "CreateProcessW", "PrintDlgA",
                           "StartDocA", "EndPage", "EndDoc", "DeleteDC", "GetDeviceCaps"}) {
    EXPECT_TRUE(Logged(std::string("hook ") + name + " installed")) << name;
  }
}

TEST_F(HostHooksTest, TheClockAnswersTheScriptOnlyInThePlugin) {
  auto tick = Export<DWORD (*)()>("ProbeTickCount");
  ASSERT_NE(tick, nullptr);
  SetScriptedClock(true, 0xFFFFFF00u);
  EXPECT_EQ(tick(), 0xFFFFFF00u);
  AdvanceScriptedClock(0x200);  // wraps, as the real counter does
  EXPECT_EQ(tick(), 0x100u);
  EXPECT_TRUE(Logged("hook GetTickCount -> 256"));
  EXPECT_NE(GetTickCount(), 0x100u);  // the test's own import is not hooked

  // Readings in turn, then the last one, moved on by the step after each call.
  SetScriptedClock(true, 7);
  SetScriptedClockReadings({10, 20, 30});
  SetScriptedClockStep(5);
  EXPECT_EQ(tick(), 10u);
  EXPECT_EQ(tick(), 20u);
  EXPECT_EQ(tick(), 30u);
  EXPECT_EQ(tick(), 35u);
  EXPECT_EQ(tick(), 40u);

  SetScriptedClock(false, 0);
  DWORD before = GetTickCount();
  DWORD real = tick();
  EXPECT_LE(real - before, 10000u);
}

TEST_F(HostHooksTest, ThePlatformIsReportedAsAskedAndTheRestIsUntouched) {
  auto platform = Export<DWORD (*)()>("ProbePlatform");
  auto process_id = Export<DWORD (*)()>("ProbeProcessId");
  SetReportedPlatform(VER_PLATFORM_WIN32_WINDOWS);
  EXPECT_EQ(platform(), static_cast<DWORD>(VER_PLATFORM_WIN32_WINDOWS));
  SetReportedPlatform(-1);
  EXPECT_EQ(platform(), static_cast<DWORD>(VER_PLATFORM_WIN32_NT));
  EXPECT_EQ(process_id(), GetCurrentProcessId());
}

TEST_F(HostHooksTest, CreateProcessIsRecordedAndStillRuns) {
  auto run = Export<int (*)(const wchar_t*)>("ProbeRunProcess");
  EXPECT_EQ(run(L"cmd.exe /c exit 7"), 7);
  wchar_t folder[MAX_PATH];
  GetWindowsDirectoryW(folder, MAX_PATH);
  EXPECT_TRUE(Logged("hook CreateProcessW \"cmd.exe /c exit 7\" " + Quoted(folder) + " -> 1"));
}

}  // namespace
