// The decompiler run in a temporary plugin folder, with the fake Jad (or the
// bridge with its engines) beside the plugin and the clock scripted through
// the test's own import of GetTickCount: the run folder, the command line, the
// output, and the class's family copied beside the input.
#include "decompile/decompile_run.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "bridge/jad/family_bounds.h"
#include "decompile/class_family.h"
#include "decompile/long_path.h"
#include "decompile/run_folder.h"
#include "host/module_state.h"
#include "plugin/no_source_comment.h"
#include "standins/hooks/import_hooks.h"
#include "tests/windows/decompile/plugin_folder.h"
#include "tests/windows/lister/lister_run.h"
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
    DecompileStopGraceMs = 3000;
    FamilyFileLimit = MostFamilyFiles;
    FamilyByteLimit = MostFamilyBytes;
  }
  void TearDown() override {
    // Whatever happened, the run folder is gone.
    EXPECT_FALSE(FileExists(RunFolder()));
  }

  Text Run(const std::wstring& classFile = DataFile(L"sample\\Greeter.class")) {
    return Text(DecompileClassFile(classFile.c_str(), &run_));
  }
  // A folder for input files inside the plugin folder, where it is the one
  // extra file that stays.
  std::wstring Sources() {
    std::wstring sources = folder_.Path(L"sources");
    EXPECT_TRUE(CreateDirectoryW(sources.c_str(), nullptr));
    return sources;
  }
  std::wstring RunFolder(const std::wstring& suffix = L"") const {
    return folder_.Path(L"dravik-run-" + std::wstring(run_.stamp) + suffix);
  }

  PluginFolder folder_;
  DecompileRun run_;
  ScopedImportHook tickHook_{GetModuleHandleW(nullptr), "kernel32.dll", "GetTickCount",
                             reinterpret_cast<void*>(&ScriptedTickCount)};
  ScopedImportHook startHook_{GetModuleHandleW(nullptr), "kernel32.dll", "CreateProcessW",
                              reinterpret_cast<void*>(&RecordCreateProcess)};
};

// The class files javac makes of data/family/Outer.java.
const wchar_t* const kOuterFamily[] = {
    L"Outer.class",
    L"Outer$1.class",
    L"Outer$1Local.class",
    L"Outer$Kind.class",
    L"Outer$Kind$1.class",
    L"Outer$Member.class",
    L"Outer$Member$Deeper.class",
    L"Outer$Nested.class",
};

using FileList = std::vector<std::pair<std::wstring, size_t>>;

// The names given, with their sizes in folder.
FileList FilesIn(const std::wstring& folder, const std::vector<std::wstring>& names) {
  FileList files;
  for (const std::wstring& name : names) {
    files.push_back({name, ReadFileBytes(folder + L"\\" + name).size()});
  }
  return files;
}

// What the fake in its listing mode writes for the class simpleName with these
// files beside it (and the run's marker).
std::string Listing(const std::string& simpleName, const FileList& files) {
  std::vector<std::string> lines = {"// " + ToUtf8(RunFolderMarker) + " 0\r\n"};
  for (const auto& file : files) {
    lines.push_back("// " + ToUtf8(file.first) + " " + std::to_string(file.second) + "\r\n");
  }
  std::sort(lines.begin(), lines.end());
  std::string listing = "class " + simpleName + " {}\r\n";
  for (const std::string& line : lines) listing += line;
  return listing;
}

// Copies Outer's family into folder; returns the names.
std::vector<std::wstring> PutOuterFamily(const std::wstring& folder) {
  std::vector<std::wstring> names;
  for (const wchar_t* name : kOuterFamily) {
    EXPECT_TRUE(LongPathCopyFile(DataFile(std::wstring(L"family\\") + name).c_str(),
                                 (folder + L"\\" + name).c_str(), FALSE))
        << ToUtf8(name);
    names.push_back(name);
  }
  return names;
}

