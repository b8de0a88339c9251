#include "plugin/go_to_member.h"

#include <string>
#include <vector>

#include "decompile/class_text.h"
#include "host/utf8_to_wide.h"
#include "host/view_kind.h"
#include "plugin/member_jump.h"
#include "plugin/member_picker.h"

void GoToMember(HWND control, ClassWindow* window) {
  // The bytes the run read: the host's thread never opens the class.
  ClassGlance glance;
  std::string error;
  if (window->cls == nullptr || !GlanceOf(*window->cls, &glance, &error)) {
    MessageBeep(MB_OK);
    return;
  }
  // The bytecode view lists this class alone: its nested classes are not in it.
  std::vector<const ClassMember*> offered;
  std::vector<std::wstring> labels;
  for (const ClassMember& member : glance.members) {
    if (window->bytecodeShown && member.kind == MemberKind::kNested) continue;
    offered.push_back(&member);
    labels.push_back(WideFromUtf8(member.label));
  }
  int chosen =
      PickMember(GetAncestor(control, GA_ROOT), labels, ReadViewKind(control) == DarkJavaView);
  // While the list was open the source may have come, or the window gone.
  if (chosen < 0 || !IsWindow(control) || ClassWindowOf(control) != window) return;
  if (!JumpToMember(control, *window, *offered[static_cast<size_t>(chosen)])) MessageBeep(MB_OK);
  SetFocus(control);
}
