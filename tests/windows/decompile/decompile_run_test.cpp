// The decompiler run in a temporary plugin folder, with the fake Jad (or the
// bridge with its engines) beside the plugin and the clock scripted through the test's
// own import of GetTickCount.
#include "decompile/decompile_run.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <string.h>

#include <memory>
#include <string>
#include <vector>

#include "decompile/long_path.h"
#include "host/module_state.h"
#include "standins/hooks/import_hooks.h"
#include "tests/windows/decompile/plugin_folder.h"
#include "tests/windows/test_support.h"

namespace {

DWORD g_tick = 86400123;
DWORD WINAPI ScriptedTickCount() { return g_tick; }

// Every process start the run asks for, as the run passed it.
struct StartRecord {
  bool applicationNameNull;
  std::wstring commandLine;
  BOOL inheritHandles;
  DWORD flags;
  bool environmentNull;
  std::wstring currentDirectory;
  bool startupZeroButSize;
  DWORD processId;  // 0 when it did not start
};
std::vector<StartRecord> g_starts;
decltype(&CreateProcessW) g_realCreateProcess = nullptr;

BOOL WINAPI RecordCreateProcess(LPCWSTR application, LPWSTR commandLine,
                                LPSECURITY_ATTRIBUTES processAttributes,
                                LPSECURITY_ATTRIBUTES threadAttributes, BOOL inherit, DWORD flags,
                                LPVOID environment, LPCWSTR directory, LPSTARTUPINFOW startup,
                                LPPROCESS_INFORMATION process) {
  STARTUPINFOW zero = {};
  zero.cb = sizeof zero;  // 104 bytes, 68 in the 32-bit build (record_sizes_test.cpp)
  g_starts.push_back({application == nullptr, commandLine ? commandLine : L"", inherit, flags,
                      environment == nullptr, directory ? directory : L"",
                      memcmp(startup, &zero, sizeof zero) == 0 && processAttributes == nullptr &&
                          threadAttributes == nullptr,
                      0});
  BOOL started = g_realCreateProcess(application, commandLine, processAttributes, threadAttributes,
                                     inherit, flags, environment, directory, startup, process);
  if (started) g_starts.back().processId = process->dwProcessId;
  return started;
}

struct FreeText {
  void operator()(char* text) const { free(text); }
};
using Text = std::unique_ptr<char, FreeText>;

class DecompileRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder_.loaded());
    ASSERT_TRUE(tickHook_.installed());
    ASSERT_TRUE(startHook_.installed());
    g_realCreateProcess = startHook_.original<decltype(&CreateProcessW)>();
    g_tick = 86400123;
    g_starts.clear();
    DecompileWaitLimitMs = 60 * 1000;
  }
  void TearDown() override {
    // Whatever happened, the temporary copy is gone.
    EXPECT_FALSE(FileExists(folder_.Path(std::wstring(DecompileStamp) + L".class")));
  }

  Text Run(const std::wstring& classFile = DataFile(L"sample\\Greeter.class")) {
    return Text(DecompileClassFile(classFile.c_str()));
  }

  PluginFolder folder_;
  ScopedImportHook tickHook_{GetModuleHandleW(nullptr), "kernel32.dll", "GetTickCount",
                             reinterpret_cast<void*>(&ScriptedTickCount)};
  ScopedImportHook startHook_{GetModuleHandleW(nullptr), "kernel32.dll", "CreateProcessW",
                              reinterpret_cast<void*>(&RecordCreateProcess)};
};

