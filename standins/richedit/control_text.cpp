// The control's text, selection, search and word-break messages.
#include <algorithm>
#include <cstring>
#include <string>

#include "standins/richedit/control.h"
// After windows.h: the find flags FR_DOWN, FR_WHOLEWORD, FR_MATCHCASE.
#include <commdlg.h>

namespace richedit {

namespace {

bool IsHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }

// The length of the unit of text that starts at i and goes out whole: a CR
// (with its LF when crlf), a surrogate pair, or one character.
int UnitLength(const std::wstring& text, int i, int end) {
  return IsHighSurrogate(text[static_cast<size_t>(i)]) && i + 1 < end ? 2 : 1;
}

// The bytes of one unit in codepage; ASCII is the same in every ANSI code page.
int NarrowUnit(const wchar_t* unit, int count, UINT codepage, char* out) {
  if (count == 1 && unit[0] < 0x80) {
    out[0] = static_cast<char>(unit[0]);
    return 1;
  }
  const int n = WideCharToMultiByte(codepage, 0, unit, count, out, 8, nullptr, nullptr);
  if (n > 0) return n;
  out[0] = '?';
  return 1;
}

}  // namespace

RichEditControl::RichEditControl(HWND window, bool unicode, LONG style, const void* title)
    : window_(window), unicode_(unicode), runs_(SystemFontFormat()), default_format_(0) {
  read_only_ = (style & ES_READONLY) != 0;
  no_hide_selection_ = (style & ES_NOHIDESEL) != 0;
  background_ = GetSysColor(COLOR_WINDOW);
  if (title != nullptr && !IS_INTRESOURCE(title)) SetText(Incoming(title));
}

std::wstring RichEditControl::Incoming(const void* text) const {
  if (text == nullptr) return std::wstring();
  if (unicode_) return static_cast<const wchar_t*>(text);
  const char* bytes = static_cast<const char*>(text);
  const int n = MultiByteToWideChar(CP_ACP, 0, bytes, -1, nullptr, 0);
  std::wstring wide(n > 1 ? static_cast<size_t>(n) : 1, L'\0');
  if (n > 1) MultiByteToWideChar(CP_ACP, 0, bytes, -1, &wide[0], n);
  wide.resize(n > 1 ? static_cast<size_t>(n - 1) : 0);
  return wide;
}

int RichEditControl::CopyOut(int start, int end, bool crlf, bool wide, UINT codepage, void* buffer,
                             int room) const {
  if (buffer == nullptr || room <= 0) return 0;
  const std::wstring& text = doc_.text();
  wchar_t* out_wide = static_cast<wchar_t*>(buffer);
  char* out_bytes = static_cast<char*>(buffer);
  int written = 0;
  for (int i = start; i < end;) {
    const int count = UnitLength(text, i, end);
    wchar_t unit[3] = {text[static_cast<size_t>(i)],
                       count == 2 ? text[static_cast<size_t>(i) + 1] : L'\0', L'\0'};
    int units = count;
    if (crlf && unit[0] == L'\r') unit[units++] = L'\n';
    char bytes[16];
    const int need = wide ? units : NarrowUnit(unit, units, codepage, bytes);
    if (written + need > room - 1) break;
    for (int k = 0; k < need; ++k) {
      if (wide) {
        out_wide[written + k] = unit[k];
      } else {
        out_bytes[written + k] = bytes[k];
      }
    }
    written += need;
    i += count;
  }
  if (wide) {
    out_wide[written] = L'\0';
  } else {
    out_bytes[written] = '\0';
  }
  return written;
}

int RichEditControl::CountOut(bool crlf, UINT codepage) const {
  const std::wstring& text = doc_.text();
  int count = 0;
  for (int i = 0; i < doc_.length();) {
    const int length = UnitLength(text, i, doc_.length());
    char bytes[16];
    count += NarrowUnit(&text[static_cast<size_t>(i)], length, codepage, bytes);
    if (crlf && text[static_cast<size_t>(i)] == L'\r') ++count;
    i += length;
  }
  return count;
}

void RichEditControl::SetText(const std::wstring& text) {
  // New text starts over in the default format.
  const int inserted = doc_.Replace(0, doc_.length(), text.c_str(), text.size());
  runs_.Reset(inserted, default_format_);
  anchor_ = active_ = 0;
  insertion_format_ = -1;
  first_line_ = 0;
  scroll_x_ = 0;
  widest_painted_ = 0;
  modified_ = false;
  Refresh(true);
  NotifyChange();
}

