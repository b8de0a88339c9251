#include "presentation/kotlin_keywords.h"

#include <string.h>

namespace {

// Each table ascending in strcmp order, for a binary search.
const char* const kHard[] = {
    "as",     "break",     "class",  "continue", "do",        "else",  "false",
    "for",    "fun",       "if",     "in",       "interface", "is",    "null",
    "object", "package",   "return", "super",    "this",      "throw", "true",
    "try",    "typealias", "typeof", "val",      "var",       "when",  "while",
};
const char* const kModifier[] = {
    "abstract", "actual", "annotation", "companion", "const",     "crossinline",
    "data",     "enum",   "expect",     "external",  "final",     "infix",
    "inline",   "inner",  "internal",   "lateinit",  "noinline",  "open",
    "operator", "out",    "override",   "private",   "protected", "public",
    "reified",  "sealed", "suspend",    "tailrec",   "value",     "vararg",
};
const char* const kSoft[] = {
    "by", "catch", "constructor", "finally", "get", "import", "init", "set", "where",
};

// The longest word of the tables, and a little room.
constexpr int kLongest = 16;

template <size_t N>
bool Holds(const char* const (&table)[N], const char* word) {
  size_t low = 0, high = N;
  while (low < high) {
    size_t probe = (low + high) / 2;
    int order = strcmp(word, table[probe]);
    if (order == 0) return true;
    if (order < 0) {
      high = probe;
    } else {
      low = probe + 1;
    }
  }
  return false;
}

}  // namespace

KotlinWordKind KotlinWordKindOf(const wchar_t* word, int length) {
  if (word == nullptr || length <= 0 || length >= kLongest) return KotlinWordKind::None;
  char narrow[kLongest];
  for (int i = 0; i < length; ++i) {
    if (word[i] < L'a' || word[i] > L'z') return KotlinWordKind::None;
    narrow[i] = static_cast<char>(word[i]);
  }
  narrow[length] = '\0';
  if (Holds(kHard, narrow)) return KotlinWordKind::Hard;
  if (Holds(kModifier, narrow)) return KotlinWordKind::Modifier;
  if (Holds(kSoft, narrow)) return KotlinWordKind::Soft;
  return KotlinWordKind::None;
}

bool KotlinWordIs(const wchar_t* word, int length, const char* text) {
  int i = 0;
  for (; i < length && text[i] != '\0'; ++i) {
    if (word[i] != static_cast<unsigned char>(text[i])) return false;
  }
  return i == length && text[i] == '\0';
}
