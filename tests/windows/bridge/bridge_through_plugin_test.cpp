// The bridge as it ships (jad.exe, jad.ini, the engines' jars) beside a copy of
// the plugin, with only the Java runtime stood in: what the Lister shows for a
// Java 17 class, which engine each Java runtime gets, and the comment it
// shows, with the bridge's exit code, for each way of having no source.
#include <gtest/gtest.h>
#include <string.h>
#include <windows.h>

#include <algorithm>
#include <functional>
#include <regex>
#include <string>
#include <vector>

#include "bridge/engines/engine.h"
#include "classfile/bytecode_view.h"
#include "plugin/class_views.h"
#include "plugin/kotlin_view.h"
#include "presentation/text_styles.h"
#include "standins/wine/under_wine.h"
#include "tests/windows/refused_folder.h"
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

// Every file below a folder, with its size.
void ListTree(const std::wstring& folder, const std::wstring& prefix,
              std::vector<std::string>* files) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const std::wstring name = found.cFileName;
    if (name == L"." || name == L"..") continue;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      ListTree(folder + L"\\" + name, prefix + name + L"\\", files);
    } else {
      files->push_back(ToUtf8(prefix + name) + " " + std::to_string(found.nFileSizeLow));
    }
  } while (FindNextFileW(search, &found));
  FindClose(search);
  std::sort(files->begin(), files->end());
}

// Copies a folder with everything in it.
void CopyTree(const std::wstring& from, const std::wstring& to) {
  CreateDirectoryW(to.c_str(), nullptr);
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((from + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const std::wstring name = found.cFileName;
    if (name == L"." || name == L"..") continue;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      CopyTree(from + L"\\" + name, to + L"\\" + name);
    } else {
      CopyFileW((from + L"\\" + name).c_str(), (to + L"\\" + name).c_str(), FALSE);
    }
  } while (FindNextFileW(search, &found));
  FindClose(search);
}

// The runtime's folder, above its bin folder.
std::wstring JavaHomeOf(const std::wstring& java) {
  std::wstring bin = java.substr(0, java.find_last_of(L'\\'));
  return bin.substr(0, bin.find_last_of(L'\\'));
}

