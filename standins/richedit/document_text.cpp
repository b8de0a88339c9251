#include "standins/richedit/document_text.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

namespace richedit {

namespace {

struct CharTables {
  CharClass classes[256];
  unsigned char lower[256];

  CharTables() {
    for (int c = 0; c < 256; ++c) {
      char ch = static_cast<char>(c);
      if (c == '\r') {
        classes[c] = kParagraph;
      } else if (c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == 0) {
        classes[c] = kWhite;
      } else if (c >= 0x80 || c == '_' || IsCharAlphaNumericA(ch)) {
        classes[c] = kWordChar;
      } else {
        classes[c] = kPunctuation;
      }
      // Case folding by the ANSI code page, one byte at a time.
      char folded = ch;
      CharLowerBuffA(&folded, 1);
      lower[c] = static_cast<unsigned char>(folded);
    }
  }
};

const CharTables& Tables() {
  static const CharTables tables;
  return tables;
}

}  // namespace

CharClass ClassifyChar(unsigned char c) { return Tables().classes[c]; }

DocumentText::DocumentText() { RebuildLines(); }

int DocumentText::Replace(int start, int end, const char* bytes, size_t count) {
  std::string inserted;
  inserted.reserve(count);
  auto at = [&](size_t i) { return i < count ? bytes[i] : '\0'; };
  for (size_t i = 0; i < count && bytes[i] != '\0'; ++i) {
    char c = bytes[i];
    if (c == '\r' && at(i + 1) == '\r' && at(i + 2) == '\n') {
      // Rich edit reads CR CR LF as one blank, not as two breaks.
      c = ' ';
      i += 2;
    } else if (c == '\r' && at(i + 1) == '\n') {
      ++i;
    } else if (c == '\n') {
      c = '\r';
    }
    inserted.push_back(c);
  }
  text_.replace(static_cast<size_t>(start), static_cast<size_t>(end - start), inserted);
  RebuildLines();
  return static_cast<int>(inserted.size());
}

void DocumentText::RebuildLines() {
  line_starts_.clear();
  line_starts_.push_back(0);
  longest_line_ = 0;
  const char* base = text_.data();
  size_t at = 0;
  while (true) {
    const void* cr = memchr(base + at, '\r', text_.size() - at);
    size_t line_end = cr ? static_cast<size_t>(static_cast<const char*>(cr) - base) : text_.size();
    longest_line_ = std::max(longest_line_, static_cast<int>(line_end - at));
    if (!cr) break;
    at = line_end + 1;
    line_starts_.push_back(static_cast<int>(at));
  }
}

int DocumentText::LineEnd(int line) const {
  return line + 1 < LineCount() ? line_starts_[line + 1] - 1 : length();
}

int DocumentText::LineFromPosition(int position) const {
  auto after = std::upper_bound(line_starts_.begin(), line_starts_.end(), position);
  return static_cast<int>(after - line_starts_.begin()) - 1;
}

int DocumentText::MoveWordRight(int position) const {
  const int n = length();
  int p = std::max(position, 0);
  if (p >= n) return n;
  const CharClass c = ClassifyChar(text_[p]);
  if (c == kParagraph) return p + 1;
  if (c != kWhite) {
    while (p < n && ClassifyChar(text_[p]) == c) ++p;
  }
  while (p < n && ClassifyChar(text_[p]) == kWhite) ++p;
  return p;
}

int DocumentText::MoveWordLeft(int position) const {
  int p = std::min(position, length());
  if (p <= 0) return 0;
  --p;
  if (ClassifyChar(text_[p]) == kParagraph) return p;
  while (p > 0 && ClassifyChar(text_[p]) == kWhite) --p;
  const CharClass c = ClassifyChar(text_[p]);
  if (c == kParagraph) return p + 1;
  if (c == kWhite) return 0;
  while (p > 0 && ClassifyChar(text_[p - 1]) == c) --p;
  return p;
}

int DocumentText::WordEndRight(int position) const {
  const int n = length();
  int p = std::max(position, 0);
  if (p >= n) return n;
  const CharClass c = ClassifyChar(text_[p]);
  if (c == kParagraph) return p + 1;
  while (p < n && ClassifyChar(text_[p]) == c) ++p;
  return p;
}

int DocumentText::WordStartLeft(int position) const {
  int p = std::min(position, length());
  if (p <= 0) return 0;
  const CharClass c = ClassifyChar(text_[p - 1]);
  if (c == kParagraph) return p - 1;
  while (p > 0 && ClassifyChar(text_[p - 1]) == c) --p;
  return p;
}

bool DocumentText::MatchesAt(int position, const char* needle, int needle_length, bool match_case,
                             bool whole_word) const {
  const unsigned char* at = reinterpret_cast<const unsigned char*>(text_.data()) + position;
  const unsigned char* wanted = reinterpret_cast<const unsigned char*>(needle);
  if (match_case) {
    if (memcmp(at, wanted, static_cast<size_t>(needle_length)) != 0) return false;
  } else {
    const unsigned char* lower = Tables().lower;
    for (int i = 0; i < needle_length; ++i) {
      if (lower[at[i]] != lower[wanted[i]]) return false;
    }
  }
  if (!whole_word) return true;
  if (position > 0 && ClassifyChar(text_[position - 1]) == kWordChar) return false;
  const int after = position + needle_length;
  return after >= length() || ClassifyChar(text_[after]) != kWordChar;
}

int DocumentText::Find(int min, int max, const char* needle, bool forward, bool match_case,
                       bool whole_word) const {
  if (needle == nullptr || min < 0) return -1;
  const int needle_length = static_cast<int>(strlen(needle));
  const int n = length();
  if (needle_length == 0) return -1;
  if (forward) {
    const int limit = (max < 0 || max > n) ? n : max;
    for (int p = min; p + needle_length <= limit; ++p) {
      if (MatchesAt(p, needle, needle_length, match_case, whole_word)) return p;
    }
    return -1;
  }
  const int start = std::min(min, n);
  const int lowest = (max >= 0 && max < min) ? max : 0;
  for (int p = start - needle_length; p >= lowest; --p) {
    if (MatchesAt(p, needle, needle_length, match_case, whole_word)) return p;
  }
  return -1;
}

}  // namespace richedit
