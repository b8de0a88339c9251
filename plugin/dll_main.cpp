// The DLL's entry point; everything it does lives in the core library.
#include <windows.h>

#include "plugin/module_entry.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  HandleEntryNotification(instance, reason, reserved != nullptr);
  return TRUE;
}
