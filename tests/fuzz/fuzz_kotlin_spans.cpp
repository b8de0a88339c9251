// The Kotlin view's spans on any text (each byte pair a UTF-16 unit): they
// lie within the text, in order, none empty or overlapping, and a keyword is
// always one of Kotlin's words.
#include <stdlib.h>
#include <string.h>

#include <string>

#include "presentation/kotlin_keywords.h"
#include "presentation/kotlin_spans.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::wstring text;
  for (size_t i = 0; i + 1 < size; i += 2) {
    text.push_back(static_cast<wchar_t>(data[i] | (data[i + 1] << 8)));
  }
  const int length = static_cast<int>(text.size());
  int behind = 0;
  for (const KotlinSpan& span : FindKotlinSpans(text.c_str(), length)) {
    if (span.start < behind || span.end <= span.start || span.end > length) abort();
    if (span.kind == KotlinSpanKind::Keyword &&
        KotlinWordKindOf(text.c_str() + span.start, span.end - span.start) ==
            KotlinWordKind::None) {
      abort();
    }
    behind = span.end;
  }
  return 0;
}
