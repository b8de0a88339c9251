// The control on screen: metrics, scrolling, painting, the caret and the
// EN_UPDATE report.
#include <algorithm>
#include <string>

#include "standins/richedit/control.h"
#include "standins/richedit/window_dc.h"

namespace richedit {

void RichEditControl::NotifyUpdate() const {
  if (!(event_mask_ & ENM_UPDATE) || !IsWindowVisible(window_)) return;
  HWND parent = GetParent(window_);
  if (parent == nullptr) return;
  SendMessageA(parent, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID(window_)), EN_UPDATE),
               reinterpret_cast<LPARAM>(window_));
}

void RichEditControl::NotifyChange() const {
  if (!(event_mask_ & ENM_CHANGE)) return;
  HWND parent = GetParent(window_);
  if (parent == nullptr) return;
  SendMessageA(parent, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID(window_)), EN_CHANGE),
               reinterpret_cast<LPARAM>(window_));
}

void RichEditControl::Refresh(bool layout_changed) {
  if (layout_changed) metrics_dirty_ = true;
  first_line_ = std::min(first_line_, doc_.LineCount() - 1);
  // A hidden control is only brought up to date when it is shown: a caller
  // styling a large text while hidden pays for no drawing.
  if (!IsWindowVisible(window_)) return;
  // Metrics and scroll bars wait for the next paint, so a run of changes
  // costs one update of them, not one each.
  scroll_bars_dirty_ = true;
  NotifyUpdate();
  if (!invalidated_) {
    InvalidateRect(window_, nullptr, FALSE);
    invalidated_ = true;
  }
  PlaceCaret();
}

void RichEditControl::UpdateMetrics() {
  if (!metrics_dirty_) return;
  WindowDc dc(window_);
  if (dc.get() == nullptr) return;
  const int dpi_y = GetDeviceCaps(dc.get(), LOGPIXELSY);
  const std::vector<bool> used = runs_.UsedFormats();
  int ascent = 0, descent = 0, width = 1;
  for (size_t i = 0; i < used.size(); ++i) {
    if (!used[i]) continue;
    const FontMetrics& font = screen_fonts_.Get(dc.get(), runs_, static_cast<int>(i), dpi_y);
    ascent = std::max(ascent, font.ascent);
    descent = std::max(descent, font.height - font.ascent);
    width = std::max(width, font.average_width);
  }
  line_height_ = std::max(1, ascent + descent);
  line_ascent_ = ascent;
  average_width_ = width;
  metrics_dirty_ = false;
}

int RichEditControl::ContentWidth() {
  UpdateMetrics();
  // Estimated from the longest line, corrected by the widest line painted so
  // far (proportional fonts can make a shorter line wider).
  const int estimate = (doc_.LongestLine() + 1) * average_width_;
  return left_margin_ + std::max(estimate, widest_painted_ + average_width_);
}

int RichEditControl::VisibleLines() {
  UpdateMetrics();
  RECT client;
  GetClientRect(window_, &client);
  return std::max(1, static_cast<int>(client.bottom) / line_height_);
}

int RichEditControl::LastTopLine() { return std::max(0, doc_.LineCount() - VisibleLines()); }

bool RichEditControl::ScrollToLine(int line) {
  line = std::max(0, std::min(line, LastTopLine()));
  if (line == first_line_) return false;
  first_line_ = line;
  Refresh(false);
  if (IsWindowVisible(window_)) UpdateScrollBars();
  return true;
}

void RichEditControl::ScrollToX(int x) {
  UpdateMetrics();
  RECT client;
  GetClientRect(window_, &client);
  const int content = ContentWidth();
  x = std::max(0, std::min(x, content - static_cast<int>(client.right)));
  if (x == scroll_x_) return;
  scroll_x_ = x;
  Refresh(false);
  if (IsWindowVisible(window_)) UpdateScrollBars();
}

void RichEditControl::UpdateScrollBars() {
  if (in_scroll_update_) return;
  in_scroll_update_ = true;
  scroll_bars_dirty_ = false;
  first_line_ = std::min(first_line_, LastTopLine());
  const int visible = VisibleLines();
  const int lines = doc_.LineCount();
  SCROLLINFO info = {};
  info.cbSize = sizeof info;
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  info.nMin = 0;
  // A text that fits shows no bar.
  info.nMax = lines <= visible ? 0 : lines - 1;
  info.nPage = static_cast<UINT>(visible);
  info.nPos = first_line_;
  SetScrollInfo(window_, SB_VERT, &info, TRUE);
  RECT client;
  GetClientRect(window_, &client);
  const int content = ContentWidth();
  info.nMax = content > client.right || scroll_x_ > 0 ? content - 1 : 0;
  info.nPage = static_cast<UINT>(std::max<LONG>(1, client.right));
  info.nPos = scroll_x_;
  SetScrollInfo(window_, SB_HORZ, &info, TRUE);
  in_scroll_update_ = false;
}

