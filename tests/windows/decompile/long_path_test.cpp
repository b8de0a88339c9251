// The long-path layer on the platform: what reaches the Win32 calls (recorded
// through the test's own imports), and real files beyond the classic limit.
#include "decompile/long_path.h"

#include <gtest/gtest.h>
#include <string.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "standins/hooks/import_hooks.h"
#include "tests/windows/decompile/plugin_folder.h"

namespace {

// The names the hooked calls received; a null name is recorded as "<null>".
std::vector<std::wstring> g_wideNames;
std::vector<std::string> g_ansiNames;

void RecordWide(LPCWSTR name) { g_wideNames.push_back(name ? name : L"<null>"); }
void RecordAnsi(LPCSTR name) { g_ansiNames.push_back(name ? name : "<null>"); }

HANDLE WINAPI FakeCreateFileW(LPCWSTR name, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD,
                              HANDLE) {
  RecordWide(name);
  return reinterpret_cast<HANDLE>(0x1234);
}
BOOL WINAPI FakeDeleteFileW(LPCWSTR name) { return RecordWide(name), TRUE; }
BOOL WINAPI FakeCreateDirectoryW(LPCWSTR name, LPSECURITY_ATTRIBUTES) {
  return RecordWide(name), TRUE;
}
BOOL WINAPI FakeRemoveDirectoryW(LPCWSTR name) { return RecordWide(name), TRUE; }
BOOL WINAPI FakeSetFileAttributesW(LPCWSTR name, DWORD) { return RecordWide(name), TRUE; }
HANDLE WINAPI FakeFindFirstFileW(LPCWSTR name, LPWIN32_FIND_DATAW) {
  RecordWide(name);
  return reinterpret_cast<HANDLE>(0x1234);
}
BOOL WINAPI FakeCopyFileW(LPCWSTR from, LPCWSTR to, BOOL) {
  RecordWide(from);
  RecordWide(to);
  return TRUE;
}
BOOL WINAPI FakeMoveFileW(LPCWSTR from, LPCWSTR to) {
  RecordWide(from);
  RecordWide(to);
  return TRUE;
}
UINT WINAPI FakeExtractIconExW(LPCWSTR name, int, HICON*, HICON*, UINT) {
  RecordWide(name);
  return 7;
}

HANDLE WINAPI FakeCreateFileA(LPCSTR name, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD,
                              HANDLE) {
  RecordAnsi(name);
  return reinterpret_cast<HANDLE>(0x1234);
}
BOOL WINAPI FakeCopyFileA(LPCSTR from, LPCSTR to, BOOL) {
  RecordAnsi(from);
  RecordAnsi(to);
  return TRUE;
}
BOOL WINAPI FakeMoveFileA(LPCSTR from, LPCSTR to) {
  RecordAnsi(from);
  RecordAnsi(to);
  return TRUE;
}

#define HOOK(name)                                                                         \
  ScopedImportHook hook##name {                                                            \
    GetModuleHandleW(nullptr), "kernel32.dll", #name, reinterpret_cast<void*>(&Fake##name) \
  }

class LongPathCallsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    PlatformKind = 1;
    g_wideNames.clear();
    g_ansiNames.clear();
  }
  void TearDown() override { PlatformKind = 0; }
  HOOK(CreateFileW);
  HOOK(DeleteFileW);
  HOOK(CreateDirectoryW);
  HOOK(RemoveDirectoryW);
  HOOK(SetFileAttributesW);
  HOOK(FindFirstFileW);
  HOOK(CopyFileW);
  HOOK(MoveFileW);
  HOOK(CreateFileA);
  HOOK(CopyFileA);
  HOOK(MoveFileA);
  ScopedImportHook hookExtractIconExW{GetModuleHandleW(nullptr), "shell32.dll", "ExtractIconExW",
                                      reinterpret_cast<void*>(&FakeExtractIconExW)};
};

std::wstring Local(size_t length) { return L"C:\\" + std::wstring(length - 3, L'x'); }
std::wstring Network(size_t length) {
  return L"\\\\srv\\share\\" + std::wstring(length - 12, L'x');
}