// What jad.exe in folder prints when started without arguments, at a prompt.
// Its output goes to a file that anyone may share: Wine's console host of a
// program started without a window may hold the handle a while longer.
std::string JadReport(const std::wstring& folder) {
  wchar_t temp[MAX_PATH + 1];
  GetTempPathW(MAX_PATH + 1, temp);
  const std::wstring outFile =
      std::wstring(temp) + L"dravik-test-report-" + std::to_wstring(GetCurrentProcessId());
  const DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  HANDLE out = CreateFileW(outFile.c_str(), GENERIC_WRITE, share, &inherit, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = out;
  startup.hStdError = out;
  PROCESS_INFORMATION process = {};
  std::wstring command = L"\"" + folder + L"\\jad.exe\"";
  if (CreateProcessW(nullptr, &command[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                     folder.c_str(), &startup, &process)) {
    WaitForSingleObject(process.hProcess, 60000);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
  }
  CloseHandle(out);
  std::string report;
  HANDLE in = CreateFileW(outFile.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, 0, nullptr);
  char chunk[4096];
  DWORD n = 0;
  while (in != INVALID_HANDLE_VALUE && ReadFile(in, chunk, sizeof chunk, &n, nullptr) && n > 0) {
    for (DWORD i = 0; i < n; ++i) {
      if (chunk[i] != '\r') report += chunk[i];
    }
  }
  if (in != INVALID_HANDLE_VALUE) CloseHandle(in);
  DeleteFileW(outFile.c_str());
  return report;
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

  // The Kotlin view of the window shown, with the bridge's exit code for it.
  std::string ShownKotlin() {
    if (g_decompiler != nullptr) CloseHandle(g_decompiler);
    g_decompiler = nullptr;
    SendMessageW(window_, WM_COMMAND, ShowKotlinCommand, 0);
    PumpMessages();
    exitCode_ = 999;
    if (g_decompiler != nullptr) {
      WaitForSingleObject(g_decompiler, 10000);
      GetExitCodeProcess(g_decompiler, &exitCode_);
    }
    return WindowText(window_);
  }

  // The line below lines under the view's first visible one.
  std::string TopLine(int below) {
    int top = static_cast<int>(SendMessageW(window_, EM_GETFIRSTVISIBLELINE, 0, 0)) + below;
    char line[512] = "";
    *reinterpret_cast<WORD*>(line) = sizeof line - 1;
    int n =
        static_cast<int>(SendMessageA(window_, EM_GETLINE, top, reinterpret_cast<LPARAM>(line)));
    return std::string(line, n > 0 ? static_cast<size_t>(n) : 0);
  }

  // Go to, with the member list answered by the item named.
  void GoTo(const wchar_t* member) {
    MemberListAnswer answer(member);
    SendMessageW(window_, WM_COMMAND, GoToMemberCommand, 0);
    EXPECT_TRUE(answer.found()) << "no list held " << ToUtf8(member);
  }

  HWND window_ = nullptr;
  DWORD exitCode_ = 0;
};

// The shown text's lines, the two header lines first.
std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  for (size_t start = 0; start < text.size();) {
    size_t end = text.find("\r\n", start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

// Of the lines below the header, the first that holds text; -1 for none.
int LineHolding(const std::string& text, const std::string& what) {
  const std::vector<std::string> lines = Lines(text);
  for (size_t i = 2; i < lines.size(); ++i) {
    if (lines[i].find(what) != std::string::npos) return static_cast<int>(i - 2);
  }
  return -1;
}

TEST_F(BridgeThroughPluginTest, AJava17ClassShowsAsModernSourceWithOriginalLineNumbers) {
  folder().InstallBridgeJad();
  std::string text = Shown();
  EXPECT_EQ(exitCode_, 0u);
  for (const char* expected :
       {"record Modern(String name, int sides) {", ".name() + \" is a \" + ",
        // Jad's -lnc: the source's own line numbers in a column at the left.
        "\r\n/*  16*/        return switch (this.sides) {\r\n",
        "\r\n/*  18*/            case 3 -> \"triangle\";\r\n", "\r\n        public record Modern(",
        // Every script as written, whatever the ANSI code page.
        "\"Shapes: \xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82, \xE4\xB8\x96\xE7\x95\x8C "
        "\xF0\x9F\x98\x80\\n"}) {
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

// "Go to" on a large real class (commons-lang3's StrBuilder, from Debian's
// jar): the overload chosen comes to the top of the source, by the class's
// line numbers, and of the bytecode, its code right below.
TEST_F(BridgeThroughPluginTest, GoToBringsAnOverloadToTheTopOfTheSourceAndTheBytecode) {
  const std::wstring builder = ExeDirectory() + L"thumbnail_data\\StrBuilder.class";
  if (GetFileAttributesW(builder.c_str()) == INVALID_FILE_ATTRIBUTES) {
    GTEST_SKIP() << "commons-lang3.jar is not installed";
  }
  folder().InstallBridgeJad();
  std::string text = Shown(builder);
  ASSERT_EQ(exitCode_, 0u) << text;
  MoveWindow(window_, 0, 0, 640, 300, TRUE);
  GoTo(L"appendln(char[], int, int)");
  EXPECT_NE(TopLine(0).find("public StrBuilder appendln(char[] chars, int startIndex, int length)"),
            std::string::npos)
      << TopLine(0);
  SendMessageW(window_, WM_COMMAND, ShowBytecodeCommand, 0);
  GoTo(L"appendln(char[], int, int)");
  EXPECT_EQ(TopLine(0).find(
                "  public org.apache.commons.lang3.text.StrBuilder appendln(char[], int, int);"),
            0u)
      << TopLine(0);
  EXPECT_EQ(TopLine(1).find("    Code:"), 0u) << TopLine(1);
  listCloseWindow(window_);
}

// A runtime says its version in the release file beside its bin folder: CFR
// below Java 17, Vineflower from 17 on. Each stand-in runs this machine's Java.
TEST_F(BridgeThroughPluginTest, EachJavaRuntimeGetsTheEngineItsVersionRuns) {
  if (!TestJavaIsStandIn()) GTEST_SKIP() << "runtimes of chosen versions: the stand-in's";
  const struct {
    const wchar_t* folder;
    const char* version;
    bool cfr;
  } runtimes[] = {{L"jdk-11", "11.0.21", true},
                  {L"jdk-17", "17.0.15", false},
                  {L"jdk-21", "21.0.2", false},
                  // A launcher without a release file: "java -version" says (this machine's 17).
                  {L"javapath", nullptr, false}};
  for (const auto& runtime : runtimes) {
    const std::wstring home = inputs() + L"\\" + runtime.folder;
    CreateDirectoryW(home.c_str(), nullptr);
    CreateDirectoryW((home + L"\\bin").c_str(), nullptr);
    CopyFileW((ExeDirectory() + L"java.exe").c_str(), (home + L"\\bin\\java.exe").c_str(), FALSE);
    if (runtime.version != nullptr) {
      WriteFileBytes(home + L"\\release",
                     std::string("IMPLEMENTOR=\"x\"\nJAVA_VERSION=\"") + runtime.version + "\"\n");
    }
    const std::string version = runtime.version != nullptr ? runtime.version : "17 (java -version)";
    folder().InstallBridgeJad("java=" + ToUtf8(home) + "\\bin\\java.exe\r\n");
    std::string text = Shown();
    EXPECT_EQ(exitCode_, 0u) << version;
    EXPECT_NE(text.find("record Modern("), std::string::npos) << version << "\n" << text;
    // jad.exe at a prompt names the runtime and the engine the view came from.
    const std::string report = JadReport(folder().directory());
    const std::string java = ToUtf8(home) + "\\bin\\java.exe";
    EXPECT_NE(report.find("Java " + version.substr(0, 2) + ": " + java + " (java= in "),
              std::string::npos)
        << report;
    const Engine engine = runtime.cfr ? Engine::Cfr : Engine::Vineflower;
    EXPECT_NE(report.find(std::string("Decompiler: ") + EngineDisplayName(engine) + " " +
                          EngineVersion(engine) + ", started for each class (service=off)"),
              std::string::npos)
        << report;
    EXPECT_EQ(text.find(" * Decompiled with CFR") != std::string::npos, runtime.cfr)
        << version << "\n"
        << text;
    // Either engine's source with the original line numbers in the column.
    EXPECT_NE(text.find("\r\n/*  16*/        return switch (this.sides) {\r\n"), std::string::npos)
        << version << "\n"
        << text;
    listCloseWindow(window_);
  }
}

// Temurin's installer puts a runtime under Program Files and offers to put
// its bin folder on the PATH, to set JAVA_HOME, and to write the JavaSoft
// keys; with no java= line the bridge finds it each way, and without them none.
TEST_F(BridgeThroughPluginTest, JavaIsFoundWhereItsInstallerPutsIt) {
  wchar_t programFiles[MAX_PATH];
  ASSERT_GT(GetEnvironmentVariableW(L"ProgramFiles", programFiles, MAX_PATH), 0u);
  const std::wstring vendor = std::wstring(programFiles) + L"\\Eclipse Adoptium";
  const std::wstring home = vendor + L"\\jre-25.0.2.10-hotspot";
  RemoveTree(vendor);
  CreateDirectoryW(vendor.c_str(), nullptr);
  if (TestJavaIsStandIn()) {
    CreateDirectoryW(home.c_str(), nullptr);
    CreateDirectoryW((home + L"\\bin").c_str(), nullptr);
    CopyFileW(TestJava().c_str(), (home + L"\\bin\\java.exe").c_str(), FALSE);
    CopyFileW((JavaHomeOf(TestJava()) + L"\\release").c_str(), (home + L"\\release").c_str(),
              FALSE);
  } else {
    CopyTree(JavaHomeOf(TestJava()), home);
  }
  folder().InstallBridgeJad();
  WriteFileBytes(folder().Path(L"jad.ini"), "[bridge]\r\nservice=off\r\n");

  wchar_t path[32767];
  DWORD n = GetEnvironmentVariableW(L"PATH", path, 32767);
  const std::wstring systemPath(path, n < 32767 ? n : 0);
  const wchar_t keys[] = L"SOFTWARE\\JavaSoft\\JRE";
  // In the 64-bit view, where a 64-bit runtime's installer writes them.
  auto deleteKeys = [] {
    HKEY javaSoft = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\JavaSoft", 0,
                      KEY_ALL_ACCESS | KEY_WOW64_64KEY, &javaSoft) == ERROR_SUCCESS) {
      RegDeleteTreeW(javaSoft, L"JRE");
      RegCloseKey(javaSoft);
    }
  };
  deleteKeys();
  auto registerKeys = [&](bool on) {
    if (!on) {
      deleteKeys();
      return;
    }
    HKEY key = nullptr;
    const std::wstring installDir = home + L"\\";
    RegCreateKeyExW(HKEY_LOCAL_MACHINE, keys, 0, nullptr, 0, KEY_WRITE | KEY_WOW64_64KEY, nullptr,
                    &key, nullptr);
    RegSetValueExW(key, L"CurrentVersion", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"25"),
                   3 * sizeof(wchar_t));
    HKEY version = nullptr;
    RegCreateKeyExW(key, L"25", 0, nullptr, 0, KEY_WRITE | KEY_WOW64_64KEY, nullptr, &version,
                    nullptr);
    RegSetValueExW(version, L"JavaHome", 0, REG_SZ,
                   reinterpret_cast<const BYTE*>(installDir.c_str()),
                   static_cast<DWORD>((installDir.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(version);
    RegCloseKey(key);
  };
  const struct {
    const char* way;
    std::function<void(bool)> set;
  } ways[] = {
      {"PATH",
       [&](bool on) {
         SetEnvironmentVariableW(L"PATH",
                                 on ? (home + L"\\bin;" + systemPath).c_str() : systemPath.c_str());
       }},
      {"JAVA_HOME",
       [&](bool on) {
         SetEnvironmentVariableW(L"JAVA_HOME", on ? (home + L"\\").c_str() : nullptr);
       }},
      {"JavaSoft keys", registerKeys},
  };
  Shown();
  EXPECT_EQ(exitCode_, 3u) << "a Java runtime was found without any of the installer's ways";
  listCloseWindow(window_);
  for (const auto& way : ways) {
    way.set(true);
    std::string text = Shown();
    way.set(false);
    EXPECT_EQ(exitCode_, 0u) << way.way;
    EXPECT_NE(text.find("record Modern("), std::string::npos) << way.way << "\n" << text;
    listCloseWindow(window_);
  }
  RemoveTree(vendor);
}

TEST_F(BridgeThroughPluginTest, WhenTheEngineFailsTheCommentNamesItAndItsRuntime) {
  folder().InstallBridgeJad();
  ASSERT_TRUE(DeleteFileW(folder().Path(L"decompiler\\vineflower.jar").c_str()));
  std::string text = Shown();
  EXPECT_EQ(exitCode_, 1u);
  EXPECT_TRUE(std::regex_search(text, std::regex("Vineflower on Java [0-9]+ failed: it ended with "
                                                 "exit code 1\\.")))
      << text;
  EXPECT_NE(text.find("vineflower.jar"), std::string::npos) << text;
  listCloseWindow(window_);
  // A run that gave no source trains no cache.
  EXPECT_TRUE(TrainingRuns(folder().directory()).empty());
}

// Classes compiled from Kotlin (kotlin-stdlib's): the Java view opens with the
// class, Kotlin's metadata and its map of inlined lines in a line each; the
// Kotlin view is Vineflower's Kotlin, highlighted as Kotlin.
TEST_F(BridgeThroughPluginTest, AKotlinClassOpensWithTheClassAndShowsItsKotlin) {
  folder().InstallBridgeJad();
  const std::wstring kotlin = ExeDirectory() + L"decompile_data\\kotlin\\";
  std::string java = Shown(kotlin + L"Pair.class");
  EXPECT_EQ(exitCode_, 0u);
  const int pair = LineHolding(java, "public final class Pair<A, B>");
  EXPECT_TRUE(pair >= 0 && pair < 15) << java;
  EXPECT_NE(
      java.find("// @Metadata (whole in the bytecode view): a Kotlin class, metadata version"),
      std::string::npos)
      << java;
  EXPECT_EQ(java.find("d1 ="), std::string::npos) << java;
  std::string text = ShownKotlin();
  EXPECT_EQ(exitCode_, 0u);
  EXPECT_NE(text.find("public data class Pair<A, B>("), std::string::npos) << text;
  EXPECT_NE(text.find("public operator fun component1(): Any {"), std::string::npos) << text;
  // The control's position of an ASCII text's: one character for each CR LF.
  const size_t at = text.find(" fun ") + 1;
  int position = static_cast<int>(at);
  for (size_t i = text.find("\r\n"); i < at; i = text.find("\r\n", i + 2)) --position;
  EXPECT_EQ(ReadCharFormatAt(window_, position).crTextColor, LightPalette.keyword.crTextColor);
  // Go to reaches a function and a property in the Kotlin view as well.
  MoveWindow(window_, 0, 0, 640, 200, TRUE);
  GoTo(L"component1()");
  EXPECT_NE(TopLine(0).find("fun component1()"), std::string::npos) << TopLine(0);
  GoTo(L"second: B");
  EXPECT_NE(TopLine(0).find("val second: Any"), std::string::npos) << TopLine(0);
  listCloseWindow(window_);

  java = Shown(kotlin + L"Regex.class");
  EXPECT_EQ(exitCode_, 0u);
  EXPECT_EQ(java.find("SMAP"), std::string::npos) << java;
  EXPECT_LT(LineHolding(java,
                        "// @SourceDebugExtension (whole in the bytecode view): the lines of "
                        "Regex.kt"),
            LineHolding(java, "public final class Regex"));
  text = ShownKotlin();
  EXPECT_NE(text.find("public class Regex "), std::string::npos) << text;
  EXPECT_NE(text.find("public final val options: Set<RegexOption>"), std::string::npos) << text;
  listCloseWindow(window_);
}

// On a runtime older than Vineflower needs, CFR writes Java only: the Kotlin
// view says why it has none.
TEST_F(BridgeThroughPluginTest, KotlinOnCfrsRuntimeSaysWhyThereIsNone) {
  if (!TestJavaIsStandIn()) GTEST_SKIP() << "a runtime of a chosen version: the stand-in's";
  const std::wstring home = inputs() + L"\\jdk-11";
  CreateDirectoryW(home.c_str(), nullptr);
  CreateDirectoryW((home + L"\\bin").c_str(), nullptr);
  CopyFileW((ExeDirectory() + L"java.exe").c_str(), (home + L"\\bin\\java.exe").c_str(), FALSE);
  WriteFileBytes(home + L"\\release", "JAVA_VERSION=\"11.0.21\"\n");
  folder().InstallBridgeJad("java=" + ToUtf8(home) + "\\bin\\java.exe\r\n");
  std::string java = Shown(ExeDirectory() + L"decompile_data\\kotlin\\Pair.class");
  EXPECT_EQ(exitCode_, 0u);
  EXPECT_NE(java.find("// @Metadata (whole in the bytecode view): a Kotlin class"),
            std::string::npos)
      << java;
  std::string text = ShownKotlin();
  EXPECT_EQ(exitCode_, 1u);
  EXPECT_NE(text.find(" * The bridge to the decompiler could not decompile class Pair to Kotlin."),
            std::string::npos)
      << text;
  EXPECT_NE(text.find(" * Kotlin comes from Vineflower's Kotlin plugin, on Java 17 or newer; the "
                      "Java runtime found,"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("is Java 11, for which the bridge runs CFR, which writes Java only."),
            std::string::npos)
      << text;
  listCloseWindow(window_);
}

// The runtime's class-data cache: not made while a view waits, but by a
// training run after it; mapped by the next view (Java logs where each class
// came from); dropped when Java crashes with it, and a damaged one before
// Java sees it. No crash report is left in the temporary folder.
TEST_F(BridgeThroughPluginTest, TheCacheIsMadeAfterAViewMappedByTheNextAndADamagedOneDropped) {
  folder().InstallBridgeJad();
  RemoveCaches();
  ASSERT_NE(Shown().find("record Modern("), std::string::npos);
  listCloseWindow(window_);
  EXPECT_TRUE(CacheFiles().empty());
  ASSERT_TRUE(WaitForTrainingRuns(folder().directory(), 120000));

  // Java reads JAVA_TOOL_OPTIONS; Linux's java behind the stand-in logs to a
  // Unix name.
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::string logFile = "dravik-class-load-" + std::to_string(GetCurrentProcessId()) + ".log";
  const std::wstring logName =
      TestJavaIsStandIn() ? L"Z:\\tmp\\" + std::wstring(logFile.begin(), logFile.end())
                          : std::wstring(temp) + std::wstring(logFile.begin(), logFile.end());
  const std::string log = TestJavaIsStandIn() ? "/tmp/" + logFile : ToUtf8(logName);
  SetEnvironmentVariableA("JAVA_TOOL_OPTIONS", ("-Xlog:class+load:file=\"" + log + "\"").c_str());
  std::string text = Shown();
  SetEnvironmentVariableA("JAVA_TOOL_OPTIONS", nullptr);
  EXPECT_NE(text.find("record Modern("), std::string::npos) << text;
  std::string loaded = ReadFileBytes(logName);
  DeleteFileW(logName.c_str());
  EXPECT_TRUE(std::regex_search(
      loaded, std::regex("org\\.jetbrains\\.java\\.decompiler\\.\\S+ source: shared objects file")))
      << loaded.substr(0, 2000);
  listCloseWindow(window_);
  const std::vector<std::wstring> caches = CacheFiles();
  ASSERT_EQ(caches.size(), 1u);
  const std::string good = ReadFileBytes(caches[0]);

  // A Java that crashes with the cache mapped (made to, by running out of a
  // tiny heap) is run again without it, and the cache is dropped; its crash
  // report went to the bridge's own file, and is gone with it.
  SetEnvironmentVariableA("JAVA_TOOL_OPTIONS", "-Xmx4m -XX:+CrashOnOutOfMemoryError");
  text = Shown();
  SetEnvironmentVariableA("JAVA_TOOL_OPTIONS", nullptr);
  EXPECT_EQ(exitCode_, 1u);
  EXPECT_NE(text.find("failed: it ended with exit code"), std::string::npos) << text;
  EXPECT_FALSE(FileExists(caches[0]));
  listCloseWindow(window_);

  // Bytes changed in the middle, or cut short: the view shows the source, the
  // cache is gone, and no Java crashed on it.
  std::string changed = good;
  changed[changed.size() / 2] ^= 0x5A;
  for (const std::string& damaged : {changed, good.substr(0, good.size() / 2)}) {
    SetFileAttributesW(caches[0].c_str(), FILE_ATTRIBUTE_NORMAL);
    WriteFileBytes(caches[0], damaged);
    text = Shown();
    EXPECT_EQ(exitCode_, 0u);
    EXPECT_NE(text.find("record Modern("), std::string::npos) << text;
    EXPECT_FALSE(FileExists(caches[0]));
    listCloseWindow(window_);
    EndTrainingRuns(folder().directory());
  }
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((std::wstring(temp) + L"hs_err*").c_str(), &found);
  EXPECT_EQ(search, INVALID_HANDLE_VALUE) << ToUtf8(found.cFileName);
  if (search != INVALID_HANDLE_VALUE) FindClose(search);
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
  // So does jad.exe at a prompt, under the settings it read.
  const std::string report = JadReport(folder().directory());
  for (const std::string& expected : std::vector<std::string>{
           "Settings: " + ini + "\n", "  java=C:\\nowhere\\java.exe\n", "  service=off\n",
           "Java: none found. Looked for java.exe, in this order:\n"
           "  java= in " +
               ini +
               ": C:\\nowhere\\java.exe does not exist\n"
               "  JAVA_HOME: not set\n"}) {
    EXPECT_NE(report.find(expected), std::string::npos) << expected << "\n" << report;
  }
  // Line 3, under the banner, the timing and "/*".
  int position = static_cast<int>(SendMessageA(window_, EM_LINEINDEX, 3, 0)) + 4;
  EXPECT_EQ(ReadCharFormatAt(window_, position).crTextColor, LightPalette.comment.crTextColor);
  // Under the comment, the class without Java: its bytecode, as javap lists it.
  const std::string bytes = ReadFileBytes(ExeDirectory() + L"bridge_data\\demo\\Modern.class");
  std::string bytecode, error;
  ASSERT_TRUE(BytecodeViewOf(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(),
                             &bytecode, &error));
  std::string crlf;
  for (char c : bytecode) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  EXPECT_NE(text.find(" */\r\n\r\n" + crlf), std::string::npos) << text;
  listCloseWindow(window_);
}

// Installed where the user may not write (Program Files, a locked-down
// machine): the run goes beside the host's settings file, Jad still started
// from the plugin's folder with its jad.ini, and neither the plugin nor the
// bridge leaves anything in the plugin's folder, nor beside the settings.
TEST_F(BridgeThroughPluginTest, APluginFolderWhereNothingCanBeMadeStillShowsTheSource) {
  folder().InstallBridgeJad();
  RefusedFolder refused(folder().module());
  ASSERT_TRUE(refused.installed());
  refused.Refuse(folder().directory());
  const std::wstring settings = inputs() + L"\\settings";
  ASSERT_TRUE(CreateDirectoryW(settings.c_str(), nullptr));
  ListDefaultParamStruct params = {};
  params.size = sizeof params;
  strcpy(params.DefaultIniName, (ToUtf8(settings) + "\\wincmd.ini").c_str());
  reinterpret_cast<decltype(&ListSetDefaultParams)>(
      reinterpret_cast<void*>(GetProcAddress(folder().module(), "ListSetDefaultParams")))(&params);
  std::vector<std::string> before, after, left;
  ListTree(folder().directory(), L"", &before);

  std::string text = Shown(SoakDataFile(L"Showcase.class"));
  EXPECT_EQ(exitCode_, 0u) << text;
  EXPECT_NE(text.find("public class Showcase"), std::string::npos) << text;
  listCloseWindow(window_);
  WaitForTrainingRuns(folder().directory(), 120000);
  ListTree(folder().directory(), L"", &after);
  EXPECT_EQ(after, before);
  ListTree(settings, L"", &left);
  EXPECT_TRUE(left.empty()) << left.front();
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
  while (!ProcessesWith({token, "Sleeper"}).empty() && GetTickCount() - start < 30000) Sleep(250);
  EXPECT_TRUE(ProcessesWith({token, "Sleeper"}).empty());
}

// The host's thread does not wait for Java: the window comes with what is
// coming and the source follows; a window closed while Java runs stops the
// bridge, which ends its Java and removes its files.
TEST_F(BridgeThroughPluginTest, TheSourceFollowsTheWindowAndAClosedOneStopsTheBridgeAndItsJava) {
  SetEnvironmentVariableW(L"DRAVIK_LOAD_WAIT_MS", L"1");
  folder().InstallBridgeJad();
  const std::wstring modern = ExeDirectory() + L"bridge_data\\demo\\Modern.class";
  window_ = listLoadW(lister(), const_cast<WCHAR*>(modern.c_str()), 0);
  ASSERT_NE(window_, nullptr);
  std::string text = WindowText(window_);
  EXPECT_EQ(text.rfind("// dravik - Java class viewer\r\n// Decompiling Modern.class ...", 0), 0u)
      << text;
  for (DWORD start = GetTickCount();
       text.find("record Modern(") == std::string::npos && GetTickCount() - start < 60000;
       Sleep(50)) {
    PumpMessages();
    text = WindowText(window_);
  }
  EXPECT_NE(text.find("record Modern("), std::string::npos) << text;
  listCloseWindow(window_);

  const std::string token = "dravik-sleeper-" + std::to_string(GetCurrentProcessId());
  folder().InstallBridgeJad("decompiler=\"{java}\" -cp \"" + ToUtf8(ExeDirectory()) +
                            "bridge_data\" Sleeper " + token + "\r\n");
  window_ = listLoadW(lister(), const_cast<WCHAR*>(modern.c_str()), 0);
  ASSERT_NE(window_, nullptr);
  for (DWORD start = GetTickCount();
       ProcessesWith({token, "Sleeper"}).empty() && GetTickCount() - start < 30000; Sleep(100)) {
  }
  // Its Java runs before the close, so the close has something to stop.
  ASSERT_FALSE(ProcessesWith({token, "Sleeper"}).empty());
  listCloseWindow(window_);
  SetEnvironmentVariableW(L"DRAVIK_LOAD_WAIT_MS", L"120000");
  ASSERT_NE(g_decompiler, nullptr);
  EXPECT_EQ(WaitForSingleObject(g_decompiler, 10000), WAIT_OBJECT_0);
  DWORD code = 0;
  GetExitCodeProcess(g_decompiler, &code);
  EXPECT_EQ(code, 7u);  // it stopped itself, as asked
  EXPECT_EQ(CountBridgeTempFolders(), 0);
  DWORD start = GetTickCount();
  while (!ProcessesWith({token, "Sleeper"}).empty() && GetTickCount() - start < 30000) Sleep(250);
  EXPECT_TRUE(ProcessesWith({token, "Sleeper"}).empty());
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
