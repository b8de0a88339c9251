// Colours Kotlin source in a rich-edit control: keywords (and the "$", "${"
// and "}" of string templates) in the palette's keyword style, string,
// character and number literals in its string style, comments in its comment
// style. The spans come from the text the control was given (kotlin_spans.h),
// not from the control's word breaking.
#pragma once

#include <windows.h>

#include "presentation/text_styles.h"

// The palette's base format over the whole text, then the highlighting, then
// the caret at 0. text is what the control holds (CR LF line ends: the
// control counts each as one character).
void ApplyKotlinHighlighting(HWND control, const WCHAR* text, const TextPalette& palette);
