// Bad input through the exports of the real plugin (a copy in a folder of its
// own, with the fake Jad beside it): each case gives the failure value, leaves
// no window and no file behind in the plugin folder, and returns to its host.
// The cases the decompiler run's own tests already pin down are here only as
// far as the export adds something: the window, the 8-bit names, the host.
#include <gtest/gtest.h>

#include <string>

#include "decompile/long_path.h"
#include "tests/windows/lister/lister_run.h"
#include "tests/windows/soak/soak_fixture.h"
#include "tests/windows/test_support.h"

namespace {

// What the hooked platform calls saw, and how they are to fail.
struct FileCalls {
  int copies = 0;
  std::wstring refusedFolders;  // no folder can be made below these (";" between)
  int starts = 0;
  bool hugeSize = false;
};
FileCalls g_calls;

BOOL WINAPI RecordCopyFileW(LPCWSTR from, LPCWSTR to, BOOL failIfExists) {
  ++g_calls.copies;
  return CopyFileW(from, to, failIfExists);
}
// What a folder without write access answers.
BOOL WINAPI RefusingCreateDirectoryW(LPCWSTR path, LPSECURITY_ATTRIBUTES security) {
  std::wstring name = path;
  if (name.rfind(L"\\\\?\\", 0) == 0) name = name.substr(4);
  for (size_t at = 0; at < g_calls.refusedFolders.size();) {
    size_t end = g_calls.refusedFolders.find(L';', at);
    if (end == std::wstring::npos) end = g_calls.refusedFolders.size();
    if (name.rfind(g_calls.refusedFolders.substr(at, end - at) + L"\\", 0) == 0) {
      SetLastError(ERROR_ACCESS_DENIED);
      return FALSE;
    }
    at = end + 1;
  }
  return CreateDirectoryW(path, security);
}
BOOL WINAPI RecordCreateProcessW(LPCWSTR application, LPWSTR command, LPSECURITY_ATTRIBUTES pa,
                                 LPSECURITY_ATTRIBUTES ta, BOOL inherit, DWORD flags, LPVOID env,
                                 LPCWSTR directory, LPSTARTUPINFOW startup,
                                 LPPROCESS_INFORMATION info) {
  ++g_calls.starts;
  return CreateProcessW(application, command, pa, ta, inherit, flags, env, directory, startup,
                        info);
}
// A file of 2^31 bytes as far as its size goes, without the disk space.
DWORD WINAPI ScriptedGetFileSize(HANDLE file, LPDWORD high) {
  return g_calls.hugeSize ? 0x80000000u : GetFileSize(file, high);
}

class BadInputTest : public ::testing::Test, public PluginCopyFixture {
 protected:
  void SetUp() override {
    g_calls = FileCalls();
    ASSERT_TRUE(folder().loaded());
    folder().InstallFakeJad("write");
    ASSERT_TRUE(Hook("kernel32.dll", "CopyFileW", reinterpret_cast<void*>(&RecordCopyFileW)));
    ASSERT_TRUE(
        Hook("kernel32.dll", "CreateProcessW", reinterpret_cast<void*>(&RecordCreateProcessW)));
    ASSERT_TRUE(Hook("kernel32.dll", "GetFileSize", reinterpret_cast<void*>(&ScriptedGetFileSize)));
    ASSERT_TRUE(Hook("kernel32.dll", "CreateDirectoryW",
                     reinterpret_cast<void*>(&RefusingCreateDirectoryW)));
    classBytes_ = ReadFileBytes(DataFile(L"sample\\Greeter.class"));
    ASSERT_GT(classBytes_.size(), 200u);
  }

  std::wstring Input(const std::wstring& name, const std::string& bytes) {
    std::wstring path = inputs() + L"\\" + name;
    WriteFileBytes(path, bytes);
    return path;
  }

  // A class file whose full path has exactly length characters, in folders
  // of at most 200 characters each below the inputs folder.
  std::wstring FileOfLength(size_t length, const std::wstring& leaf, const std::string& bytes) {
    std::wstring path = inputs();
    while (path.size() + leaf.size() < length) {
      size_t gap = length - path.size() - leaf.size();
      size_t room = gap - 1;  // one for the backslash
      // A gap of one left after this folder could not be filled by another.
      if (room > 200) room = gap - 201 == 1 ? 199 : 200;
      if (room == 0) room = 1;
      path += L"\\" + std::wstring(room, L'd');
      EXPECT_TRUE(LongPathCreateDirectory(path.c_str(), nullptr) ||
                  GetLastError() == ERROR_ALREADY_EXISTS);
    }
    path += leaf;
    EXPECT_EQ(path.size(), length);
    WriteFileBytes(path, bytes);
    EXPECT_EQ(ReadFileBytes(path), bytes);
    return path;
  }
  std::wstring ClassFileOfLength(size_t length) {
    return FileOfLength(length, L"\\Greeter.class", classBytes_);
  }