TEST_F(DecompileRunTest, JadBesideThePluginIsStartedByFullPathInARunFolderOfItsOwn) {
  folder_.InstallFakeJad("write");
  const std::string dir = ToUtf8(folder_.directory());
  const struct {
    DWORD tick;
    const char* stamp;
  } cases[] = {{86400123, "86400123"}, {0x80000000u, "-2147483648"}, {0xFFFFFFFFu, "-1"}};
  std::string expectedLog;
  std::vector<std::wstring> runFolders;
  for (const auto& c : cases) {
    g_tick = c.tick;
    Text text = Run();
    EXPECT_STREQ(run_.stamp, std::wstring(c.stamp, c.stamp + strlen(c.stamp)).c_str());
    ASSERT_NE(text, nullptr) << c.stamp;
    EXPECT_STREQ(text.get(), "class Greeter {}\r\n");
    EXPECT_TRUE(folder_.ExtraFiles().empty()) << c.stamp;
    runFolders.push_back(RunFolder());
    expectedLog += "\"" + dir + "\\jad\" -lnc -o -s \"" + c.stamp + ".java\" \"Greeter\"\n" + dir +
                   "\\dravik-run-" + c.stamp + "\n";
  }
  // The command line as the decompiler itself received it, and where it ran.
  EXPECT_EQ(folder_.FakeJadLog(), expectedLog);
  ASSERT_EQ(g_starts.size(), 3u);
  for (size_t i = 0; i < g_starts.size(); ++i) {
    const StartRecord& start = g_starts[i];
    EXPECT_TRUE(start.applicationNameNull);
    EXPECT_FALSE(start.inheritHandles);
    // Suspended until its stop request is there.
    EXPECT_EQ(start.flags, static_cast<DWORD>(CREATE_NO_WINDOW | CREATE_SUSPENDED));
    EXPECT_TRUE(start.environmentNull);
    EXPECT_EQ(start.currentDirectory, runFolders[i]);
    EXPECT_TRUE(start.startupZeroButSize);
  }
  EXPECT_EQ(g_starts[0].commandLine,
            L"\"" + folder_.directory() + L"\\jad\" -lnc -o -s \"86400123.java\" \"Greeter\"");
}

TEST_F(DecompileRunTest, WithoutJadBesideThePluginTheBareNameIsLeftToTheProgramSearch) {
  // Nothing named jad.exe is anywhere the search looks, so nothing starts.
  Text text = Run();
  EXPECT_EQ(text, nullptr);
  ASSERT_EQ(g_starts.size(), 1u);
  EXPECT_EQ(g_starts[0].commandLine, L"\"jad\" -lnc -o -s \"86400123.java\" \"Greeter\"");
  EXPECT_EQ(g_starts[0].currentDirectory, RunFolder());
  EXPECT_TRUE(folder_.ExtraFiles().empty());
  DecompileResult result;
  result.end = run_.end;
  result.startError = run_.startError;
  EXPECT_NE(NoSourceComment(result).find(L"jad.exe must be beside the plugin"), std::wstring::npos);

  // A jad.exe that is there but is no program: the comment gives the
  // system's reason, not a search that did find it.
  WriteFileBytes(folder_.Path(L"jad.exe"), "not a program\r\n");
  EXPECT_EQ(Run(), nullptr);
  EXPECT_EQ(run_.end, DecompileEnd::NotStarted);
  EXPECT_NE(run_.startError, 0u);
  result.end = run_.end;
  result.startError = run_.startError;
  const std::wstring comment = NoSourceComment(result);
  EXPECT_NE(comment.find(L"jad.exe did not start:"), std::wstring::npos) << ToUtf8(comment);
  EXPECT_NE(comment.find(L"(error " + std::to_wstring(run_.startError) + L")"), std::wstring::npos)
      << ToUtf8(comment);
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
    // Output read or not, it goes with the run folder.
    EXPECT_TRUE(folder_.ExtraFiles().empty()) << c.mode;
  }
}

TEST_F(DecompileRunTest, OfTwoOutputsTheFirstFoundIsReadAndBothGoWithTheRunFolder) {
  folder_.InstallFakeJad("two");
  Text text = Run();
  ASSERT_NE(text, nullptr);
  // Which one the search returns first is the file system's choice.
  EXPECT_TRUE(strcmp(text.get(), "class Greeter {}\r\n") == 0 ||
              strcmp(text.get(), "class GreeterTwin {}\r\n") == 0)
      << text.get();
  EXPECT_TRUE(folder_.ExtraFiles().empty());
}

