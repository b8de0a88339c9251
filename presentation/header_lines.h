// The two lines on top of a shown class: a banner, and the time Jad and the
// highlighting took.
#pragma once

#include <richedit.h>
#include <windows.h>

void InsertHeaderLines(HWND control, int jadMilliseconds, int highlightMilliseconds);

// Inserts line (no line break of its own) and a CR LF at the start of the
// control's text and gives the line's own characters the style.
void InsertStyledLineAtTop(HWND control, const char* line, const CHARFORMAT2A* style);