// Every single-path member, as a call that reports whether it succeeded.
const std::vector<std::pair<const char*, std::function<bool(const WCHAR*)>>>& SinglePathMembers() {
  static const std::vector<std::pair<const char*, std::function<bool(const WCHAR*)>>> members = {
      {"CreateFile",
       [](const WCHAR* p) {
         return LongPathCreateFile(p, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr) !=
                INVALID_HANDLE_VALUE;
       }},
      {"DeleteFile", [](const WCHAR* p) { return LongPathDeleteFile(p) != 0; }},
      {"CreateDirectory", [](const WCHAR* p) { return LongPathCreateDirectory(p, nullptr) != 0; }},
      {"RemoveDirectory", [](const WCHAR* p) { return LongPathRemoveDirectory(p) != 0; }},
      {"SetFileAttributes", [](const WCHAR* p) { return LongPathSetFileAttributes(p, 0) != 0; }},
      {"FindFirstFile",
       [](const WCHAR* p) {
         WIN32_FIND_DATAW found;
         return LongPathFindFirstFile(p, &found) != INVALID_HANDLE_VALUE;
       }},
      {"CopyFile (existing)", [](const WCHAR* p) { return LongPathCopyFile(p, L"C:\\n", 0) != 0; }},
      {"CopyFile (new)", [](const WCHAR* p) { return LongPathCopyFile(L"C:\\e", p, 0) != 0; }},
      {"MoveFile (existing)", [](const WCHAR* p) { return LongPathMoveFile(p, L"C:\\n") != 0; }},
      {"MoveFile (new)", [](const WCHAR* p) { return LongPathMoveFile(L"C:\\e", p) != 0; }},
  };
  return members;
}

TEST_F(LongPathCallsTest, EveryMemberPassesTheExtendedFormOrRefusesWithoutASystemCall) {
  const struct {
    std::wstring path;
    std::wstring passed;  // empty: refused
  } cases[] = {
      {Local(259), Local(259)},
      {Local(260), L"\\\\?\\" + Local(260)},
      {Local(1024), L"\\\\?\\" + Local(1024)},
      {Local(1025), L""},
      {Network(1022), L"\\\\?\\UNC" + Network(1022).substr(1)},
      {Network(1023), L""},
  };
  for (const auto& member : SinglePathMembers()) {
    for (const auto& c : cases) {
      g_wideNames.clear();
      bool succeeded = member.second(c.path.c_str());
      EXPECT_EQ(succeeded, !c.passed.empty()) << member.first << " " << c.path.size();
      if (c.passed.empty()) {
        EXPECT_TRUE(g_wideNames.empty()) << member.first << " " << c.path.size();
      } else {
        ASSERT_FALSE(g_wideNames.empty()) << member.first;
        bool asExisting = strstr(member.first, "(new)") == nullptr;
        const std::wstring& seen = asExisting ? g_wideNames.front() : g_wideNames.back();
        EXPECT_EQ(seen, c.passed) << member.first << " " << c.path.size();
      }
    }
  }
}