int RichEditControl::GetTextEx(const GETTEXTEX* how, void* buffer) const {
  if (how == nullptr || buffer == nullptr) return 0;
  // cb counts bytes; code page 1200 asks for UTF-16, any other for its bytes.
  const bool wide = how->codepage == 1200;
  const int room = static_cast<int>(std::min<DWORD>(how->cb / (wide ? 2 : 1), 1 << 30));
  int start = 0;
  int end = doc_.length();
  if (how->flags & GT_SELECTION) {
    start = SelectionStart();
    end = std::min(SelectionEnd(), doc_.length());
  }
  return CopyOut(start, end, (how->flags & GT_USECRLF) != 0, wide, how->codepage, buffer, room);
}

LRESULT RichEditControl::TextLengthEx(const GETTEXTLENGTHEX* how) const {
  if (how == nullptr) return doc_.length();
  const DWORD flags = how->flags;
  if ((flags & GTL_NUMCHARS) && (flags & GTL_NUMBYTES)) return E_INVALIDARG;
  const bool crlf = (flags & GTL_USECRLF) != 0;
  const int characters = crlf ? TextLengthWithCrLf() : doc_.length();
  // Bytes are asked for by GTL_NUMBYTES, or by GTL_PRECISE without GTL_NUMCHARS.
  const bool bytes = (flags & GTL_NUMBYTES) || ((flags & GTL_PRECISE) && !(flags & GTL_NUMCHARS));
  if (!bytes) return characters;
  return how->codepage == 1200 ? 2 * characters : CountOut(crlf, how->codepage);
}

void RichEditControl::ReplaceSelection(const std::wstring& text, bool) {
  const int start = SelectionStart();
  const int end = std::min(SelectionEnd(), doc_.length());
  const int format = InsertionFormat();
  const int inserted = doc_.Replace(start, end, text.c_str(), text.size());
  runs_.Replace(start, end, inserted, format);
  anchor_ = active_ = start + inserted;
  insertion_format_ = -1;
  modified_ = true;
  Refresh(true);
  NotifyChange();
}

void RichEditControl::CopySelection() const {
  const int start = SelectionStart();
  const int end = std::min(SelectionEnd(), doc_.length());
  if (start >= end) return;
  // As UTF-16 with CR LF breaks; the system makes the 8-bit text of it on request.
  const int room = 2 * (end - start) + 1;
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, static_cast<SIZE_T>(room) * sizeof(wchar_t));
  if (memory == nullptr) return;
  void* chars = GlobalLock(memory);
  if (chars != nullptr) {
    CopyOut(start, end, true, true, 1200, chars, room);
    GlobalUnlock(memory);
  }
  if (chars == nullptr || !OpenClipboard(window_)) {
    GlobalFree(memory);
    return;
  }
  EmptyClipboard();
  if (SetClipboardData(CF_UNICODETEXT, memory) == nullptr) GlobalFree(memory);
  CloseClipboard();
}

void RichEditControl::Select(int anchor, int active) {
  if (anchor == anchor_ && active == active_) return;
  anchor_ = anchor;
  active_ = active;
  insertion_format_ = -1;
  Refresh(false);
}

int RichEditControl::SetSelection(int from, int to) {
  const int length = doc_.length();
  if (from < 0 && to >= 0) {
    // The selection gives way to a caret at its active end, which cannot stand
    // behind the final paragraph mark.
    const int caret = std::min(active_, length);
    Select(caret, caret);
    return caret;
  }
  if (from < 0) {
    Select(length, length);
  } else {
    if (to < 0) to = length + 1;
    if (from > to) std::swap(from, to);
    if (from > length) {
      Select(length, length);
    } else {
      Select(from, std::min(to, length + 1));
    }
  }
  return SelectionEnd();
}

int RichEditControl::GetTextRange(TEXTRANGEW* range) const {
  if (range == nullptr || range->lpstrText == nullptr) return 0;
  const int length = doc_.length();
  const int start = range->chrg.cpMin;
  int end = range->chrg.cpMax;
  // As on Windows, -1 stands for the end of the text only in (0, -1).
  if (end < 0 && start == 0) end = length;
  if (end > length) end = length;
  if (start < 0 || start >= end) return 0;
  // The caller's buffer holds the range and a NUL: in the code page, the
  // bytes its characters take (as many, in a single-byte code page).
  return CopyOut(start, end, false, unicode_, CP_ACP, range->lpstrText, 2 * (end - start) + 1);
}

std::string RichEditControl::NarrowText(const std::wstring& text) const {
  std::string bytes;
  const int count = static_cast<int>(text.size());
  for (int i = 0; i < count;) {
    const int length = UnitLength(text, i, count);
    char unit[16];
    bytes.append(
        unit, static_cast<size_t>(NarrowUnit(&text[static_cast<size_t>(i)], length, CP_ACP, unit)));
    i += length;
  }
  return bytes;
}

