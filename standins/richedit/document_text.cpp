#include "standins/richedit/document_text.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <cwchar>

namespace richedit {

namespace {

struct CharTables {
  CharClass ascii[128];
  wchar_t lower[65536];

  CharTables() {
    for (int c = 0; c < 128; ++c) {
      wchar_t ch = static_cast<wchar_t>(c);
      if (c == '\r') {
        ascii[c] = kParagraph;
      } else if (c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == 0) {
        ascii[c] = kWhite;
      } else if (c == '_' || IsCharAlphaNumericW(ch)) {
        ascii[c] = kWordChar;
      } else {
        ascii[c] = kPunctuation;
      }
    }
    // Case folding one UTF-16 unit at a time: a surrogate folds to itself.
    for (int c = 0; c < 65536; ++c) lower[c] = static_cast<wchar_t>(c);
    CharLowerBuffW(lower, 65536);
  }
};

const CharTables& Tables() {
  static const CharTables tables;
  return tables;
}

bool IsHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

}  // namespace

CharClass ClassifyChar(wchar_t c) { return c < 128 ? Tables().ascii[c] : kWordChar; }

DocumentText::DocumentText() { RebuildLines(); }

int DocumentText::Replace(int start, int end, const wchar_t* chars, size_t count) {
  std::wstring inserted;
  inserted.reserve(count);
  auto at = [&](size_t i) { return i < count ? chars[i] : L'\0'; };
  for (size_t i = 0; i < count && chars[i] != L'\0'; ++i) {
    wchar_t c = chars[i];
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
  const wchar_t* base = text_.data();
  size_t at = 0;
  while (true) {
    const wchar_t* cr = wmemchr(base + at, L'\r', text_.size() - at);
    size_t line_end = cr ? static_cast<size_t>(cr - base) : text_.size();
    longest_line_ = std::max(longest_line_, static_cast<int>(line_end - at));
    if (!cr) break;
    at = line_end + 1;
    line_starts_.push_back(static_cast<int>(at));
  }
}

bool DocumentText::InsidePair(int position) const {
  return position > 0 && position < length() && IsLowSurrogate(text_[position]) &&
         IsHighSurrogate(text_[position - 1]);
}

int DocumentText::NextCharacter(int position) const {
  const int next = std::min(std::max(position, 0) + 1, length());
  return InsidePair(next) ? next + 1 : next;
}

int DocumentText::PreviousCharacter(int position) const {
  const int previous = std::max(std::min(position, length()) - 1, 0);
  return InsidePair(previous) ? previous - 1 : previous;
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

bool DocumentText::MatchesAt(int position, const wchar_t* needle, int needle_length,
                             bool match_case, bool whole_word) const {
  const wchar_t* at = text_.data() + position;
  const wchar_t* wanted = needle;
  if (match_case) {
    if (wmemcmp(at, wanted, static_cast<size_t>(needle_length)) != 0) return false;
  } else {
    const wchar_t* lower = Tables().lower;
    for (int i = 0; i < needle_length; ++i) {
      if (lower[at[i]] != lower[wanted[i]]) return false;
    }
  }
  if (!whole_word) return true;
  if (position > 0 && ClassifyChar(text_[position - 1]) == kWordChar) return false;
  const int after = position + needle_length;
  return after >= length() || ClassifyChar(text_[after]) != kWordChar;
}

int DocumentText::Find(int min, int max, const wchar_t* needle, bool forward, bool match_case,
                       bool whole_word) const {
  if (needle == nullptr || min < 0) return -1;
  const int needle_length = static_cast<int>(wcslen(needle));
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
