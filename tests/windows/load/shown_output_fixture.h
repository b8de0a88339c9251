// The built plugin in a folder of its own with the fake Jad beside it, which
// writes what a test gives it; the exports that work on the shown text.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <utility>

#include "host/listplug.h"
#include "tests/windows/decompile/plugin_folder.h"

class ShownOutputTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  template <typename T>
  T Export(const char* name) {
    return reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(folder_.module(), name)));
  }

  // The control showing what the fake decompiler writes, for the class file
  // of that name in the folder.
  HWND Show(const std::string& output, const std::wstring& classFile = L"Hello.class");
  // The shown text below the two header lines, breaks as CR LF.
  static std::wstring Source(HWND control);
  // ListSearchTextW.
  int Search(HWND control, const wchar_t* text, int flags);
  static std::pair<int, int> Selection(HWND control);

  PluginFolder folder_;
  HWND lister_ = nullptr;
};
