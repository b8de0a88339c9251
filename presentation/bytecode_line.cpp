#include "presentation/bytecode_line.h"

#include <initializer_list>

namespace {

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }
bool IsMnemonicChar(wchar_t c) { return (c >= L'a' && c <= L'z') || IsDigit(c) || c == L'_'; }

bool StartsWith(const wchar_t* text, int length, int at, const wchar_t* prefix) {
  for (int i = 0; prefix[i] != L'\0'; ++i) {
    if (at + i >= length || text[at + i] != prefix[i]) return false;
  }
  return true;
}

}  // namespace

BytecodeSpans FindBytecodeSpans(const wchar_t* line, int length) {
  BytecodeSpans spans;
  int at = 0;
  while (at < length && line[at] == L' ') ++at;
  const int digits = at;
  while (at < length && IsDigit(line[at])) ++at;
  // "offset: mnemonic", the offset right after the indent.
  if (at == digits || at + 1 >= length || line[at] != L':' || line[at + 1] != L' ') return spans;
  at += 2;
  // A switch's case, "0: 28", is no instruction.
  if (at >= length || line[at] < L'a' || line[at] > L'z') return spans;
  spans.mnemonicStart = at;
  while (at < length && IsMnemonicChar(line[at])) ++at;
  spans.mnemonicEnd = at;
  if (spans.mnemonicEnd == spans.mnemonicStart) return BytecodeSpans();

  // A constant the instruction loads, as its comment names it.
  for (int i = at; i + 1 < length; ++i) {
    if (line[i] != L'/' || line[i + 1] != L'/') continue;
    int kind = i + 2;
    while (kind < length && line[kind] == L' ') ++kind;
    for (const wchar_t* name : {L"String ", L"int ", L"long ", L"float ", L"double "}) {
      if (StartsWith(line, length, kind, name)) {
        spans.literalStart = kind + static_cast<int>(wcslen(name));
        spans.literalEnd = length;
        return spans;
      }
    }
    return spans;
  }
  // Or a number the instruction holds itself.
  if (StartsWith(line, length, spans.mnemonicStart, L"bipush ") ||
      StartsWith(line, length, spans.mnemonicStart, L"sipush ")) {
    int start = spans.mnemonicEnd;
    while (start < length && line[start] == L' ') ++start;
    int end = start + (start < length && line[start] == L'-' ? 1 : 0);
    while (end < length && IsDigit(line[end])) ++end;
    if (end > start) {
      spans.literalStart = start;
      spans.literalEnd = end;
    }
  }
  return spans;
}
