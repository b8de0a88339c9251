// The control is ours wherever it is created from: the library that
// LoadLibraryA("Riched20.dll") finds is the one beside the executable, and its
// global class serves windows of other modules too.
#include "tests/windows/richedit/richedit_fixture.h"
#include "tests/windows/test_support.h"

namespace {

using LoadingTest = RichEditTest;

std::wstring ModulePath(HMODULE module) {
  wchar_t path[MAX_PATH];
  const DWORD n = GetModuleFileNameW(module, path, MAX_PATH);
  return std::wstring(path, n);
}

// Wine's own control answers 0 here.
int FirstWordEnd(HWND control) {
  SetWindowTextA(control, "one two");
  return static_cast<int>(SendMessageA(control, EM_FINDWORDBREAK, WB_MOVEWORDRIGHT, 0));
}

TEST_F(LoadingTest, Riched20IsTheLibraryBesideTheExecutable) {
  // Where the stand-in is left out (Windows, its own control under test).
  if (GetFileAttributesW((ExeDirectory() + L"riched20.dll").c_str()) == INVALID_FILE_ATTRIBUTES) {
    GTEST_SKIP() << "no riched20.dll beside the executable";
  }
  EXPECT_EQ(_wcsicmp(ModulePath(library_).c_str(), (ExeDirectory() + L"riched20.dll").c_str()), 0)
      << "loaded from elsewhere";
}

TEST_F(LoadingTest, BothClassNamesMakeOurControlWithAnyInstanceHandle) {
  for (const char* name : {"RichEdit20A", "RichEdit"}) {
    for (HINSTANCE instance : {GetModuleHandleA(nullptr), HINSTANCE(nullptr)}) {
      HWND control = CreateWindowExA(0, name, "", WS_CHILD | ES_MULTILINE, 0, 0, 50, 50, parent_,
                                     nullptr, instance, nullptr);
      ASSERT_NE(control, nullptr) << name;
      EXPECT_EQ(FirstWordEnd(control), 4) << name;
      DestroyWindow(control);
    }
  }
}

TEST_F(LoadingTest, AnotherModuleCreatingTheClassGetsOurControl) {
  HMODULE foreign = LoadLibraryW((ExeDirectory() + L"richedit_foreign_module.dll").c_str());
  ASSERT_NE(foreign, nullptr);
  auto create = reinterpret_cast<HWND (*)(HWND)>(
      reinterpret_cast<void*>(GetProcAddress(foreign, "CreateRichEditFromForeignModule")));
  ASSERT_NE(create, nullptr);
  HWND control = create(parent_);
  ASSERT_NE(control, nullptr);
  EXPECT_EQ(FirstWordEnd(control), 4);
  DestroyWindow(control);
  FreeLibrary(foreign);
}

TEST_F(LoadingTest, TheTitleGivenAtCreationIsTheText) {
  HWND control = CreateWindowExA(0, "RichEdit20A", "a\nb", WS_CHILD | ES_MULTILINE, 0, 0, 50, 50,
                                 parent_, nullptr, nullptr, nullptr);
  ASSERT_NE(control, nullptr);
  char text[16] = {};
  EXPECT_EQ(GetWindowTextA(control, text, sizeof text), 4);
  EXPECT_STREQ(text, "a\r\nb");
  DestroyWindow(control);
}

}  // namespace
