#include "presentation/original_lines.h"

#include "host/richedit_operations.h"
#include "presentation/stack_position.h"

namespace {

// "/*" and the widest number a line can carry, with its blanks, and "*/".
enum { kColumnChars = 2 + 9 + 2 };

}  // namespace

int FindOriginalLine(HWND control, int number) {
  int best = -1;
  int bestNumber = -1;
  int lines = GetControlLineCount(control);
  for (int line = 0; line < lines; ++line) {
    int start = GetControlLineIndex(control, line);
    if (start < 0) break;
    WCHAR head[kColumnChars + 1];
    TEXTRANGEW range;
    range.chrg.cpMin = start;
    range.chrg.cpMax = start + kColumnChars;
    range.lpstrText = head;
    int fetched = GetControlTextRange(control, &range);
    if (fetched <= 0) continue;
    if (fetched > kColumnChars) fetched = kColumnChars;
    int carried = ColumnLineNumber(head, fetched);
    if (carried == number) return line;
    if (carried >= 0 && carried < number && carried > bestNumber) {
      best = line;
      bestNumber = carried;
    }
  }
  return best;
}
