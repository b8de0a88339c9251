// ListSendCommand: copy, select all, new parameters and go to a percentage.
#include "host/host_messages.h"
#include "host/listplug.h"
#include "host/richedit_operations.h"

namespace {

// Scrolls so that the line at percent of the text is on top, puts the caret at
// the start of the line where the control actually stopped, and reports that
// line's percentage.
int GoToPercent(HWND list, int percent) {
  int firstLine = GetControlFirstVisibleLine(list);
  int lineCount = GetControlLineCount(list);
  if (lineCount <= 0) {
    return LISTPLUGIN_ERROR;
  }
  int targetLine = MulDiv(percent, lineCount, 100);
  ScrollControlLines(list, targetLine - firstLine);
  int reachedLine = GetControlFirstVisibleLine(list);
  int caret = GetControlLineIndex(list, reachedLine);
  SetControlSelection(list, caret, caret);
  PostHostMessage(GetParent(list), list, MulDiv(reachedLine, 100, lineCount), itm_percent);
  return LISTPLUGIN_OK;
}

}  // namespace

int __stdcall ListSendCommand(HWND ListWin, int Command, int Parameter) {
  switch (Command) {
    case lc_copy:
      CopyControlSelection(ListWin);
      return LISTPLUGIN_OK;
    case lc_newparams:
      // The new show flags change nothing here; the host is told to go on.
      PostHostMessage(GetParent(ListWin), ListWin, 0, itm_next);
      return LISTPLUGIN_ERROR;
    case lc_selectall:
      SetControlSelection(ListWin, 0, -1);
      return LISTPLUGIN_OK;
    case lc_setpercent:
      return GoToPercent(ListWin, Parameter);
    default:
      return LISTPLUGIN_ERROR;
  }
}
