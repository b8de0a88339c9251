// The control's character-format messages: EM_SETCHARFORMAT, EM_GETCHARFORMAT
// and the modify flag they share with the text.
#include <algorithm>

#include "standins/richedit/control.h"

namespace richedit {

int RichEditControl::InsertionFormat() const {
  if (insertion_format_ >= 0) return insertion_format_;
  const int at = SelectionStart();
  // Inside a paragraph, typing continues the character before the caret; at a
  // paragraph's start it takes the format of the character after it.
  if (at > 0 && at <= doc_.length() && doc_.text()[static_cast<size_t>(at - 1)] != L'\r') {
    return runs_.FormatAt(at - 1);
  }
  return runs_.FormatAt(at);
}

int RichEditControl::SetCharFormat(WPARAM scope, const CHARFORMAT2A* format) {
  if (!IsValidFormatRecord(format)) return 0;
  if (scope & SCF_ALL) {
    runs_.Apply(0, runs_.total(), *format);
    // A change of the whole text counts as a change even when there is none.
    modified_ = true;
  } else if (scope & SCF_SELECTION) {
    if (SelectionStart() == SelectionEnd()) {
      insertion_format_ = runs_.Intern(MergeFormat(runs_.Get(InsertionFormat()), *format));
      return 1;
    }
    runs_.Apply(SelectionStart(), SelectionEnd(), *format);
    modified_ = true;
  } else {
    default_format_ = runs_.Intern(MergeFormat(runs_.Get(default_format_), *format));
  }
  Refresh(true);
  return 1;
}

DWORD RichEditControl::GetCharFormat(WPARAM scope, CHARFORMAT2A* format) const {
  if (!IsValidFormatRecord(format)) return 0;
  if (!(scope & SCF_SELECTION)) {
    ExportFormat(runs_.Get(default_format_), format);
    return format->dwMask;
  }
  int start = SelectionStart();
  int end = SelectionEnd();
  // The final paragraph mark counts only when nothing else is selected.
  if (start < doc_.length()) end = std::min(end, doc_.length());
  if (start >= end) {
    ExportFormat(runs_.Get(InsertionFormat()), format);
    return format->dwMask;
  }
  const CharFormat& first = runs_.Get(runs_.FormatAt(start));
  DWORD differ = 0;
  DWORD effects = 0;
  runs_.ForEachRun(start, end, [&](int, int, int index) {
    differ |= DifferingAttributes(first, runs_.Get(index));
    effects |= runs_.Get(index).effects;
  });
  ExportFormat(first, format);
  format->dwMask &= ~differ;
  // An effect that only part of the selection has is reported set, its mask
  // bit cleared.
  const bool full = format->cbSize == sizeof(CHARFORMAT2A);
  format->dwEffects |= effects & (full ? kReportedEffects2 : kReportedEffects);
  return format->dwMask;
}

bool RichEditControl::HandleFormat(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result) {
  switch (message) {
    case EM_SETCHARFORMAT:
      *result = SetCharFormat(wparam, reinterpret_cast<const CHARFORMAT2A*>(lparam));
      return true;
    case EM_GETCHARFORMAT:
      *result = GetCharFormat(wparam, reinterpret_cast<CHARFORMAT2A*>(lparam));
      return true;
    case EM_GETMODIFY:
      *result = modified_ ? -1 : 0;
      return true;
    case EM_SETMODIFY:
      modified_ = wparam != 0;
      *result = 0;
      return true;
    default:
      return false;
  }
}

}  // namespace richedit
