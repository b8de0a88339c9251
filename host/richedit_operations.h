// Every operation the plugin asks of the rich-edit control, in one place. The
// control is a Unicode window ("RichEdit20W"): text goes in and out as UTF-16
// (SendMessageW), but for SetControlAnsiText; positions count UTF-16 units (a
// character beyond the BMP is two) and are signed 32-bit, -1 standing for
// "not found" and, as a range end, for the end of the text.
#pragma once

#include <windows.h>
// FR_DOWN, FR_WHOLEWORD, FR_MATCHCASE for EM_FINDTEXT (left out by WIN32_LEAN_AND_MEAN).
#include <commdlg.h>
#include <richedit.h>

static_assert(EM_EXSETSEL == 0x0437 && EM_FINDTEXT == 0x0438 && EM_FORMATRANGE == 0x0439,
              "rich-edit message values");
static_assert(EM_SETCHARFORMAT == 0x0444 && EM_SETEVENTMASK == 0x0445, "rich-edit message values");
static_assert(EM_GETTEXTRANGE == 0x044B && EM_FINDWORDBREAK == 0x044C, "rich-edit message values");
static_assert(EM_SETBKGNDCOLOR == 0x0443 && EM_FINDTEXTW == 0x047B, "rich-edit message values");
static_assert(ENM_UPDATE == 2 && EN_UPDATE == 0x0400 && WB_MOVEWORDRIGHT == 5, "rich-edit values");

inline int GetControlTextLength(HWND control) {
  return static_cast<int>(SendMessageW(control, WM_GETTEXTLENGTH, 0, 0));
}

// The text length as GetWindowTextLengthW reports it.
inline int GetControlWindowTextLength(HWND control) { return GetWindowTextLengthW(control); }

inline void SetControlText(HWND control, const WCHAR* text) { SetWindowTextW(control, text); }

// Text in the ANSI code page, which the system widens on the way in exactly
// as an 8-bit control widens what it is given.
inline void SetControlAnsiText(HWND control, const char* text) { SetWindowTextA(control, text); }

// Up to size - 1 characters of the text, line breaks as CR LF, and a NUL; the
// number of characters written.
inline int GetControlText(HWND control, WCHAR* buffer, int size) {
  return GetWindowTextW(control, buffer, size);
}

// The selection goes to the clipboard as UTF-16.
inline void CopyControlSelection(HWND control) { SendMessageW(control, WM_COPY, 0, 0); }

inline void GetControlSelection(HWND control, int* start, int* end) {
  SendMessageW(control, EM_GETSEL, reinterpret_cast<WPARAM>(start), reinterpret_cast<LPARAM>(end));
}

// (0, -1) selects everything, (-1, -1) removes the selection.
inline void SetControlSelection(HWND control, int start, int end) {
  SendMessageW(control, EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(end));
}

// An end beyond the text selects to its end.
inline void SelectControlRange(HWND control, CHARRANGE* range) {
  SendMessageW(control, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(range));
}

inline void ScrollControlLines(HWND control, int lines) {
  SendMessageW(control, EM_LINESCROLL, 0, static_cast<LPARAM>(lines));
}

inline int GetControlLineCount(HWND control) {
  return static_cast<int>(SendMessageW(control, EM_GETLINECOUNT, 0, 0));
}

inline int GetControlLineIndex(HWND control, int line) {
  return static_cast<int>(SendMessageW(control, EM_LINEINDEX, static_cast<WPARAM>(line), 0));
}

// The characters of the line that holds position, its break left out.
inline int GetControlLineLength(HWND control, int position) {
  return static_cast<int>(SendMessageW(control, EM_LINELENGTH, static_cast<WPARAM>(position), 0));
}

inline int GetControlLineFromChar(HWND control, int position) {
  return static_cast<int>(SendMessageW(control, EM_LINEFROMCHAR, static_cast<WPARAM>(position), 0));
}

inline int GetControlFirstVisibleLine(HWND control) {
  return static_cast<int>(SendMessageW(control, EM_GETFIRSTVISIBLELINE, 0, 0));
}

// Works although the control is read-only for the user; the change cannot be undone.
inline void ReplaceControlSelection(HWND control, const WCHAR* text) {
  SendMessageW(control, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(text));
}

inline void SetControlLeftMargin(HWND control, int pixels) {
  SendMessageW(control, EM_SETMARGINS, EC_LEFTMARGIN, static_cast<LPARAM>(pixels));
}

// Only EN_UPDATE is reported to the parent, as WM_COMMAND.
inline void SetControlUpdateEvents(HWND control) {
  SendMessageW(control, EM_SETEVENTMASK, 0, ENM_UPDATE);
}

// flags: FR_DOWN, FR_WHOLEWORD, FR_MATCHCASE. The match position, or -1.
inline int FindControlText(HWND control, WPARAM flags, FINDTEXTW* find) {
  return static_cast<int>(
      SendMessageW(control, EM_FINDTEXTW, flags, reinterpret_cast<LPARAM>(find)));
}

// Renders (render true) or only measures one page; the first position that did
// not fit. A null range drops the control's cached formatting.
inline int FormatControlRange(HWND control, bool render, FORMATRANGE* range) {
  return static_cast<int>(
      SendMessageW(control, EM_FORMATRANGE, render ? 1 : 0, reinterpret_cast<LPARAM>(range)));
}

// system nonzero: the system's window colour, else color.
inline void SetControlBackground(HWND control, WPARAM system, COLORREF color) {
  SendMessageW(control, EM_SETBKGNDCOLOR, system, static_cast<LPARAM>(color));
}

// scope: SCF_SELECTION or SCF_ALL; only the attributes in the format's mask apply.
// The control is sent a copy: the palettes are constant records, possibly in
// read-only memory, and nothing promises that a control leaves the record unwritten.
inline void ApplyControlFormat(HWND control, WPARAM scope, const CHARFORMAT2A* format) {
  CHARFORMAT2A copy = *format;
  SendMessageW(control, EM_SETCHARFORMAT, scope, reinterpret_cast<LPARAM>(&copy));
}

// Characters written to range->lpstrText (NUL-terminated); 0 for an empty range
// or one that starts at or beyond the end of the text.
inline int GetControlTextRange(HWND control, TEXTRANGEW* range) {
  return static_cast<int>(
      SendMessageW(control, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(range)));
}

// Where the next word begins beyond position (the white space behind a word
// belongs to it); the end of the text at or beyond the end.
inline int FindNextWordStart(HWND control, int position) {
  return static_cast<int>(
      SendMessageW(control, EM_FINDWORDBREAK, WB_MOVEWORDRIGHT, static_cast<LPARAM>(position)));
}