LRESULT RichEditControl::FindWordBreak(WPARAM code, int position) const {
  switch (code) {
    case WB_LEFT:
    case WB_MOVEWORDLEFT:
      return doc_.MoveWordLeft(position);
    case WB_RIGHT:
    case WB_MOVEWORDRIGHT:
      return doc_.MoveWordRight(position);
    case WB_LEFTBREAK:
      return doc_.WordStartLeft(position);
    case WB_RIGHTBREAK:
      return doc_.WordEndRight(position);
    case WB_ISDELIMITER:
      return position >= 0 && position < doc_.length() &&
             doc_.text()[static_cast<size_t>(position)] == L' ';
    case WB_CLASSIFY: {
      if (position < 0 || position >= doc_.length()) return 0;
      const CharClass c = ClassifyChar(doc_.text()[static_cast<size_t>(position)]);
      switch (c) {
        case kWhite:
          return c | WBF_ISWHITE | WBF_BREAKLINE;
        case kParagraph:
          return c | WBF_ISWHITE | WBF_BREAKLINE;
        case kPunctuation:
          return c | WBF_BREAKAFTER;
        default:
          return c;
      }
    }
    default:
      return 0;
  }
}

int RichEditControl::LineFromPosition(int position) const {
  if (position < 0) position = SelectionStart();
  return doc_.LineFromPosition(std::min(position, doc_.length()));
}

