// The class's members as a small filtered list: a modal dialog over the
// Lister window with a line to type in and the members whose label holds
// what is typed (letter case aside). Enter or a double click chooses, Esc
// cancels; the arrow and page keys move in the list while typing.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The index into labels of the member chosen, or -1 when the list was
// cancelled or could not be shown. dark: in the dark scheme's colours.
int PickMember(HWND owner, const std::vector<std::wstring>& labels, bool dark);
