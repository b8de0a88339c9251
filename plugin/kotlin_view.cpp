#include "plugin/kotlin_view.h"

#include <stdio.h>
#include <stdlib.h>

#include <new>
#include <string>

#include "decompile/class_family.h"
#include "decompile/class_text.h"
#include "decompile/output_text.h"
#include "host/host_messages.h"
#include "host/listplug.h"
#include "host/richedit_operations.h"
#include "plugin/class_views.h"
#include "presentation/header_lines.h"
#include "presentation/java_highlighter.h"
#include "presentation/kotlin_highlighter.h"

struct KotlinView {
  bool offered = false;  // the class carries Kotlin's metadata
  DecompileJob* pending = nullptr;
  bool resultKnown = false;
  DecompileResult result;
  ShownPlace place;  // where the view shown before stood, for the Kotlin still coming
};

namespace {

KotlinView* ViewOf(ClassWindow* window) {
  if (window->kotlin == nullptr) {
    window->kotlin = new (std::nothrow) KotlinView();
    if (window->kotlin != nullptr) {
      window->kotlin->offered = ReadKotlinMetadata(window->classFile.c_str()).present;
    }
  }
  return window->kotlin;
}

std::wstring Comment(const std::wstring& lines) { return L"/*\r\n" + lines + L"\r\n */\r\n"; }

// Why there is no Kotlin when Jad gave no text, or text that is not the bridge's.
std::wstring NoKotlinComment(const DecompileResult& result) {
  if (result.text != nullptr) {
    return Comment(
        L" * The jad.exe beside the plugin wrote Java, not Kotlin: only dravik's own jad.exe,"
        L"\r\n * the bridge to Vineflower, writes Kotlin. Ctrl+K shows its Java source.");
  }
  if (result.end == DecompileEnd::TimedOut) {
    wchar_t line[160];
    swprintf(line, sizeof line / sizeof line[0],
             L" * Jad was still running after %lu seconds and was ended: there is no Kotlin.",
             static_cast<unsigned long>(DecompileWaitLimitMs / 1000));
    return Comment(line);
  }
  if (result.end == DecompileEnd::NotStarted) {
    return Comment(
        L" * Jad could not be run for this class: the plugin's folder must be writable"
        L"\r\n * (the class is copied there for it), and jad.exe must be beside the plugin"
        L"\r\n * or on the PATH.");
  }
  return Comment(L" * Jad ended without writing any Kotlin for this class.");
}

// The run's result as the view's text: the bridge's Kotlin (or its comment
// that says why there is none, which it writes with a failure's exit code),
// else the plugin's own comment.
std::wstring KotlinText(const DecompileResult& result) {
  const bool bridge = result.text != nullptr && HasUtf8Mark(result.text);
  if (!bridge) return NoKotlinComment(result);
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
           L"// Kotlin, Jad: %lums | Highlighted: %lums | Ctrl+K: the Java source",
           static_cast<unsigned long>(view->result.milliseconds),
           static_cast<unsigned long>(GetTickCount() - start));
  InsertBannerAndLine(control, line, palette);
}

// The class's outline while the Kotlin comes.
void ShowComing(HWND control, const ClassWindow* window) {
  const TextPalette& palette = ClassViewPalette(control);
  std::wstring outline;
  std::string error;
  ReadOutlineText(window->classFile.c_str(), &outline, &error);
  SetControlText(control, outline.c_str());
  ApplyHighlighting(control, palette);
  const std::wstring line =
      L"// Decompiling " + std::wstring(FileNameOf(window->classFile.c_str())) + L" as Kotlin ...";
  InsertBannerAndLine(control, line.c_str(), palette);
}

void Take(KotlinView* view) {
  DecompileJob* job = view->pending;
  view->pending = nullptr;
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
    Take(view);
  }
  window->bytecodeShown = false;
  window->kotlinShown = true;
  window->places.clear();
  if (view->resultKnown) {
    ShowResult(control, view);
  } else {
    ShowComing(control, window);
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
  Take(view);
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

void ReleaseKotlinView(ClassWindow* window) {
  KotlinView* view = window->kotlin;
  if (view == nullptr) return;
  window->kotlin = nullptr;
  ReleaseDecompileJob(view->pending);
  free(view->result.text);
  delete view;
}