bool RichEditControl::HandleText(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result) {
  const int wint = static_cast<int>(wparam);
  const int lint = static_cast<int>(lparam);
  switch (message) {
    case WM_SETTEXT:
      SetText(Incoming(reinterpret_cast<const void*>(lparam)));
      *result = TRUE;
      return true;
    case WM_GETTEXT:
      *result =
          CopyOut(0, doc_.length(), true, unicode_, CP_ACP, reinterpret_cast<void*>(lparam), wint);
      return true;
    case WM_GETTEXTLENGTH:
      *result = TextLengthWithCrLf();
      return true;
    case EM_GETTEXTLENGTHEX:
      *result = TextLengthEx(reinterpret_cast<const GETTEXTLENGTHEX*>(wparam));
      return true;
    case EM_GETTEXTEX:
      *result =
          GetTextEx(reinterpret_cast<const GETTEXTEX*>(wparam), reinterpret_cast<void*>(lparam));
      return true;
    case WM_COPY:
      CopySelection();
      *result = 0;
      return true;
    case WM_CUT:
    case WM_CLEAR:
      if (message == WM_CUT) CopySelection();
      if (!read_only_) ReplaceSelection(L"", true);
      *result = 0;
      return true;
    case WM_PASTE:
      // The system makes UTF-16 of 8-bit text put there.
      if (!read_only_ && IsClipboardFormatAvailable(CF_UNICODETEXT) && OpenClipboard(window_)) {
        HANDLE data = GetClipboardData(CF_UNICODETEXT);
        const wchar_t* text = data ? static_cast<const wchar_t*>(GlobalLock(data)) : nullptr;
        if (text != nullptr) {
          std::wstring copy(text);
          GlobalUnlock(data);
          CloseClipboard();
          ReplaceSelection(copy, true);
        } else {
          CloseClipboard();
        }
      }
      *result = 0;
      return true;
    case EM_GETSEL: {
      const int start = SelectionStart();
      const int end = SelectionEnd();
      if (wparam) *reinterpret_cast<DWORD*>(wparam) = static_cast<DWORD>(start);
      if (lparam) *reinterpret_cast<DWORD*>(lparam) = static_cast<DWORD>(end);
      *result = (start > 0xFFFF || end > 0xFFFF) ? -1 : MAKELONG(start, end);
      return true;
    }
    case EM_EXGETSEL: {
      CHARRANGE* range = reinterpret_cast<CHARRANGE*>(lparam);
      if (range != nullptr) {
        range->cpMin = SelectionStart();
        range->cpMax = SelectionEnd();
      }
      *result = 0;
      return true;
    }
    case EM_SETSEL:
      *result = SetSelection(wint, lint);
      return true;
    case EM_EXSETSEL: {
      const CHARRANGE* range = reinterpret_cast<const CHARRANGE*>(lparam);
      *result = range ? SetSelection(range->cpMin, range->cpMax) : SelectionEnd();
      return true;
    }
    case EM_REPLACESEL: {
      // The answer is the length of the string given, whatever it became.
      const void* text = reinterpret_cast<const void*>(lparam);
      ReplaceSelection(Incoming(text), wparam != 0);
      *result = text == nullptr ? 0
                : unicode_      ? static_cast<LRESULT>(wcslen(static_cast<const wchar_t*>(text)))
                                : static_cast<LRESULT>(strlen(static_cast<const char*>(text)));
      return true;
    }
    case EM_GETSELTEXT: {
      const int start = SelectionStart();
      const int end = std::min(SelectionEnd(), doc_.length());
      // Like EM_GETTEXTRANGE, into a buffer the caller made large enough.
      *result = CopyOut(start, end, false, unicode_, CP_ACP, reinterpret_cast<void*>(lparam),
                        2 * std::max(0, end - start) + 1);
      return true;
    }
    case EM_GETLINECOUNT:
      *result = doc_.LineCount();
      return true;
    case EM_LINEINDEX: {
      const int line = wint == -1 ? doc_.LineFromPosition(active_) : wint;
      *result = (line < 0 || line >= doc_.LineCount()) ? -1 : doc_.LineStart(line);
      return true;
    }
    case EM_LINELENGTH: {
      if (wint > doc_.length()) {
        *result = 0;
        return true;
      }
      const int line = LineFromPosition(wint);
      *result = doc_.LineEnd(line) - doc_.LineStart(line);
      return true;
    }
    case EM_LINEFROMCHAR:
      *result = LineFromPosition(wint);
      return true;
    case EM_EXLINEFROMCHAR:
      *result = LineFromPosition(lint);
      return true;
    case EM_GETLINE: {
      if (lparam == 0 || wint < 0 || wint >= doc_.LineCount()) {
        *result = 0;
        return true;
      }
      // The line with its paragraph mark, the final one included, as CR; a
      // NUL only when there is room for it.
      const int room = *reinterpret_cast<WORD*>(lparam);
      std::wstring line = doc_.text().substr(static_cast<size_t>(doc_.LineStart(wint)),
                                             doc_.LineEnd(wint) - doc_.LineStart(wint));
      line += L'\r';
      std::string bytes;
      if (!unicode_) bytes = NarrowText(line);
      const int count = std::min(room, static_cast<int>(unicode_ ? line.size() : bytes.size()));
      if (unicode_) {
        wchar_t* out = reinterpret_cast<wchar_t*>(lparam);
        wmemcpy(out, line.data(), static_cast<size_t>(count));
        if (count < room) out[count] = L'\0';
      } else {
        char* out = reinterpret_cast<char*>(lparam);
        memcpy(out, bytes.data(), static_cast<size_t>(count));
        if (count < room) out[count] = '\0';
      }
      *result = count;
      return true;
    }
    case EM_FINDTEXT:
    case EM_FINDTEXTEX:
    case EM_FINDTEXTW:
    case EM_FINDTEXTEXW: {
      // FINDTEXTEXA and FINDTEXTEXW differ only in what their text points to.
      FINDTEXTEXW* find = reinterpret_cast<FINDTEXTEXW*>(lparam);
      if (find == nullptr) {
        *result = -1;
        return true;
      }
      const bool wide = unicode_ || message == EM_FINDTEXTW || message == EM_FINDTEXTEXW;
      const std::wstring needle =
          wide ? std::wstring(find->lpstrText ? find->lpstrText : L"")
               : Incoming(find->lpstrText ? static_cast<const void*>(find->lpstrText) : "");
      const int found =
          doc_.Find(find->chrg.cpMin, find->chrg.cpMax, needle.c_str(), (wparam & FR_DOWN) != 0,
                    (wparam & FR_MATCHCASE) != 0, (wparam & FR_WHOLEWORD) != 0);
      if (message == EM_FINDTEXTEX || message == EM_FINDTEXTEXW) {
        find->chrgText.cpMin = found;
        find->chrgText.cpMax = found < 0 ? -1 : found + static_cast<int>(needle.size());
      }
      *result = found;
      return true;
    }
    case EM_GETTEXTRANGE:
      *result = GetTextRange(reinterpret_cast<TEXTRANGEW*>(lparam));
      return true;
    case EM_FINDWORDBREAK:
      *result = FindWordBreak(wparam, lint);
      return true;
    case EM_SETEVENTMASK:
      *result = static_cast<LRESULT>(event_mask_);
      event_mask_ = static_cast<DWORD>(lparam);
      return true;
    case EM_GETEVENTMASK:
      *result = static_cast<LRESULT>(event_mask_);
      return true;
    case EM_SETREADONLY: {
      read_only_ = wparam != 0;
      LONG_PTR style = GetWindowLongPtrW(window_, GWL_STYLE);
      style = read_only_ ? (style | ES_READONLY) : (style & ~static_cast<LONG_PTR>(ES_READONLY));
      SetWindowLongPtrW(window_, GWL_STYLE, style);
      *result = TRUE;
      return true;
    }
    case EM_CANUNDO:
    case EM_UNDO:
    case EM_EMPTYUNDOBUFFER:
    case EM_LIMITTEXT:
    case EM_EXLIMITTEXT:
      *result = 0;
      return true;
    case EM_SETTARGETDEVICE:
      *result = TRUE;
      return true;
    default:
      return false;
  }
}

}  // namespace richedit
