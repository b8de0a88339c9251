#include "presentation/kotlin_declaration.h"

#include <wchar.h>

#include "presentation/name_characters.h"

namespace {

// Whether word stands at at as a word of its own, followed by a blank.
bool WordAt(const std::wstring& text, size_t at, const wchar_t* word) {
  const std::wstring w = word;
  return text.compare(at, w.size(), w) == 0 && (at == 0 || !IsNameCharacter(text[at - 1])) &&
         at + w.size() < text.size() && text[at + w.size()] == L' ';
}

// The first place of word as a word of its own in text from at; npos for none.
size_t FindWord(const std::wstring& text, const wchar_t* word, size_t at = 0) {
  for (size_t found = text.find(word, at); found != std::wstring::npos;
       found = text.find(word, found + 1)) {
    if (WordAt(text, found, word)) return found;
  }
  return std::wstring::npos;
}

// Behind "<...>" (nested) at at, or at when none opens there.
size_t SkipAngles(const std::wstring& text, size_t at) {
  if (at >= text.size() || text[at] != L'<') return at;
  int depth = 0;
  for (; at < text.size(); ++at) {
    if (text[at] == L'<') ++depth;
    if (text[at] == L'>' && --depth == 0) return at + 1;
  }
  return at;
}

// The name at at, plain or in backticks ("`compareTo-WZ4Q5Ns`"): its start and
// length; false when none stands there.
bool NameAt(const std::wstring& text, size_t at, size_t* start, size_t* length) {
  if (at < text.size() && text[at] == L'`') {
    size_t end = text.find(L'`', at + 1);
    if (end == std::wstring::npos) return false;
    *start = at + 1;
    *length = end - at - 1;
    return *length > 0;
  }
  size_t end = at;
  while (end < text.size() && IsNameCharacter(text[end])) ++end;
  *start = at;
  *length = end - at;
  return end > at;
}

bool IsName(const std::wstring& text, size_t start, size_t length, const std::wstring& name) {
  return length == name.size() && text.compare(start, length, name) == 0;
}

// A method's name after "fun": type parameters, then a receiver type whose
// last '.' outside angle brackets comes before the name, then "(".
int FunctionNameAt(const std::wstring& text, size_t fun, const std::wstring& name) {
  size_t at = SkipBlanks(text, SkipAngles(text, SkipBlanks(text, fun + 3)));
  size_t open = std::wstring::npos;
  int depth = 0;
  size_t lastDot = std::wstring::npos;
  for (size_t i = at; i < text.size(); ++i) {
    wchar_t c = text[i];
    if (c == L'`') {
      size_t end = text.find(L'`', i + 1);
      if (end == std::wstring::npos) return -1;
      i = end;
    } else if (c == L'<') {
      ++depth;
    } else if (c == L'>' && depth > 0) {
      --depth;
    } else if (c == L'.' && depth == 0) {
      lastDot = i;
    } else if (c == L'(' && depth == 0) {
      open = i;
      break;
    }
  }
  if (open == std::wstring::npos) return -1;
  size_t start, length;
  if (!NameAt(text, lastDot == std::wstring::npos ? at : lastDot + 1, &start, &length)) return -1;
  const size_t end = text[start + length] == L'`' ? start + length + 1 : start + length;
  if (SkipBlanks(text, end) != open || !IsName(text, start, length, name)) return -1;
  return static_cast<int>(start);
}

// How many parameters the list after the name's '(' holds (commas outside
// brackets); -1 when it does not close on the line.
int ParameterCount(const std::wstring& text, size_t open) {
  int depth = 0, count = 0;
  bool any = false;
  for (size_t i = open + 1; i < text.size(); ++i) {
    wchar_t c = text[i];
    if (c == L'(' || c == L'<' || c == L'[') ++depth;
    if ((c == L')' || c == L'>' || c == L']') && depth > 0) {
      --depth;
    } else if (c == L')') {
      return any ? count + 1 : 0;
    }
    if (c == L',' && depth == 0) ++count;
    if (c != L' ') any = true;
  }
  return -1;
}

}  // namespace

