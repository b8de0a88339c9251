// ListSearchTextW: the host's search dialog answered on the control; the match
// is selected and shown 3 lines below the top edge. ListSearchText widens its
// text and asks the wide one, so a word in any script is found.
#include <wchar.h>

#include "host/ansi_to_wide.h"
#include "host/listplug.h"
#include "host/richedit_operations.h"

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
  if (found == -1) {
    SetControlSelection(ListWin, -1, -1);
    return LISTPLUGIN_ERROR;
  }
  SetControlSelection(ListWin, found, found + static_cast<int>(wcslen(SearchString)));
  int topLine = GetControlLineFromChar(ListWin, found) - kLinesAboveMatch;
  if (topLine < 0) {
    topLine = 0;
  }
  ScrollControlLines(ListWin, topLine - GetControlFirstVisibleLine(ListWin));
  return LISTPLUGIN_OK;
}

int __stdcall ListSearchText(HWND ListWin, char* SearchString, int SearchParameter) {
  WCHAR wide[AnsiToWideChars];
  return ListSearchTextW(ListWin, AnsiToWide(SearchString, wide), SearchParameter);
}