TEST_F(DecompileRunTest, AnOutputNamedPastTheClassicLimitIsReadAndDeleted) {
  // The run folder's name and an output name 230 characters longer than usual.
  folder_.InstallFakeJad("long");
  Text text = Run();
  ASSERT_NE(text, nullptr);
  EXPECT_STREQ(text.get(), "class Greeter {}\r\n");
  EXPECT_TRUE(folder_.ExtraFiles().empty());
}

TEST_F(DecompileRunTest, ARunFolderNameThatIsTakenIsLeftToItsOwner) {
  // Another run at the same tick (its marker held), and a file under the next name.
  folder_.InstallFakeJad("write");
  const std::wstring theirs = folder_.Path(L"dravik-run-86400123");
  ASSERT_TRUE(CreateDirectoryW(theirs.c_str(), nullptr));
  WriteFileBytes(theirs + L"\\Greeter.class", "theirs");
  HANDLE marker = CreateFileW((theirs + L"\\" + RunFolderMarker).c_str(), GENERIC_WRITE, 0, nullptr,
                              CREATE_NEW, FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  ASSERT_NE(marker, INVALID_HANDLE_VALUE);
  WriteFileBytes(folder_.Path(L"dravik-run-86400123-2"), "a file");
  Text text = Run();
  ASSERT_NE(text, nullptr);
  EXPECT_STREQ(text.get(), "class Greeter {}\r\n");
  ASSERT_EQ(g_starts.size(), 1u);
  EXPECT_EQ(g_starts[0].currentDirectory, folder_.Path(L"dravik-run-86400123-3"));
  EXPECT_EQ(ReadFileBytes(theirs + L"\\Greeter.class"), "theirs");
  EXPECT_EQ(folder_.ExtraFiles(),
            (std::set<std::wstring>{L"dravik-run-86400123", L"dravik-run-86400123-2"}));
  CloseHandle(marker);
  RemoveTree(theirs);
}

decltype(&DeleteFileW) g_delete = nullptr;
BOOL WINAPI KeepOutputs(LPCWSTR path) {
  std::wstring name = path;
  if (name.size() > 5 && name.compare(name.size() - 5, 5, L".java") == 0) {
    SetLastError(ERROR_SHARING_VIOLATION);
    return FALSE;
  }
  return g_delete(path);
}

TEST_F(DecompileRunTest, AFileThatStaysInTheRunFolderKeepsTheFolderButNotTheView) {
  // An output that cannot be deleted, as when another program holds it open.
  folder_.InstallFakeJad("write");
  {
    ScopedImportHook keep(GetModuleHandleW(nullptr), "kernel32.dll", "DeleteFileW",
                          reinterpret_cast<void*>(&KeepOutputs));
    ASSERT_TRUE(keep.installed());
    g_delete = keep.original<decltype(&DeleteFileW)>();
    Text text = Run();
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(text.get(), "class Greeter {}\r\n");
  }
  EXPECT_EQ(folder_.ExtraFiles(), std::set<std::wstring>{L"dravik-run-86400123"});
  EXPECT_FALSE(FileExists(RunFolder() + L"\\Greeter.class"));
  // The next run at the same tick takes another name.
  Text text = Run();
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(g_starts.back().currentDirectory, RunFolder(L"-2"));
  EXPECT_EQ(folder_.ExtraFiles(), std::set<std::wstring>{L"dravik-run-86400123"});
  RemoveTree(RunFolder());
}

TEST_F(DecompileRunTest, AShownFileThatCannotBeCopiedStartsNothing) {
  folder_.InstallFakeJad("write");
  ASSERT_TRUE(CreateDirectoryW(folder_.Path(L"Folder.class").c_str(), nullptr));
  for (const wchar_t* name : {L"Missing.class", L"Folder.class"}) {
    EXPECT_EQ(Run(folder_.Path(name)), nullptr) << ToUtf8(name);
    EXPECT_TRUE(g_starts.empty()) << ToUtf8(name);
    EXPECT_EQ(folder_.ExtraFiles(), std::set<std::wstring>{L"Folder.class"}) << ToUtf8(name);
  }
  EXPECT_EQ(Text(DecompileClassFile(nullptr)), nullptr);
  EXPECT_TRUE(g_starts.empty());
  RemoveDirectoryW(folder_.Path(L"Folder.class").c_str());
}

// At the wait limit Jad is asked to stop, as a close asks it: the bridge then
// ends its Java and removes its files itself.
TEST_F(DecompileRunTest, AJadAtTheWaitLimitIsAskedToStopFirst) {
  folder_.InstallFakeJad("slow");
  WriteFileBytes(folder_.Path(L"fakejad.delay"), "600000");
  DecompileWaitLimitMs = 1500;
  EXPECT_EQ(Run(), nullptr);
  EXPECT_EQ(run_.end, DecompileEnd::TimedOut);
  EXPECT_NE(folder_.FakeJadLog().find("stopped "), std::string::npos) << folder_.FakeJadLog();
  DeleteFileW(folder_.Path(L"fakejad.delay").c_str());
  EXPECT_TRUE(folder_.ExtraFiles().empty());
}

TEST_F(DecompileRunTest, AJadThatNeverEndsIsEndedAtTheWaitLimitWithEverythingItWrote) {
  // The fake writes its output and then waits for ever, in the run folder,
  // deaf to the stop request.
  folder_.InstallFakeJad("hang");
  DecompileWaitLimitMs = 1500;
  DecompileStopGraceMs = 500;
  EXPECT_EQ(Run(), nullptr);
  EXPECT_EQ(run_.end, DecompileEnd::TimedOut);
  ASSERT_EQ(g_starts.size(), 1u);
  HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, g_starts[0].processId);
  EXPECT_TRUE(process == nullptr || WaitForSingleObject(process, 0) == WAIT_OBJECT_0);
  if (process != nullptr) CloseHandle(process);
  EXPECT_TRUE(folder_.ExtraFiles().empty());
}

