// The four exports that need no subsystem of their own.
#include "host/bounded_ansi_copy.h"
#include "host/listplug.h"
#include "host/module_state.h"
#include "plugin/module_hold.h"
#include "plugin/shown_files.h"

namespace {
const char kDetectString[] = "force | (ext=\"CLASS\")";
}

void __stdcall ListGetDetectString(char* DetectString, int maxlen) {
  BoundedAnsiCopy(DetectString, kDetectString, maxlen);
}

void __stdcall ListSetDefaultParams(ListDefaultParamStruct* dps) {
  // A null record would otherwise be read through; there is nothing to store.
  if (dps == nullptr) {
    return;
  }
  BoundedAnsiCopy(DefaultIniName, dps->DefaultIniName, sizeof DefaultIniName);
}

void __stdcall ListCloseWindow(HWND ListWin) {
  ForgetShownFile(ListWin);
  DestroyWindow(ListWin);
  // The host holds the plugin while it calls: the window's hold can go now.
  ReleaseEndedWindowHolds();
}

int __stdcall ListSearchDialog(HWND /*ListWin*/, int /*FindNext*/) {
  // No dialog of our own: the host shows its own and calls ListSearchText.
  return LISTPLUGIN_ERROR;
}
