#include "presentation/kotlin_highlighter.h"

#include <wchar.h>

#include "host/richedit_operations.h"
#include "presentation/java_highlighter.h"
#include "presentation/kotlin_spans.h"

void ApplyKotlinHighlighting(HWND control, const WCHAR* text, const TextPalette& palette) {
  ApplyControlFormat(control, SCF_ALL, &palette.base);
  const int length = static_cast<int>(wcslen(text));
  // A position in the control: the text's, less one for each CR LF before it.
  int scanned = 0;
  int pairs = 0;
  auto ControlPosition = [&](int position) {
    for (; scanned < position; ++scanned) {
      if (text[scanned] == L'\r' && scanned + 1 < length && text[scanned + 1] == L'\n') {
        ++pairs;
        ++scanned;  // the LF belongs to the same break
      }
    }
    return position - pairs;
  };
  for (const KotlinSpan& span : FindKotlinSpans(text, length)) {
    const CHARFORMAT2A* style = &palette.keyword;
    if (span.kind == KotlinSpanKind::Literal) style = &palette.string;
    if (span.kind == KotlinSpanKind::Comment) style = &palette.comment;
    const int start = ControlPosition(span.start);
    StyleRange(control, start, ControlPosition(span.end), style);
  }
  SetControlSelection(control, 0, 0);
}