TEST_F(DecompileRunTest, TheWholeFamilyGoesBesideTheInputFromAnyFolder) {
  // A folder with a blank and letters outside the code page, past the classic
  // limit, holding Outer's family, members javac would not name so, near misses
  // of the name rule, and a read-only member (whose copy is read-only too).
  folder_.InstallFakeJad("listing");
  const std::wstring sources = Sources();
  std::wstring deep = sources + L"\\with blank \x00e9\x0424";
  ASSERT_TRUE(LongPathCreateDirectory(deep.c_str(), nullptr));
  for (int i = 0; i < 2; ++i) {
    deep += L"\\" + std::wstring(120, static_cast<wchar_t>(L'a' + i));
    ASSERT_TRUE(LongPathCreateDirectory(deep.c_str(), nullptr));
  }
  ASSERT_GT(deep.size(), 260u);
  std::vector<std::wstring> members = PutOuterFamily(deep);
  for (const wchar_t* name : {L"Outer$\x0424.class", L"Outer$.class"}) {
    WriteFileBytes(deep + L"\\" + name, "member");
    members.push_back(name);
  }
  for (const wchar_t* name : {L"OuterX.class", L"Outerwear$1.class", L"X$Outer.class", L"Outer.txt",
                              L"Outer$1.class.txt", L"Other.class"}) {
    WriteFileBytes(deep + L"\\" + name, "unrelated");
  }
  ASSERT_TRUE(LongPathCreateDirectory((deep + L"\\Outer$Folder.class").c_str(), nullptr));
  ASSERT_TRUE(
      LongPathSetFileAttributes((deep + L"\\Outer$Nested.class").c_str(), FILE_ATTRIBUTE_READONLY));

  const FileList family = FilesIn(deep, members);
  // The shown file goes under its own name, the command line names it.
  for (const char* shown : {"Outer", "Outer$Member"}) {
    std::wstring wide(shown, shown + strlen(shown));
    Text text = Run(deep + L"\\" + wide + L".class");
    ASSERT_NE(text, nullptr) << shown;
    EXPECT_EQ(text.get(), Listing(shown, family)) << shown;
    ASSERT_FALSE(g_starts.empty());
    EXPECT_EQ(
        g_starts.back().commandLine,
        L"\"" + folder_.directory() + L"\\jad\" -lnc -o -s \"86400123.java\" \"" + wide + L"\"");
    EXPECT_EQ(folder_.ExtraFiles(), std::set<std::wstring>{L"sources"}) << shown;
  }
}

