#include "presentation/bytecode_highlighter.h"

#include "host/richedit_operations.h"
#include "presentation/bytecode_line.h"
#include "presentation/java_highlighter.h"

namespace {

// Longer than javap's lines but a method's longest signature; what lies
// beyond is left as the Java highlighting coloured it.
constexpr int LineChars = 512;

}  // namespace

void ApplyBytecodeHighlighting(HWND control, const TextPalette& palette) {
  ApplyControlFormat(control, SCF_ALL, &palette.base);
  HighlightJava(control, palette);
  const int lines = GetControlLineCount(control);
  WCHAR text[LineChars + 1];
  for (int line = 0; line < lines; ++line) {
    const int start = GetControlLineIndex(control, line);
    if (start < 0) break;
    int length = GetControlLineLength(control, start);
    if (length > LineChars) length = LineChars;
    TEXTRANGEW range = {{start, start + length}, text};
    length = length > 0 ? GetControlTextRange(control, &range) : 0;
    if (length <= 0) continue;
    const BytecodeSpans spans = FindBytecodeSpans(text, length);
    if (spans.mnemonicStart < 0) continue;
    StyleRange(control, start + spans.mnemonicStart, start + spans.mnemonicEnd, &palette.keyword);
    if (spans.literalStart >= 0) {
      StyleRange(control, start + spans.literalStart, start + spans.literalEnd, &palette.string);
    }
  }
  SetControlSelection(control, 0, 0);
}
