// The bridge with its resident decompile service, jad.exe run directly as the
// plugin runs it: the first class goes through the one-shot run and leaves a
// service behind, the next through the service with the same bytes; a service
// that is gone (killed, or a port file nobody listens at) means the one-shot
// run again and a new service. Every service here is killed at the end.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "standins/wine/under_wine.h"
#include "tests/windows/bridge/service_processes.h"
#include "tests/windows/decompile/plugin_folder.h"
#include "tests/windows/test_support.h"

namespace {

// Runs a program and waits for it; its exit code, or 999.
DWORD RunProgram(std::wstring line, const std::wstring& directory) {
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                      directory.empty() ? nullptr : directory.c_str(), &startup, &process)) {
    return 999;
  }
  DWORD code = 999;
  WaitForSingleObject(process.hProcess, 120000);
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  return code;
}

class BridgeServiceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!RunningUnderWine()) GTEST_SKIP() << "the stand-in java.exe hands over to Linux: Wine only";
    ASSERT_TRUE(folder_.loaded());
    SetEnvironmentVariableW(L"JAVA_HOME", nullptr);
    // Short-lived services, so that one a test fails to kill ends by itself.
    folder_.InstallBridgeJad("service=on\r\nservice_idle_minutes=0.5\r\n");
    portFile_ = ServicePortFileFor(folder_.directory());
    work_ = folder_.Path(L"work");
    CreateDirectoryW(work_.c_str(), nullptr);
    CopyFileW((ExeDirectory() + L"bridge_data\\demo\\Modern.class").c_str(),
              (work_ + L"\\Modern.class").c_str(), FALSE);
  }
  void TearDown() override {
    EndServices(portFile_);
    RemoveTree(work_);
  }

  // jad.exe as the plugin runs it; the source it wrote, "" for none.
  std::string Jad() {
    exitCode_ = RunProgram(L"\"" + folder_.Path(L"jad.exe") + L"\" -lnc -o -s java Modern", work_);
    std::string source = ReadFileBytes(work_ + L"\\Modern.java");
    DeleteFileW((work_ + L"\\Modern.java").c_str());
    return source;
  }

  std::string NewPortFile(const std::string& previous) {
    return NewPortFileText(portFile_, previous, 60000);
  }
  std::vector<std::wstring> Services() { return ServiceProcesses(portFile_); }
  // Killed: its port file stays behind, and nobody listens at it.
  void KillServices() {
    std::string text = ReadFileBytes(portFile_);
    EndServices(portFile_);
    WriteFileBytes(portFile_, text);
  }

  PluginFolder folder_;
  std::wstring portFile_, work_;
  DWORD exitCode_ = 999;
};

TEST_F(BridgeServiceTest, TheFirstClassStartsTheServiceAndTheNextGoesThroughItByteForByte) {
  const std::string oneShot = Jad();
  ASSERT_EQ(exitCode_, 0u);
  ASSERT_NE(oneShot.find("record Modern("), std::string::npos) << oneShot;
  ASSERT_NE(NewPortFile(""), "");
  EXPECT_EQ(Services().size(), 1u);

  // A java.exe that cannot start, on a runtime that says it is Java 17: the
  // one-shot run cannot work, so what comes now comes from the service.
  const std::wstring broken = work_ + L"\\broken-jdk";
  CreateDirectoryW(broken.c_str(), nullptr);
  CreateDirectoryW((broken + L"\\bin").c_str(), nullptr);
  WriteFileBytes(broken + L"\\bin\\java.exe", "no program");
  WriteFileBytes(broken + L"\\release", "JAVA_VERSION=\"17.0.15\"\n");
  folder_.InstallBridgeJad("service=on\r\nservice_idle_minutes=0.5\r\njava=" + ToUtf8(broken) +
                           "\\bin\\java.exe\r\n");
  for (int view = 0; view < 2; ++view) {
    EXPECT_EQ(Jad(), oneShot);
    EXPECT_EQ(exitCode_, 0u);
  }
  EXPECT_EQ(Services().size(), 1u);
}

TEST_F(BridgeServiceTest, AServiceThatIsGoneMeansTheOneShotRunAndANewService) {
  const std::string oneShot = Jad();
  ASSERT_EQ(exitCode_, 0u);
  std::string portText = NewPortFile("");
  ASSERT_NE(portText, "");

  KillServices();
  EXPECT_EQ(Jad(), oneShot);
  EXPECT_EQ(exitCode_, 0u);
  portText = NewPortFile(portText);
  EXPECT_NE(portText, "");
  EXPECT_EQ(Services().size(), 1u);

  // A port file naming a port nobody listens at, as a crashed system leaves it.
  EndServices(portFile_);
  WriteFileBytes(portFile_, "1 00ff00ff00ff00ff00ff00ff00ff00ff\n");
  EXPECT_EQ(Jad(), oneShot);
  EXPECT_EQ(exitCode_, 0u);
  EXPECT_NE(NewPortFile("1 00ff00ff00ff00ff00ff00ff00ff00ff\n"), "");
  EXPECT_EQ(Services().size(), 1u);
}

TEST_F(BridgeServiceTest, TheServiceEndsAfterItsIdleMinutesAndRemovesItsPortFile) {
  folder_.InstallBridgeJad("service=on\r\nservice_idle_minutes=0.05\r\n");
  Jad();
  ASSERT_EQ(exitCode_, 0u);
  ASSERT_NE(NewPortFile(""), "");
  DWORD start = GetTickCount();
  while (!Services().empty() && GetTickCount() - start < 60000) Sleep(250);
  EXPECT_TRUE(Services().empty());
  EXPECT_FALSE(FileExists(portFile_));
}

}  // namespace
