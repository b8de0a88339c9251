#include "plugin/kotlin_view.h"

#include <stdio.h>
#include <stdlib.h>

#include <new>
#include <string>

#include "decompile/class_text.h"
#include "decompile/output_text.h"
#include "host/host_messages.h"
#include "host/listplug.h"
#include "host/richedit_operations.h"
#include "plugin/class_views.h"
#include "plugin/no_source_comment.h"
#include "plugin/view_keys.h"
#include "presentation/header_lines.h"
#include "presentation/kotlin_highlighter.h"

struct KotlinView {
  bool offered = false;  // the class carries Kotlin's metadata
  DecompileJob* pending = nullptr;
  bool resultKnown = false;
  DecompileResult result;
  ShownPlace place;  // where the view shown before stood, for the Kotlin still coming
};

namespace {

// The window's view, made with what the class's bytes say once the run has
// read them; null before then, or without memory.
KotlinView* ViewOf(ClassWindow* window) {
  if (window->kotlin == nullptr && window->cls != nullptr) {
    window->kotlin = new (std::nothrow) KotlinView();
    if (window->kotlin != nullptr) {
      window->kotlin->offered = KotlinMetadataOfBytes(*window->cls).present;
    }
  }
  return window->kotlin;
}

// The run's result as the view's text: the bridge's Kotlin (or its comment
// that says why there is none, which it writes with a failure's exit code);
// the plugin's own comment when Jad gave no text, or text that is not the
// bridge's (the original Jad writes Java for the request).
std::wstring KotlinText(const DecompileResult& result) {
  if (result.text == nullptr) return NoSourceComment(result);
  if (!HasUtf8Mark(result.text)) {
    return L"/*\r\n * The jad.exe beside the plugin wrote Java, not Kotlin: only dravik's own "
           L"jad.exe,\r\n * the bridge to Vineflower, writes Kotlin. " +
           std::wstring(ViewKeyName(ViewKeyCommand::SwitchKotlin)) +
           L" shows its Java source.\r\n */\r\n";
  }
  WCHAR* wide = WideFromOutput(result.text);
  std::wstring text = wide != nullptr ? wide : L"";
  free(wide);
  return text;
}

void ShowResult(HWND control, KotlinView* view) {
  const TextPalette& palette = ClassViewPalette(control);
  const std::wstring text = KotlinText(view->result);
  SetControlText(control, text.c_str());
  PostHostMessage(GetParent(control), control, 0, itm_percent);
  const DWORD start = GetTickCount();
  ApplyKotlinHighlighting(control, text.c_str(), palette);
  wchar_t line[160];
  swprintf(line, sizeof line / sizeof line[0],
           L"// Kotlin, Jad: %lums | Highlighted: %lums | %ls: the Java source",
           static_cast<unsigned long>(view->result.milliseconds),
           static_cast<unsigned long>(GetTickCount() - start),
           ViewKeyName(ViewKeyCommand::SwitchKotlin));
  InsertBannerAndLine(control, line, palette);
}

void Take(HWND control, KotlinView* view) {
  DecompileJob* job = view->pending;
  view->pending = nullptr;
  KillTimer(control, KotlinCheckTimer);
  view->resultKnown = TakeDecompileResult(job, &view->result);
  ReleaseDecompileJob(job);
}

}  // namespace

bool OffersKotlinView(ClassWindow* window) {
  KotlinView* view = ViewOf(window);
  return view != nullptr && view->offered;
}

void ShowKotlinView(HWND control, ClassWindow* window) {
  KotlinView* view = ViewOf(window);
  if (view == nullptr || !view->offered || window->kotlinShown) return;
  view->place = ShownOriginalLine(control, window);
  const int top = GetControlFirstVisibleLine(control);
  const int lines = GetControlLineCount(control);
  SendMessageW(control, WM_SETREDRAW, FALSE, 0);
  if (!view->resultKnown && view->pending == nullptr) {
    view->pending =
        StartDecompileJob(window->classFile.c_str(), control, SourceReadyMessage(), true);
    if (view->pending == nullptr) {
      view->result.end = DecompileEnd::NotStarted;
      view->resultKnown = true;
    }
  }
  if (view->pending != nullptr && WaitForDecompileJob(view->pending, ShownRunWaitMs())) {
    Take(control, view);
  }
  if (view->pending != nullptr) SetTimer(control, KotlinCheckTimer, RunCheckMs, nullptr);
  window->bytecodeShown = false;
  window->kotlinShown = true;
  window->places.clear();
  if (view->resultKnown) {
    ShowResult(control, view);
  } else {
    ShowOutlineComing(control, window, L" as Kotlin");
  }
  int target = LineOfShownPlace(control, view->place);
  if (target < 0) target = lines > 0 ? MulDiv(top, GetControlLineCount(control), lines) : 0;
  ScrollToLine(control, target);
  SendMessageW(control, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(control, nullptr, TRUE);
}

bool TakeArrivedKotlin(HWND control, ClassWindow* window, DecompileJob* job) {
  KotlinView* view = window->kotlin;
  if (view == nullptr || job == nullptr || job != view->pending) return false;
  if (!WaitForDecompileJob(job, 0)) return true;
  Take(control, view);
  // Shown when the user switches to it again.
  if (!window->kotlinShown) return true;
  SendMessageW(control, WM_SETREDRAW, FALSE, 0);
  ShowResult(control, view);
  const int target = LineOfShownPlace(control, view->place);
  if (target >= 0) ScrollToLine(control, target);
  SendMessageW(control, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(control, nullptr, TRUE);
  return true;
}

void CheckKotlinRun(HWND control, ClassWindow* window) {
  KotlinView* view = window->kotlin;
  if (view != nullptr && view->pending != nullptr)
    TakeArrivedKotlin(control, window, view->pending);
}

void ReleaseKotlinView(ClassWindow* window) {
  KotlinView* view = window->kotlin;
  if (view == nullptr) return;
  window->kotlin = nullptr;
  ReleaseDecompileJob(view->pending);
  free(view->result.text);
  delete view;
}
