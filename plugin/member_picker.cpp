#include "plugin/member_picker.h"

#include <string.h>
#include <wctype.h>

#include "host/module_state.h"
#include "presentation/palette_colours.h"

namespace {

enum { FilterId = 101, ListId = 102 };

struct Picker {
  const std::vector<std::wstring>* labels;
  bool dark;
  HBRUSH brush;
  HWND filter;
  HWND list;
  int chosen;
};

// A dialog template in memory: its header, then each control's, each
// starting on a DWORD boundary.
class Template {
 public:
  void Header(DWORD style, short controls, short cx, short cy, const wchar_t* title) {
    Align();
    Dword(style);
    Dword(0);
    Word(static_cast<WORD>(controls));
    Word(0), Word(0), Word(static_cast<WORD>(cx)), Word(static_cast<WORD>(cy));
    Word(0), Word(0);  // no menu, the standard class
    Text(title);
    Word(8);  // DS_SETFONT: the point size and the face
    Text(L"MS Shell Dlg");
  }
  void Control(WORD atom, DWORD style, short x, short y, short cx, short cy, WORD id,
               const wchar_t* text) {
    Align();
    Dword(style | WS_CHILD | WS_VISIBLE);
    Dword(0);
    Word(static_cast<WORD>(x)), Word(static_cast<WORD>(y));
    Word(static_cast<WORD>(cx)), Word(static_cast<WORD>(cy));
    Word(id);
    Word(0xFFFF), Word(atom);
    Text(text);
    Word(0);  // no creation data
  }
  const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

 private:
  void Word(WORD w) { words_.push_back(w); }
  void Dword(DWORD d) { Word(LOWORD(d)), Word(HIWORD(d)); }
  void Text(const wchar_t* text) {
    for (; *text != L'\0'; ++text) Word(static_cast<WORD>(*text));
    Word(0);
  }
  void Align() {
    if (words_.size() % 2 != 0) Word(0);
  }
  // The vector's storage is aligned for DWORDs and more.
  std::vector<WORD> words_;
};

bool Holds(const std::wstring& label, const std::wstring& typed) {
  if (typed.empty()) return true;
  std::wstring a = label, b = typed;
  for (wchar_t& c : a) c = towlower(c);
  for (wchar_t& c : b) c = towlower(c);
  return a.find(b) != std::wstring::npos;
}

void Refill(Picker* picker) {
  int length = GetWindowTextLengthW(picker->filter);
  std::wstring typed(static_cast<size_t>(length) + 1, L'\0');
  typed.resize(static_cast<size_t>(GetWindowTextW(picker->filter, &typed[0], length + 1)));
  SendMessageW(picker->list, WM_SETREDRAW, FALSE, 0);
  SendMessageW(picker->list, LB_RESETCONTENT, 0, 0);
  for (size_t i = 0; i < picker->labels->size(); ++i) {
    if (!Holds((*picker->labels)[i], typed)) continue;
    LRESULT row = SendMessageW(picker->list, LB_ADDSTRING, 0,
                               reinterpret_cast<LPARAM>((*picker->labels)[i].c_str()));
    if (row >= 0) SendMessageW(picker->list, LB_SETITEMDATA, row, static_cast<LPARAM>(i));
  }
  SendMessageW(picker->list, LB_SETCURSEL, 0, 0);
  SendMessageW(picker->list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(picker->list, nullptr, TRUE);
}

// The typing line passes the keys that move in the list on to it.
LRESULT CALLBACK FilterProcedure(HWND filter, UINT message, WPARAM wParam, LPARAM lParam) {
  WNDPROC original = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(filter, GWLP_USERDATA));
  if (message == WM_KEYDOWN &&
      (wParam == VK_UP || wParam == VK_DOWN || wParam == VK_PRIOR || wParam == VK_NEXT)) {
    SendMessageW(GetDlgItem(GetParent(filter), ListId), message, wParam, lParam);
    return 0;
  }
  return CallWindowProcW(original, filter, message, wParam, lParam);
}

void Choose(HWND dialog, Picker* picker) {
  LRESULT row = SendMessageW(picker->list, LB_GETCURSEL, 0, 0);
  if (row == LB_ERR) {
    MessageBeep(MB_OK);
    return;
  }
  picker->chosen = static_cast<int>(SendMessageW(picker->list, LB_GETITEMDATA, row, 0));
  EndDialog(dialog, IDOK);
}

// Over the middle of the Lister window.
void Centre(HWND dialog) {
  HWND owner = GetWindow(dialog, GW_OWNER);
  RECT outer, own;
  if (owner == nullptr || !GetWindowRect(owner, &outer) || !GetWindowRect(dialog, &own)) return;
  int x = outer.left + ((outer.right - outer.left) - (own.right - own.left)) / 2;
  int y = outer.top + ((outer.bottom - outer.top) - (own.bottom - own.top)) / 3;
  SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CALLBACK PickerProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  Picker* picker = reinterpret_cast<Picker*>(GetWindowLongPtrW(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG: {
      picker = reinterpret_cast<Picker*>(lParam);
      SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      picker->filter = GetDlgItem(dialog, FilterId);
      picker->list = GetDlgItem(dialog, ListId);
      SetWindowLongPtrW(picker->filter, GWLP_USERDATA,
                        GetWindowLongPtrW(picker->filter, GWLP_WNDPROC));
      SetWindowLongPtrW(picker->filter, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&FilterProcedure));
      Refill(picker);
      Centre(dialog);
      SetFocus(picker->filter);
      return FALSE;  // the focus is set
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == FilterId && HIWORD(wParam) == EN_CHANGE) {
        Refill(picker);
      } else if (LOWORD(wParam) == IDOK ||
                 (LOWORD(wParam) == ListId && HIWORD(wParam) == LBN_DBLCLK)) {
        Choose(dialog, picker);
      } else if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, IDCANCEL);
      }
      return TRUE;
    case WM_CTLCOLORDLG:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSTATIC:
      if (picker == nullptr || !picker->dark) return FALSE;
      SetTextColor(reinterpret_cast<HDC>(wParam), DarkColours.text);
      SetBkColor(reinterpret_cast<HDC>(wParam), DarkColours.background);
      return reinterpret_cast<INT_PTR>(picker->brush);
    case WM_DESTROY:
      if (picker != nullptr) {
        SetWindowLongPtrW(picker->filter, GWLP_WNDPROC,
                          GetWindowLongPtrW(picker->filter, GWLP_USERDATA));
      }
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

int PickMember(HWND owner, const std::vector<std::wstring>& labels, bool dark) {
  Template form;
  form.Header(DS_MODALFRAME | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU, 4, 260, 200,
              L"Go to member");
  form.Control(0x0081, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 7, 7, 246, 14, FilterId, L"");
  form.Control(0x0083, WS_BORDER | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, 7,
               25, 246, 150, ListId, L"");
  form.Control(0x0080, WS_TABSTOP | BS_DEFPUSHBUTTON, 149, 180, 50, 14, IDOK, L"Go to");
  form.Control(0x0080, WS_TABSTOP | BS_PUSHBUTTON, 203, 180, 50, 14, IDCANCEL, L"Cancel");
  Picker picker = {&labels, dark, nullptr, nullptr, nullptr, -1};
  if (dark) picker.brush = CreateSolidBrush(DarkColours.background);
  INT_PTR result = DialogBoxIndirectParamW(PluginInstance, form.Get(), owner, &PickerProcedure,
                                           reinterpret_cast<LPARAM>(&picker));
  if (picker.brush != nullptr) DeleteObject(picker.brush);
  return result == IDOK ? picker.chosen : -1;
}
