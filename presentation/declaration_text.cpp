#include "presentation/declaration_text.h"

#include "presentation/name_characters.h"
#include "presentation/stack_position.h"

namespace {

// The last word of text (trailing blanks aside).
std::wstring LastWord(const std::wstring& text) {
  size_t end = text.size();
  while (end > 0 && (text[end - 1] == L' ' || text[end - 1] == L'\t')) --end;
  size_t start = end;
  while (start > 0 && IsNameCharacter(text[start - 1])) --start;
  return text.substr(start, end - start);
}

// Whether what stands before a name can be a declaration's modifiers, type
// parameters and type: nothing of a statement, a call, a string or a comment.
bool IsDeclarationPrefix(const std::wstring& prefix) {
  for (size_t i = 0; i < prefix.size(); ++i) {
    wchar_t c = prefix[i];
    if (c == L'=' || c == L'"' || c == L'\'' || c == L';' || c == L'{' || c == L'}' || c == L'(' ||
        c == L')' || c == L'/' || c == L':' || c == L'#' || c == L'+' || c == L'!' || c == L'|' ||
        c == L'*') {
      return false;
    }
    // A wildcard follows '<' or ','; any other '?' is a conditional's.
    if (c == L'?') {
      size_t before = i;
      while (before > 0 && prefix[before - 1] == L' ') --before;
      if (before == 0 || (prefix[before - 1] != L'<' && prefix[before - 1] != L',')) return false;
    }
  }
  static const wchar_t* const kStatementWords[] = {L"return",     L"new",   L"throw",  L"else",
                                                   L"case",       L"yield", L"assert", L"do",
                                                   L"instanceof", L"goto",  L"import", L"package"};
  for (size_t start = 0; start < prefix.size();) {
    size_t end = start;
    while (end < prefix.size() && IsNameCharacter(prefix[end])) ++end;
    if (end > start) {
      std::wstring word = prefix.substr(start, end - start);
      for (const wchar_t* statement : kStatementWords) {
        if (word == statement) return false;
      }
    }
    start = end + 1;
  }
  return true;
}

bool IsNestedKindWord(const std::wstring& word) {
  return word == L"class" || word == L"interface" || word == L"enum" || word == L"record" ||
         word == L"@interface";
}

// Drops "<...>" (nested) from a type.
std::wstring WithoutTypeArguments(const std::wstring& type) {
  std::wstring out;
  int depth = 0;
  for (wchar_t c : type) {
    if (c == L'<') {
      ++depth;
    } else if (c == L'>') {
      if (depth > 0) --depth;
    } else if (depth == 0) {
      out.push_back(c);
    }
  }
  return out;
}

std::wstring Trimmed(const std::wstring& text) {
  size_t start = SkipBlanks(text, 0);
  size_t end = text.size();
  while (end > start && (text[end - 1] == L' ' || text[end - 1] == L'\t')) --end;
  return text.substr(start, end - start);
}

// A type as compared: no type arguments, no blanks, "..." as "[]", and only
// its simple name ("java.util.Map.Entry[]" -> "Entry[]").
std::wstring ComparedType(const std::wstring& type) {
  std::wstring plain;
  for (wchar_t c : WithoutTypeArguments(type)) {
    if (c != L' ' && c != L'\t') plain.push_back(c);
  }
  size_t dots = plain.find(L"...");
  if (dots != std::wstring::npos) plain.replace(dots, 3, L"[]");
  size_t bracket = plain.find(L'[');
  std::wstring base = plain.substr(0, bracket);
  std::wstring dims = bracket == std::wstring::npos ? L"" : plain.substr(bracket);
  size_t cut = base.find_last_of(L".$");
  if (cut != std::wstring::npos) base = base.substr(cut + 1);
  return base + dims;
}

// The type of one written parameter: annotations and "final" dropped, and
// the parameter's name when one follows the type.
std::wstring ParameterType(const std::wstring& written) {
  std::wstring text = Trimmed(written);
  // Modifiers and annotations ("@Name", "@Name(...)") in any order.
  for (;;) {
    if (text.compare(0, 6, L"final ") == 0) {
      text = Trimmed(text.substr(6));
      continue;
    }
    if (text.empty() || text[0] != L'@') break;
    size_t at = 1;
    while (at < text.size() && (IsNameCharacter(text[at]) || text[at] == L'.')) ++at;
    if (at < text.size() && text[at] == L'(') {
      int depth = 0;
      for (; at < text.size(); ++at) {
        if (text[at] == L'(') ++depth;
        if (text[at] == L')' && --depth == 0) {
          ++at;
          break;
        }
      }
    }
    text = Trimmed(text.substr(at));
  }
  // "Type name": the last blank outside type arguments parts them.
  std::wstring plain = WithoutTypeArguments(text);
  size_t blank = Trimmed(plain).find_last_of(L' ');
  if (blank == std::wstring::npos) return text;
  std::wstring name = Trimmed(plain).substr(blank + 1);
  bool isName = !name.empty();
  for (wchar_t c : name) isName = isName && IsNameCharacter(c);
  if (!isName) return text;
  return Trimmed(text.substr(0, text.rfind(name)));
}

// The written parameters up to the closing parenthesis, split at the commas
// outside type arguments; false when the list does not close.
bool WrittenParameters(const std::wstring& afterParenthesis, std::vector<std::wstring>* out) {
  int angles = 0, parentheses = 0;
  std::wstring current;
  for (wchar_t c : afterParenthesis) {
    if (c == L'<') ++angles;
    if (c == L'>' && angles > 0) --angles;
    if (c == L'(') ++parentheses;
    if (c == L')') {
      if (parentheses == 0) {
        if (!Trimmed(current).empty() || !out->empty()) out->push_back(current);
        return true;
      }
      --parentheses;
    }
    if (c == L',' && angles == 0 && parentheses == 0) {
      out->push_back(current);
      current.clear();
      continue;
    }
    current.push_back(c);
  }
  return false;
}

bool TypesMatch(const std::vector<std::wstring>& written, const std::vector<std::wstring>& types) {
  if (written.size() != types.size()) return false;
  for (size_t i = 0; i < written.size(); ++i) {
    if (ComparedType(ParameterType(written[i])) != ComparedType(types[i])) return false;
  }
  return true;
}

size_t Indentation(const std::wstring& line) {
  size_t start = TextStartAfterColumn(line);
  return SkipBlanks(line, start) - start;
}

}  // namespace

