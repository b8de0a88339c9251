// What a person does with the control: keys, typing (when not read-only),
// clicks and drags.
#include <algorithm>

#include "standins/richedit/control.h"
#include "standins/richedit/window_dc.h"

namespace richedit {

namespace {

bool KeyDown(int key) { return GetKeyState(key) < 0; }

}  // namespace

void RichEditControl::MoveCaret(int position, bool extend) {
  position = std::max(0, std::min(position, doc_.length()));
  // A surrogate pair is one character to the user.
  if (doc_.InsidePair(position)) position = position < active_ ? position - 1 : position + 1;
  Select(extend ? anchor_ : position, position);
  EnsureCaretVisible();
  PlaceCaret();
}

void RichEditControl::OnKeyDown(WPARAM key) {
  const bool shift = KeyDown(VK_SHIFT);
  const bool control = KeyDown(VK_CONTROL);
  const int line = doc_.LineFromPosition(std::min(active_, doc_.length()));
  auto to_line = [&](int target) {
    target = std::max(0, std::min(target, doc_.LineCount() - 1));
    const POINT here = PointFromPosition(active_);
    WindowDc dc(window_);
    if (dc.get() == nullptr) return doc_.LineStart(target);
    LineLayout layout(dc.get(), &screen_fonts_, doc_, runs_, GetDeviceCaps(dc.get(), LOGPIXELSX),
                      GetDeviceCaps(dc.get(), LOGPIXELSY));
    return layout.PositionOfX(doc_.LineStart(target), doc_.LineEnd(target),
                              here.x - (left_margin_ - scroll_x_));
  };
  const bool collapsed = anchor_ == active_;
  switch (key) {
    case VK_LEFT:
      if (!shift && !collapsed) {
        MoveCaret(SelectionStart(), false);
      } else {
        MoveCaret(control ? doc_.MoveWordLeft(active_) : doc_.PreviousCharacter(active_), shift);
      }
      break;
    case VK_RIGHT:
      if (!shift && !collapsed) {
        MoveCaret(SelectionEnd(), false);
      } else {
        MoveCaret(control ? doc_.MoveWordRight(active_) : doc_.NextCharacter(active_), shift);
      }
      break;
    case VK_UP:
      MoveCaret(to_line(line - 1), shift);
      break;
    case VK_DOWN:
      MoveCaret(to_line(line + 1), shift);
      break;
    case VK_PRIOR:
    case VK_NEXT: {
      const int page = key == VK_PRIOR ? -VisibleLines() : VisibleLines();
      const int target = to_line(line + page);
      ScrollToLine(first_line_ + page);
      MoveCaret(target, shift);
      break;
    }
    case VK_HOME:
      MoveCaret(control ? 0 : doc_.LineStart(line), shift);
      break;
    case VK_END:
      MoveCaret(control ? doc_.length() : doc_.LineEnd(line), shift);
      break;
    case 'A':
      if (control) SetSelection(0, -1);
      break;
    case 'C':
    case VK_INSERT:
      if (control) CopySelection();
      break;
    case VK_DELETE:
      if (!read_only_) {
        if (collapsed) Select(active_, doc_.NextCharacter(active_));
        ReplaceSelection(L"", true);
      }
      break;
    // Enter and Backspace act on the key, not on the character they produce.
    case VK_BACK:
      if (!read_only_) {
        if (collapsed && active_ > 0) Select(doc_.PreviousCharacter(active_), active_);
        ReplaceSelection(L"", true);
        EnsureCaretVisible();
      }
      break;
    case VK_RETURN:
      if (!read_only_) {
        ReplaceSelection(L"\r", true);
        EnsureCaretVisible();
      }
      break;
    default:
      break;
  }
}

void RichEditControl::OnChar(wchar_t c) {
  // A CR or backspace character is left alone: WM_KEYDOWN has dealt with it.
  if (read_only_ || (c != L'\t' && c < 0x20)) return;
  ReplaceSelection(std::wstring(1, c), true);
  EnsureCaretVisible();
}

bool RichEditControl::HandleInput(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result) {
  *result = 0;
  switch (message) {
    case WM_KEYDOWN:
      OnKeyDown(wparam);
      return true;
    case WM_CHAR: {
      // An 8-bit window's character comes in the ANSI code page.
      wchar_t c = static_cast<wchar_t>(wparam);
      if (!unicode_) {
        const char byte = static_cast<char>(wparam);
        if (MultiByteToWideChar(CP_ACP, 0, &byte, 1, &c, 1) != 1) c = L'?';
      }
      OnChar(c);
      return true;
    }
    case WM_LBUTTONDOWN: {
      SetFocus(window_);
      const POINT point = {static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
      MoveCaret(PositionFromPoint(point), (wparam & MK_SHIFT) != 0);
      SetCapture(window_);
      dragging_ = true;
      return true;
    }
    case WM_MOUSEMOVE:
      if (dragging_) {
        const POINT point = {static_cast<short>(LOWORD(lparam)),
                             static_cast<short>(HIWORD(lparam))};
        MoveCaret(PositionFromPoint(point), true);
      }
      return true;
    case WM_LBUTTONUP:
      if (dragging_) ReleaseCapture();
      dragging_ = false;
      return true;
    case WM_CAPTURECHANGED:
      dragging_ = false;
      return true;
    case WM_LBUTTONDBLCLK: {
      const POINT point = {static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
      const int at = PositionFromPoint(point);
      Select(doc_.WordStartLeft(std::min(at + 1, doc_.length())), doc_.WordEndRight(at));
      PlaceCaret();
      return true;
    }
    case WM_SETFOCUS:
      focused_ = true;
      UpdateMetrics();
      CreateCaret(window_, nullptr, 1, line_height_);
      caret_shown_ = false;
      PlaceCaret();
      InvalidateRect(window_, nullptr, FALSE);
      return true;
    case WM_KILLFOCUS:
      focused_ = false;
      DestroyCaret();
      caret_shown_ = false;
      InvalidateRect(window_, nullptr, FALSE);
      return true;
    case WM_GETDLGCODE:
      *result = DLGC_WANTARROWS | DLGC_WANTCHARS;
      return true;
    default:
      return false;
  }
}

}  // namespace richedit
