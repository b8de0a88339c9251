// A rich-edit control made the way the plugin makes it (after
// LoadLibraryA("Riched20.dll")), inside a parent window that records the
// notifications it receives.
#pragma once

#include <gtest/gtest.h>
#include <richedit.h>
#include <windows.h>

#include <string>
#include <vector>

class RichEditTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite();
  void SetUp() override;
  void TearDown() override;

  // The plugin's style (hidden read-only child with both scroll bars) unless
  // told otherwise; an 8-bit "RichEdit20A", or with wide a "RichEdit20W".
  HWND Create(DWORD style = 0x40300904, bool wide = false);
  void Show();

  LRESULT Send(UINT message, WPARAM wparam = 0, LPARAM lparam = 0) const {
    return SendMessageA(control_, message, wparam, lparam);
  }
  void SetText(const char* text) const { SetWindowTextA(control_, text); }
  std::string TextRange(int min, int max) const;
  void Select(int min, int max) const;
  std::pair<int, int> Selection() const;
  int UpdateCount() const;

  static HMODULE library_;
  static HWND parent_;
  HWND control_ = nullptr;
};
