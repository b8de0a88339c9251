// What the Kotlin view colours in Kotlin source: keywords as Kotlin reads them
// (the hard ones everywhere; modifier and soft keywords only where they are
// keywords, see kotlin_keywords.h), string templates ("$name", and "${" and
// "}" around an expression, whose own words are read as code), string, raw
// string ("""), character and number literals, and comments (block comments
// nest, as in Kotlin). One pass over the text, then one over its words; no
// Win32 call, so it builds on both sides and takes any text: an unclosed
// string or comment runs to the end of its line or of the text.
#pragma once

#include <vector>

enum class KotlinSpanKind : unsigned char { Keyword, Literal, Comment, Template };

// start..end (end excluded) in the text's UTF-16 units.
struct KotlinSpan {
  int start;
  int end;
  KotlinSpanKind kind;
};

// The spans of text (length units), in text order, none overlapping.
std::vector<KotlinSpan> FindKotlinSpans(const wchar_t* text, int length);
