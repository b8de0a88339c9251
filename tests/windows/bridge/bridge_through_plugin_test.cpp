// The bridge as it ships (jad.exe, jad.ini, the engines' jars) beside a copy of
// the plugin, with only the Java runtime stood in: what the Lister shows for a
// Java 17 class, which engine each Java runtime gets, and the comment it
// shows, with the bridge's exit code, for each way of having no source.
#include <gtest/gtest.h>
#include <windows.h>

#include <regex>
#include <string>
#include <vector>

#include "presentation/text_styles.h"
#include "standins/wine/under_wine.h"
#include "tests/windows/soak/soak_fixture.h"
#include "tests/windows/test_support.h"

namespace {

// The process the plugin starts, kept open to read its exit code.
decltype(&CreateProcessW) g_createProcess = nullptr;
HANDLE g_decompiler = nullptr;

BOOL WINAPI KeepDecompilerProcess(LPCWSTR application, LPWSTR commandLine,
                                  LPSECURITY_ATTRIBUTES processAttributes,
                                  LPSECURITY_ATTRIBUTES threadAttributes, BOOL inherit, DWORD flags,
                                  LPVOID environment, LPCWSTR directory, LPSTARTUPINFOW startup,
                                  LPPROCESS_INFORMATION process) {
  BOOL started = g_createProcess(application, commandLine, processAttributes, threadAttributes,
                                 inherit, flags, environment, directory, startup, process);
  if (started) {
    DuplicateHandle(GetCurrentProcess(), process->hProcess, GetCurrentProcess(), &g_decompiler, 0,
                    FALSE, DUPLICATE_SAME_ACCESS);
  }
  return started;
}

// Whether a Unix process with token on its command line is running (Wine
// shows the Unix root, /proc included, as drive Z:).
bool UnixProcessRuns(const std::string& token) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(L"Z:\\proc\\*", &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  bool runs = false;
  do {
    if (found.cFileName[0] < L'0' || found.cFileName[0] > L'9') continue;
    std::string line = ReadFileBytes(L"Z:\\proc\\" + std::wstring(found.cFileName) + L"\\cmdline");
    runs = line.find(token) != std::string::npos && line.find("Sleeper") != std::string::npos;
  } while (!runs && FindNextFileW(search, &found));
  FindClose(search);
  return runs;
}

class BridgeThroughPluginTest : public ::testing::Test, public PluginCopyFixture {
 protected:
  void SetUp() override {
    if (!RunningUnderWine()) GTEST_SKIP() << "the stand-in java.exe hands over to Linux: Wine only";
    ASSERT_TRUE(folder().loaded());
    ASSERT_TRUE(
        Hook("kernel32.dll", "CreateProcessW", reinterpret_cast<void*>(&KeepDecompilerProcess)));
    g_createProcess = reinterpret_cast<decltype(&CreateProcessW)>(Original("CreateProcessW"));
    // A JAVA_HOME of the Unix side must not stand in for the one under test.
    SetEnvironmentVariableW(L"JAVA_HOME", nullptr);
  }
  void TearDown() override {
    if (g_decompiler != nullptr) CloseHandle(g_decompiler);
    g_decompiler = nullptr;
    EXPECT_TRUE(folder().ExtraFiles().empty());
    EXPECT_EQ(CountBridgeTempFolders(), 0);
  }

  // What the Lister shows for the class, with the bridge's exit code.
  std::string Shown(const std::wstring& classFile = ExeDirectory() +
                                                    L"bridge_data\\demo\\Modern.class") {
    window_ = listLoadW(lister(), const_cast<WCHAR*>(classFile.c_str()), 0);
    PumpMessages();
    exitCode_ = 999;
    if (g_decompiler != nullptr) {
      WaitForSingleObject(g_decompiler, 10000);
      GetExitCodeProcess(g_decompiler, &exitCode_);
    }
    return window_ != nullptr ? WindowText(window_) : "";
  }

