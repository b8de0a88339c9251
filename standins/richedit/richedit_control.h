// The stand-in rich-edit 2.0 control ("RichEdit20W", "RichEdit20A", and
// "RichEdit" as the 8-bit one too): what a caller sees through its window
// messages.
//
// Text. UTF-16 characters, a character beyond the BMP as its surrogate pair
// (two positions). The text messages (WM_SETTEXT, WM_GETTEXT, EM_REPLACESEL,
// EM_GETTEXTRANGE, EM_GETSELTEXT, EM_GETLINE, EM_FINDTEXT, EM_FINDTEXTEX,
// WM_CHAR) carry UTF-16 for a "RichEdit20W" window (IsWindowUnicode) and text
// in the ANSI code page for the 8-bit classes, as on Windows NT;
// EM_FINDTEXTW and EM_FINDTEXTEXW are UTF-16 on either. A CR LF, a lone CR or a lone LF
// given to WM_SETTEXT or EM_REPLACESEL is one paragraph break, stored as one
// CR: character positions count it once, and EM_GETTEXTRANGE, EM_GETSELTEXT
// and EM_GETLINE return it as CR. A CR CR LF becomes a single space, as on
// Windows. EM_REPLACESEL answers the length of the string given (0 for none),
// not the number of characters it became. Like every rich-edit text, the text
// ends with a final paragraph mark that is not part of it: selecting
// everything selects up to length + 1, and EM_FORMATRANGE counts that mark
// ("a" fits as 2).
//
// EM_GETTEXTRANGE returns 0 and writes nothing for a negative cpMin, an empty
// range or one that starts at or beyond the end; a cpMax beyond the end is
// clamped, and cpMax -1 means the end of the text only with cpMin 0 (as on
// Windows). EM_GETLINE returns a line with its paragraph mark as CR.
//
// WM_GETTEXT, WM_GETTEXTLENGTH (and so GetWindowTextA, GetWindowTextLengthA)
// and the clipboard write every paragraph break as CR LF, as rich edit 2.0
// and later do: WM_GETTEXTLENGTH counts like EM_GETTEXTLENGTHEX with
// GTL_USECRLF ("computes the answer by using CR/LFs at the end of
// paragraphs"), and WM_GETTEXT returns the text that count describes. So
// "a\rb" set gives "a\r\nb" back with length 4, while its positions run 0
// to 3: the length is an upper bound for positions, and callers that pass it
// as a range end get it clamped to the end of the text.
//
// EM_GETTEXTEX writes the text (GT_SELECTION: the selection) with breaks as CR,
// or CR LF with GT_USECRLF, into cb bytes, as UTF-16 for code page 1200 and in
// the bytes of the code page asked for otherwise, whatever the window's class;
// a CR LF or a character that does not fit whole is left out. It answers the
// units written. EM_GETTEXTLENGTHEX counts breaks once, or twice with
// GTL_USECRLF; it counts bytes (two a character in code page 1200, else those
// of the code page) for GTL_NUMBYTES or for GTL_PRECISE without GTL_NUMCHARS,
// and answers E_INVALIDARG for GTL_NUMCHARS with GTL_NUMBYTES. The clipboard
// gets UTF-16 (CF_UNICODETEXT), of which the system makes the 8-bit text.
//
// Selection. EM_SETSEL (0, -1) selects everything (end = length + 1, the final
// paragraph mark included); (-1, -1) removes the selection and leaves the
// caret at the end of the text; a negative start with a non-negative end
// leaves a caret at the selection's active end (a caret is never behind the
// final mark, so a selection of everything leaves it at length); a start
// beyond the text puts the caret at its end; otherwise an end beyond the text
// selects to length + 1. EM_EXSETSEL behaves the same; both answer the new
// end (the caret's position when there is only a caret).
//
// Lines are paragraphs: no word wrap on screen (the plugin's control has
// WS_HSCROLL, which turns it off on Windows too). EM_LINEFROMCHAR gives the last line for
// a position beyond the text and the selection start's line for -1;
// EM_LINEINDEX gives -1 for a line beyond the last and the caret's line's
// start for -1. Scrolling moves whole lines and stops
// when the last line stands at the bottom of the window (a window too small
// for one line counts as one line high).
//
// Word breaking (EM_FINDWORDBREAK): three classes of characters, white space
// (space, tab and other blanks), punctuation, and word characters (letters,
// digits, the underscore, and every character beyond ASCII, so a surrogate
// pair is never split). A word is a run of
// one class with the white space that follows it; the paragraph mark is a word
// of its own. Only the space is a delimiter for WB_ISDELIMITER.
//
// Search (EM_FINDTEXT, EM_FINDTEXTEX): case-insensitive unless FR_MATCHCASE;
// FR_WHOLEWORD accepts a match only when no word character stands directly
// before or after it. Backward (FR_DOWN clear) it looks from cpMin toward a
// lower limit of cpMax when 0 <= cpMax < cpMin, else 0, for the match nearest
// cpMin that ends at or before cpMin.
//
// WM_SETTEXT gives the new text the default format (EM_SETCHARFORMAT with
// SCF_DEFAULT, or WM_SETFONT, sets it). Inserted text (EM_REPLACESEL) takes the
// format of the character before the caret, or at the start of a paragraph of
// the one after it, unless a format was set on the empty selection.
//
// Formats are runs of interned CHARFORMAT2A records (the 8-bit records,
// CHARFORMATA and CHARFORMAT2A, on either class): every attribute and effect
// set is kept and reported back, while drawing uses face, charset, size,
// weight, italic, underline, strike-out and the text colour (the text's
// background colours are kept, not drawn). The default format is the system
// font, as Windows starts with: with automatic colours, CFU_UNDERLINE as the
// underline type, the system locale, and bold when the font is. EM_GETCHARFORMAT
// reports all of CFM_ALL2 but CFM_COOKIE (CFM_ALL for a CHARFORMATA record);
// with SCF_SELECTION it clears the mask bits of the attributes that are not the
// same over the whole selection and reports an effect set when any part has
// it. Naming CFM_UNDERLINETYPE alone switches CFE_UNDERLINE with the type;
// CFM_WEIGHT makes the text bold from FW_SEMIBOLD, CFM_BOLD sets FW_BOLD or
// FW_NORMAL. EM_SETCHARFORMAT answers 0 for a record of another size, else 1,
// and sets the modify flag for SCF_ALL (text or not) and for a selection that
// is not empty; WM_SETTEXT clears it, WM_SETFONT leaves it as it was.
//
// EM_FORMATRANGE renders into the DC of the record, in device pixels whatever
// its mapping mode, the rectangles in twips of that device; it returns the
// first position that did not fit and sets rc.bottom to the height used. A
// paragraph wider than the page goes on in the lines below, broken after the
// last blank that lets a line fit (blanks may hang over the edge), or within
// a word wider than the page; pages break between lines. With no record it
// answers the text length.
//
// Keys (when not read-only): Enter (WM_KEYDOWN VK_RETURN) inserts a paragraph
// break and Backspace (VK_BACK) deletes; their WM_CHAR characters, like every
// control character but the tab, insert nothing. The caret, keys and clicks
// take a surrogate pair as one character.
//
// EN_UPDATE goes to the parent as WM_COMMAND (control id, EN_UPDATE) whenever a
// change is about to be shown, while the event mask holds ENM_UPDATE and the
// control is visible; EN_CHANGE after each change of the text, while the mask
// holds ENM_CHANGE.
//
// Unlike Windows' control: no RTF (text starting "{\rtf" is plain text), no
// single-line mode (ES_MULTILINE is assumed), no undo, no text limit, no dialog
// handling of Enter and Tab, no URL detection; WM_SETFONT with no font is
// ignored.
#pragma once

#include <windows.h>

namespace richedit {

// Registers the classes with CS_GLOBALCLASS for the given module, so a window
// of that class can be created from any module of the process.
bool RegisterControlClasses(HINSTANCE module);
void UnregisterControlClasses(HINSTANCE module);

}  // namespace richedit
