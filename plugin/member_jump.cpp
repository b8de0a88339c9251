#include "plugin/member_jump.h"

#include <wctype.h>

#include <map>
#include <string>
#include <vector>

#include "host/richedit_operations.h"
#include "host/utf8_to_wide.h"
#include "plugin/class_views.h"
#include "presentation/declaration_text.h"
#include "presentation/kotlin_declaration.h"
#include "presentation/stack_position.h"

namespace {

// How far above the first statement of a method its declaration may stand
// (annotations, a parameter list over many lines).
const size_t kDeclarationReach = 40;

DeclarationTarget TargetOf(const ClassMember& member) {
  DeclarationTarget target;
  target.kind = member.kind;
  target.enumConstant = member.enumConstant;
  target.name = WideFromUtf8(member.name);
  for (const std::string& type : member.parameters) target.parameters.push_back(WideFromUtf8(type));
  for (const std::string& type : member.erasedParameters) {
    target.erasedParameters.push_back(WideFromUtf8(type));
  }
  return target;
}

// The control's text as lines, and where each begins among the control's
// positions (a line break counts one there).
struct ViewLines {
  std::vector<std::wstring> lines;
  std::vector<int> starts;
};

ViewLines ReadViewLines(HWND control) {
  ViewLines view;
  int length = GetControlWindowTextLength(control);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  text.resize(static_cast<size_t>(GetControlText(control, &text[0], length + 1)));
  int position = 0;
  size_t start = 0;
  for (;;) {
    size_t end = text.find_first_of(L"\r\n", start);
    std::wstring line = text.substr(start, end == std::wstring::npos ? end : end - start);
    view.starts.push_back(position);
    position += static_cast<int>(line.size()) + 1;
    view.lines.push_back(line);
    if (end == std::wstring::npos) break;
    start = end + (text.compare(end, 2, L"\r\n") == 0 ? 2 : 1);
  }
  return view;
}

// The line at the top of the view and length characters from at selected.
bool ShowAt(HWND control, const ViewLines& view, int line, int at, int length) {
  if (line < 0 || static_cast<size_t>(line) >= view.lines.size() || at < 0) return false;
  int start = view.starts[line] + at;
  int shownLine = GetControlLineFromChar(control, start);
  ScrollControlLines(control, shownLine - GetControlFirstVisibleLine(control));
  SetControlSelection(control, start, start + length);
  return true;
}

// The line at the top of the view and the name selected.
bool ShowDeclaration(HWND control, const ViewLines& view, int line,
                     const DeclarationTarget& target) {
  if (line < 0 || static_cast<size_t>(line) >= view.lines.size()) return false;
  return ShowAt(control, view, line, DeclaredNameAt(view.lines[line], target),
                static_cast<int>(target.name.size()));
}

// The lines that carry the numbers of the member's code in the column, the
// first line of each, in the order the code runs.
std::vector<size_t> LinesOfCode(const ViewLines& view, const ClassMember& member) {
  std::vector<size_t> lines;
  if (member.lines.empty()) return lines;
  std::map<unsigned, size_t> carrying;  // the first line that carries each number
  for (size_t i = 0; i < view.lines.size(); ++i) {
    const std::wstring& line = view.lines[i];
    int number =
        ColumnLineNumber(line.c_str(), static_cast<int>(line.size() < 16 ? line.size() : 16));
    if (number >= 0) carrying.emplace(static_cast<unsigned>(number), i);
  }
  for (unsigned number : member.lines) {
    auto found = carrying.find(number);
    if (found != carrying.end()) lines.push_back(found->second);
  }
  return lines;
}

// By the numbers of the column: the declaration above the first line of its
// code that the view shows, in the order the code runs.
int DeclarationByOriginalLines(const ViewLines& view, const ClassMember& member,
                               const DeclarationTarget& target) {
  for (size_t code : LinesOfCode(view, member)) {
    int line = DeclarationAtOrAbove(view.lines, code, target, kDeclarationReach);
    if (line >= 0) return line;
  }
  return -1;
}

}  // namespace

bool JumpToMemberInSource(HWND control, const ClassMember& member) {
  ViewLines view = ReadViewLines(control);
  DeclarationTarget target = TargetOf(member);
  int line = -1;
  if (member.kind == MemberKind::kMethod || member.kind == MemberKind::kConstructor) {
    line = DeclarationByOriginalLines(view, member, target);
  }
  if (line < 0) line = FindDeclarationLine(view.lines, target, HeaderLineCount);
  if (line < 0 && member.kind == MemberKind::kConstructor) {
    // A constructor the engine did not write (the compiler's default one):
    // the class's declaration.
    target.kind = MemberKind::kNested;
    line = FindDeclarationLine(view.lines, target, HeaderLineCount);
  }
  return ShowDeclaration(control, view, line, target);
}

bool JumpToMemberInBytecode(HWND control, const ClassWindow& window, const ClassMember& member) {
  if (member.kind == MemberKind::kNested) return false;
  ViewLines view = ReadViewLines(control);
  DeclarationTarget target = TargetOf(member);
  bool isMethod = member.kind == MemberKind::kMethod || member.kind == MemberKind::kConstructor;
  if (isMethod && member.index < window.places.size()) {
    int line = static_cast<int>(window.places[member.index].line) + HeaderLineCount;
    if (ShowDeclaration(control, view, line, target)) return true;
  }
  return ShowDeclaration(control, view, FindDeclarationLine(view.lines, target, HeaderLineCount),
                         target);
}

bool JumpToMemberInKotlin(HWND control, const ClassMember& member) {
  ViewLines view = ReadViewLines(control);
  DeclarationTarget target = TargetOf(member);
  std::vector<size_t> code;
  if (member.kind == MemberKind::kMethod || member.kind == MemberKind::kConstructor) {
    code = LinesOfCode(view, member);
  }
  int line = -1;
  for (size_t i = 0; i < code.size() && line < 0; ++i) {
    line = KotlinDeclarationAtOrAbove(view.lines, code[i], target, kDeclarationReach);
  }
  if (line < 0) line = FindKotlinDeclarationLine(view.lines, target, HeaderLineCount);
  if (line >= 0) {
    // The name, or the word that stands for it ("constructor", "companion").
    const std::wstring& text = view.lines[line];
    const int at = KotlinDeclaredNameAt(text, target);
    size_t end = static_cast<size_t>(at);
    if (text.compare(end, target.name.size(), target.name) == 0) {
      end += target.name.size();
    } else {
      while (end < text.size() && iswalpha(text[end])) ++end;
    }
    return ShowAt(control, view, line, at, static_cast<int>(end) - at);
  }
  // A method Kotlin declares otherwise (a property's getter): its code's first line.
  if (code.empty()) return false;
  const std::wstring& text = view.lines[code[0]];
  size_t start = TextStartAfterColumn(text);
  while (start < text.size() && text[start] == L' ') ++start;
  return ShowAt(control, view, static_cast<int>(code[0]), static_cast<int>(start), 0);
}

bool JumpToMember(HWND control, const ClassWindow& window, const ClassMember& member) {
  if (window.bytecodeShown) return JumpToMemberInBytecode(control, window, member);
  if (window.kotlinShown) return JumpToMemberInKotlin(control, member);
  return JumpToMemberInSource(control, member);
}