size_t TextStartAfterColumn(const std::wstring& line) {
  int length = static_cast<int>(line.size() < 16 ? line.size() : 16);
  if (ColumnLineNumber(line.c_str(), length) < 0) return 0;
  return line.find(L"*/") + 2;
}

int DeclaredNameAt(const std::wstring& line, const DeclarationTarget& target) {
  if (target.name.empty()) return -1;
  size_t textStart = SkipBlanks(line, TextStartAfterColumn(line));
  for (size_t at = line.find(target.name, textStart); at != std::wstring::npos;
       at = line.find(target.name, at + 1)) {
    size_t end = at + target.name.size();
    if (end < line.size() && IsNameCharacter(line[end])) continue;
    // javap names a nested class's constructor after its outer class and '$'.
    bool nestedConstructor =
        target.kind == MemberKind::kConstructor && at > textStart && line[at - 1] == L'$';
    if (at > textStart && IsNameCharacter(line[at - 1]) && !nestedConstructor) continue;
    size_t next = SkipBlanks(line, end);
    wchar_t follow = next < line.size() ? line[next] : L'\0';
    std::wstring prefix = line.substr(textStart, at - textStart);
    if (target.kind == MemberKind::kNested) {
      if (IsNestedKindWord(LastWord(prefix)) ||
          (prefix.size() >= 11 && prefix.compare(prefix.size() - 11, 11, L"@interface ") == 0)) {
        std::wstring before = prefix.substr(0, prefix.size() - LastWord(prefix).size() - 1);
        if (IsDeclarationPrefix(before)) return static_cast<int>(at);
      }
      continue;
    }
    if (target.kind == MemberKind::kField) {
      bool declares = follow == L';' || follow == L'=' || follow == L',' ||
                      (target.enumConstant && (follow == L'(' || follow == L'{' || follow == 0));
      if (!declares) continue;
      if (prefix.empty()) {
        if (target.enumConstant) return static_cast<int>(at);
        continue;
      }
      if (prefix.back() == L' ' && IsDeclarationPrefix(prefix)) return static_cast<int>(at);
      continue;
    }
    if (follow != L'(') continue;
    if (target.kind == MemberKind::kConstructor) {
      // javap qualifies a constructor by its class's package (and outer class).
      size_t qualified = prefix.size();
      while (qualified > 0 &&
             (IsNameCharacter(prefix[qualified - 1]) || prefix[qualified - 1] == L'.')) {
        --qualified;
      }
      if (qualified < prefix.size()) {
        wchar_t last = prefix.back();
        if (last != L'.' && last != L'$') continue;
        prefix = prefix.substr(0, qualified);
      }
      if (prefix.empty() || (prefix.back() == L' ' && IsDeclarationPrefix(prefix))) {
        return static_cast<int>(at);
      }
      continue;
    }
    if (!prefix.empty() && prefix.back() == L' ' && IsDeclarationPrefix(prefix)) {
      return static_cast<int>(at);
    }
  }
  return -1;
}

