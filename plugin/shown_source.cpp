#include "plugin/shown_source.h"

#include <stdlib.h>

#include "decompile/output_text.h"
#include "host/host_messages.h"
#include "host/listplug.h"
#include "host/richedit_operations.h"
#include "presentation/header_lines.h"
#include "presentation/java_highlighter.h"

namespace {

// The decompiler's output into the control: UTF-8 behind its mark as UTF-16,
// any other as ANSI. False when there is no memory for the wide text.
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

bool ShowDecompiledText(HWND control, const char* text, DWORD decompileMs,
                        const TextPalette& palette) {
  if (!ShowOutput(control, text)) return false;
  PostHostMessage(GetParent(control), control, 0, itm_percent);
  DWORD highlightStart = GetTickCount();
  ApplyHighlighting(control, palette);
  DWORD highlightTime = GetTickCount() - highlightStart;
  InsertHeaderLines(control, static_cast<int>(decompileMs), static_cast<int>(highlightTime),
                    palette);
  return true;
}
