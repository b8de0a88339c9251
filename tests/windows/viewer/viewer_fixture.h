// Shared setup for the viewer tests: a host window of the test's own standing
// in for the Lister window (its posted WM_COMMANDs are collected from the
// queue), a scripted clock in place of GetTickCount, and two kinds of list
// window: the real rich-edit control, and a scripted control that answers
// the line queries with set values and records what it is asked to do.
#pragma once

#include <gtest/gtest.h>
#include <richedit.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "standins/hooks/import_hooks.h"

struct PostedCommand {
  WPARAM wParam;
  LPARAM lParam;
};

// wParam as the host expects it: MAKELONG(value, item) widened with its sign.
WPARAM HostWParam(int value, int item);

// The scripted control's answers and the record of what it was sent.
struct ScriptedControlState {
  int firstVisibleLine = 0;
  int lineCount = 0;
  int lastFirstLine = 1 << 30;  // where scrolling stops
  int selectionStart = 0;
  int textLength = 0;
  int findResult = -1;
  // Records.
  std::vector<int> scrolls;
  std::vector<std::pair<int, int>> selections;
  WPARAM findFlags = 0;
  FINDTEXTW find = {};
  std::wstring findText;
};

class ViewerTest : public ::testing::Test {
 public:
  // The scripted clock: every reading returns now, then adds step to it.
  static DWORD now;
  static DWORD step;
  static int readings;

 protected:
  void SetUp() override;
  void TearDown() override;

  // A real rich-edit control over the host's client area, holding text.
  HWND CreateRichEdit(const char* text);
  // lines lines reading "line 000 text" and so on, separated by CR.
  static std::string NumberedText(int lines);
  // A control of the test's own that answers from scripted() (one at a time).
  HWND CreateScriptedControl();
  ScriptedControlState& scripted();

  // Another window like the host (the caller destroys it).
  HWND CreateHost();
  // The WM_COMMANDs posted to window since the last call, oldest first.
  std::vector<PostedCommand> TakePosted(HWND window);
  std::vector<PostedCommand> TakePosted() { return TakePosted(host_); }

  HWND host_ = nullptr;

 private:
  std::unique_ptr<ScopedImportHook> clock_;
};
