// The control's text, selection, search and word-break messages.
#include <algorithm>
#include <cstring>
#include <string>

#include "standins/richedit/control.h"
// After windows.h: the find flags FR_DOWN, FR_WHOLEWORD, FR_MATCHCASE.
#include <commdlg.h>

namespace richedit {

namespace {

// The text with every CR written as CR LF.
std::string WithCrLf(const std::string& text, int start, int end) {
  std::string out;
  out.reserve(static_cast<size_t>(end - start) + 16);
  for (int i = start; i < end; ++i) {
    out.push_back(text[static_cast<size_t>(i)]);
    if (text[static_cast<size_t>(i)] == '\r') out.push_back('\n');
  }
  return out;
}

// Characters [start, end) of the text into a buffer of `size` bytes, the NUL
// included, each break as CR or (crlf) CR LF; a CR LF that does not fit whole
// is left out. Returns the characters written.
int CopyText(const std::string& text, int start, int end, bool crlf, char* buffer, int size) {
  if (buffer == nullptr || size <= 0) return 0;
  int written = 0;
  for (int i = start; i < end; ++i) {
    const char c = text[static_cast<size_t>(i)];
    const int need = (crlf && c == '\r') ? 2 : 1;
    if (written + need > size - 1) break;
    buffer[written++] = c;
    if (need == 2) buffer[written++] = '\n';
  }
  buffer[written] = '\0';
  return written;
}

}  // namespace

RichEditControl::RichEditControl(HWND window, const CREATESTRUCTA& create)
    : window_(window), runs_(SystemFontFormat()), default_format_(0) {
  read_only_ = (create.style & ES_READONLY) != 0;
  no_hide_selection_ = (create.style & ES_NOHIDESEL) != 0;
  background_ = GetSysColor(COLOR_WINDOW);
  if (create.lpszName != nullptr && !IS_INTRESOURCE(create.lpszName)) SetText(create.lpszName);
}

void RichEditControl::SetText(const char* text) {
  if (text == nullptr) text = "";
  // New text starts over in the default format.
  const int inserted = doc_.Replace(0, doc_.length(), text, strlen(text));
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

int RichEditControl::GetText(char* buffer, int size) const {
  return CopyText(doc_.text(), 0, doc_.length(), true, buffer, size);
}

int RichEditControl::GetTextEx(const GETTEXTEX* how, void* buffer) const {
  if (how == nullptr || buffer == nullptr) return 0;
  // cb counts bytes; code page 1200 asks for UTF-16, any other for bytes.
  const bool wide = how->codepage == 1200;
  const int room = static_cast<int>(std::min<DWORD>(how->cb / (wide ? 2 : 1), 1 << 30));
  int start = 0;
  int end = doc_.length();
  if (how->flags & GT_SELECTION) {
    start = SelectionStart();
    end = std::min(SelectionEnd(), doc_.length());
  }
  const bool crlf = (how->flags & GT_USECRLF) != 0;
  if (!wide) return CopyText(doc_.text(), start, end, crlf, static_cast<char*>(buffer), room);
  if (room <= 0) return 0;
  // Room for the text with every break doubled at most, whatever cb says.
  const int size = std::min(room, 2 * std::max(0, end - start) + 1);
  std::string narrow(static_cast<size_t>(size), '\0');
  const int count = CopyText(doc_.text(), start, end, crlf, &narrow[0], size);
  WCHAR* out = static_cast<WCHAR*>(buffer);
  const int written =
      count > 0 ? MultiByteToWideChar(CP_ACP, 0, narrow.data(), count, out, room - 1) : 0;
  out[written] = L'\0';
  return written;
}

LRESULT RichEditControl::TextLengthEx(const GETTEXTLENGTHEX* how) const {
  if (how == nullptr) return doc_.length();
  const DWORD flags = how->flags;
  if ((flags & GTL_NUMCHARS) && (flags & GTL_NUMBYTES)) return E_INVALIDARG;
  const int characters = (flags & GTL_USECRLF) ? TextLengthWithCrLf() : doc_.length();
  // Bytes are asked for by GTL_NUMBYTES, or by GTL_PRECISE without GTL_NUMCHARS;
  // in the 8-bit code page they are as many as the characters.
  const bool bytes = (flags & GTL_NUMBYTES) || ((flags & GTL_PRECISE) && !(flags & GTL_NUMCHARS));
  return (bytes && how->codepage == 1200) ? 2 * characters : characters;
}

void RichEditControl::ReplaceSelection(const char* text, bool) {
  if (text == nullptr) text = "";
  const int start = SelectionStart();
  const int end = std::min(SelectionEnd(), doc_.length());
  const int format = InsertionFormat();
  const int inserted = doc_.Replace(start, end, text, strlen(text));
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
  const std::string text = WithCrLf(doc_.text(), start, end);
  if (!OpenClipboard(window_)) return;
  EmptyClipboard();
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  if (memory != nullptr) {
    char* bytes = static_cast<char*>(GlobalLock(memory));
    if (bytes != nullptr) {
      memcpy(bytes, text.c_str(), text.size() + 1);
      GlobalUnlock(memory);
    }
    if (bytes == nullptr || SetClipboardData(CF_TEXT, memory) == nullptr) GlobalFree(memory);
  }
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

int RichEditControl::GetTextRange(TEXTRANGEA* range) const {
  if (range == nullptr || range->lpstrText == nullptr) return 0;
  const int length = doc_.length();
  const int start = range->chrg.cpMin;
  int end = range->chrg.cpMax;
  // As on Windows, -1 stands for the end of the text only in (0, -1).
  if (end < 0 && start == 0) end = length;
  if (end > length) end = length;
  if (start < 0 || start >= end) return 0;
  memcpy(range->lpstrText, doc_.text().data() + start, static_cast<size_t>(end - start));
  range->lpstrText[end - start] = '\0';
  return end - start;
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
             doc_.text()[static_cast<size_t>(position)] == ' ';
    case WB_CLASSIFY: {
      if (position < 0 || position >= doc_.length()) return 0;
      const CharClass c = ClassifyChar(static_cast<unsigned char>(doc_.text()[position]));
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
      SetText(reinterpret_cast<const char*>(lparam));
      *result = TRUE;
      return true;
    case WM_GETTEXT:
      *result = GetText(reinterpret_cast<char*>(lparam), wint);
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
      if (!read_only_) ReplaceSelection("", true);
      *result = 0;
      return true;
    case WM_PASTE:
      if (!read_only_ && IsClipboardFormatAvailable(CF_TEXT) && OpenClipboard(window_)) {
        HANDLE data = GetClipboardData(CF_TEXT);
        const char* text = data ? static_cast<const char*>(GlobalLock(data)) : nullptr;
        if (text != nullptr) {
          std::string copy(text);
          GlobalUnlock(data);
          CloseClipboard();
          ReplaceSelection(copy.c_str(), true);
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
      const char* text = reinterpret_cast<const char*>(lparam);
      ReplaceSelection(text, wparam != 0);
      *result = text != nullptr ? static_cast<LRESULT>(strlen(text)) : 0;
      return true;
    }
    case EM_GETSELTEXT: {
      char* out = reinterpret_cast<char*>(lparam);
      const int start = SelectionStart();
      const int end = std::min(SelectionEnd(), doc_.length());
      const int count = std::max(0, end - start);
      if (out != nullptr) {
        memcpy(out, doc_.text().data() + start, static_cast<size_t>(count));
        out[count] = '\0';
      }
      *result = count;
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
      char* out = reinterpret_cast<char*>(lparam);
      if (out == nullptr || wint < 0 || wint >= doc_.LineCount()) {
        *result = 0;
        return true;
      }
      // The line with its paragraph mark, the final one included, as CR.
      const int room = *reinterpret_cast<WORD*>(out);
      const int start = doc_.LineStart(wint);
      const int end = doc_.LineEnd(wint) + 1;
      const int count = std::min(room, end - start);
      for (int i = 0; i < count; ++i) {
        const int at = start + i;
        out[i] = at < doc_.length() ? doc_.text()[static_cast<size_t>(at)] : '\r';
      }
      if (count < room) out[count] = '\0';
      *result = count;
      return true;
    }
    case EM_FINDTEXT:
    case EM_FINDTEXTEX: {
      FINDTEXTEXA* find = reinterpret_cast<FINDTEXTEXA*>(lparam);
      if (find == nullptr) {
        *result = -1;
        return true;
      }
      const int found =
          doc_.Find(find->chrg.cpMin, find->chrg.cpMax, find->lpstrText, (wparam & FR_DOWN) != 0,
                    (wparam & FR_MATCHCASE) != 0, (wparam & FR_WHOLEWORD) != 0);
      if (message == EM_FINDTEXTEX) {
        find->chrgText.cpMin = found;
        find->chrgText.cpMax = found < 0 ? -1 : found + static_cast<int>(strlen(find->lpstrText));
      }
      *result = found;
      return true;
    }
    case EM_GETTEXTRANGE:
      *result = GetTextRange(reinterpret_cast<TEXTRANGEA*>(lparam));
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
      LONG_PTR style = GetWindowLongPtrA(window_, GWL_STYLE);
      style = read_only_ ? (style | ES_READONLY) : (style & ~static_cast<LONG_PTR>(ES_READONLY));
      SetWindowLongPtrA(window_, GWL_STYLE, style);
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
