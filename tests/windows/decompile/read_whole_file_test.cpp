// ReadWholeFile on real files, and on what a file system might report (sizes
// and read counts scripted through the test's own imports).
#include "decompile/read_whole_file.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <string>

#include "standins/hooks/import_hooks.h"
#include "tests/windows/decompile/plugin_folder.h"

namespace {

char* ReadText(const std::wstring& path) { return ReadWholeFile(path.c_str()); }

class ReadWholeFileTest : public ::testing::Test {
 protected:
  std::wstring Write(const std::string& bytes) {
    std::wstring path = folder_.Path(L"file.txt");
    WriteFileBytes(path, bytes);
    return path;
  }
  PluginFolder folder_;
};

TEST_F(ReadWholeFileTest, BytesComeBackUnchangedUnlessAZeroByteIsAmongThem) {
  const struct {
    std::string bytes;
    bool text;
  } cases[] = {
      {"", true},
      {"class A {}\r\n\xE4\xF6\xFC\x80\xFF", true},
      {std::string(100000, 'x'), true},
      {std::string("\0abc", 4), false},
      {std::string("abc\0", 4), false},
      {std::string("ab\0c", 4), false},
  };
  for (const auto& c : cases) {
    char* text = ReadText(Write(c.bytes));
    if (c.text) {
      ASSERT_NE(text, nullptr) << c.bytes.size();
      EXPECT_EQ(std::string(text), c.bytes);
    } else {
      EXPECT_EQ(text, nullptr) << c.bytes.size();
    }
    free(text);
  }
  EXPECT_EQ(ReadText(folder_.Path(L"missing.txt")), nullptr);
  EXPECT_EQ(ReadWholeFile(nullptr), nullptr);
}

// Scripted file system answers.
DWORD g_size = 0;
DWORD g_readCount = 0;
int g_closes = 0;
decltype(&CloseHandle) g_realClose = nullptr;
DWORD WINAPI ScriptedGetFileSize(HANDLE, LPDWORD high) { return high ? *high = 0, g_size : g_size; }
BOOL WINAPI ScriptedReadFile(HANDLE, LPVOID buffer, DWORD size, LPDWORD read, LPOVERLAPPED) {
  memset(buffer, 'r', size);
  *read = g_readCount;
  return TRUE;
}
BOOL WINAPI CountCloseHandle(HANDLE handle) {
  ++g_closes;
  return g_realClose(handle);
}

TEST_F(ReadWholeFileTest, ReportedSizesAndCountsAreKeptWithinTheBuffer) {
  std::wstring path = Write("0123456789");
  HMODULE self = GetModuleHandleW(nullptr);
  ScopedImportHook size(self, "kernel32.dll", "GetFileSize",
                        reinterpret_cast<void*>(&ScriptedGetFileSize));
  ScopedImportHook read(self, "kernel32.dll", "ReadFile",
                        reinterpret_cast<void*>(&ScriptedReadFile));
  ScopedImportHook close(self, "kernel32.dll", "CloseHandle",
                         reinterpret_cast<void*>(&CountCloseHandle));
  ASSERT_TRUE(size.installed() && read.installed() && close.installed());
  g_realClose = close.original<decltype(&CloseHandle)>();
  const struct {
    DWORD size;
    DWORD count;
    const char* expected;  // null: no text
  } cases[] = {
      {10, 10, "rrrrrrrrrr"},
      {10, 4, "rrrr"},         // a short read ends the text after what was read
      {10, 99, "rrrrrrrrrr"},  // a count beyond the size is cut to it
      {10, 0, ""},
      {0x7FFFFFFF, 0, nullptr},
      {0xFFFFFFFF, 0, nullptr},
  };
  for (const auto& c : cases) {
    g_size = c.size;
    g_readCount = c.count;
    g_closes = 0;
    char* text = ReadText(path);
    if (c.expected == nullptr) {
      EXPECT_EQ(text, nullptr) << c.size;
    } else {
      ASSERT_NE(text, nullptr) << c.size << " " << c.count;
      EXPECT_STREQ(text, c.expected);
    }
    EXPECT_EQ(g_closes, 1) << "the file is closed on every path";
    free(text);
  }
}

}  // namespace
