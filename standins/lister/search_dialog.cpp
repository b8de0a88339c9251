#include "standins/lister/search_dialog.h"

#include <vector>

#include "host/listplug.h"
#include "standins/lister/watchdog.h"

namespace {

enum { kTextId = 100, kCaseId, kWordsId, kBackId };

// Builds a DLGTEMPLATE with its items in memory: each part DWORD-aligned, the
// strings as UTF-16 words.
class TemplateBuilder {
 public:
  void Align() {
    while (words_.size() % 2 != 0) words_.push_back(0);
  }
  void Dword(DWORD d) {
    words_.push_back(LOWORD(d));
    words_.push_back(HIWORD(d));
  }
  void Word(WORD w) { words_.push_back(w); }
  void Text(const wchar_t* s) {
    for (; *s; ++s) words_.push_back(static_cast<WORD>(*s));
    words_.push_back(0);
  }
  void Item(DWORD style, short x, short y, short cx, short cy, WORD id, WORD cls,
            const wchar_t* text) {
    Align();
    Dword(style | WS_CHILD | WS_VISIBLE);
    Dword(0);
    Word(static_cast<WORD>(x));
    Word(static_cast<WORD>(y));
    Word(static_cast<WORD>(cx));
    Word(static_cast<WORD>(cy));
    Word(id);
    Word(0xFFFF);  // a predefined class by atom
    Word(cls);
    Text(text);
    Word(0);  // no creation data
  }
  const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

 private:
  std::vector<WORD> words_;
};

const WORD kButton = 0x0080, kEdit = 0x0081, kStatic = 0x0082;

struct DialogData {
  std::wstring* text;
  int* flags;
};

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_INITDIALOG) {
    MarkOwnDialog(dialog);
    SetWindowLongPtrW(dialog, DWLP_USER, lparam);
    auto* data = reinterpret_cast<DialogData*>(lparam);
    SetDlgItemTextW(dialog, kTextId, data->text->c_str());
    CheckDlgButton(dialog, kCaseId, (*data->flags & lcs_matchcase) ? BST_CHECKED : 0);
    CheckDlgButton(dialog, kWordsId, (*data->flags & lcs_wholewords) ? BST_CHECKED : 0);
    CheckDlgButton(dialog, kBackId, (*data->flags & lcs_backwards) ? BST_CHECKED : 0);
    return TRUE;
  }
  if (message != WM_COMMAND) return FALSE;
  if (LOWORD(wparam) == IDOK) {
    auto* data = reinterpret_cast<DialogData*>(GetWindowLongPtrW(dialog, DWLP_USER));
    wchar_t text[1024] = {};
    GetDlgItemTextW(dialog, kTextId, text, 1024);
    *data->text = text;
    *data->flags = (IsDlgButtonChecked(dialog, kCaseId) ? lcs_matchcase : 0) |
                   (IsDlgButtonChecked(dialog, kWordsId) ? lcs_wholewords : 0) |
                   (IsDlgButtonChecked(dialog, kBackId) ? lcs_backwards : 0);
    EndDialog(dialog, IDOK);
    return TRUE;
  }
  if (LOWORD(wparam) == IDCANCEL) {
    EndDialog(dialog, IDCANCEL);
    return TRUE;
  }
  return FALSE;
}

}  // namespace

bool ShowSearchDialog(HWND owner, std::wstring* text, int* flags) {
  TemplateBuilder t;
  t.Dword(DS_MODALFRAME | DS_CENTER | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU);
  t.Dword(0);
  t.Word(8);  // items
  t.Word(0);
  t.Word(0);
  t.Word(220);
  t.Word(80);
  t.Word(0);  // no menu
  t.Word(0);  // the standard dialog class
  t.Text(L"Find");
  t.Word(8);
  t.Text(L"MS Shell Dlg");
  t.Item(SS_LEFT, 7, 9, 40, 8, 0xFFFF, kStatic, L"Find what:");
  t.Item(ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 50, 7, 163, 12, kTextId, kEdit, L"");
  t.Item(BS_AUTOCHECKBOX | WS_TABSTOP, 7, 26, 100, 10, kCaseId, kButton, L"Match &case");
  t.Item(BS_AUTOCHECKBOX | WS_TABSTOP, 7, 39, 100, 10, kWordsId, kButton, L"&Whole words");
  t.Item(BS_AUTOCHECKBOX | WS_TABSTOP, 7, 52, 100, 10, kBackId, kButton, L"&Backwards");
  t.Item(BS_DEFPUSHBUTTON | WS_TABSTOP, 110, 60, 50, 14, IDOK, kButton, L"OK");
  t.Item(BS_PUSHBUTTON | WS_TABSTOP, 163, 60, 50, 14, IDCANCEL, kButton, L"Cancel");
  t.Item(SS_ETCHEDHORZ, 110, 54, 103, 1, 0xFFFF, kStatic, L"");
  DialogData data = {text, flags};
  return DialogBoxIndirectParamW(GetModuleHandleW(nullptr), t.get(), owner, DialogProc,
                                 reinterpret_cast<LPARAM>(&data)) == IDOK;
}
