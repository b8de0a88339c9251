// What the list window holds, written to files: its text, and its format
// runs as the control reports them with EM_GETCHARFORMAT.
#pragma once

#include <windows.h>

#include <string>

// The window's text (WM_GETTEXT, wide) in UTF-8, with no byte-order mark.
bool DumpControlText(HWND list, const std::wstring& path);

// One line per run of equal formats: "START END BOLD COLOUR FACE", END
// exclusive, BOLD 1 or 0, COLOUR #rrggbb or "auto", FACE the rest of the line;
// "?" for an attribute whose mask bit the control cleared. Read one character
// at a time through the selection; the selection and the first visible line
// are put back afterwards. The final paragraph mark that a rich-edit control
// keeps after the text (EM_GETTEXTLENGTHEX, when answered, tells) is left out.
bool DumpControlFormats(HWND list, const std::wstring& path);