TEST_F(DecompileRunTest, AFileNotNamedAsAClassGoesAloneUnderTheStamp) {
  // Jad appends ".class" to a name without an extension, and would take what
  // follows a dot for one.
  folder_.InstallFakeJad("listing");
  const std::wstring sources = Sources();
  std::string bytes = ReadFileBytes(DataFile(L"sample\\Greeter.class"));
  for (const wchar_t* name : {L"Greeter.bin", L"Greeter.v2.class", L"Greeter.v2$1.class"}) {
    WriteFileBytes(sources + L"\\" + name, bytes);
  }
  for (const wchar_t* name : {L"Greeter.bin", L"Greeter.v2.class"}) {
    Text text = Run(sources + L"\\" + name);
    ASSERT_NE(text, nullptr) << ToUtf8(name);
    EXPECT_EQ(text.get(), Listing("Greeter", {{L"86400123.class", bytes.size()}})) << ToUtf8(name);
    ASSERT_FALSE(g_starts.empty());
    EXPECT_EQ(g_starts.back().commandLine,
              L"\"" + folder_.directory() + L"\\jad\" -lnc -o -s \"86400123.java\" \"86400123\"");
  }
  EXPECT_EQ(folder_.ExtraFiles(), std::set<std::wstring>{L"sources"});
}

TEST_F(DecompileRunTest, AFamilyPastEitherBoundLeavesTheShownFileAlone) {
  folder_.InstallFakeJad("listing");
  const std::wstring sources = Sources();
  const FileList family = FilesIn(sources, PutOuterFamily(sources));
  DWORD bytes = 0;
  for (const auto& file : family) bytes += static_cast<DWORD>(file.second);
  const DWORD files = static_cast<DWORD>(family.size());
  const struct {
    DWORD files;
    DWORD bytes;
    bool whole;
  } cases[] = {{files, bytes, true}, {files - 1, bytes, false}, {files, bytes - 1, false}};
  for (const char* shown : {"Outer", "Outer$Kind$1"}) {
    std::wstring name = std::wstring(shown, shown + strlen(shown)) + L".class";
    for (const auto& c : cases) {
      FamilyFileLimit = c.files;
      FamilyByteLimit = c.bytes;
      Text text = Run(sources + L"\\" + name);
      ASSERT_NE(text, nullptr) << shown << " " << c.files << " " << c.bytes;
      EXPECT_EQ(text.get(),
                c.whole ? Listing(shown, family) : Listing(shown, FilesIn(sources, {name})))
          << shown << " " << c.files << " " << c.bytes;
    }
  }
  EXPECT_EQ(folder_.ExtraFiles(), std::set<std::wstring>{L"sources"});
}

// The searches of the source folder and the copies, through the test's own
// imports (the run is linked into it).
struct ScanCount {
  std::wstring folder;  // the source folder; other searches are not counted
  std::vector<std::wstring> patterns;
  int copies = 0;
};
ScanCount g_scan;
decltype(&FindFirstFileW) g_findFirst = nullptr;
decltype(&CopyFileW) g_copy = nullptr;

HANDLE WINAPI CountFindFirst(LPCWSTR pattern, LPWIN32_FIND_DATAW found) {
  if (std::wstring(pattern).rfind(g_scan.folder + L"\\", 0) == 0) {
    g_scan.patterns.push_back(pattern);
  }
  return g_findFirst(pattern, found);
}
BOOL WINAPI CountCopies(LPCWSTR from, LPCWSTR to, BOOL failIfExists) {
  ++g_scan.copies;
  return g_copy(from, to, failIfExists);
}

