#include "standins/wine/under_wine.h"

#include <windows.h>

bool RunningUnderWine() {
  // Wine's ntdll exports its version; Windows' has no such function.
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}
