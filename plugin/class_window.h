// What the plugin keeps for a list window that shows a class: the class file,
// the run whose source is still coming, the result when it has come, which
// view is shown, and for a class compiled from Kotlin its Kotlin view's own
// run and result (plugin/kotlin_view.h). The window procedure the record comes with stands in
// front of the control's for what the control alone does not do: the source
// that comes later, the views switched by a context menu or Ctrl+B, and the
// run given up and the record freed when the window goes.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "classfile/bytecode_view.h"
#include "decompile/class_text.h"
#include "decompile/decompile_job.h"

struct KotlinView;

struct ClassWindow {
  std::wstring classFile;                 // as the host named it; never opened on the host's thread
  std::shared_ptr<const ClassBytes> cls;  // its bytes as the run read them; null until then
  std::wstring outline;                   // its declarations, from those bytes
  DecompileJob* pending = nullptr;        // the run whose result is still coming
  bool resultKnown = false;               // result holds the run's result
  DecompileResult result;                 // its text owned here
  bool bytecodeShown = false;             // the bytecode view, not the source view
  std::vector<MethodPlace> places;        // the methods in the bytecode view shown
  bool kotlinShown = false;               // the Kotlin view, neither of the others
  KotlinView* kotlin = nullptr;           // made when the class is first asked about Kotlin
};

// The window's record, made (and the window procedure put in front) when it
// has none; null when that fails.
ClassWindow* AttachClassWindow(HWND control);
ClassWindow* ClassWindowOf(HWND control);

// The plugin is being unloaded with class windows still open, which only a
// window that could not hold the plugin leaves: each whose procedure is still
// ours on top gets its own back; under another's, the plugin stays loaded
// where the system lets it. True when a control of ours still lives then.
bool ReleaseClassWindows();

// The window shows another file now (a load-next): its run is given up and
// its record freed; the procedure stays, and passes everything on. Host
// threads only: the records are the plugin's module state.
void DetachClassWindow(HWND control);
