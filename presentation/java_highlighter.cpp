#include "presentation/java_highlighter.h"

#include <string.h>

#include "host/richedit_operations.h"
#include "presentation/java_keywords.h"

namespace {

// 127 characters and the NUL the control writes behind them.
constexpr int WordBufferSize = 128;
constexpr int WordCharacters = WordBufferSize - 1;

// Fetches the range start..end into word, never more than its 127 characters:
// of a longer range (a long identifier, a long run of symbols) only the first
// 127 are examined. An empty or inverted range fetches nothing, so that a
// control whose word breaks do not move forward ends the scan instead of
// stalling it. Returns the number of characters fetched.
int FetchRange(HWND control, int start, int end, char (&word)[WordBufferSize]) {
  int stop = start;
  if (end > start) {
    stop = (end - start > WordCharacters) ? start + WordCharacters : end;
  }
  TEXTRANGEA range;
  range.chrg.cpMin = start;
  range.chrg.cpMax = stop;
  range.lpstrText = word;
  word[0] = '\0';
  int fetched = GetControlTextRange(control, &range);
  if (fetched <= 0) return 0;
  if (fetched > stop - start) fetched = stop - start;
  word[fetched] = '\0';
  return fetched;
}

bool IsDelimiter(char c) { return c == '/' || c == '"' || c == '\''; }

}  // namespace

void StyleRange(HWND control, int start, int end, const CHARFORMAT2A* style) {
  CHARRANGE selection;
  selection.cpMin = start;
  selection.cpMax = end;
  SelectControlRange(control, &selection);
  ApplyControlFormat(control, SCF_SELECTION, style);
}

int StyleToCloser(HWND control, int start, const char* closer, const CHARFORMAT2A* style) {
  int k = static_cast<int>(strlen(closer));
  FINDTEXTA find;
  find.chrg.cpMin = start + k;
  find.chrg.cpMax = -1;
  find.lpstrText = closer;
  int p = FindControlText(control, FR_DOWN, &find);
  if (p < 0) p = GetControlWindowTextLength(control);
  StyleRange(control, start, p + k, style);
  return p + k;
}

void HighlightJava(HWND control, const TextPalette& palette) {
  char word[WordBufferSize];
  int rangeStart = 0;
  int rangeEnd = FindNextWordStart(control, 0);
  for (;;) {
    int fetched = FetchRange(control, rangeStart, rangeEnd, word);
    if (fetched <= 0) return;

    // Only the word before the first space is examined; a tab, CR or LF stays in it.
    char* space = strchr(word, ' ');
    if (space != nullptr) *space = '\0';
    int len = static_cast<int>(strlen(word));

    int n = 0;
    while (n < len && !IsDelimiter(word[n])) ++n;

    if (n < len) {
      int o = rangeStart + n;
      char next = word[n + 1];  // the NUL when the delimiter ends the word
      int resume = -1;
      if (word[n] == '/' && next == '/') {
        resume = StyleToCloser(control, o, "\r", &palette.comment);
      } else if (word[n] == '/' && next == '*') {
        resume = StyleToCloser(control, o, "*/", &palette.comment);
      } else if (word[n] == '"') {
        resume = StyleToCloser(control, o, "\"", &palette.string);
      } else if (word[n] == '\'') {
        resume = StyleToCloser(control, o, "'", &palette.string);
      }
      if (resume >= 0) {
        // Go on directly behind the closer.
        rangeStart = resume;
        rangeEnd = FindNextWordStart(control, rangeStart);
        continue;
      }
      // A slash that opens no comment (a division, "/="): nothing to style.
    } else if (FindJavaKeyword(word) >= 0) {
      int wordEnd = (space != nullptr) ? rangeStart + len : rangeEnd;
      StyleRange(control, rangeStart, wordEnd, &palette.keyword);
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
