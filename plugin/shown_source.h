// The decompiler's text shown in a list window: the text itself, its
// highlighting in the palette, and the header lines with the times on top.
#pragma once

#include <windows.h>

#include "presentation/text_styles.h"

// text: UTF-8 behind its mark, any other as ANSI. The host is told the
// position (0 %). False when there is no memory for the wide text.
bool ShowDecompiledText(HWND control, const char* text, DWORD decompileMs,
                        const TextPalette& palette);
