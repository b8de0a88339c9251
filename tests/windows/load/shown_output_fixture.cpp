#include "tests/windows/load/shown_output_fixture.h"

#include <richedit.h>

void ShownOutputTest::SetUp() {
  ASSERT_TRUE(folder_.loaded());
  folder_.InstallFakeJad("source");
  lister_ = CreateWindowExW(0, L"STATIC", L"Lister", WS_OVERLAPPEDWINDOW, 0, 0, 640, 480, nullptr,
                            nullptr, nullptr, nullptr);
  ASSERT_NE(lister_, nullptr);
}

void ShownOutputTest::TearDown() { DestroyWindow(lister_); }

HWND ShownOutputTest::Show(const std::string& output, const std::wstring& classFile) {
  std::wstring path = folder_.Path(classFile);
  WriteFileBytes(path, ReadFileBytes(DataFile(L"sample\\Greeter.class")));
  WriteFileBytes(folder_.Path(L"fakejad.source"), output);
  return Export<decltype(&ListLoadW)>("ListLoadW")(lister_, &path[0], 0);
}

std::wstring ShownOutputTest::Source(HWND control) {
  std::wstring text(GetWindowTextLengthW(control) + 1, L'\0');
  text.resize(GetWindowTextW(control, &text[0], static_cast<int>(text.size())));
  size_t second = text.find(L"\r\n");
  size_t third = second == std::wstring::npos ? second : text.find(L"\r\n", second + 2);
  return third == std::wstring::npos ? L"" : text.substr(third + 2);
}

int ShownOutputTest::Search(HWND control, const wchar_t* text, int flags) {
  std::wstring copy = text;
  return Export<decltype(&ListSearchTextW)>("ListSearchTextW")(control, &copy[0], flags);
}

std::pair<int, int> ShownOutputTest::Selection(HWND control) {
  DWORD start = 0, end = 0;
  SendMessageW(control, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
               reinterpret_cast<LPARAM>(&end));
  return {static_cast<int>(start), static_cast<int>(end)};
}
