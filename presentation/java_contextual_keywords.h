// Java's contextual keywords: record, sealed, non-sealed, permits, yield and
// var are keywords only in one place each and legal names everywhere else
// ("Record record = r;", "int yield = 1;"). The highlighter hands over the
// text's significant words one at a time (names, keywords, numbers, runs of
// punctuation, literals; never white space or comments) and these functions
// decide from the last few whether an earlier one was a keyword where it
// stands. No Win32 call: built on both sides.
#pragma once

enum class JavaTokenKind : unsigned char { Name, Keyword, Number, Punctuation, Literal };

struct JavaToken {
  int start;  // the position of the first character
  int end;    // the position behind the last one
  JavaTokenKind kind;
  char last;      // the last character (NUL for a literal)
  char text[16];  // the first 15 characters and a NUL; of a literal, empty
};

// One word of length characters (no white space inside) at start: a run of
// word characters or one of punctuation. A keyword is a word that the keyword
// table holds, exactly as FindJavaKeyword finds it.
JavaToken MakeJavaToken(const char* word, int length, int start);

// A string, character or text-block literal from its opening quote at start
// to end, its closer included.
JavaToken MakeJavaLiteral(int start, int end);

// The last three tokens seen, the newest last.
struct JavaTokenWindow {
  JavaToken last[3];
  int count;  // how many of last[] hold tokens, up to 3; zero-initialised at the text's start
};

// start..end, end excluded; empty when there is none.
struct JavaKeywordRange {
  int start;
  int end;
};

// Takes token in behind the window's. When token completes the place of a
// contextual keyword among the window's, returns that keyword's range (for
// non-sealed the whole of it), else an empty range:
// - record followed by a type name and "(" or "<";
// - sealed and non-sealed followed by class, interface or another modifier of
//   a class header; permits followed by a type name;
// - yield at the start of a statement, followed by what can start an
//   expression but not continue one on a variable named yield;
// - var followed by a name.
JavaKeywordRange NextJavaToken(JavaTokenWindow& window, const JavaToken& token);
