// ListLoadW: the plugin's main operation. Creates the hidden viewer control over
// the Lister window and starts Jad on the class in a run of its own. A run
// that ends within a short wait is shown at once: Jad's output coloured in the
// palette the host's scheme asks for, the header lines on top, and only then
// the control shown. A slower one never holds the host: the control shows
// what is coming, and the source replaces it when the run posts it.
#include <stdlib.h>

#include "decompile/decompile_job.h"
#include "host/ansi_to_wide.h"
#include "host/host_messages.h"
#include "host/listplug.h"
#include "host/module_state.h"
#include "host/richedit_operations.h"
#include "host/view_kind.h"
#include "plugin/class_views.h"
#include "plugin/class_window.h"
#include "plugin/shown_files.h"
#include "presentation/text_styles.h"

namespace {

// Not WS_VISIBLE: the control is shown once text, colours and header are in place.
const DWORD kViewerStyle =
    WS_CHILD | WS_VSCROLL | WS_HSCROLL | ES_READONLY | ES_NOHIDESEL | ES_MULTILINE;
static_assert(kViewerStyle == 0x40300904, "viewer control style");

void LoadRichEditLibrary() {
  UINT previousMode = SetErrorMode(SEM_NOOPENFILEERRORBOX);
  // LoadLibrary reports failure as a value of 31 or less.
  RichEditLibrary = LoadLibraryA("Riched20.dll");
  if (reinterpret_cast<UINT_PTR>(RichEditLibrary) <= 31) {
    HMODULE older = LoadLibraryA("RICHED32.DLL");
    RichEditLibrary = reinterpret_cast<UINT_PTR>(older) > 31 ? older : nullptr;
  }
  SetErrorMode(previousMode);
}

HWND CreateViewerControl(HWND parent, const WCHAR* windowClass, const RECT& area) {
  return CreateWindowExW(0, windowClass, L"", kViewerStyle, area.left, area.top,
                         area.right - area.left, area.bottom - area.top, parent, nullptr,
                         PluginInstance, nullptr);
}

}  // namespace

HWND __stdcall ListLoadW(HWND ParentWin, WCHAR* FileToLoad, int ShowFlags) {
  if (RichEditLibrary == nullptr) {
    // The sequence goes on without a library: the classes may be registered already.
    LoadRichEditLibrary();
  }
  LastActivityTick = GetTickCount();

  RECT area;
  GetClientRect(ParentWin, &area);
  // Which class is tried does not depend on which library loaded. The last
  // resort, rich edit 1.0's class, is an 8-bit one: it shows the text the
  // system narrows for it.
  HWND control = CreateViewerControl(ParentWin, L"RichEdit20W", area);
  if (control == nullptr) {
    control = CreateViewerControl(ParentWin, L"RichEdit", area);
  }
  if (control == nullptr) {
    LastActivityTick = GetTickCount();
    return nullptr;
  }

  SetControlLeftMargin(control, 8);
  SetControlUpdateEvents(control);
  const TextPalette& palette = PaletteForShowFlags(ShowFlags);
  // The light view is the control as it comes, background included.
  if (palette.dark) {
    ApplyPaletteBackground(control, palette);
    NoteViewKind(control, DarkJavaView);
  }
  PostHostMessage(ParentWin, control, lcp_ansi, itm_fontstyle);

  ClassWindow* window = AttachClassWindow(control);
  DecompileJob* job =
      window != nullptr ? StartDecompileJob(FileToLoad, control, SourceReadyMessage()) : nullptr;
  if (job == nullptr) {
    DestroyWindow(control);
    LastActivityTick = GetTickCount();
    return nullptr;
  }
  window->classFile = FileToLoad;
  if (WaitForDecompileJob(job, ShownRunWaitMs())) {
    window->resultKnown = TakeDecompileResult(job, &window->result);
    ReleaseDecompileJob(job);
    if (!ShowRunResult(control, window, false)) {
      DestroyWindow(control);  // which frees the result too
      LastActivityTick = GetTickCount();
      return nullptr;
    }
  } else {
    window->pending = job;
    ShowComingSource(control, window);
  }
  NoteShownFile(control, FileToLoad);
  LastActivityTick = GetTickCount();
  ShowWindow(control, SW_SHOW);
  return control;
}

HWND __stdcall ListLoad(HWND ParentWin, char* FileToLoad, int ShowFlags) {
  WCHAR wide[AnsiToWideChars];
  return ListLoadW(ParentWin, AnsiToWide(FileToLoad, wide), ShowFlags);
}