int KotlinDeclaredNameAt(const std::wstring& line, const DeclarationTarget& target) {
  const size_t from = TextStartAfterColumn(line);
  const std::wstring& text = line;
  switch (target.kind) {
    case MemberKind::kMethod:
      for (size_t fun = FindWord(text, L"fun", from); fun != std::wstring::npos;
           fun = FindWord(text, L"fun", fun + 1)) {
        int at = FunctionNameAt(text, fun, target.name);
        if (at >= 0) return at;
      }
      return -1;
    case MemberKind::kField:
      for (const wchar_t* word : {L"val", L"var"}) {
        size_t at = FindWord(text, word, from);
        if (at == std::wstring::npos) continue;
        size_t start, length;
        if (NameAt(text, SkipBlanks(text, at + 3), &start, &length) &&
            IsName(text, start, length, target.name)) {
          return static_cast<int>(start);
        }
      }
      return -1;
    case MemberKind::kNested: {
      if (target.name == L"Companion") {
        size_t at = FindWord(text, L"companion", from);
        if (at != std::wstring::npos && FindWord(text, L"object", at) != std::wstring::npos) {
          return static_cast<int>(at);
        }
      }
      for (const wchar_t* word : {L"class", L"interface", L"object"}) {
        size_t at = FindWord(text, word, from);
        if (at == std::wstring::npos) continue;
        size_t start, length;
        if (NameAt(text, SkipBlanks(text, at + wcslen(word)), &start, &length) &&
            IsName(text, start, length, target.name)) {
          return static_cast<int>(start);
        }
      }
      return -1;
    }
    case MemberKind::kConstructor: {
      size_t at = text.find(L"constructor", from);
      if (at != std::wstring::npos && (at == 0 || !IsNameCharacter(text[at - 1])) &&
          SkipBlanks(text, at + 11) < text.size() && text[SkipBlanks(text, at + 11)] == L'(') {
        return static_cast<int>(at);
      }
      // The primary constructor in the class's header: "class Pair<A, B>(".
      size_t kind = FindWord(text, L"class", from);
      size_t start, length;
      if (kind != std::wstring::npos && NameAt(text, SkipBlanks(text, kind + 5), &start, &length) &&
          IsName(text, start, length, target.name) &&
          SkipAngles(text, start + length) < text.size() &&
          text[SkipAngles(text, start + length)] == L'(') {
        return static_cast<int>(start);
      }
      return -1;
    }
  }
  return -1;
}

int FindKotlinDeclarationLine(const std::vector<std::wstring>& lines,
                              const DeclarationTarget& target, size_t from) {
  int best = -1, bestFitting = -1;
  size_t bestIndent = 0, bestFittingIndent = 0;
  const int wanted = static_cast<int>(target.parameters.size());
  for (size_t i = from; i < lines.size(); ++i) {
    int at = KotlinDeclaredNameAt(lines[i], target);
    if (at < 0) continue;
    const size_t indent = SkipBlanks(lines[i], TextStartAfterColumn(lines[i]));
    if (best < 0 || indent < bestIndent) {
      best = static_cast<int>(i);
      bestIndent = indent;
    }
    if (target.kind != MemberKind::kMethod && target.kind != MemberKind::kConstructor) continue;
    const size_t open = lines[i].find(L'(', static_cast<size_t>(at));
    const int count = open == std::wstring::npos ? -1 : ParameterCount(lines[i], open);
    // An extension function's receiver is the method's first parameter.
    const bool extension = lines[i].rfind(L'.', static_cast<size_t>(at)) != std::wstring::npos &&
                           lines[i].rfind(L'.', static_cast<size_t>(at)) >
                               lines[i].rfind(L"fun", static_cast<size_t>(at));
    if (count >= 0 && count + (extension ? 1 : 0) == wanted &&
        (bestFitting < 0 || indent < bestFittingIndent)) {
      bestFitting = static_cast<int>(i);
      bestFittingIndent = indent;
    }
  }
  return bestFitting >= 0 ? bestFitting : best;
}

int KotlinDeclarationAtOrAbove(const std::vector<std::wstring>& lines, size_t line,
                               const DeclarationTarget& target, size_t reach) {
  return DeclarationAtOrAbove(lines, line, target, reach, &KotlinDeclaredNameAt);
}
