// The control's text: UTF-16 characters with every paragraph break stored as a
// single CR, the line (paragraph) table, word breaking and text search. A
// rich-edit text always ends with a paragraph mark of its own that is not part
// of the stored characters: positions run from 0 to length(), and length() + 1
// is the position behind that final mark. A character beyond the BMP takes two
// positions, its surrogate pair, as in Windows' control.
#pragma once

#include <string>
#include <vector>

namespace richedit {

// Word-breaking classes, as rich edit's default word breaking documents them.
enum CharClass : unsigned char {
  kWhite = 0,      // space, tab and the other blanks: trail the word before them
  kParagraph = 1,  // the paragraph mark: a word of its own
  kPunctuation = 2,
  kWordChar = 3,  // letters, digits, the underscore and every character beyond ASCII
};

CharClass ClassifyChar(wchar_t c);

class DocumentText {
 public:
  DocumentText();

  const std::wstring& text() const { return text_; }
  int length() const { return static_cast<int>(text_.size()); }

  // Replaces [start, end) with the given characters (count of them, NULs
  // ending the input early); CR LF, lone CR and lone LF each become one CR,
  // CR CR LF one space. Returns the number of characters inserted.
  int Replace(int start, int end, const wchar_t* chars, size_t count);

  // Whether position falls between the two halves of a surrogate pair.
  bool InsidePair(int position) const;
  // The position one character on or back, a surrogate pair taken whole.
  int NextCharacter(int position) const;
  int PreviousCharacter(int position) const;

  // Lines are paragraphs: a text with n CRs has n + 1 lines.
  int LineCount() const { return static_cast<int>(line_starts_.size()); }
  int LineStart(int line) const { return line_starts_[line]; }
  // End of the line's characters, its CR excluded.
  int LineEnd(int line) const;
  int LineFromPosition(int position) const;
  int LongestLine() const { return longest_line_; }
  int CountBreaks() const { return LineCount() - 1; }

  // EM_FINDWORDBREAK: the operations of WB_* on this text.
  int MoveWordRight(int position) const;
  int MoveWordLeft(int position) const;
  int WordEndRight(int position) const;
  int WordStartLeft(int position) const;

  // EM_FINDTEXT: -1 when nothing is found. Forward searches [min, max) (max -1
  // or beyond the end: to the end); backward searches from min toward a lower
  // limit of max when 0 <= max < min, else 0, the match ending at or before min.
  // Without match_case, characters compare as CharLowerBuffW folds them.
  int Find(int min, int max, const wchar_t* needle, bool forward, bool match_case,
           bool whole_word) const;

 private:
  bool MatchesAt(int position, const wchar_t* needle, int needle_length, bool match_case,
                 bool whole_word) const;
  void RebuildLines();

  std::wstring text_;
  std::vector<int> line_starts_;
  int longest_line_ = 0;
};

}  // namespace richedit
