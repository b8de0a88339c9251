// One rich-edit control: its text, formats, selection and view, and the
// handling of every message it answers. The window procedure owns one of these
// per window (see window_class.cpp).
#pragma once

#include <richedit.h>
#include <windows.h>

#include <string>

#include "standins/richedit/document_text.h"
#include "standins/richedit/format_runs.h"
#include "standins/richedit/text_layout.h"

namespace richedit {

class RichEditControl {
 public:
  // unicode: a window of the UTF-16 class, whose messages carry wide text;
  // style and title: the creation's, the title in the window's kind of text.
  RichEditControl(HWND window, bool unicode, LONG style, const void* title);
  RichEditControl(const RichEditControl&) = delete;
  RichEditControl& operator=(const RichEditControl&) = delete;

  // Returns false when the message is not one of the control's own, for the
  // default window procedure.
  bool Handle(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result);

 private:
  // Text and selection (control_text.cpp).
  bool HandleText(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result);
  // A message's text (null: none) in UTF-16, from the ANSI code page unless
  // the window is a Unicode one.
  std::wstring Incoming(const void* text) const;
  // [start, end) into buffer, room units (WCHARs when wide, else bytes of
  // codepage) with the NUL; breaks as CR, or CR LF with crlf. A break, a
  // surrogate pair or a character that would not fit whole is left out with
  // all behind it. Returns the units written, the NUL not counted.
  int CopyOut(int start, int end, bool crlf, bool wide, UINT codepage, void* buffer,
              int room) const;
  // The bytes the whole text takes in codepage.
  int CountOut(bool crlf, UINT codepage) const;
  std::string NarrowText(const std::wstring& text) const;
  void SetText(const std::wstring& text);
  int GetTextEx(const GETTEXTEX* how, void* buffer) const;
  LRESULT TextLengthEx(const GETTEXTLENGTHEX* how) const;
  int TextLengthWithCrLf() const { return doc_.length() + doc_.CountBreaks(); }
  void ReplaceSelection(const std::wstring& text, bool can_undo);
  void CopySelection() const;
  int SelectionStart() const { return anchor_ < active_ ? anchor_ : active_; }
  int SelectionEnd() const { return anchor_ < active_ ? active_ : anchor_; }
  // EM_SETSEL / EM_EXSETSEL: returns the new end.
  int SetSelection(int from, int to);
  void Select(int anchor, int active);
  // TEXTRANGEA and TEXTRANGEW differ only in what their text points to.
  int GetTextRange(TEXTRANGEW* range) const;
  LRESULT FindWordBreak(WPARAM code, int position) const;
  int LineFromPosition(int position) const;

  // Character formats and the modify flag (control_formats.cpp).
  bool HandleFormat(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result);
  int InsertionFormat() const;
  int SetCharFormat(WPARAM scope, const CHARFORMAT2A* format);
  DWORD GetCharFormat(WPARAM scope, CHARFORMAT2A* format) const;

  // View (control_view.cpp).
  bool HandleView(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result);
  void Refresh(bool layout_changed);
  void NotifyUpdate() const;
  // EN_CHANGE after the text changed, when the event mask asks for it.
  void NotifyChange() const;
  void UpdateMetrics();
  int VisibleLines();
  int ContentWidth();
  // The highest first visible line: the one that brings the last line to the bottom.
  int LastTopLine();
  bool ScrollToLine(int line);
  void ScrollToX(int x);
  void UpdateScrollBars();
  void EnsureCaretVisible();
  void PlaceCaret();
  POINT PointFromPosition(int position);
  int PositionFromPoint(POINT point);
  void Paint();
  void OnVerticalScroll(int code);
  void OnHorizontalScroll(int code);

  // Keyboard and mouse (control_input.cpp).
  bool HandleInput(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result);
  void MoveCaret(int position, bool extend);
  void OnKeyDown(WPARAM key);
  void OnChar(wchar_t c);

  // Page formatting (page_format.cpp).
  int FormatRange(bool render, FORMATRANGE* range);

  HWND window_;
  bool unicode_;
  DocumentText doc_;
  FormatRuns runs_;
  int default_format_;
  int anchor_ = 0;
  int active_ = 0;
  int insertion_format_ = -1;
  DWORD event_mask_ = 0;
  int left_margin_ = 0;
  int right_margin_ = 0;
  int first_line_ = 0;
  int scroll_x_ = 0;
  bool read_only_ = false;
  bool no_hide_selection_ = false;
  bool modified_ = false;
  bool focused_ = false;
  bool dragging_ = false;
  bool in_scroll_update_ = false;
  bool scroll_bars_dirty_ = false;
  bool invalidated_ = false;  // a repaint of the whole window is pending
  bool caret_shown_ = false;
  COLORREF background_ = 0;
  bool system_background_ = true;
  FontCache screen_fonts_;
  FontCache print_fonts_;  // dropped by EM_FORMATRANGE with a null record
  bool metrics_dirty_ = true;
  int line_height_ = 16;
  int line_ascent_ = 12;
  int average_width_ = 8;
  int widest_painted_ = 0;  // pixels, the widest line drawn since the text was set
};

}  // namespace richedit
