// ListSearchTextW: the host's search dialog answered on the control; the match
// is selected and shown 3 lines below the top edge. A first search for a
// stack-trace position of the shown class that the text does not hold finds
// the line with that original number instead. ListSearchText widens its text
// and asks the wide one, so a word in any script is found.
#include <wchar.h>

#include "host/ansi_to_wide.h"
#include "host/listplug.h"
#include "host/richedit_operations.h"
#include "plugin/shown_files.h"
#include "presentation/original_lines.h"
#include "presentation/stack_position.h"

namespace {

const int kLinesAboveMatch = 3;

WPARAM FindFlagsFor(int searchParameter) {
  WPARAM flags = (searchParameter & lcs_backwards) ? 0 : FR_DOWN;
  if (searchParameter & lcs_matchcase) {
    flags |= FR_MATCHCASE;
  }
  if (searchParameter & lcs_wholewords) {
    flags |= FR_WHOLEWORD;
  }
  return flags;
}

// A first search starts at the top visible line, with the caret put there; a
// repeated one one character past the start of the current match, so that
// overlapping matches are found too.
int SearchStart(HWND list, int searchParameter) {
  if (searchParameter & lcs_findfirst) {
    int start = GetControlLineIndex(list, GetControlFirstVisibleLine(list));
    SetControlSelection(list, start, start);
    return start;
  }
  int selectionStart = 0;
  GetControlSelection(list, &selectionStart, nullptr);
  return selectionStart + 1;
}

// Selects start..end and scrolls its line to 3 lines below the top edge.
void ShowMatch(HWND list, int start, int end) {
  SetControlSelection(list, start, end);
  int topLine = GetControlLineFromChar(list, start) - kLinesAboveMatch;
  if (topLine < 0) {
    topLine = 0;
  }
  ScrollControlLines(list, topLine - GetControlFirstVisibleLine(list));
}

// "Name.java:N" or a whole frame naming it, where Name is the shown class:
// the line that carries N in the column, or the nearest numbered one before.
bool ShowStackPosition(HWND list, const WCHAR* text) {
  StackPosition position;
  if (!ParseStackPosition(text, &position) ||
      !FileHoldsSourceOf(ShownFile(list), position.name, position.nameLength)) {
    return false;
  }
  int line = FindOriginalLine(list, position.line);
  if (line < 0) return false;
  int start = GetControlLineIndex(list, line);
  ShowMatch(list, start, start + GetControlLineLength(list, start));
  return true;
}

}  // namespace

int __stdcall ListSearchTextW(HWND ListWin, WCHAR* SearchString, int SearchParameter) {
  if (SearchString == nullptr) {
    return LISTPLUGIN_ERROR;
  }
  FINDTEXTW find;
  find.chrg.cpMin = SearchStart(ListWin, SearchParameter);
  find.chrg.cpMax = GetControlTextLength(ListWin);
  find.lpstrText = SearchString;
  int found = FindControlText(ListWin, FindFlagsFor(SearchParameter), &find);
  if (found != -1) {
    ShowMatch(ListWin, found, found + static_cast<int>(wcslen(SearchString)));
    return LISTPLUGIN_OK;
  }
  // Find next goes on as a plain search.
  if ((SearchParameter & lcs_findfirst) && ShowStackPosition(ListWin, SearchString)) {
    return LISTPLUGIN_OK;
  }
  SetControlSelection(ListWin, -1, -1);
  return LISTPLUGIN_ERROR;
}

int __stdcall ListSearchText(HWND ListWin, char* SearchString, int SearchParameter) {
  WCHAR wide[AnsiToWideChars];
  return ListSearchTextW(ListWin, AnsiToWide(SearchString, wide), SearchParameter);
}