TEST_F(DecompileRunTest, AFolderOfManyUnrelatedClassesCostsOneFilteredScanAndNoCopy) {
  folder_.InstallFakeJad("listing");
  const std::wstring sources = Sources();
  const FileList family = FilesIn(sources, PutOuterFamily(sources));
  // Names the pattern lets through, for the name rule to refuse, and many it
  // keeps back.
  for (int i = 0; i < 20; ++i) {
    WriteFileBytes(sources + L"\\Outer" + std::to_wstring(i) + L"$1.class", "near miss");
  }
  for (int i = 0; i < 2000; ++i) {
    WriteFileBytes(sources + L"\\Unrelated" + std::to_wstring(i) + L".class", "unrelated");
  }

  HMODULE self = GetModuleHandleW(nullptr);
  ScopedImportHook first(self, "kernel32.dll", "FindFirstFileW",
                         reinterpret_cast<void*>(&CountFindFirst));
  ScopedImportHook copy(self, "kernel32.dll", "CopyFileW", reinterpret_cast<void*>(&CountCopies));
  ASSERT_TRUE(first.installed() && copy.installed());
  g_findFirst = first.original<decltype(&FindFirstFileW)>();
  g_copy = copy.original<decltype(&CopyFileW)>();
  g_scan = ScanCount();
  g_scan.folder = sources;

  Text text = Run(sources + L"\\Outer$Member.class");
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(text.get(), Listing("Outer$Member", family));
  EXPECT_EQ(g_scan.patterns, std::vector<std::wstring>{sources + L"\\Outer*.class"});
  EXPECT_EQ(g_scan.copies, static_cast<int>(family.size()));
}

