// A window that answers the messages printing sends to the viewer control
// from a scripted page table, and writes each of them to the print log (see
// control_log.h).
#pragma once

#include <windows.h>

#include <vector>

struct PageTable {
  // Where each page ends: page 1 holds [0, ends[0]), page 2 [ends[0], ends[1])...
  // Formatting from at or beyond the last end makes no progress.
  std::vector<int> ends;
  int textLength = 0;
  int selectionStart = 0;
  int selectionEnd = 0;
  // Rendering from this position answers -1.
  int renderingFailsAt = -2;
};

// Creates the window (a top-level, hidden one); destroy it with DestroyWindow.
HWND CreatePageTableControl(const PageTable& table);