  HWND LoadW(const std::wstring& path) {
    HWND window = listLoadW(lister(), const_cast<WCHAR*>(path.c_str()), 0);
    PumpMessages();
    return window;
  }
  HWND LoadAnsi(const std::string& path) {
    HWND window = listLoad(lister(), const_cast<char*>(path.c_str()), 0);
    PumpMessages();
    return window;
  }

  // A refused load: no window, nothing left in the plugin folder.
  void ExpectRefused(HWND window, const std::string& what) {
    EXPECT_EQ(window, nullptr) << what;
    EXPECT_EQ(GetWindow(lister(), GW_CHILD), nullptr) << what;
    EXPECT_TRUE(folder().ExtraFiles().empty()) << what;
  }
  // A load without Jad's text: the class's bytecode under the comment that
  // says why, in a visible window; nothing left behind.
  void ExpectBytecode(HWND window, const std::string& why, const std::string& what) {
    ASSERT_NE(window, nullptr) << what;
    const std::string text = WindowText(window);
    EXPECT_NE(text.find(why), std::string::npos) << what << "\n" << text;
    EXPECT_NE(text.find("public class sample.Greeter {"), std::string::npos) << what;
    EXPECT_TRUE(GetWindowLongA(window, GWL_STYLE) & WS_VISIBLE) << what;
    listCloseWindow(window);
    EXPECT_TRUE(folder().ExtraFiles().empty()) << what;
  }
  // A shown load: Jad's text in a visible window, nothing left behind.
  void ExpectShown(HWND window, const std::string& what) {
    ASSERT_NE(window, nullptr) << what;
    EXPECT_NE(WindowText(window).find("class Greeter {}"), std::string::npos) << what;
    EXPECT_TRUE(GetWindowLongA(window, GWL_STYLE) & WS_VISIBLE) << what;
    listCloseWindow(window);
    EXPECT_TRUE(folder().ExtraFiles().empty()) << what;
  }