bool ParametersMatch(const std::wstring& afterParenthesis, const DeclarationTarget& target) {
  std::vector<std::wstring> written;
  if (!WrittenParameters(afterParenthesis, &written)) return false;
  return TypesMatch(written, target.parameters) || TypesMatch(written, target.erasedParameters);
}

int FindDeclarationLine(const std::vector<std::wstring>& lines, const DeclarationTarget& target,
                        size_t from) {
  int best = -1, bestMatching = -1;
  size_t bestIndent = 0, bestMatchingIndent = 0;
  bool hasParameters =
      target.kind == MemberKind::kMethod || target.kind == MemberKind::kConstructor;
  for (size_t i = from; i < lines.size(); ++i) {
    int at = DeclaredNameAt(lines[i], target);
    if (at < 0) continue;
    size_t indent = Indentation(lines[i]);
    if (best < 0 || indent < bestIndent) {
      best = static_cast<int>(i);
      bestIndent = indent;
    }
    if (!hasParameters) continue;
    // The list may run on over the next lines.
    std::wstring after = lines[i].substr(lines[i].find(L'(', at) + 1);
    for (size_t j = i + 1; j < lines.size() && j < i + 8 && after.find(L')') == std::wstring::npos;
         ++j) {
      after += L" " + lines[j].substr(TextStartAfterColumn(lines[j]));
    }
    if (ParametersMatch(after, target) && (bestMatching < 0 || indent < bestMatchingIndent)) {
      bestMatching = static_cast<int>(i);
      bestMatchingIndent = indent;
    }
  }
  return bestMatching >= 0 ? bestMatching : best;
}

int DeclarationAtOrAbove(const std::vector<std::wstring>& lines, size_t line,
                         const DeclarationTarget& target, size_t reach, DeclaredNameFinder found) {
  if (found == nullptr) found = &DeclaredNameAt;
  for (size_t up = 0; up <= reach && up <= line && line < lines.size(); ++up) {
    const std::wstring& text = lines[line - up];
    if (found(text, target) >= 0) return static_cast<int>(line - up);
    if (up > 0 && TextStartAfterColumn(text) > 0) return -1;
  }
  return -1;
}
