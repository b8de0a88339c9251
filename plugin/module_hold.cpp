#include "plugin/module_hold.h"

#include <windows.h>

namespace {

// Host threads only, as the windows are.
HMODULE g_module = nullptr;
int g_endedHolds = 0;

}  // namespace

bool HoldModuleForWindow() {
  HMODULE module = nullptr;
  if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                          reinterpret_cast<LPCWSTR>(&HoldModuleForWindow), &module)) {
    return false;
  }
  g_module = module;
  return true;
}

void WindowHoldEnded() { ++g_endedHolds; }

void ReleaseEndedWindowHolds() {
  for (; g_endedHolds > 0; --g_endedHolds) FreeLibrary(g_module);
}