TEST_F(DecompileRunTest, TwoProcessesAtOnceOnTwoClassesOfOneFolderEachShowTheirOwn) {
  // Two Listers, each its own process, on the same plugin copy; the fakes wait
  // for each other, so both run folders are there at once.
  folder_.InstallFakeJad("meet");
  const std::wstring sources = Sources();
  const FileList outer = FilesIn(sources, PutOuterFamily(sources));
  ASSERT_TRUE(CopyFileW(DataFile(L"sample\\Greeter.class").c_str(),
                        (sources + L"\\Greeter.class").c_str(), FALSE));
  const FileList greeter = FilesIn(sources, {L"Greeter.class"});

  const struct {
    const wchar_t* scratch;
    const wchar_t* file;
    std::string expected;
  } runs[] = {{L"decompile_two_runs_outer", L"Outer.class", Listing("Outer", outer)},
              {L"decompile_two_runs_greeter", L"Greeter.class", Listing("Greeter", greeter)}};
  std::wstring scratch[2];
  ListerRun result[2];
  std::thread threads[2];
  for (int i = 0; i < 2; ++i) {
    scratch[i] = ScratchFolder(runs[i].scratch);
    threads[i] = std::thread([&, i] {
      result[i] = RunLister({folder_.Path(kPluginFile), sources + L"\\" + runs[i].file,
                             L"--dump-text", scratch[i] + L"text.txt"},
                            scratch[i]);
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(result[i].exit_code, 0) << i;
    // The text behind the viewer's header lines; line ends as the control
    // gives them.
    std::string expected = runs[i].expected + "// met\r\n";
    std::string shown = ReadBytes(scratch[i] + L"text.txt");
    for (std::string* text : {&expected, &shown}) {
      text->erase(std::remove(text->begin(), text->end(), '\r'), text->end());
    }
    EXPECT_NE(shown.find(expected), std::string::npos) << shown;
  }
  EXPECT_EQ(folder_.ExtraFiles(), std::set<std::wstring>{L"sources"});
}

TEST_F(DecompileRunTest, TheBridgeDecompilesARealClass) {
  if (!RunningUnderWine()) GTEST_SKIP() << "the bridge starts a Unix program: Wine only";
  folder_.InstallBridgeJad();
  Text text = Run();
  ASSERT_NE(text, nullptr);
  std::string source = text.get();
  EXPECT_NE(source.find("package sample;"), std::string::npos) << source;
  EXPECT_NE(source.find("public class Greeter"), std::string::npos) << source;
  EXPECT_NE(source.find("public String greet(int "), std::string::npos) << source;
  EXPECT_NE(source.find("\"Hello, \""), std::string::npos) << source;
  EXPECT_TRUE(folder_.ExtraFiles().empty());
}

// A bridge asked to stop at the plugin's wait limit ends its Java and removes
// its temporary folder; one ended at once (no grace) cannot, and the next
// bridge removes what one that is gone left behind.
TEST_F(DecompileRunTest, WhatABridgeEndedAtTheWaitLimitLeftInTempTheNextOneRemoves) {
  if (!RunningUnderWine()) GTEST_SKIP() << "the bridge starts a Unix program: Wine only";
  folder_.InstallBridgeJad("timeout=600\r\ndecompiler=\"{java}\" -cp \"" + ToUtf8(ExeDirectory()) +
                           "bridge_data\" Sleeper wait-limit\r\n");
  DecompileWaitLimitMs = 1500;
  EXPECT_EQ(Run(), nullptr);
  EXPECT_EQ(run_.end, DecompileEnd::TimedOut);
  EXPECT_EQ(CountBridgeTempFolders(), 0);

  DecompileStopGraceMs = 0;
  EXPECT_EQ(Run(), nullptr);
  EXPECT_GE(CountBridgeTempFolders(), 1);

  folder_.InstallBridgeJad();
  DecompileWaitLimitMs = 60 * 1000;
  EXPECT_NE(Run(), nullptr);
  EXPECT_EQ(CountBridgeTempFolders(), 0);
  EXPECT_TRUE(folder_.ExtraFiles().empty());
}

// The run when the plugin's own path is no use: nothing is created, copied,
// started, searched or deleted.
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
BOOL WINAPI CountCreateDirectory(LPCWSTR, LPSECURITY_ATTRIBUTES) {
  SetLastError(ERROR_PATH_NOT_FOUND);
  return ++g_fileCalls, FALSE;
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
  ScopedImportHook directory(self, "kernel32.dll", "CreateDirectoryW",
                             reinterpret_cast<void*>(&CountCreateDirectory));
  ScopedImportHook copy(self, "kernel32.dll", "CopyFileW", reinterpret_cast<void*>(&CountCopy));
  ScopedImportHook del(self, "kernel32.dll", "DeleteFileW", reinterpret_cast<void*>(&CountDelete));
  ScopedImportHook find(self, "kernel32.dll", "FindFirstFileW",
                        reinterpret_cast<void*>(&CountFind));
  ScopedImportHook create(self, "kernel32.dll", "CreateFileW",
                          reinterpret_cast<void*>(&CountCreate));
  ASSERT_TRUE(moduleName.installed() && directory.installed() && copy.installed() &&
              del.installed() && find.installed() && create.installed());

  // With the stamp 86400123 the run folder's name is the directory and 20
  // more, and a current directory takes at most 258 characters. Past that,
  // and when the folder is refused, the run asks the user's temporary folder.
  const std::wstring fits = L"C:\\" + std::wstring(235, L'p') + L"\\d.wlx64";
  const std::wstring oneTooLong = L"C:\\" + std::wstring(236, L'p') + L"\\d.wlx64";
  const std::wstring over = L"C:\\" + std::wstring(300, L'p') + L"\\dravik.wlx64";
  const struct {
    const char* what;
    ModulePathScript script;
    int tried;  // the folders asked for (and here refused)
  } cases[] = {
      {"call fails", {nullptr, 0}, 0},
      {"path fills the buffer", {over.c_str(), 260}, 0},
      {"no backslash", {L"dravik.wlx64", 12}, 0},
      {"run folder one too long", {oneTooLong.c_str(), 248}, 1},
      {"run folder just fits", {fits.c_str(), 247}, 2},
  };
  for (const auto& c : cases) {
    g_modulePath = c.script;
    g_fileCalls = 0;
    g_starts.clear();
    EXPECT_EQ(Text(DecompileClassFile(L"C:\\x\\Foo.class")), nullptr) << c.what;
    EXPECT_EQ(g_fileCalls, c.tried) << c.what;
    EXPECT_TRUE(g_starts.empty()) << c.what;
  }
}

}  // namespace
