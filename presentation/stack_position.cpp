#include "presentation/stack_position.h"

#include "presentation/name_characters.h"

namespace {

const int kMostDigits = 9;  // any line number fits in an int

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; }
bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

wchar_t AsciiLower(wchar_t c) { return (c >= L'A' && c <= L'Z') ? c + (L'a' - L'A') : c; }

// Whether text at p begins with suffix; moves p behind it when it does.
bool Skip(const wchar_t* text, int* p, const wchar_t* suffix) {
  int q = *p;
  for (int i = 0; suffix[i] != L'\0'; ++i, ++q) {
    if (text[q] != suffix[i]) return false;
  }
  *p = q;
  return true;
}

// "Name.java:N" (or Kotlin's "Name.kt:N") at text[*at]: moves *at behind it.
bool ReadPosition(const wchar_t* text, int* at, StackPosition* position) {
  int p = *at;
  int nameStart = p;
  while (IsNameCharacter(text[p])) ++p;
  int nameLength = p - nameStart;
  if (!Skip(text, &p, L".java:") && !Skip(text, &p, L".kt:")) return false;
  int digits = 0;
  int line = 0;
  while (IsDigit(text[p]) && digits < kMostDigits) {
    line = line * 10 + (text[p] - L'0');
    ++p;
    ++digits;
  }
  if (nameLength == 0 || digits == 0 || IsDigit(text[p])) return false;
  position->name = text + nameStart;
  position->nameLength = nameLength;
  position->line = line;
  *at = p;
  return true;
}

}  // namespace

bool ParseStackPosition(const wchar_t* text, StackPosition* position) {
  if (text == nullptr) return false;
  int p = 0;
  while (IsBlank(text[p])) ++p;
  if (!ReadPosition(text, &p, position)) {
    // A frame: "at" and blanks, the method's qualified name, the position in
    // parentheses.
    if (text[p] == L'a' && text[p + 1] == L't' && IsBlank(text[p + 2])) {
      p += 2;
      while (IsBlank(text[p])) ++p;
    }
    int method = p;
    while (text[p] != L'\0' && text[p] != L'(' && text[p] != L')' && !IsBlank(text[p])) ++p;
    if (p == method || text[p] != L'(') return false;
    ++p;
    if (!ReadPosition(text, &p, position) || text[p] != L')') return false;
    ++p;
  }
  while (IsBlank(text[p])) ++p;
  return text[p] == L'\0';
}

int ColumnLineNumber(const wchar_t* line, int length) {
  if (length < 5 || line[0] != L'/' || line[1] != L'*') return -1;
  int p = 2;
  while (p < length && line[p] == L' ') ++p;
  int digits = 0;
  int number = 0;
  while (p < length && IsDigit(line[p]) && digits < kMostDigits) {
    number = number * 10 + (line[p] - L'0');
    ++p;
    ++digits;
  }
  if (digits == 0 || p + 1 >= length || line[p] != L'*' || line[p + 1] != L'/') return -1;
  return number;
}

bool FileHoldsSourceOf(const wchar_t* path, const wchar_t* name, int nameLength) {
  if (path == nullptr || name == nullptr || nameLength <= 0) return false;
  const wchar_t* file = path;
  for (const wchar_t* c = path; *c != L'\0'; ++c) {
    if (*c == L'\\' || *c == L'/' || *c == L':') file = c + 1;
  }
  int end = 0;
  int lastDot = -1;
  while (file[end] != L'\0' && file[end] != L'$') {
    if (file[end] == L'.') lastDot = end;
    ++end;
  }
  if (file[end] != L'$' && lastDot >= 0) end = lastDot;
  // Kotlin's class of a file's own functions is the file's name and "Kt".
  if (end == nameLength + 2 && file[nameLength] == L'K' && file[nameLength + 1] == L't') {
    end = nameLength;
  }
  if (end != nameLength) return false;
  for (int i = 0; i < nameLength; ++i) {
    if (AsciiLower(file[i]) != AsciiLower(name[i])) return false;
  }
  return true;
}
