#include "presentation/original_lines.h"

#include <wchar.h>

#include "host/richedit_operations.h"
#include "presentation/stack_position.h"

namespace {

// "/*" and the widest number a line can carry, with its blanks, and "*/".
enum { kColumnChars = 2 + 9 + 2 };

// A screenful of lines, far enough to pass a method's declaration and its
// comment to its first statement.
enum { kLinesBelow = 40 };

// The number the control's line carries in its column, or -1.
int CarriedNumber(HWND control, int line) {
  int start = GetControlLineIndex(control, line);
  if (start < 0) return -1;
  WCHAR head[kColumnChars + 1];
  TEXTRANGEW range;
  range.chrg.cpMin = start;
  range.chrg.cpMax = start + kColumnChars;
  range.lpstrText = head;
  int fetched = GetControlTextRange(control, &range);
  if (fetched <= 0) return -1;
  return ColumnLineNumber(head, fetched > kColumnChars ? kColumnChars : fetched);
}

}  // namespace

int FindOriginalLine(HWND control, int number) {
  int best = -1;
  int bestNumber = -1;
  int lines = GetControlLineCount(control);
  for (int line = 0; line < lines; ++line) {
    int carried = CarriedNumber(control, line);
    if (carried == number) return line;
    if (carried >= 0 && carried < number && carried > bestNumber) {
      best = line;
      bestNumber = carried;
    }
  }
  return best;
}

int FindMarkedLine(HWND control, int first, int last) {
  for (int number = first; number <= last && number >= 0; ++number) {
    WCHAR marker[24];
    swprintf(marker, sizeof marker / sizeof marker[0], L"/*%4d*/", number);
    FINDTEXTW find;
    find.chrg.cpMin = 0;
    find.chrg.cpMax = -1;
    find.lpstrText = marker;
    int at = FindControlText(control, FR_DOWN | FR_MATCHCASE, &find);
    if (at >= 0) return GetControlLineFromChar(control, at);
  }
  return -1;
}

int OriginalLineNear(HWND control, int line) {
  int lines = GetControlLineCount(control);
  for (int below = line; below < lines && below < line + kLinesBelow; ++below) {
    int number = CarriedNumber(control, below);
    if (number >= 0) return number;
  }
  for (int above = line - 1; above >= 0; --above) {
    int number = CarriedNumber(control, above);
    if (number >= 0) return number;
  }
  return -1;
}
