// The shown source's lines by their original line numbers, from the column at
// their left ("/*  16*/"), for the search that reads a stack-trace position.
#pragma once

#include <windows.h>

// The control's line (0 for its first) that carries number, the first one in
// text order; without one, the line of the highest number below it. -1 when
// no line carries a number that low.
int FindOriginalLine(HWND control, int number);

// The control's line that carries the first of the numbers first..last it
// carries in Jad's own layout ("/*  16*/"), found by the control's search; -1
// when it carries none of them.
int FindMarkedLine(HWND control, int first, int last);

// The original line number nearest to the control's line: the first carried
// at or below it within a screenful, else the last one above it; -1 when no
// line carries one.
int OriginalLineNear(HWND control, int line);
