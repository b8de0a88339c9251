// ListLoadW: the plugin's main operation. Creates the hidden viewer control over
// the Lister window and starts Jad on the class in a run of its own. A run
// that ends within a short wait is shown at once: Jad's output coloured in the
// palette the host's scheme asks for, the header lines on top, and only then
// the control shown. A slower one never holds the host: within the wait the
// control gets what is coming (the class's outline, which the run made from
// the class file it read), and the source replaces it when the run posts it.
// The host's thread never opens the class file.
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
#include "plugin/module_hold.h"
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

// What the host waits for after the run's wait: the window shown (its first
// paint).
const DWORD ShowReserveMs = 10;

// Milliseconds since a reading of the performance counter: the wait's own
// clock, apart from the tick count the load's times are read from.
DWORD MillisecondsSince(const LARGE_INTEGER& since) {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return static_cast<DWORD>((now.QuadPart - since.QuadPart) * 1000 / frequency.QuadPart);
}

// Waits up to waitMs, all told, for the run. A run that ends within half of
// it is shown whole at once; past that the window gets what is coming while
// the run goes on, so that the host has it back within the wait, outline and
// all. True when the run has ended (its source is then to be shown).
bool WaitWithOutline(HWND control, ClassWindow* window, DecompileJob* job, DWORD waitMs) {
  LARGE_INTEGER start;
  QueryPerformanceCounter(&start);
  if (WaitForDecompileJob(job, waitMs / 2)) return true;
  auto left = [&] {
    DWORD spent = MillisecondsSince(start);
    return spent < waitMs ? waitMs - spent : 0;
  };
  // The run reads the class first: a slow share may take all the wait.
  if (WaitForDecompileJobClass(job, left())) TakeRunClass(window, job);
  ShowComingSource(control, window);
  return WaitForDecompileJob(job, left());
}

}  // namespace

HWND __stdcall ListLoadW(HWND ParentWin, WCHAR* FileToLoad, int ShowFlags) {
  LARGE_INTEGER entered;
  QueryPerformanceCounter(&entered);
  // Windows gone since the host's last call let their hold on the plugin go.
  ReleaseEndedWindowHolds();
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
  // The wait counts from the host's call, and leaves room for the show.
  const DWORD spent = MillisecondsSince(entered);
  // A quick class shows whole, as a host that reads the text right after the call expects.
  const DWORD wait = ShownRunWaitMs();
  if (WaitWithOutline(control, window, job,
                      wait > spent + ShowReserveMs ? wait - spent - ShowReserveMs : 0)) {
    TakeRunClass(window, job);
    window->resultKnown = TakeDecompileResult(job, &window->result);
    ReleaseDecompileJob(job);
    if (!ShowRunResult(control, window, false)) {
      DestroyWindow(control);  // which frees the result too
      LastActivityTick = GetTickCount();
      return nullptr;
    }
  } else {
    AwaitRunSource(control, window, job);
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