POINT RichEditControl::PointFromPosition(int position) {
  UpdateMetrics();
  position = std::max(0, std::min(position, doc_.length()));
  const int line = doc_.LineFromPosition(position);
  POINT point = {left_margin_ - scroll_x_, (line - first_line_) * line_height_};
  WindowDc dc(window_);
  if (dc.get() == nullptr) return point;
  LineLayout layout(dc.get(), &screen_fonts_, doc_, runs_, GetDeviceCaps(dc.get(), LOGPIXELSX),
                    GetDeviceCaps(dc.get(), LOGPIXELSY));
  point.x += layout.XOfPosition(doc_.LineStart(line), position);
  return point;
}

int RichEditControl::PositionFromPoint(POINT point) {
  UpdateMetrics();
  const int row = point.y < 0 ? -1 - (-point.y - 1) / line_height_ : point.y / line_height_;
  const int line = std::max(0, std::min(first_line_ + row, doc_.LineCount() - 1));
  WindowDc dc(window_);
  if (dc.get() == nullptr) return doc_.LineStart(line);
  LineLayout layout(dc.get(), &screen_fonts_, doc_, runs_, GetDeviceCaps(dc.get(), LOGPIXELSX),
                    GetDeviceCaps(dc.get(), LOGPIXELSY));
  return layout.PositionOfX(doc_.LineStart(line), doc_.LineEnd(line),
                            point.x - (left_margin_ - scroll_x_));
}

void RichEditControl::PlaceCaret() {
  if (!focused_) return;
  const bool want = SelectionStart() == SelectionEnd();
  if (want) {
    const POINT point = PointFromPosition(active_);
    SetCaretPos(point.x, point.y);
  }
  if (want && !caret_shown_) {
    ShowCaret(window_);
  } else if (!want && caret_shown_) {
    HideCaret(window_);
  }
  caret_shown_ = want;
}

void RichEditControl::EnsureCaretVisible() {
  const int line = doc_.LineFromPosition(std::min(active_, doc_.length()));
  const int visible = VisibleLines();
  if (line < first_line_) {
    ScrollToLine(line);
  } else if (line >= first_line_ + visible) {
    ScrollToLine(line - visible + 1);
  }
  RECT client;
  GetClientRect(window_, &client);
  const int x = PointFromPosition(active_).x + scroll_x_;
  const int width = static_cast<int>(client.right);
  if (x - scroll_x_ < left_margin_) {
    ScrollToX(x - left_margin_ - width / 3);
  } else if (x - scroll_x_ >= width - average_width_) {
    ScrollToX(x - width * 2 / 3);
  }
}