  std::string classBytes_;
};

TEST_F(BadInputTest, InputsWithNoSourceInThemAreRefused) {
  std::string random;
  unsigned seed = 12345;
  for (int i = 0; i < 4096; ++i) {
    seed = seed * 1103515245u + 12345u;
    random += static_cast<char>(seed >> 16);
  }
  std::wstring directory = inputs() + L"\\Folder.class";
  ASSERT_TRUE(CreateDirectoryW(directory.c_str(), nullptr));
  const struct {
    const char* what;
    std::wstring path;
  } cases[] = {
      {"missing file", inputs() + L"\\Missing.class"},
      {"directory", directory},
      {"zero-length class file", Input(L"Empty.class", "")},
      {"truncated class file", Input(L"Cut.class", classBytes_.substr(0, 40))},
      {"random bytes", Input(L"Random.class", random)},
      {"UNC path to no server", L"\\\\no-such-server\\share\\Greeter.class"},
      {"long UNC path to no server",
       L"\\\\no-such-server\\share\\" + std::wstring(250, L'u') + L"\\Greeter.class"},
  };
  for (const auto& c : cases) ExpectRefused(LoadW(c.path), c.what);
}

TEST_F(BadInputTest, DecompilersThatGiveNoUsableOutputLeaveTheBytecode) {
  const std::string noSource = "Jad ended without writing any source for this class.";
  std::wstring classFile = Input(L"Greeter.class", classBytes_);
  for (const char* mode : {"fail", "nul", "nothing", "quick"}) {
    folder().SetFakeJadMode(mode);
    ExpectBytecode(LoadW(classFile), noSource, mode);
  }
  // An output of 2^31 bytes or more is not read at all.
  folder().SetFakeJadMode("write");
  g_calls.hugeSize = true;
  ExpectBytecode(LoadW(classFile), noSource, "output of 2^31 bytes");
  g_calls.hugeSize = false;

  // No decompiler anywhere: the bare name finds no program, nothing starts.
  DeleteFileW(folder().Path(L"jad.exe").c_str());
  ExpectBytecode(LoadW(classFile), "Jad could not be run for this class", "no decompiler");

  // Two outputs: the first one found is shown; both go with the run folder.
  folder().InstallFakeJad("two");
  HWND window = LoadW(classFile);
  ASSERT_NE(window, nullptr);
  listCloseWindow(window);
  EXPECT_TRUE(folder().ExtraFiles().empty());
}

TEST_F(BadInputTest, APluginFolderWithoutWriteAccessRunsInTheUsersTemporaryFolder) {
  // The host named no settings file with a folder: the temporary folder.
  g_calls.refusedFolders = folder().directory();
  ExpectShown(LoadW(Input(L"Greeter.class", classBytes_)), "read-only plugin folder");
  // Neither there: the bytecode under the places the run was tried in.
  WCHAR temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  g_calls.refusedFolders += L";" + std::wstring(temp).substr(0, wcslen(temp) - 1);
  HWND window = LoadW(Input(L"Greeter.class", classBytes_));
  ASSERT_NE(window, nullptr);
  const std::string text = WindowText(window);
  EXPECT_NE(text.find("no folder for its run"), std::string::npos) << text;
  EXPECT_NE(text.find(" *   " + ToUtf8(folder().directory()) + "\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find(" *   " + ToUtf8(temp) + "dravik-runs-"), std::string::npos) << text;
  ExpectBytecode(window, "Jad could not be run for this class", "nowhere to run");
  g_calls.refusedFolders.clear();
}

TEST_F(BadInputTest, PathsAroundTheClassicAndTheExtendedLimits) {
  for (size_t length : {259u, 260u, 1024u}) {
    g_calls.copies = 0;
    // The run reads the class and writes its copy itself.
    ExpectShown(LoadW(ClassFileOfLength(length)), std::to_string(length) + " characters");
    EXPECT_EQ(g_calls.copies, 0);
  }
  // One past what the extended form holds: refused before any copy.
  g_calls.copies = 0;
  ExpectRefused(LoadW(ClassFileOfLength(1025)), "1025 characters");
  EXPECT_EQ(g_calls.copies, 0);
}

TEST_F(BadInputTest, UncPathsReachAShareInTheShortAndTheExtendedForm) {
  // Wine serves \\server\share from dosdevices\unc\server\share in its prefix.
  if (!RunningUnderWine()) GTEST_SKIP() << "the share is served from Wine's prefix";
  wchar_t prefix[MAX_PATH];
  DWORD n = GetEnvironmentVariableW(L"WINEPREFIX", prefix, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) GTEST_SKIP() << "no WINEPREFIX";
  std::wstring unix = prefix;
  for (wchar_t& c : unix) c = c == L'/' ? L'\\' : c;
  std::wstring server =
      L"Z:" + unix + L"\\dosdevices\\unc\\dravik-soak-" + std::to_wstring(GetCurrentProcessId());
  std::wstring share = server + L"\\share";
  CreateDirectoryW((L"Z:" + unix + L"\\dosdevices\\unc").c_str(), nullptr);
  CreateDirectoryW(server.c_str(), nullptr);
  ASSERT_TRUE(CreateDirectoryW(share.c_str(), nullptr));
  std::wstring deep = share + L"\\" + std::wstring(230, L'u');
  ASSERT_TRUE(LongPathCreateDirectory(deep.c_str(), nullptr));
  WriteFileBytes(share + L"\\Greeter.class", classBytes_);
  WriteFileBytes(deep + L"\\Greeter.class", classBytes_);

  std::wstring unc = L"\\\\dravik-soak-" + std::to_wstring(GetCurrentProcessId()) + L"\\share";
  ExpectShown(LoadW(unc + L"\\Greeter.class"), "UNC path");
  std::wstring longUnc = unc + L"\\" + std::wstring(230, L'u') + L"\\Greeter.class";
  ASSERT_GE(longUnc.size(), 260u);
  ExpectShown(LoadW(longUnc), "UNC path beyond the classic limit");
  RemoveTree(server);
}

TEST_F(BadInputTest, NamesOutsideTheAnsiCodePageWorkOnlyThroughTheWideExport) {
  ASSERT_EQ(GetACP(), 1252u);
  std::wstring cyrillic = Input(L"\x0424\x0443.class", classBytes_);  // not in code page 1252
  ExpectShown(LoadW(cyrillic), "wide, Cyrillic");
  std::wstring accented = Input(L"Caf\x00e9.class", classBytes_);  // in code page 1252
  ExpectShown(LoadW(accented), "wide, accented");

  std::string ansiInputs = ToUtf8(inputs());  // plain ASCII
  ExpectShown(LoadAnsi(ansiInputs + "\\Caf\xe9.class"), "8-bit, accented");
  // The host's conversion turns what the code page lacks into question marks,
  // which name no file.
  std::string lossy(1024, '\0');
  lossy.resize(
      WideCharToMultiByte(CP_ACP, 0, cyrillic.c_str(), -1, &lossy[0], 1024, nullptr, nullptr));
  ASSERT_NE(lossy.find('?'), std::string::npos);
  ExpectRefused(LoadAnsi(lossy.c_str()), "8-bit, Cyrillic");
  ExpectRefused(listLoad(lister(), nullptr, 0), "8-bit, null name");
}

TEST_F(BadInputTest, AnEightBitNameTooLongToConvertNamesNoOtherFile) {
  // The 8-bit export converts into 1024 wide characters. A name that does not
  // fit must not be cut to a shorter name that may well be another file.
  std::wstring fits = ClassFileOfLength(1023);
  std::string ansi = ToUtf8(fits);
  ExpectShown(LoadAnsi(ansi), "1023 characters");
  std::string longer = ansi + "x";  // its first 1023 characters name the file above
  ExpectRefused(LoadAnsi(longer), "1024 characters");
  ExpectRefused(LoadAnsi(longer + std::string(100, 'y')), "1124 characters");
}

TEST_F(BadInputTest, LoadNextRefusesWhatItCannotShowAsText) {
  HWND window = LoadW(Input(L"Greeter.class", classBytes_));
  ASSERT_NE(window, nullptr);
  // 2^31 bytes on disk, without the space: the size alone refuses it.
  std::wstring huge = inputs() + L"\\huge.txt";
  HANDLE file = CreateFileW(huge.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  LARGE_INTEGER size;
  size.QuadPart = 0x80000000LL;
  bool sized = SetFilePointerEx(file, size, nullptr, FILE_BEGIN) && SetEndOfFile(file);
  CloseHandle(file);
  std::wstring directory = inputs() + L"\\folder";
  CreateDirectoryW(directory.c_str(), nullptr);
  const struct {
    const char* what;
    std::wstring path;
    int result;
  } cases[] = {
      {"missing file", inputs() + L"\\missing.txt", LISTPLUGIN_ERROR},
      {"directory", directory, LISTPLUGIN_ERROR},
      {"class file (zero bytes inside)", Input(L"G.class", classBytes_), LISTPLUGIN_ERROR},
      {"empty file", Input(L"empty.txt", ""), LISTPLUGIN_OK},
      {"UNC path to no server", L"\\\\no-such-server\\share\\a.txt", LISTPLUGIN_ERROR},
      {"1024 characters", FileOfLength(1024, L"\\a.txt", "text"), LISTPLUGIN_OK},
      {"1025 characters", FileOfLength(1025, L"\\a.txt", "text"), LISTPLUGIN_ERROR},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(listLoadNextW(lister(), window, const_cast<WCHAR*>(c.path.c_str()), 0), c.result)
        << c.what;
    PumpMessages();
  }
  EXPECT_EQ(listLoadNextW(lister(), window, nullptr, 0), LISTPLUGIN_ERROR);
  if (sized) {
    EXPECT_EQ(listLoadNextW(lister(), window, const_cast<WCHAR*>(huge.c_str()), 0),
              LISTPLUGIN_ERROR);
  }
  DeleteFileW(huge.c_str());
  listCloseWindow(window);
}

TEST_F(BadInputTest, TheListerHostGoesOnAfterEveryRefusedFile) {
  // The same plugin copy, driven by the stand-in Lister: every bad file is
  // refused with a null window, the host's script runs to its end.
  std::wstring directory = inputs() + L"\\Folder.class";
  CreateDirectoryW(directory.c_str(), nullptr);
  std::wstring good = Input(L"Greeter.class", classBytes_);
  std::wstring script = L"force on; load \"" + inputs() + L"\\Missing.class\"; load \"" +
                        directory + L"\"; load \"" + Input(L"Empty.class", "") + L"\"; load \"" +
                        Input(L"Cut.class", classBytes_.substr(0, 40)) + L"\"; load \"" + good +
                        L"\"; echo alive";
  std::wstring scratch = ScratchFolder(L"soak_bad_input_host");
  ListerRun run = RunLister({folder().Path(kPluginFile), good, L"--do", script}, scratch);
  EXPECT_EQ(run.exit_code, 0);
  int refused = 0, shown = 0;
  for (const std::string& line : run.log) {
    if (line.rfind("ListLoadW ", 0) == 0) {
      refused += line.find("-> null") != std::string::npos ? 1 : 0;
      shown += line.find("-> null") == std::string::npos ? 1 : 0;
    }
  }
  EXPECT_EQ(refused, 4);
  EXPECT_EQ(shown, 1);
  EXPECT_TRUE(run.Has("echo alive"));
  EXPECT_TRUE(folder().ExtraFiles().empty());
}

}  // namespace
