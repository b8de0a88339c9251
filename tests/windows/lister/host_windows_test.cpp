// The host's own windows and readings: its search dialog, and the text and
// format runs it reads back from a rich-edit control.
#include <gtest/gtest.h>
#include <windows.h>
// windows.h first: the rich-edit declarations build on it.
#include <richedit.h>

#include <string>

#include "host/listplug.h"
#include "standins/lister/control_dump.h"
#include "standins/lister/search_dialog.h"
#include "tests/windows/lister/lister_run.h"
#include "tests/windows/test_support.h"

namespace {

// Plays the user at the host's search dialog from a second thread.
struct DialogUser {
  bool accept;
  bool marked_own = false;
  static DWORD WINAPI Run(void* self) {
    auto* user = static_cast<DialogUser*>(self);
    HWND dialog = nullptr;
    // Visible only once WM_INITDIALOG has filled it: typing into it earlier
    // would be overwritten, as happens on a busy machine.
    for (int i = 0; i < 100 && (dialog == nullptr || !IsWindowVisible(dialog)); ++i) {
      Sleep(50);
      dialog = FindWindowW(L"#32770", L"Find");
    }
    if (dialog == nullptr || !IsWindowVisible(dialog)) return 1;
    user->marked_own = GetPropW(dialog, L"DravikListerOwnDialog") != nullptr;
    SetDlgItemTextW(dialog, 100, L"needle");
    SendMessageW(GetDlgItem(dialog, 101), BM_CLICK, 0, 0);  // match case on
    SendMessageW(GetDlgItem(dialog, 103), BM_CLICK, 0, 0);  // backwards on
    PostMessageW(dialog, WM_COMMAND, user->accept ? IDOK : IDCANCEL, 0);
    return 0;
  }
};

bool RunDialog(bool accept, std::wstring* text, int* flags, bool* marked_own) {
  DialogUser user = {accept};
  HANDLE thread = CreateThread(nullptr, 0, &DialogUser::Run, &user, 0, nullptr);
  bool result = ShowSearchDialog(nullptr, text, flags);
  WaitForSingleObject(thread, INFINITE);
  CloseHandle(thread);
  *marked_own = user.marked_own;
  return result;
}

TEST(SearchDialogTest, AcceptedItGivesTextAndFlagsCancelledItChangesNothing) {
  std::wstring text = L"old";
  int flags = lcs_wholewords;
  bool marked_own = false;
  ASSERT_TRUE(RunDialog(true, &text, &flags, &marked_own));
  EXPECT_EQ(text, L"needle");
  EXPECT_EQ(flags, lcs_matchcase | lcs_wholewords | lcs_backwards);
  EXPECT_TRUE(marked_own);  // so that the watchdog leaves it alone

  text = L"old";
  flags = 0;
  EXPECT_FALSE(RunDialog(false, &text, &flags, &marked_own));
  EXPECT_EQ(text, L"old");
  EXPECT_EQ(flags, 0);
}

TEST(ControlDumpTest, EqualNeighboursMergeIntoOneRunAndTheSelectionStays) {
  ASSERT_NE(LoadLibraryA("riched20.dll"), nullptr);
  HWND edit = CreateWindowExA(0, "RichEdit20A", "", WS_POPUP | ES_MULTILINE, 0, 0, 300, 200,
                              nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(edit, nullptr);
  SetWindowTextA(edit, "abcdef");
  CHARFORMATA format = {};
  format.cbSize = sizeof format;
  format.dwMask = CFM_FACE | CFM_BOLD | CFM_COLOR;
  format.crTextColor = RGB(0, 0, 0);
  lstrcpyA(format.szFaceName, "Arial");
  SendMessageA(edit, EM_SETSEL, 0, -1);
  SendMessageA(edit, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
  format.dwEffects = CFE_BOLD;
  format.crTextColor = RGB(255, 0, 0);
  SendMessageA(edit, EM_SETSEL, 2, 4);
  SendMessageA(edit, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
  SendMessageA(edit, EM_SETSEL, 1, 3);

  std::wstring folder = ScratchFolder(L"control_dump");
  ASSERT_TRUE(DumpControlFormats(edit, folder + L"formats.txt"));
  ASSERT_TRUE(DumpControlText(edit, folder + L"text.txt"));
  DWORD start = 0, end = 0;
  SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  DestroyWindow(edit);

  EXPECT_EQ(ReadBytes(folder + L"formats.txt"),
            "0 2 0 #000000 Arial\n2 4 1 #ff0000 Arial\n4 6 0 #000000 Arial\n");
  EXPECT_EQ(ReadBytes(folder + L"text.txt"), "abcdef");
  EXPECT_EQ(start, 1u);
  EXPECT_EQ(end, 3u);
}

}  // namespace