void RichEditControl::Paint() {
  // Scroll bars first: showing or hiding one resizes the area to paint.
  if (scroll_bars_dirty_) UpdateScrollBars();
  PAINTSTRUCT paint;
  HDC target = BeginPaint(window_, &paint);
  invalidated_ = false;
  if (target == nullptr) return;
  UpdateMetrics();
  RECT client;
  GetClientRect(window_, &client);
  const int width = std::max<LONG>(1, client.right);
  const int height = std::max<LONG>(1, client.bottom);
  // Drawn off screen first, so a repaint does not flicker.
  HDC dc = CreateCompatibleDC(target);
  HBITMAP bitmap = dc ? CreateCompatibleBitmap(target, width, height) : nullptr;
  if (dc == nullptr || bitmap == nullptr) {
    if (dc != nullptr) DeleteDC(dc);
    EndPaint(window_, &paint);
    return;
  }
  HGDIOBJ old_bitmap = SelectObject(dc, bitmap);
  HGDIOBJ old_font = GetCurrentObject(dc, OBJ_FONT);
  const COLORREF background = system_background_ ? GetSysColor(COLOR_WINDOW) : background_;
  HBRUSH fill = CreateSolidBrush(background);
  RECT all = {0, 0, width, height};
  FillRect(dc, &all, fill);
  DeleteObject(fill);
  SetBkMode(dc, TRANSPARENT);
  SetTextAlign(dc, TA_BASELINE | TA_LEFT);

  const int dpi_x = GetDeviceCaps(target, LOGPIXELSX);
  const int dpi_y = GetDeviceCaps(target, LOGPIXELSY);
  LineLayout layout(dc, &screen_fonts_, doc_, runs_, dpi_x, dpi_y);
  const int selection_start = SelectionStart();
  const int selection_end = SelectionEnd();
  const bool show_selection = selection_start < selection_end && (focused_ || no_hide_selection_);
  const wchar_t* chars = doc_.text().data();
  const int origin_x = left_margin_ - scroll_x_;
  bool wider_than_known = false;
  HRGN clip = CreateRectRgn(left_margin_, 0, width, height);
  SelectClipRgn(dc, clip);
  for (int line = first_line_, y = 0; line < doc_.LineCount() && y < height;
       ++line, y += line_height_) {
    const int start = doc_.LineStart(line);
    const int end = doc_.LineEnd(line);
    const int right = layout.Walk(
        start, end, origin_x, show_selection ? selection_start : -1,
        show_selection ? selection_end : -1,
        [&](int p, int q, int left, int piece_right, int format, const FontMetrics&) {
          if (piece_right < 0 || left > width) return;
          const bool selected = show_selection && p >= selection_start && q <= selection_end;
          if (selected) {
            RECT box = {left, y, piece_right, y + line_height_};
            FillRect(dc, &box, GetSysColorBrush(COLOR_HIGHLIGHT));
          }
          if (chars[p] == L'\t') return;
          const CharFormat& f = runs_.Get(format);
          SetTextColor(dc, selected                      ? GetSysColor(COLOR_HIGHLIGHTTEXT)
                           : (f.effects & CFE_AUTOCOLOR) ? GetSysColor(COLOR_WINDOWTEXT)
                                                         : f.color);
          TextOutW(dc, left, y + line_ascent_, chars + p, q - p);
        });
    if (right - origin_x > widest_painted_) {
      widest_painted_ = right - origin_x;
      wider_than_known = true;
    }
    // A selected paragraph mark shows as a narrow box behind the line.
    if (show_selection && end >= selection_start && end < selection_end) {
      RECT box = {right, y, right + average_width_ / 2 + 1, y + line_height_};
      FillRect(dc, &box, GetSysColorBrush(COLOR_HIGHLIGHT));
    }
  }
  SelectClipRgn(dc, nullptr);
  DeleteObject(clip);
  BitBlt(target, 0, 0, width, height, dc, 0, 0, SRCCOPY);
  SelectObject(dc, old_font);
  SelectObject(dc, old_bitmap);
  DeleteObject(bitmap);
  DeleteDC(dc);
  EndPaint(window_, &paint);
  if (wider_than_known) UpdateScrollBars();
}

void RichEditControl::OnVerticalScroll(int code) {
  const int page = VisibleLines();
  switch (code) {
    case SB_LINEUP:
      ScrollToLine(first_line_ - 1);
      break;
    case SB_LINEDOWN:
      ScrollToLine(first_line_ + 1);
      break;
    case SB_PAGEUP:
      ScrollToLine(first_line_ - page);
      break;
    case SB_PAGEDOWN:
      ScrollToLine(first_line_ + page);
      break;
    case SB_TOP:
      ScrollToLine(0);
      break;
    case SB_BOTTOM:
      ScrollToLine(LastTopLine());
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      SCROLLINFO info = {};
      info.cbSize = sizeof info;
      info.fMask = SIF_TRACKPOS;
      GetScrollInfo(window_, SB_VERT, &info);
      ScrollToLine(info.nTrackPos);
      break;
    }
    default:
      break;
  }
}

void RichEditControl::OnHorizontalScroll(int code) {
  RECT client;
  GetClientRect(window_, &client);
  switch (code) {
    case SB_LINELEFT:
      ScrollToX(scroll_x_ - average_width_);
      break;
    case SB_LINERIGHT:
      ScrollToX(scroll_x_ + average_width_);
      break;
    case SB_PAGELEFT:
      ScrollToX(scroll_x_ - client.right);
      break;
    case SB_PAGERIGHT:
      ScrollToX(scroll_x_ + client.right);
      break;
    case SB_LEFT:
      ScrollToX(0);
      break;
    case SB_RIGHT:
      ScrollToX(1 << 30);
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      SCROLLINFO info = {};
      info.cbSize = sizeof info;
      info.fMask = SIF_TRACKPOS;
      GetScrollInfo(window_, SB_HORZ, &info);
      ScrollToX(info.nTrackPos);
      break;
    }
    default:
      break;
  }
}

