#include "presentation/java_contextual_keywords.h"

#include <string.h>

#include "presentation/java_keywords.h"

namespace {

constexpr int TextCharacters = static_cast<int>(sizeof(JavaToken{}.text)) - 1;

bool IsName(const JavaToken* token, const char* name) {
  return token != nullptr && token->kind == JavaTokenKind::Name && strcmp(token->text, name) == 0;
}

bool IsKeyword(const JavaToken& token, const char* keyword) {
  return token.kind == JavaTokenKind::Keyword && strcmp(token.text, keyword) == 0;
}

// Nothing, not even a space, between the two.
bool Touching(const JavaToken& before, const JavaToken& after) { return before.end == after.start; }

// What may follow sealed or non-sealed: the class or interface it heads, or
// another of its modifiers.
bool ContinuesClassHeader(const JavaToken& token) {
  static const char* const words[] = {"class",     "interface", "abstract", "final",   "private",
                                      "protected", "public",    "static",   "strictfp"};
  for (const char* word : words) {
    if (IsKeyword(token, word)) return true;
  }
  return false;
}

// Whether a statement can start behind token (null: the start of the text):
// ":" ends a case label, ")" the head of an if or a for.
bool EndsStatementHead(const JavaToken* token) {
  if (token == nullptr) return true;
  if (token->kind == JavaTokenKind::Keyword) return strcmp(token->text, "else") == 0;
  if (token->kind != JavaTokenKind::Punctuation) return false;
  char c = token->last;
  return c == ';' || c == '{' || c == '}' || c == ')' || c == ':';
}

// What javac takes for the value of a yield statement rather than the rest of
// an expression on a variable named yield ("yield = 1;", "yield++;",
// "yield.x", "yield instanceof T").
bool StartsYieldValue(const JavaToken& token) {
  switch (token.kind) {
    case JavaTokenKind::Name:
    case JavaTokenKind::Number:
    case JavaTokenKind::Literal:
      return true;
    case JavaTokenKind::Keyword:
      return strcmp(token.text, "instanceof") != 0;
    case JavaTokenKind::Punctuation:
      break;
  }
  char c = token.text[0];
  char d = token.text[1];
  if (c == '(' || c == '~') return true;
  if (c == '!') return d != '=';
  if (c == '+' || c == '-') {
    // "++" or "--" alone runs into its operand ("yield ++i;"); "++;" is a postfix.
    if (d == c) return token.text[2] == '\0';
    return d != '=' && d != '>';
  }
  return false;
}

JavaKeywordRange RangeOf(const JavaToken& token) { return {token.start, token.end}; }

// The window's token n places back (1: the newest), or null.
const JavaToken* Back(const JavaTokenWindow& window, int n) {
  return n <= window.count ? &window.last[3 - n] : nullptr;
}

JavaKeywordRange Decide(const JavaTokenWindow& window, const JavaToken& token) {
  const JavaToken* p1 = Back(window, 1);
  const JavaToken* p2 = Back(window, 2);
  const JavaToken* p3 = Back(window, 3);
  if (IsName(p2, "record") && p1->kind == JavaTokenKind::Name &&
      token.kind == JavaTokenKind::Punctuation && (token.text[0] == '(' || token.text[0] == '<')) {
    return RangeOf(*p2);
  }
  if (IsName(p1, "sealed") && ContinuesClassHeader(token)) {
    if (p3 != nullptr && IsName(p3, "non") && p2->kind == JavaTokenKind::Punctuation &&
        strcmp(p2->text, "-") == 0 && Touching(*p3, *p2) && Touching(*p2, *p1)) {
      return {p3->start, p1->end};
    }
    return RangeOf(*p1);
  }
  if ((IsName(p1, "var") || IsName(p1, "permits")) && token.kind == JavaTokenKind::Name) {
    return RangeOf(*p1);
  }
  if (IsName(p1, "yield") && EndsStatementHead(p2) && StartsYieldValue(token)) {
    return RangeOf(*p1);
  }
  return {0, 0};
}

}  // namespace

JavaToken MakeJavaToken(const char* word, int length, int start) {
  JavaToken token;
  token.start = start;
  token.end = start + length;
  int kept = length <= 0 ? 0 : (length < TextCharacters ? length : TextCharacters);
  memcpy(token.text, word, static_cast<size_t>(kept));
  token.text[kept] = '\0';
  token.last = length > 0 ? word[length - 1] : '\0';

  unsigned char first = length > 0 ? static_cast<unsigned char>(word[0]) : '\0';
  if (first >= '0' && first <= '9') {
    token.kind = JavaTokenKind::Number;
  } else if ((first >= 'a' && first <= 'z') || (first >= 'A' && first <= 'Z') || first == '_' ||
             first >= 0x80) {
    // No keyword is longer than the text kept.
    bool keyword = length <= TextCharacters && FindJavaKeyword(token.text) >= 0;
    token.kind = keyword ? JavaTokenKind::Keyword : JavaTokenKind::Name;
  } else {
    token.kind = JavaTokenKind::Punctuation;
  }
  return token;
}

JavaToken MakeJavaLiteral(int start, int end) {
  JavaToken token;
  token.start = start;
  token.end = end;
  token.kind = JavaTokenKind::Literal;
  token.last = '\0';
  token.text[0] = '\0';
  return token;
}

JavaKeywordRange NextJavaToken(JavaTokenWindow& window, const JavaToken& token) {
  JavaKeywordRange found = Decide(window, token);
  window.last[0] = window.last[1];
  window.last[1] = window.last[2];
  window.last[2] = token;
  if (window.count < 3) ++window.count;
  return found;
}
