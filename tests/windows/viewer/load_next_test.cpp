// ListLoadNextW and ListLoadNext: files shown as numbered text in an existing
// list window, with the texts the control was given recorded at SetWindowTextA.
#include <gtest/gtest.h>

#include <string>

#include "host/listplug.h"
#include "host/module_state.h"
#include "tests/windows/viewer/viewer_fixture.h"

namespace {

std::vector<std::string> g_textsSet;
BOOL(WINAPI* g_setWindowText)(HWND, LPCSTR) = nullptr;

BOOL WINAPI RecordSetWindowText(HWND window, LPCSTR text) {
  g_textsSet.push_back(text);
  return g_setWindowText(window, text);
}

class LoadNextTest : public ViewerTest {
 protected:
  void SetUp() override {
    ViewerTest::SetUp();
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    directory_ = std::wstring(temp) + L"dravik_load_next_" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(directory_.c_str(), nullptr);
    list_ = CreateRichEdit("before");
    ASSERT_NE(list_, nullptr);
    g_textsSet.clear();
    record_ = std::make_unique<ScopedImportHook>(GetModuleHandleW(nullptr), "user32.dll",
                                                 "SetWindowTextA",
                                                 reinterpret_cast<void*>(&RecordSetWindowText));
    ASSERT_TRUE(record_->installed());
    g_setWindowText = record_->original<BOOL(WINAPI*)(HWND, LPCSTR)>();
    now = 70000;
    step = 10;
    readings = 0;
  }
  void TearDown() override {
    record_.reset();
    for (const std::wstring& file : files_) DeleteFileW(file.c_str());
    RemoveDirectoryW(directory_.c_str());
    ViewerTest::TearDown();
  }

  std::wstring WriteTestFile(const wchar_t* name, const std::string& bytes) {
    std::wstring path = directory_ + L"\\" + name;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    files_.push_back(path);
    return path;
  }

  // Deleting fails while the plugin still holds the file open.
  static bool IsClosed(const std::wstring& path) { return DeleteFileW(path.c_str()) != 0; }

  std::string ControlText() {
    char text[256] = {};
    GetWindowTextA(list_, text, sizeof text);
    return text;
  }

  std::wstring directory_;
  std::vector<std::wstring> files_;
  HWND list_ = nullptr;
  std::unique_ptr<ScopedImportHook> record_;
};

TEST_F(LoadNextTest, AFileThatCannotBeOpenedChangesNothing) {
  LastActivityTick = 123;
  std::wstring missing = directory_ + L"\\missing.txt";
  EXPECT_EQ(ListLoadNextW(host_, list_, &missing[0], 0), LISTPLUGIN_ERROR);
  EXPECT_EQ(ListLoadNextW(host_, list_, nullptr, 0), LISTPLUGIN_ERROR);
  EXPECT_EQ(ListLoadNext(host_, list_, nullptr, 0), LISTPLUGIN_ERROR);
  EXPECT_EQ(ControlText(), "before");
  EXPECT_EQ(LastActivityTick, 123u);
  EXPECT_EQ(readings, 0);
  EXPECT_TRUE(TakePosted().empty());
}

TEST_F(LoadNextTest, AFileWithANulByteLeavesTheWindowEmptyAndTheFileClosed) {
  std::wstring path = WriteTestFile(L"zero_byte.bin", std::string("ab\0cd", 5));
  HWND lister = CreateHost();
  SendMessageA(list_, EM_SETEVENTMASK, 0, 0);
  EXPECT_EQ(ListLoadNextW(lister, list_, &path[0], 0), LISTPLUGIN_ERROR);
  EXPECT_EQ(ControlText(), "");
  EXPECT_EQ(SendMessageA(list_, EM_GETEVENTMASK, 0, 0), ENM_UPDATE);
  EXPECT_EQ(LastActivityTick, 70000u) << "the stamp taken after opening stands";
  EXPECT_TRUE(IsClosed(path));
  // Only the font style went out, to the window the host named, not the control's parent.
  std::vector<PostedCommand> posted = TakePosted(lister);
  ASSERT_EQ(posted.size(), 1u);
  EXPECT_EQ(posted[0].wParam, static_cast<WPARAM>(0xFFFFFFFFFFFD0004ull));
  EXPECT_EQ(posted[0].lParam, reinterpret_cast<LPARAM>(list_));
  EXPECT_TRUE(TakePosted().empty());
  DestroyWindow(lister);
}

TEST_F(LoadNextTest, WithoutAListWindowTheFileIsOpenedClosedAndStampedTwice) {
  std::wstring path = WriteTestFile(L"plain.txt", "text");
  EXPECT_EQ(ListLoadNextW(host_, nullptr, &path[0], 0), LISTPLUGIN_OK);
  EXPECT_EQ(readings, 2);
  EXPECT_EQ(LastActivityTick, 70010u);
  EXPECT_TRUE(IsClosed(path));
  EXPECT_TRUE(g_textsSet.empty());
  EXPECT_TRUE(TakePosted().empty());
}

TEST_F(LoadNextTest, FilesAreShownNumberedAndReportedAtTheTop) {
  const struct {
    const wchar_t* name;
    std::string bytes;
    std::string shown;
  } cases[] = {
      {L"empty.txt", "", "1: "},
      {L"mixed.txt", "a\nb\r\nc\rd", "1: a\r2: b\r\n3: c\r4: d"},
  };
  for (const auto& c : cases) {
    std::wstring path = WriteTestFile(c.name, c.bytes);
    g_textsSet.clear();
    readings = 0;
    EXPECT_EQ(ListLoadNextW(host_, list_, &path[0], 0), LISTPLUGIN_OK);
    std::vector<std::string> expected = {"", c.shown};
    EXPECT_EQ(g_textsSet, expected);
    EXPECT_EQ(LastActivityTick, now - step) << "stamped by the last reading";
    EXPECT_EQ(readings, 2);
    EXPECT_TRUE(IsClosed(path));
    std::vector<PostedCommand> posted = TakePosted();
    ASSERT_EQ(posted.size(), 2u);
    EXPECT_EQ(posted[0].wParam, HostWParam(lcp_ansi, itm_fontstyle));
    EXPECT_EQ(posted[1].wParam, static_cast<WPARAM>(0xFFFFFFFFFFFE0000ull));
    EXPECT_EQ(posted[1].lParam, reinterpret_cast<LPARAM>(list_));
  }

  // The 8-bit form converts the name and does the same.
  std::wstring wide = WriteTestFile(L"ansi.txt", "x");
  std::string ansi(wide.begin(), wide.end());
  g_textsSet.clear();
  EXPECT_EQ(ListLoadNext(host_, list_, &ansi[0], 0), LISTPLUGIN_OK);
  EXPECT_EQ(g_textsSet, (std::vector<std::string>{"", "1: x"}));
}

}  // namespace