bool RichEditControl::HandleView(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result) {
  const int wint = static_cast<int>(wparam);
  const int lint = static_cast<int>(lparam);
  *result = 0;
  switch (message) {
    case WM_PAINT:
      Paint();
      return true;
    case WM_ERASEBKGND:
      *result = 1;
      return true;
    case WM_SIZE:
      Refresh(false);
      return true;
    case WM_WINDOWPOSCHANGED: {
      // Shown: bring scroll bars up to date and report the first display.
      const WINDOWPOS* position = reinterpret_cast<const WINDOWPOS*>(lparam);
      if (position != nullptr && (position->flags & SWP_SHOWWINDOW)) Refresh(false);
      return false;
    }
    case WM_VSCROLL:
      OnVerticalScroll(LOWORD(wparam));
      return true;
    case WM_HSCROLL:
      OnHorizontalScroll(LOWORD(wparam));
      return true;
    case WM_MOUSEWHEEL:
      ScrollToLine(first_line_ - GET_WHEEL_DELTA_WPARAM(wparam) * 3 / WHEEL_DELTA);
      return true;
    case WM_SETFONT: {
      LOGFONTA lf;
      if (wparam == 0 || GetObjectA(reinterpret_cast<HFONT>(wparam), sizeof lf, &lf) == 0) {
        return true;
      }
      CHARFORMAT2A change = {};
      change.cbSize = sizeof change;
      change.dwMask = CFM_FACE | CFM_CHARSET | CFM_SIZE;
      lstrcpynA(change.szFaceName, lf.lfFaceName, LF_FACESIZE);
      change.bCharSet = lf.lfCharSet;
      change.bPitchAndFamily = lf.lfPitchAndFamily;
      WindowDc dc(window_);
      const int dpi = dc.get() ? GetDeviceCaps(dc.get(), LOGPIXELSY) : 96;
      change.yHeight = MulDiv(lf.lfHeight < 0 ? -lf.lfHeight : lf.lfHeight, 1440, dpi);
      // A new font is no change of the text.
      const bool modified = modified_;
      SetCharFormat(SCF_DEFAULT, &change);
      SetCharFormat(SCF_ALL, &change);
      modified_ = modified;
      return true;
    }
    case EM_LINESCROLL:
      ScrollToLine(first_line_ + lint);
      if (wint != 0) ScrollToX(scroll_x_ + wint * average_width_);
      *result = TRUE;
      return true;
    case EM_SCROLL: {
      const int before = first_line_;
      OnVerticalScroll(wint);
      *result = MAKELONG(static_cast<WORD>(first_line_ - before), TRUE);
      return true;
    }
    case EM_SCROLLCARET:
      EnsureCaretVisible();
      return true;
    case EM_GETFIRSTVISIBLELINE:
      if (scroll_bars_dirty_) UpdateScrollBars();
      *result = first_line_;
      return true;
    case EM_SETMARGINS:
      if (wparam == EC_USEFONTINFO) {
        // Narrow margins from the font, as the edit controls choose them.
        UpdateMetrics();
        left_margin_ = right_margin_ = average_width_ / 2;
      } else {
        if (wparam & EC_LEFTMARGIN) left_margin_ = LOWORD(lparam);
        if (wparam & EC_RIGHTMARGIN) right_margin_ = HIWORD(lparam);
      }
      Refresh(false);
      return true;
    case EM_GETRECT: {
      RECT* rect = reinterpret_cast<RECT*>(lparam);
      if (rect != nullptr) {
        GetClientRect(window_, rect);
        rect->left += left_margin_;
        rect->right -= right_margin_;
      }
      return true;
    }
    case EM_FORMATRANGE:
      *result = FormatRange(wparam != 0, reinterpret_cast<FORMATRANGE*>(lparam));
      return true;
    case EM_SETBKGNDCOLOR:
      *result = system_background_ ? GetSysColor(COLOR_WINDOW) : background_;
      system_background_ = wparam != 0;
      background_ = static_cast<COLORREF>(lparam);
      Refresh(false);
      return true;
    case EM_POSFROMCHAR: {
      // Two conventions, as rich edit 3.0 accepts: a POINTL to fill and the
      // position in lParam, or the position in wParam and the point returned.
      POINTL* out = reinterpret_cast<POINTL*>(wparam);
      if (wparam >= 0x10000 && !IsBadWritePtr(out, sizeof *out)) {
        const POINT point = PointFromPosition(lint);
        out->x = point.x;
        out->y = point.y;
      } else {
        const POINT point = PointFromPosition(wint);
        *result = MAKELONG(static_cast<WORD>(point.x), static_cast<WORD>(point.y));
      }
      return true;
    }
    case EM_CHARFROMPOS: {
      const POINTL* in = reinterpret_cast<const POINTL*>(lparam);
      if (in != nullptr) *result = PositionFromPoint(POINT{in->x, in->y});
      return true;
    }
    case EM_HIDESELECTION:
      no_hide_selection_ = wparam == 0;
      Refresh(false);
      return true;
    default:
      return false;
  }
}

bool RichEditControl::Handle(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result) {
  return HandleText(message, wparam, lparam, result) ||
         HandleFormat(message, wparam, lparam, result) ||
         HandleView(message, wparam, lparam, result) ||
         HandleInput(message, wparam, lparam, result);
}

}  // namespace richedit
