#include "presentation/bytecode_highlighter.h"

#include "host/richedit_operations.h"
#include "presentation/bytecode_line.h"
#include "presentation/java_highlighter.h"

void ApplyBytecodeHighlighting(HWND control, const WCHAR* text, const TextPalette& palette) {
  ApplyControlFormat(control, SCF_ALL, &palette.base);
  HighlightJava(control, palette);
  // The control counts a line break (CR LF) as one character.
  int position = 0;
  for (const WCHAR* line = text; *line != L'\0';) {
    const WCHAR* end = line;
    while (*end != L'\0' && *end != L'\r' && *end != L'\n') ++end;
    const int length = static_cast<int>(end - line);
    const BytecodeSpans spans = FindBytecodeSpans(line, length);
    if (spans.mnemonicStart >= 0) {
      StyleRange(control, position + spans.mnemonicStart, position + spans.mnemonicEnd,
                 &palette.keyword);
    }
    if (spans.literalStart >= 0) {
      StyleRange(control, position + spans.literalStart, position + spans.literalEnd,
                 &palette.string);
    }
    position += length;
    if (*end == L'\r') ++end;
    if (*end == L'\n') ++end;
    if (end != line + length) ++position;
    line = end;
  }
  SetControlSelection(control, 0, 0);
}