  HWND window_ = nullptr;
  DWORD exitCode_ = 0;
};

TEST_F(BridgeThroughPluginTest, AJava17ClassShowsAsModernSourceWithOriginalLineNumbers) {
  folder().InstallBridgeJad();
  std::string text = Shown();
  EXPECT_EQ(exitCode_, 0u);
  for (const char* expected :
       {"record Modern(String name, int sides) {", ".name() + \" is a \" + ",
        // Jad's -lnc: the source's own line numbers in a column at the left.
        "\r\n/*  16*/        return switch (this.sides) {\r\n",
        "\r\n/*  18*/            case 3 -> \"triangle\";\r\n", "\r\n        public record Modern(",
        // An emoji, beyond any ANSI code page, as an escaped pair.
        "\\ud83d\\ude00"}) {
    EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
  }
  EXPECT_EQ(text.find("\r\r\n"), std::string::npos);
  // Its family came with it.
  EXPECT_EQ(text.find("Not shown:"), std::string::npos) << text;
  listCloseWindow(window_);
}

// A class opened inside an archive comes alone: a note names the nested
// classes whose code is not shown, and why.
TEST_F(BridgeThroughPluginTest, AClassWithoutItsNestedClassesSaysWhichAreNotShown) {
  folder().InstallBridgeJad();
  const std::wstring alone = inputs() + L"\\alone";
  CreateDirectoryW(alone.c_str(), nullptr);
  ASSERT_TRUE(CopyFileW((ExeDirectory() + L"bridge_data\\demo\\Modern.class").c_str(),
                        (alone + L"\\Modern.class").c_str(), FALSE));
  std::string text = Shown(alone + L"\\Modern.class");
  EXPECT_EQ(exitCode_, 0u);
  EXPECT_NE(text.find("/*\r\n * Not shown: the code of these classes nested in this one."),
            std::string::npos)
      << text;
  EXPECT_NE(text.find(" *   Modern$1.class\r\n *   Modern$Unit.class\r\n */\r\n"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("record Modern("), std::string::npos) << text;
  listCloseWindow(window_);
}

// javac writes each nested class to a file of its own; F3 on the outer file
// and on a member file both show them whole, through the engine's own names.
TEST_F(BridgeThroughPluginTest, AClassShowsWithEveryKindOfNestedClassInPlace) {
  folder().InstallBridgeJad();
  std::string text = Shown(ExeDirectory() + L"bridge_data\\demo\\Family.class");
  EXPECT_EQ(exitCode_, 0u);
  for (const char* declared :
       {"class Member {", "class Deeper {", "static class Nested {", "enum Mode {", "LOUD {",
        "new Runnable() {", "class Counter {", "() -> "}) {
    EXPECT_NE(text.find(declared), std::string::npos) << declared << "\n" << text;
  }
  EXPECT_EQ(text.find('$'), std::string::npos) << text;
  listCloseWindow(window_);

  text = Shown(ExeDirectory() + L"bridge_data\\demo\\Family$Member.class");
  EXPECT_EQ(exitCode_, 0u);
  EXPECT_NE(text.find("class Deeper {"), std::string::npos) << text;
  EXPECT_NE(text.find("int total() {"), std::string::npos) << text;
  listCloseWindow(window_);
}

// A runtime says its version in the release file beside its bin folder: CFR
// below Java 17, Vineflower from 17 on. Each stand-in runs this machine's Java.
TEST_F(BridgeThroughPluginTest, EachJavaRuntimeGetsTheEngineItsVersionRuns) {
  const struct {
    const wchar_t* folder;
    const char* version;
    bool cfr;
  } runtimes[] = {
      {L"jdk-11", "11.0.21", true}, {L"jdk-17", "17.0.15", false}, {L"jdk-21", "21.0.2", false}};
  for (const auto& runtime : runtimes) {
    const std::wstring home = inputs() + L"\\" + runtime.folder;
    CreateDirectoryW(home.c_str(), nullptr);
    CreateDirectoryW((home + L"\\bin").c_str(), nullptr);
    CopyFileW((ExeDirectory() + L"java.exe").c_str(), (home + L"\\bin\\java.exe").c_str(), FALSE);
    WriteFileBytes(home + L"\\release",
                   std::string("IMPLEMENTOR=\"x\"\nJAVA_VERSION=\"") + runtime.version + "\"\n");
    folder().InstallBridgeJad("java=" + ToUtf8(home) + "\\bin\\java.exe\r\n");
    std::string text = Shown();
    EXPECT_EQ(exitCode_, 0u) << runtime.version;
    EXPECT_NE(text.find("record Modern("), std::string::npos) << runtime.version << "\n" << text;
    EXPECT_EQ(text.find(" * Decompiled with CFR") != std::string::npos, runtime.cfr)
        << runtime.version << "\n"
        << text;
    // Either engine's source with the original line numbers in the column.
    EXPECT_NE(text.find("\r\n/*  16*/        return switch (this.sides) {\r\n"), std::string::npos)
        << runtime.version << "\n"
        << text;
    listCloseWindow(window_);
  }
}

TEST_F(BridgeThroughPluginTest, WhenTheEngineFailsTheCommentNamesItAndItsRuntime) {
  folder().InstallBridgeJad();
  ASSERT_TRUE(DeleteFileW(folder().Path(L"decompiler\\vineflower.jar").c_str()));
  std::string text = Shown();
  EXPECT_EQ(exitCode_, 1u);
  EXPECT_NE(text.find("Vineflower on Java 17 failed: it ended with exit code 1."),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("vineflower.jar"), std::string::npos) << text;
  listCloseWindow(window_);
}

// The one-shot run's class-data archive: made by the first run, mapped by the
// next (Java logs where each class came from), and a damaged one passed over.
TEST_F(BridgeThroughPluginTest, TheEngineArchiveIsMadeOnceUsedNextAndADamagedOneIsHarmless) {
  folder().InstallBridgeJad();
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring pattern = std::wstring(temp) + L"dravik-oneshot-vineflower-*.jsa";
  ASSERT_NE(Shown().find("record Modern("), std::string::npos);
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(pattern.c_str(), &found);
  ASSERT_NE(search, INVALID_HANDLE_VALUE) << "no archive made";
  FindClose(search);
  const std::wstring archive = std::wstring(temp) + found.cFileName;
  listCloseWindow(window_);

  // Linux's java reads JAVA_TOOL_OPTIONS; the log goes to a Unix name.
  const std::string log =
      "/tmp/dravik-class-load-" + std::to_string(GetCurrentProcessId()) + ".log";
  SetEnvironmentVariableA("JAVA_TOOL_OPTIONS", ("-Xlog:class+load:file=" + log).c_str());
  std::string text = Shown();
  SetEnvironmentVariableA("JAVA_TOOL_OPTIONS", nullptr);
  EXPECT_NE(text.find("record Modern("), std::string::npos) << text;
  const std::wstring logName = L"Z:" + std::wstring(log.begin(), log.end());
  std::string loaded = ReadFileBytes(logName);
  DeleteFileW(logName.c_str());
  EXPECT_TRUE(std::regex_search(
      loaded, std::regex("org\\.jetbrains\\.java\\.decompiler\\.\\S+ source: shared objects file")))
      << loaded.substr(0, 2000);
  listCloseWindow(window_);

  // A damaged archive gives the source all the same: Java passes over one
  // that begins as an archive, and the bridge replaces one that does not.
  const std::string magic = "\xA8\xAB\x0B\xF0";
  for (const std::string& damaged : {magic + std::string(70000, 'x'), std::string(70000, 'x')}) {
    SetFileAttributesW(archive.c_str(), FILE_ATTRIBUTE_NORMAL);
    WriteFileBytes(archive, damaged);
    text = Shown();
    EXPECT_EQ(exitCode_, 0u);
    EXPECT_NE(text.find("record Modern("), std::string::npos) << text;
    listCloseWindow(window_);
  }
  std::string remade = ReadFileBytes(archive);
  EXPECT_EQ(remade.substr(0, 4), magic);
  EXPECT_NE(remade.substr(4, 100), std::string(100, 'x'));
  DeleteFileW(archive.c_str());
}

TEST_F(BridgeThroughPluginTest, WithoutJavaTheCommentSaysWhereItLookedInCommentColour) {
  folder().InstallBridgeJad("java=C:\\nowhere\\java.exe\r\n");
  std::string text = Shown();
  EXPECT_EQ(exitCode_, 3u);
  const std::string ini = ToUtf8(folder().Path(L"jad.ini"));
  for (const std::string& expected : std::vector<std::string>{
           "/*\r\n * The bridge to the decompiler could not decompile class Modern.",
           "No Java runtime was found.",
           "java= in " + ini + ": C:\\nowhere\\java.exe does not exist",
           std::string("JAVA_HOME: not set"), "or name its java.exe in " + ini}) {
    EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
  }
  // Line 3, under the banner, the timing and "/*".
  int position = static_cast<int>(SendMessageA(window_, EM_LINEINDEX, 3, 0)) + 4;
  EXPECT_EQ(ReadCharFormatAt(window_, position).crTextColor, LightPalette.comment.crTextColor);
  listCloseWindow(window_);
}

TEST_F(BridgeThroughPluginTest, AFailingDecompilerShowsTheLastLinesOfItsErrorOutput) {
  folder().InstallBridgeJad("decompiler=\"{java}\" -cp \"{home}\" no.such.Main \"{class}\"\r\n");
  std::string text = Shown();
  EXPECT_EQ(exitCode_, 1u);
  EXPECT_NE(text.find("The decompiler failed: it ended with exit code 1."), std::string::npos)
      << text;
  EXPECT_NE(text.find("Could not find or load main class no.such.Main"), std::string::npos) << text;
  listCloseWindow(window_);
}

TEST_F(BridgeThroughPluginTest, ADecompilerPastItsTimeLimitIsEndedWithItsJava) {
  const std::string token = "dravik-sleeper-" + std::to_string(GetCurrentProcessId());
  folder().InstallBridgeJad("timeout=2\r\ndecompiler=\"{java}\" -cp \"" + ToUtf8(ExeDirectory()) +
                            "bridge_data\" Sleeper " + token + "\r\n");
  std::string text = Shown();
  EXPECT_EQ(exitCode_, 4u);
  EXPECT_NE(text.find("The decompiler was still running after 2 seconds and was ended."),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("raise timeout= in"), std::string::npos) << text;
  listCloseWindow(window_);
  // The stand-in java.exe went with the bridge's job; Linux's java follows
  // once its heartbeat stops (about three seconds).
  DWORD start = GetTickCount();
  while (UnixProcessRuns(token) && GetTickCount() - start < 30000) Sleep(250);
  EXPECT_FALSE(UnixProcessRuns(token));
}

TEST_F(BridgeThroughPluginTest, AFileThatIsNoClassFileShowsWhy) {
  folder().InstallBridgeJad("java=C:\\nowhere\\java.exe\r\n");
  std::wstring notAClass = inputs() + L"\\Notes.class";
  WriteFileBytes(notAClass, "just some text\r\n");
  std::string text = Shown(notAClass);
  EXPECT_EQ(exitCode_, 2u);
  EXPECT_NE(text.find(".class is not a Java class file, so it was not decompiled."),
            std::string::npos)
      << text;
  listCloseWindow(window_);
}

}  // namespace