TEST_F(DecompileRunTest, JadBesideThePluginIsStartedByFullPathWithTheStampedNames) {
  folder_.InstallFakeJad("write");
  const std::string dir = ToUtf8(folder_.directory());
  const struct {
    DWORD tick;
    const char* stamp;
  } cases[] = {{86400123, "86400123"}, {0x80000000u, "-2147483648"}, {0xFFFFFFFFu, "-1"}};
  std::string expectedLog;
  for (const auto& c : cases) {
    g_tick = c.tick;
    Text text = Run();
    EXPECT_STREQ(DecompileStamp, std::wstring(c.stamp, c.stamp + strlen(c.stamp)).c_str());
    ASSERT_NE(text, nullptr) << c.stamp;
    EXPECT_STREQ(text.get(), "class Greeter {}\r\n");
    EXPECT_TRUE(folder_.ExtraFiles().empty()) << c.stamp;
    expectedLog += "\"" + dir + "\\jad\" -lnc -o -s \"" + c.stamp + ".java\" \"" + c.stamp +
                   "\"\n" + dir + "\n";
  }
  // The command line as the decompiler itself received it, and where it ran.
  EXPECT_EQ(folder_.FakeJadLog(), expectedLog);
  ASSERT_EQ(g_starts.size(), 3u);
  for (const StartRecord& start : g_starts) {
    EXPECT_TRUE(start.applicationNameNull);
    EXPECT_FALSE(start.inheritHandles);
    EXPECT_EQ(start.flags, static_cast<DWORD>(CREATE_NO_WINDOW));
    EXPECT_TRUE(start.environmentNull);
    EXPECT_EQ(start.currentDirectory, folder_.directory());
    EXPECT_TRUE(start.startupZeroButSize);
  }
  EXPECT_EQ(g_starts[0].commandLine,
            L"\"" + folder_.directory() + L"\\jad\" -lnc -o -s \"86400123.java\" \"86400123\"");
}

TEST_F(DecompileRunTest, WithoutJadBesideThePluginTheBareNameIsLeftToTheProgramSearch) {
  // Nothing named jad.exe is anywhere the search looks, so nothing starts.
  Text text = Run();
  EXPECT_EQ(text, nullptr);
  ASSERT_EQ(g_starts.size(), 1u);
  EXPECT_EQ(g_starts[0].commandLine, L"\"jad\" -lnc -o -s \"86400123.java\" \"86400123\"");
  EXPECT_EQ(g_starts[0].commandLine.size(), 43u);
  EXPECT_EQ(g_starts[0].currentDirectory, folder_.directory());
  EXPECT_TRUE(folder_.ExtraFiles().empty());
}

TEST_F(DecompileRunTest, OutputBecomesTextOnlyWhenWrittenAndFreeOfZeroBytes) {
  folder_.InstallFakeJad("write");
  const struct {
    const char* mode;
    const char* expected;  // null: no text
  } cases[] = {
      {"write", "class Greeter {}\r\n"},
      {"empty", ""},
      {"nul", nullptr},
      {"nothing", nullptr},
      {"fail", nullptr},
      {"quick", nullptr},
  };
  for (const auto& c : cases) {
    folder_.SetFakeJadMode(c.mode);
    ++g_tick;
    Text text = Run();
    if (c.expected == nullptr) {
      EXPECT_EQ(text, nullptr) << c.mode;
    } else {
      ASSERT_NE(text, nullptr) << c.mode;
      EXPECT_STREQ(text.get(), c.expected) << c.mode;
    }
    // Output read or not, it is deleted with the copy.
    EXPECT_TRUE(folder_.ExtraFiles().empty()) << c.mode;
  }
}

TEST_F(DecompileRunTest, OfTwoOutputsOnlyTheFirstFoundIsReadAndDeleted) {
  folder_.InstallFakeJad("two");
  Text text = Run();
  ASSERT_NE(text, nullptr);
  std::set<std::wstring> left = folder_.ExtraFiles();
  ASSERT_EQ(left.size(), 1u);
  // Which one the search returns first is the file system's choice.
  if (*left.begin() == L"Greeter.86400123.java") {
    EXPECT_STREQ(text.get(), "class GreeterTwin {}\r\n");
  } else {
    EXPECT_EQ(*left.begin(), L"GreeterTwin.86400123.java");
    EXPECT_STREQ(text.get(), "class Greeter {}\r\n");
  }
}

