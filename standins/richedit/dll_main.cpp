// riched20.dll stand-in: registers the control's classes when loaded.
#include <windows.h>

#include "standins/richedit/richedit_control.h"

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_ATTACH) {
    DisableThreadLibraryCalls(module);
    // A class already registered (by another rich-edit library) stays; loading still succeeds.
    richedit::RegisterControlClasses(module);
    return TRUE;
  }
  // At process exit (reserved set) windows and classes go with the process.
  if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
    richedit::UnregisterControlClasses(module);
  }
  return TRUE;
}
