#include "presentation/header_lines.h"

#include <stdio.h>
#include <stdlib.h>
#include <wchar.h>

#include "host/richedit_operations.h"
#include "presentation/java_highlighter.h"

namespace {
const WCHAR kBannerLine[] = L"// dravik - Java class viewer";
}

void InsertHeaderLines(HWND control, int jadMilliseconds, int highlightMilliseconds,
                       const TextPalette& palette) {
  char timing[256];
  snprintf(timing, sizeof timing, "// Jad: %dms | Highlighted: %dms", jadMilliseconds,
           highlightMilliseconds);
  // ASCII only: each byte is its character.
  WCHAR wideTiming[256];
  int i = 0;
  for (; timing[i] != '\0'; ++i) wideTiming[i] = static_cast<unsigned char>(timing[i]);
  wideTiming[i] = L'\0';
  // Each line goes to position 0, so the one inserted last stands first.
  InsertStyledLineAtTop(control, wideTiming, &palette.comment);
  InsertStyledLineAtTop(control, kBannerLine, &palette.banner);
}

void InsertPendingHeader(HWND control, const WCHAR* line, const TextPalette& palette) {
  SetControlText(control, L"");
  ApplyControlFormat(control, SCF_ALL, &palette.base);
  InsertStyledLineAtTop(control, line, &palette.comment);
  InsertStyledLineAtTop(control, kBannerLine, &palette.banner);
}

void InsertStyledLineAtTop(HWND control, const WCHAR* line, const CHARFORMAT2A* style) {
  size_t length = wcslen(line);
  WCHAR* text = static_cast<WCHAR*>(malloc((length + 5) * sizeof(WCHAR)));
  if (text == nullptr) {
    return;  // Without the buffer the line is left out; the source still shows.
  }
  wmemcpy(text, line, length);
  wmemcpy(text + length, L"\r\n", 3);

  SetControlSelection(control, 0, 0);
  ReplaceControlSelection(control, text);
  free(text);

  SetControlSelection(control, 0, static_cast<int>(length));
  ApplyControlFormat(control, SCF_SELECTION, style);
  SetControlSelection(control, 0, 0);
}

void RestyleHeaderLines(HWND control, const TextPalette& palette) {
  // A line's characters end one before the next line's start (its break).
  int timingStart = GetControlLineIndex(control, 1);
  int sourceStart = GetControlLineIndex(control, 2);
  if (timingStart <= 0 || sourceStart <= timingStart) return;
  StyleRange(control, 0, timingStart - 1, &palette.banner);
  StyleRange(control, timingStart, sourceStart - 1, &palette.comment);
}
