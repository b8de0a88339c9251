#include "presentation/light_copy.h"

#include <limits.h>
#include <stdlib.h>

#include "host/module_state.h"
#include "host/richedit_operations.h"
#include "presentation/header_lines.h"
#include "presentation/java_highlighter.h"
#include "presentation/text_styles.h"

namespace {

// The text moves with its line breaks as CR LF, each of which the copy counts
// once again, so every position stays where it was.
bool CopyText(HWND control, HWND copy) {
  int length = GetControlWindowTextLength(control);
  if (length < 0 || length == INT_MAX) return false;
  WCHAR* text = static_cast<WCHAR*>(malloc((static_cast<size_t>(length) + 1) * sizeof(WCHAR)));
  if (text == nullptr) return false;
  GetControlText(control, text, length + 1);
  SetControlText(copy, text);
  free(text);
  return true;
}

}  // namespace

HWND CreateLightCopy(HWND control, ViewKind kind) {
  WCHAR windowClass[64];
  if (GetClassNameW(control, windowClass, 64) == 0) return nullptr;
  RECT area;
  GetClientRect(control, &area);
  // A window of its own, not a child, so the Lister window never hears of it.
  HWND copy = CreateWindowExW(0, windowClass, L"", WS_POPUP | ES_MULTILINE, 0, 0, area.right,
                              area.bottom, nullptr, nullptr, PluginInstance, nullptr);
  if (copy == nullptr) return nullptr;
  if (!CopyText(control, copy)) {
    DestroyWindow(copy);
    return nullptr;
  }
  if (kind == DarkJavaView) {
    ApplyHighlighting(copy, LightPalette);
    RestyleHeaderLines(copy, LightPalette);
  }
  int start = 0;
  int end = 0;
  GetControlSelection(control, &start, &end);
  SetControlSelection(copy, start, end);
  return copy;
}
