#include "presentation/header_lines.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "host/richedit_operations.h"
#include "presentation/text_styles.h"

namespace {
const char kBannerLine[] = "// dravik - Java class viewer";
}

void InsertHeaderLines(HWND control, int jadMilliseconds, int highlightMilliseconds) {
  char timing[256];
  snprintf(timing, sizeof timing, "// Jad: %dms | Highlighted: %dms", jadMilliseconds,
           highlightMilliseconds);
  // Each line goes to position 0, so the one inserted last stands first.
  InsertStyledLineAtTop(control, timing, &StyleComment);
  InsertStyledLineAtTop(control, kBannerLine, &StyleBanner);
}

void InsertStyledLineAtTop(HWND control, const char* line, const CHARFORMAT2A* style) {
  size_t length = strlen(line);
  char* text = static_cast<char*>(malloc(length + 5));
  if (text == nullptr) {
    return;  // Without the buffer the line is left out; the source still shows.
  }
  memcpy(text, line, length);
  memcpy(text + length, "\r\n", 3);

  SetControlSelection(control, 0, 0);
  ReplaceControlSelection(control, text);
  free(text);

  SetControlSelection(control, 0, static_cast<int>(length));
  ApplyControlFormat(control, SCF_SELECTION, style);
  SetControlSelection(control, 0, 0);
}
