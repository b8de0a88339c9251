// The two lines on top of a shown class: a banner, and the time Jad and the
// highlighting took.
#pragma once

#include <richedit.h>
#include <windows.h>

#include "presentation/text_styles.h"

void InsertHeaderLines(HWND control, int jadMilliseconds, int highlightMilliseconds,
                       const TextPalette& palette);

// In place of the control's text while the source is coming: the banner and
// line (what is coming), in the header's styles.
void InsertPendingHeader(HWND control, const WCHAR* line, const TextPalette& palette);

// Inserts line (no line break of its own) and a CR LF at the start of the
// control's text and gives the line's own characters the style.
void InsertStyledLineAtTop(HWND control, const WCHAR* line, const CHARFORMAT2A* style);

// Gives the first two lines of a control whose header lines are in place
// their styles again, in the palette's colours.
void RestyleHeaderLines(HWND control, const TextPalette& palette);
