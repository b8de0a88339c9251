#include "plugin/module_entry.h"

#include "host/module_state.h"
#include "plugin/class_window.h"

void HandleEntryNotification(HINSTANCE instance, DWORD reason) {
  if (reason == DLL_PROCESS_DETACH) {
    ReleaseClassWindows();
    if (RichEditLibrary != nullptr) {
      FreeLibrary(RichEditLibrary);
    }
    RichEditLibrary = nullptr;
  } else if (reason == DLL_PROCESS_ATTACH) {
    PluginInstance = instance;
  }
}
