#include "plugin/module_entry.h"

#include "decompile/decompile_run.h"
#include "host/module_state.h"
#include "plugin/class_window.h"

void HandleEntryNotification(HINSTANCE instance, DWORD reason, bool processEnding) {
  if (reason == DLL_PROCESS_DETACH) {
    // The process is ending: the system takes everything back, and the other
    // modules (user32 among them) may be gone already.
    if (processEnding) return;
    // The rich-edit library stays while a control of ours still lives on it.
    const bool controlsLive = ReleaseClassWindows();
    if (RichEditLibrary != nullptr && !controlsLive) {
      FreeLibrary(RichEditLibrary);
    }
    RichEditLibrary = nullptr;
    CloseRunsJob();
  } else if (reason == DLL_PROCESS_ATTACH) {
    PluginInstance = instance;
  }
}