TEST_F(LongPathCallsTest, NullPathsReachTheSystemAsNullInBothBranches) {
  for (BYTE kind : {1, 2}) {
    PlatformKind = kind;
    g_wideNames.clear();
    g_ansiNames.clear();
    LongPathCreateFile(nullptr, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    LongPathCopyFile(nullptr, L"C:\\to", FALSE);
    LongPathMoveFile(L"C:\\from", nullptr);
    const std::vector<std::wstring> wide = {L"<null>", L"<null>", L"C:\\to", L"C:\\from",
                                            L"<null>"};
    const std::vector<std::string> ansi = {"<null>", "<null>", "C:\\to", "C:\\from", "<null>"};
    if (kind == 1) {
      EXPECT_EQ(g_wideNames, wide);
      EXPECT_TRUE(g_ansiNames.empty());
    } else {
      EXPECT_EQ(g_ansiNames, ansi);
      EXPECT_TRUE(g_wideNames.empty());
    }
  }
}

TEST_F(LongPathCallsTest, TheEightBitBranchCutsPathsTo259Bytes) {
  PlatformKind = 2;
  LongPathCreateFile(Local(259).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  LongPathCreateFile(Local(1500).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_EQ(g_ansiNames.size(), 2u);
  EXPECT_EQ(g_ansiNames[0], std::string("C:\\") + std::string(256, 'x'));
  EXPECT_LE(g_ansiNames[1].size(), 259u);
  EXPECT_TRUE(g_wideNames.empty());
}

TEST_F(LongPathCallsTest, ExtractIconExPassesAPathOfAnyLengthUnchanged) {
  std::wstring path = Local(2000);
  EXPECT_EQ(LongPathExtractIconEx(path.c_str(), 0, nullptr, nullptr, 1), 7u);
  ASSERT_EQ(g_wideNames.size(), 1u);
  EXPECT_EQ(g_wideNames[0], path);
}

// The platform query: only VER_PLATFORM_WIN32_NT selects the wide branch, and
// the answer is kept.
DWORD g_platformId = 0;
BOOL g_versionResult = TRUE;
int g_versionCalls = 0;
BOOL WINAPI ScriptedGetVersionExA(LPOSVERSIONINFOA info) {
  ++g_versionCalls;
  if (info->dwOSVersionInfoSize != 148) return FALSE;
  if (g_versionResult) info->dwPlatformId = g_platformId;
  return g_versionResult;
}

TEST(IsWindowsNTTest, DecidesOnceFromThePlatformId) {
  ScopedImportHook hook(GetModuleHandleW(nullptr), "kernel32.dll", "GetVersionExA",
                        reinterpret_cast<void*>(&ScriptedGetVersionExA));
  ASSERT_TRUE(hook.installed());
  const struct {
    DWORD platformId;
    BOOL result;
    int nt;
  } cases[] = {{VER_PLATFORM_WIN32_NT, TRUE, 1},
               {VER_PLATFORM_WIN32_WINDOWS, TRUE, 0},
               {VER_PLATFORM_WIN32s, TRUE, 0},
               {VER_PLATFORM_WIN32_NT, FALSE, 0}};
  for (const auto& c : cases) {
    PlatformKind = 0;
    g_versionCalls = 0;
    g_platformId = c.platformId;
    g_versionResult = c.result;
    EXPECT_EQ(IsWindowsNT(), c.nt);
    EXPECT_EQ(PlatformKind, c.nt ? 1 : 2);
    g_platformId = c.nt ? VER_PLATFORM_WIN32_WINDOWS : VER_PLATFORM_WIN32_NT;
    EXPECT_EQ(IsWindowsNT(), c.nt);
    EXPECT_EQ(g_versionCalls, 1);
  }
  PlatformKind = 0;
}

TEST(FindDataTest, NamesAreConvertedAndTerminatedWithinTheirFieldsWhateverTheySaid) {
  WIN32_FIND_DATAA ansi;
  memset(&ansi, 'n', sizeof ansi);  // no terminator anywhere
  ansi.dwFileAttributes = 0x20;
  ansi.nFileSizeLow = 1234;
  ansi.nFileSizeHigh = 5;
  ansi.ftLastWriteTime = {7, 8};
  ansi.dwReserved0 = 9;
  WIN32_FIND_DATAW wide;
  memset(&wide, 0xEE, sizeof wide);
  FindDataToWide(&wide, &ansi);
  EXPECT_EQ(wide.cFileName[259], L'\0');
  EXPECT_EQ(wide.cAlternateFileName[13], L'\0');
  EXPECT_EQ(wide.dwFileAttributes, 0x20u);
  EXPECT_EQ(wide.nFileSizeLow, 1234u);
  EXPECT_EQ(wide.nFileSizeHigh, 5u);
  EXPECT_EQ(wide.ftLastWriteTime.dwHighDateTime, 8u);
  EXPECT_EQ(wide.dwReserved0, 9u);
  EXPECT_EQ(wide.dwReserved1, ansi.dwReserved1);

  // Names that fit come through whole, both ways.
  strcpy(ansi.cFileName, "Foo.86400123.java");
  strcpy(ansi.cAlternateFileName, "FOO~1.JAV");
  FindDataToWide(&wide, &ansi);
  EXPECT_STREQ(wide.cFileName, L"Foo.86400123.java");
  EXPECT_STREQ(wide.cAlternateFileName, L"FOO~1.JAV");

  WIN32_FIND_DATAA back;
  memset(&back, 'b', sizeof back);
  FindDataToAnsi(&back, &wide);
  EXPECT_STREQ(back.cFileName, "Foo.86400123.java");
  EXPECT_STREQ(back.cAlternateFileName, "FOO~1.JAV");
  EXPECT_EQ(back.nFileSizeLow, 1234u);

  for (WCHAR& c : wide.cFileName) c = L'w';
  for (WCHAR& c : wide.cAlternateFileName) c = L'w';
  FindDataToAnsi(&back, &wide);
  EXPECT_EQ(back.cFileName[259], '\0');
  EXPECT_EQ(back.cAlternateFileName[13], '\0');
}

// Real files beyond 260 characters, through the wide branch, and short ones
// through the 8-bit branch.
class LongPathFilesTest : public ::testing::TestWithParam<BYTE> {
 protected:
  void SetUp() override { PlatformKind = GetParam(); }
  void TearDown() override { PlatformKind = 0; }
  PluginFolder folder_;
};

TEST_P(LongPathFilesTest, FilesAreCreatedFoundCopiedMovedAndRemoved) {
  std::wstring dir = folder_.directory();
  if (GetParam() == 1) {
    for (int i = 0; i < 3; ++i) {
      dir += L"\\" + std::wstring(90, static_cast<wchar_t>(L'a' + i));
      ASSERT_TRUE(LongPathCreateDirectory(dir.c_str(), nullptr)) << dir.size();
    }
    ASSERT_GT(dir.size(), 260u);
  } else {
    dir += L"\\sub";
    ASSERT_TRUE(LongPathCreateDirectory(dir.c_str(), nullptr));
  }
  std::wstring one = dir + L"\\one.txt";
  HANDLE file = LongPathCreateFile(one.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(file, "abc", 3, &written, nullptr);
  CloseHandle(file);

  std::wstring two = dir + L"\\two.txt";
  std::wstring three = dir + L"\\three.txt";
  EXPECT_TRUE(LongPathCopyFile(one.c_str(), two.c_str(), TRUE));
  EXPECT_FALSE(LongPathCopyFile(one.c_str(), two.c_str(), TRUE));  // exists
  EXPECT_TRUE(LongPathMoveFile(two.c_str(), three.c_str()));
  EXPECT_TRUE(LongPathSetFileAttributes(three.c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_TRUE(LongPathSetFileAttributes(three.c_str(), FILE_ATTRIBUTE_NORMAL));

  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found;
  HANDLE search = LongPathFindFirstFile((dir + L"\\*.txt").c_str(), &found);
  ASSERT_NE(search, INVALID_HANDLE_VALUE);
  do {
    names.push_back(found.cFileName);
    EXPECT_EQ(found.nFileSizeLow, 3u);
  } while (LongPathFindNextFile(search, &found));
  FindClose(search);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::wstring>{L"one.txt", L"three.txt"}));

  EXPECT_TRUE(LongPathDeleteFile(one.c_str()));
  EXPECT_TRUE(LongPathDeleteFile(three.c_str()));
  EXPECT_FALSE(LongPathDeleteFile(three.c_str()));
  EXPECT_EQ(LongPathFindFirstFile((dir + L"\\*.txt").c_str(), &found), INVALID_HANDLE_VALUE);
  EXPECT_TRUE(LongPathRemoveDirectory(dir.c_str()));
}

INSTANTIATE_TEST_SUITE_P(BothBranches, LongPathFilesTest, ::testing::Values(1, 2));

}  // namespace
