// ListLoadW: the plugin's main operation. Creates the hidden viewer control over
// the Lister window, fills it with Jad's output, colours it in the palette the
// host's scheme asks for, puts the header lines on top and only then shows it.
#include <stdlib.h>

#include "decompile/decompile_run.h"
#include "decompile/output_text.h"
#include "host/ansi_to_wide.h"
#include "host/host_messages.h"
#include "host/listplug.h"
#include "host/module_state.h"
#include "host/richedit_operations.h"
#include "host/view_kind.h"
#include "plugin/shown_files.h"
#include "presentation/header_lines.h"
#include "presentation/java_highlighter.h"
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

// The decompiler's output into the control: UTF-8 behind its mark as UTF-16,
// any other as ANSI text. False when there is no memory for the wide text.
bool ShowOutput(HWND control, const char* text) {
  if (!HasUtf8Mark(text)) {
    SetControlAnsiText(control, text);
    return true;
  }
  WCHAR* wide = WideFromUtf8Output(text);
  if (wide == nullptr) return false;
  SetControlText(control, wide);
  free(wide);
  return true;
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

  DWORD decompileStart = GetTickCount();
  char* text = DecompileClassFile(FileToLoad);
  DWORD decompileTime =
      GetTickCount() - decompileStart;  // modular: a wrap still gives the interval
  bool shown = text != nullptr && ShowOutput(control, text);
  free(text);  // from here on the control holds the only copy
  if (!shown) {
    DestroyWindow(control);
    LastActivityTick = GetTickCount();
    return nullptr;
  }
  PostHostMessage(ParentWin, control, 0, itm_percent);

  DWORD highlightStart = GetTickCount();
  ApplyHighlighting(control, palette);
  DWORD highlightTime = GetTickCount() - highlightStart;

  InsertHeaderLines(control, static_cast<int>(decompileTime), static_cast<int>(highlightTime),
                    palette);
  NoteShownFile(control, FileToLoad);
  LastActivityTick = GetTickCount();
  ShowWindow(control, SW_SHOW);
  return control;
}

HWND __stdcall ListLoad(HWND ParentWin, char* FileToLoad, int ShowFlags) {
  WCHAR wide[AnsiToWideChars];
  return ListLoadW(ParentWin, AnsiToWide(FileToLoad, wide), ShowFlags);
}