TEST_F(DecompileRunTest, AFileWithTheCopysNameIsOverwrittenAndThenDeleted) {
  folder_.InstallFakeJad("write");
  WriteFileBytes(folder_.Path(L"86400123.class"), "not a class file");
  Text text = Run();
  ASSERT_NE(text, nullptr);
  EXPECT_STREQ(text.get(), "class Greeter {}\r\n");
  EXPECT_TRUE(folder_.ExtraFiles().empty());
}

TEST_F(DecompileRunTest, AClassFileBeyondTheClassicPathLimitIsCopied) {
  folder_.InstallFakeJad("write");
  std::wstring deep = folder_.directory();
  for (int i = 0; i < 3; ++i) {
    deep += L"\\" + std::wstring(100, static_cast<wchar_t>(L'a' + i));
    ASSERT_TRUE(LongPathCreateDirectory(deep.c_str(), nullptr));
  }
  std::wstring classFile = deep + L"\\Greeter.class";
  ASSERT_GT(classFile.size(), 300u);
  ASSERT_TRUE(
      LongPathCopyFile(DataFile(L"sample\\Greeter.class").c_str(), classFile.c_str(), FALSE));
  Text text = Run(classFile);
  ASSERT_NE(text, nullptr);
  EXPECT_STREQ(text.get(), "class Greeter {}\r\n");
  EXPECT_EQ(folder_.ExtraFiles(), std::set<std::wstring>{std::wstring(100, L'a')});
}

TEST_F(DecompileRunTest, ACopyThatCannotBeMadeLeavesJadWithoutInput) {
  // The copy's name taken by a folder: nothing can be written under it, as in
  // a plugin folder without write access.
  folder_.InstallFakeJad("write");
  ASSERT_TRUE(CreateDirectoryW(folder_.Path(L"86400123.class").c_str(), nullptr));
  EXPECT_EQ(Run(), nullptr);
  EXPECT_EQ(g_starts.size(), 1u);
  EXPECT_EQ(folder_.ExtraFiles(), std::set<std::wstring>{L"86400123.class"});
  RemoveDirectoryW(folder_.Path(L"86400123.class").c_str());
}

TEST_F(DecompileRunTest, AMissingClassFileGivesNoText) {
  folder_.InstallFakeJad("write");
  EXPECT_EQ(Run(folder_.Path(L"Missing.class")), nullptr);
  EXPECT_EQ(g_starts.size(), 1u);
  EXPECT_TRUE(folder_.ExtraFiles().empty());
}

TEST_F(DecompileRunTest, AnOutputWhoseFullNameWouldNotFitIsNeitherReadNorDeleted) {
  // A cut name could open or delete another file, so the run leaves it alone.
  folder_.InstallFakeJad("long");
  EXPECT_EQ(Run(), nullptr);
  std::set<std::wstring> left = folder_.ExtraFiles();
  ASSERT_EQ(left.size(), 1u);
  EXPECT_GT(folder_.Path(*left.begin()).size(), 259u);
}

TEST_F(DecompileRunTest, AJadThatNeverEndsIsEndedAtTheWaitLimitWithEverythingItWrote) {
  // The fake writes its output and then waits for ever.
  folder_.InstallFakeJad("hang");
  DecompileWaitLimitMs = 1500;
  EXPECT_EQ(Run(), nullptr);
  ASSERT_EQ(g_starts.size(), 1u);
  HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, g_starts[0].processId);
  EXPECT_TRUE(process == nullptr || WaitForSingleObject(process, 0) == WAIT_OBJECT_0);
  if (process != nullptr) CloseHandle(process);
  EXPECT_TRUE(folder_.ExtraFiles().empty());
}

