// Colours the bytecode view in a rich-edit control: the Java highlighting for
// its declarations, comments and strings, then each instruction's mnemonic as
// a keyword and the literal constants it loads as literals.
#pragma once

#include <windows.h>

#include "presentation/text_styles.h"

// The palette's base format over the whole text, the colours, then the caret
// at 0. text is what the control holds (CR LF line ends): the instructions
// are found in it rather than asked of the control line by line.
void ApplyBytecodeHighlighting(HWND control, const WCHAR* text, const TextPalette& palette);
