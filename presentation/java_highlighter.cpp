#include "presentation/java_highlighter.h"

#include <wchar.h>

#include "host/richedit_operations.h"
#include "presentation/java_contextual_keywords.h"

namespace {

// 127 characters and the NUL the control writes behind them.
constexpr int WordBufferSize = 128;
constexpr int WordCharacters = WordBufferSize - 1;

// Fetches the range start..end into word, never more than its 127 characters:
// of a longer range (a long identifier, a long run of symbols) only the first
// 127 are examined. An empty or inverted range fetches nothing, so that a
// control whose word breaks do not move forward ends the scan instead of
// stalling it. Returns the number of characters fetched.
int FetchRange(HWND control, int start, int end, WCHAR (&word)[WordBufferSize]) {
  int stop = start;
  if (end > start) {
    stop = (end - start > WordCharacters) ? start + WordCharacters : end;
  }
  TEXTRANGEW range;
  range.chrg.cpMin = start;
  range.chrg.cpMax = stop;
  range.lpstrText = word;
  word[0] = L'\0';
  int fetched = GetControlTextRange(control, &range);
  if (fetched <= 0) return 0;
  if (fetched > stop - start) fetched = stop - start;
  word[fetched] = L'\0';
  return fetched;
}

bool IsDelimiter(WCHAR c) { return c == L'/' || c == L'"' || c == L'\''; }

// White space and the paragraph mark: a word of its own, never significant.
bool IsBlank(WCHAR c) {
  return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n' || c == L'\v' || c == L'\f';
}

// The token reader knows ASCII keywords only: a character beyond ASCII
// becomes one byte of the upper half, which it reads as part of a name.
void NarrowWord(const WCHAR* word, int length, char (&narrow)[WordBufferSize]) {
  for (int i = 0; i < length; ++i) {
    narrow[i] = word[i] < 0x80 ? static_cast<char>(word[i]) : static_cast<char>(0x80);
  }
  narrow[length] = '\0';
}

// Whether an odd number of backslashes stands directly before position,
// counting back no further than from.
bool EscapedAt(HWND control, int from, int position) {
  WCHAR chunk[WordBufferSize];
  int backslashes = 0;
  int end = position;
  while (end > from) {
    int begin = (end - from > WordCharacters) ? end - WordCharacters : from;
    int fetched = FetchRange(control, begin, end, chunk);
    int k = fetched;
    while (k > 0 && chunk[k - 1] == L'\\') --k;
    backslashes += fetched - k;
    if (k > 0 || fetched < end - begin) break;
    end = begin;
  }
  return backslashes % 2 == 1;
}

// A text block runs from its opening """ through the first """ behind it whose
// first quote is not escaped (in \"""" the escaped quote is text and the three
// behind it close), or to the end of the text; returns the position behind it.
int StyleTextBlock(HWND control, int start, const CHARFORMAT2A* style) {
  FINDTEXTW find;
  find.chrg.cpMin = start + 3;
  find.chrg.cpMax = -1;
  find.lpstrText = L"\"\"\"";
  int p = -1;
  for (;;) {
    p = FindControlText(control, FR_DOWN, &find);
    if (p < 0) {
      p = GetControlWindowTextLength(control);
      break;
    }
    if (!EscapedAt(control, start + 3, p)) break;
    find.chrg.cpMin = p + 1;
  }
  StyleRange(control, start, p + 3, style);
  return p + 3;
}

// Hands token to the window and colours the contextual keyword it completes.
void TakeToken(HWND control, JavaTokenWindow& window, const JavaToken& token,
               const CHARFORMAT2A* keyword) {
  JavaKeywordRange found = NextJavaToken(window, token);
  if (found.end > found.start) StyleRange(control, found.start, found.end, keyword);
}

}  // namespace

void StyleRange(HWND control, int start, int end, const CHARFORMAT2A* style) {
  CHARRANGE selection;
  selection.cpMin = start;
  selection.cpMax = end;
  SelectControlRange(control, &selection);
  ApplyControlFormat(control, SCF_SELECTION, style);
}

int StyleToCloser(HWND control, int start, const WCHAR* closer, const CHARFORMAT2A* style) {
  int k = static_cast<int>(wcslen(closer));
  FINDTEXTW find;
  find.chrg.cpMin = start + k;
  find.chrg.cpMax = -1;
  find.lpstrText = closer;
  int p = FindControlText(control, FR_DOWN, &find);
  if (p < 0) p = GetControlWindowTextLength(control);
  StyleRange(control, start, p + k, style);
  return p + k;
}

void HighlightJava(HWND control, const TextPalette& palette) {
  WCHAR word[WordBufferSize];
  char narrow[WordBufferSize];
  JavaTokenWindow window = {};
  int rangeStart = 0;
  int rangeEnd = FindNextWordStart(control, 0);
  for (;;) {
    int fetched = FetchRange(control, rangeStart, rangeEnd, word);
    if (fetched <= 0) return;

    // Only the word before the first space is examined; a tab, CR or LF stays in it.
    WCHAR* space = wcschr(word, L' ');
    if (space != nullptr) *space = L'\0';
    int len = static_cast<int>(wcslen(word));

    int n = 0;
    while (n < len && !IsDelimiter(word[n])) ++n;
    WCHAR next = (n < len) ? word[n + 1] : L'\0';  // the NUL when the delimiter ends the word
    bool comment = n < len && word[n] == L'/' && (next == L'/' || next == L'*');
    bool literal = n < len && (word[n] == L'"' || word[n] == L'\'');

    // What stands before an opener is a word of its own; a slash that opens no
    // comment (a division, "/=") stays in its word.
    int tokenLength = (comment || literal) ? n : len;
    if (tokenLength > 0 && !IsBlank(word[0])) {
      NarrowWord(word, tokenLength, narrow);
      JavaToken token = MakeJavaToken(narrow, tokenLength, rangeStart);
      TakeToken(control, window, token, &palette.keyword);
      if (token.kind == JavaTokenKind::Keyword) {
        int wordEnd = (space != nullptr) ? rangeStart + len : rangeEnd;
        StyleRange(control, rangeStart, wordEnd, &palette.keyword);
      }
    }

    if (comment || literal) {
      int o = rangeStart + n;
      int resume;
      if (word[n] == L'/' && next == L'/') {
        resume = StyleToCloser(control, o, L"\r", &palette.comment);
      } else if (word[n] == L'/') {
        resume = StyleToCloser(control, o, L"*/", &palette.comment);
      } else if (word[n] == L'"' && next == L'"' && word[n + 2] == L'"') {
        resume = StyleTextBlock(control, o, &palette.string);
      } else if (word[n] == L'"') {
        resume = StyleToCloser(control, o, L"\"", &palette.string);
      } else {
        resume = StyleToCloser(control, o, L"'", &palette.string);
      }
      // A comment is no word: the words around it stay neighbours.
      if (literal) TakeToken(control, window, MakeJavaLiteral(o, resume), &palette.keyword);
      // Go on directly behind the closer.
      rangeStart = resume;
      rangeEnd = FindNextWordStart(control, rangeStart);
      continue;
    }

    rangeStart = FindNextWordStart(control, rangeStart);
    rangeEnd = FindNextWordStart(control, rangeStart);
  }
}

void ApplyHighlighting(HWND control, const TextPalette& palette) {
  ApplyControlFormat(control, SCF_ALL, &palette.base);
  HighlightJava(control, palette);
  SetControlSelection(control, 0, 0);
}