TEST_F(DecompileRunTest, TheBridgeDecompilesARealClass) {
  if (!RunningUnderWine()) GTEST_SKIP() << "the bridge starts a Unix program: Wine only";
  folder_.InstallBridgeJad();
  Text text = Run();
  ASSERT_NE(text, nullptr);
  std::string source = text.get();
  EXPECT_NE(source.find("package sample;"), std::string::npos) << source;
  EXPECT_NE(source.find("public class Greeter"), std::string::npos) << source;
  EXPECT_NE(source.find("public String greet(final int"), std::string::npos) << source;
  EXPECT_NE(source.find("\"Hello, \""), std::string::npos) << source;
  EXPECT_TRUE(folder_.ExtraFiles().empty());
}

// The run when the plugin's own path is no use: nothing is copied, started,
// searched or deleted.
struct ModulePathScript {
  const wchar_t* path;  // what the call writes (cut to the buffer's size)
  DWORD result;
};
ModulePathScript g_modulePath;
int g_fileCalls = 0;

DWORD WINAPI ScriptedModuleFileName(HMODULE, LPWSTR buffer, DWORD size) {
  if (g_modulePath.path != nullptr) lstrcpynW(buffer, g_modulePath.path, size);
  return g_modulePath.result;
}
BOOL WINAPI CountCopy(LPCWSTR, LPCWSTR, BOOL) { return ++g_fileCalls, FALSE; }
BOOL WINAPI CountDelete(LPCWSTR) { return ++g_fileCalls, FALSE; }
HANDLE WINAPI CountFind(LPCWSTR, LPWIN32_FIND_DATAW) { return ++g_fileCalls, INVALID_HANDLE_VALUE; }
HANDLE WINAPI CountCreate(LPCWSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE) {
  return ++g_fileCalls, INVALID_HANDLE_VALUE;
}

TEST_F(DecompileRunTest, APluginPathThatCannotBeHadWholeOrComposedStopsTheRunAtOnce) {
  HMODULE self = GetModuleHandleW(nullptr);
  ScopedImportHook moduleName(self, "kernel32.dll", "GetModuleFileNameW",
                              reinterpret_cast<void*>(&ScriptedModuleFileName));
  ScopedImportHook copy(self, "kernel32.dll", "CopyFileW", reinterpret_cast<void*>(&CountCopy));
  ScopedImportHook del(self, "kernel32.dll", "DeleteFileW", reinterpret_cast<void*>(&CountDelete));
  ScopedImportHook find(self, "kernel32.dll", "FindFirstFileW",
                        reinterpret_cast<void*>(&CountFind));
  ScopedImportHook create(self, "kernel32.dll", "CreateFileW",
                          reinterpret_cast<void*>(&CountCreate));
  ASSERT_TRUE(moduleName.installed() && copy.installed() && del.installed() && find.installed() &&
              create.installed());

  // With the stamp 86400123 the copy's name is the directory and 15 more.
  const std::wstring fits = L"C:\\" + std::wstring(241, L'p') + L"\\d.wlx64";
  const std::wstring oneTooLong = L"C:\\" + std::wstring(242, L'p') + L"\\d.wlx64";
  const std::wstring over = L"C:\\" + std::wstring(300, L'p') + L"\\dravik.wlx64";
  const struct {
    const char* what;
    ModulePathScript script;
    bool runs;
  } cases[] = {
      {"call fails", {nullptr, 0}, false},
      {"path fills the buffer", {over.c_str(), 260}, false},
      {"no backslash", {L"dravik.wlx64", 12}, false},
      {"copy name one too long", {oneTooLong.c_str(), 253}, false},
      {"copy name just fits", {fits.c_str(), 252}, true},
  };
  for (const auto& c : cases) {
    g_modulePath = c.script;
    g_fileCalls = 0;
    g_starts.clear();
    EXPECT_EQ(Text(DecompileClassFile(L"C:\\x\\Foo.class")), nullptr) << c.what;
    EXPECT_EQ(g_fileCalls > 0, c.runs) << c.what;
    EXPECT_EQ(g_starts.size(), c.runs ? 1u : 0u) << c.what;
  }
}

}  // namespace
