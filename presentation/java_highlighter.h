// Colours Java keywords (the contextual ones, such as record and yield, only
// where they are keywords), string, character and text-block literals and
// comments in a rich-edit control's text, one word at a time through the
// control's own word breaking and text search; the text is never copied out
// whole.
#pragma once

#include <richedit.h>
#include <windows.h>

#include "presentation/text_styles.h"

// The palette's base format over the whole text, then the highlighting in its
// colours, then the caret at 0.
void ApplyHighlighting(HWND control, const TextPalette& palette);

// One forward pass over the control's text; changes only formats and selection.
void HighlightJava(HWND control, const TextPalette& palette);

// Selects start..end (end excluded) and applies style to the selection.
void StyleRange(HWND control, int start, int end, const CHARFORMAT2A* style);

// Styles from the opener at start through the next closer (1 or 2 characters,
// searched from behind the opener), or to the end of the text when there is
// none; returns the position just behind the closer.
int StyleToCloser(HWND control, int start, const WCHAR* closer, const CHARFORMAT2A* style);
