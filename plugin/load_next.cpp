// ListLoadNextW: another file shown in the same list window as plain,
// line-numbered text, without the decompiler, in the palette the host's
// scheme asks for.
#include <stdlib.h>

#include "decompile/long_path.h"
#include "decompile/read_whole_file.h"
#include "host/ansi_to_wide.h"
#include "host/host_messages.h"
#include "host/listplug.h"
#include "host/module_state.h"
#include "host/richedit_operations.h"
#include "host/view_kind.h"
#include "plugin/class_window.h"
#include "plugin/module_hold.h"
#include "plugin/shown_files.h"
#include "presentation/text_styles.h"
#include "sideviews/line_numbers.h"

int __stdcall ListLoadNextW(HWND ParentWin, HWND ListWin, WCHAR* FileToLoad, int ShowFlags) {
  ReleaseEndedWindowHolds();
  // A null name (an 8-bit name the host sent as null) names no file to open.
  if (FileToLoad == nullptr) {
    return LISTPLUGIN_ERROR;
  }
  HANDLE file = LongPathCreateFile(FileToLoad, GENERIC_READ, FILE_SHARE_READ, nullptr,
                                   OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return LISTPLUGIN_ERROR;
  }
  LastActivityTick = GetTickCount();
  if (ListWin == nullptr) {
    CloseHandle(file);
    LastActivityTick = GetTickCount();
    return LISTPLUGIN_OK;
  }

  // The class shown before, and the source still coming for it, are not
  // wanted now.
  DetachClassWindow(ListWin);
  const TextPalette& palette = PaletteForShowFlags(ShowFlags);
  ViewKind kind = palette.dark ? DarkTextView : LightView;
  // A light file into a light control is shown as it comes; any other sets
  // background and text colour, the light ones to undo a dark view.
  bool recolour = kind != LightView || ReadViewKind(ListWin) != LightView;
  SetControlAnsiText(ListWin, "");
  SetControlLeftMargin(ListWin, 8);
  SetControlUpdateEvents(ListWin);
  if (recolour) {
    ApplyPaletteBackground(ListWin, palette);
    NoteViewKind(ListWin, kind);
  }
  PostHostMessage(ParentWin, ListWin, lcp_ansi, itm_fontstyle);

  // From here a failure leaves the window empty; the stamp above stands.
  DWORD count = 0;
  char* text = ReadOpenFileText(file, &count);
  if (text == nullptr) {
    CloseHandle(file);
    return LISTPLUGIN_ERROR;
  }
  char* numbered = NumberLines(text, static_cast<int>(count));
  if (numbered == nullptr) {
    free(text);
    CloseHandle(file);
    return LISTPLUGIN_ERROR;
  }
  SetControlAnsiText(ListWin, numbered);
  NoteShownFile(ListWin, FileToLoad);
  free(numbered);
  if (recolour) ApplyControlFormat(ListWin, SCF_ALL, &palette.plain);
  PostHostMessage(ParentWin, ListWin, 0, itm_percent);

  free(text);
  CloseHandle(file);
  LastActivityTick = GetTickCount();
  return LISTPLUGIN_OK;
}

int __stdcall ListLoadNext(HWND ParentWin, HWND ListWin, char* FileToLoad, int ShowFlags) {
  WCHAR wide[AnsiToWideChars];
  return ListLoadNextW(ParentWin, ListWin, AnsiToWide(FileToLoad, wide), ShowFlags);
}
