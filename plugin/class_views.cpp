#include "plugin/class_views.h"

#include <stdio.h>
#include <stdlib.h>

#include "decompile/class_family.h"
#include "decompile/class_text.h"
#include "decompile/output_text.h"
#include "host/host_messages.h"
#include "host/listplug.h"
#include "host/richedit_operations.h"
#include "host/view_kind.h"
#include "plugin/kotlin_view.h"
#include "plugin/no_source_comment.h"
#include "plugin/shown_source.h"
#include "plugin/view_keys.h"
#include "presentation/bytecode_highlighter.h"
#include "presentation/header_lines.h"
#include "presentation/java_highlighter.h"
#include "presentation/original_lines.h"

namespace {

std::wstring Widened(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

// Jad's output as the control takes it: UTF-8 behind its mark, else ANSI.
std::wstring WideOutput(const char* text) {
  WCHAR* wide = WideFromOutput(text);
  std::wstring copy = wide != nullptr ? wide : L"";
  free(wide);
  return copy;
}

// The text with the bytecode's colours and the banner and line on top; the
// host is told the position.
void ShowBytecodeText(HWND control, const std::wstring& text, const WCHAR* line) {
  const TextPalette& palette = ClassViewPalette(control);
  SetControlText(control, text.c_str());
  PostHostMessage(GetParent(control), control, 0, itm_percent);
  ApplyBytecodeHighlighting(control, text.c_str(), palette);
  InsertBannerAndLine(control, line, palette);
}

// The bytecode view's line of the method whose source lines hold original,
// else of the one whose first line is nearest it; -1 without either.
int BytecodeLineOf(const std::vector<MethodPlace>& places, int original) {
  if (original < 0) return -1;
  const MethodPlace* nearest = nullptr;
  unsigned distance = 0;
  for (const MethodPlace& place : places) {
    if (place.firstSourceLine == 0) continue;
    unsigned from = static_cast<unsigned>(original);
    if (from >= place.firstSourceLine && from <= place.lastSourceLine) {
      return static_cast<int>(place.line) + HeaderLineCount;
    }
    unsigned apart =
        from > place.firstSourceLine ? from - place.firstSourceLine : place.firstSourceLine - from;
    if (nearest == nullptr || apart < distance) {
      nearest = &place;
      distance = apart;
    }
  }
  return nearest != nullptr ? static_cast<int>(nearest->line) + HeaderLineCount : -1;
}

// The method the bytecode view shows at line, when it has line numbers.
const MethodPlace* PlaceAt(const std::vector<MethodPlace>& places, int line) {
  const MethodPlace* at = nullptr;
  for (const MethodPlace& place : places) {
    if (static_cast<int>(place.line) + HeaderLineCount > line) break;
    at = place.firstSourceLine != 0 ? &place : nullptr;
  }
  return at;
}

// The bytecode view's text of the bytes the run read; false, with why, when
// there is none.
bool BytecodeOf(const ClassWindow* window, std::wstring* text, std::string* error,
                std::vector<MethodPlace>* places = nullptr) {
  if (window->cls == nullptr) {
    *error = "The class file has not been read yet.";
    return false;
  }
  return BytecodeTextOf(*window->cls, text, error, places);
}

void ShowBytecodeView(HWND control, ClassWindow* window) {
  // A class on a slow share may have come in since the load.
  if (window->pending != nullptr) TakeRunClass(window, window->pending);
  std::wstring text;
  std::string error;
  window->places.clear();
  DWORD start = GetTickCount();
  if (!BytecodeOf(window, &text, &error, &window->places)) {
    text = L"/*\r\n * " + Widened(error) + L"\r\n */\r\n";
  }
  DWORD read = GetTickCount() - start;
  wchar_t line[128];
  swprintf(line, sizeof line / sizeof line[0],
           L"// Bytecode as javap -c -p lists it, read in %lums | %ls: the Java source",
           static_cast<unsigned long>(read), ViewKeyName(ViewKeyCommand::SwitchBytecode));
  ShowBytecodeText(control, text, line);
  window->bytecodeShown = true;
  window->kotlinShown = false;
}

}  // namespace

const TextPalette& ClassViewPalette(HWND control) {
  return ReadViewKind(control) == DarkJavaView ? DarkPalette : LightPalette;
}

DWORD ShownRunWaitMs() {
  WCHAR value[16];
  DWORD n = GetEnvironmentVariableW(L"DRAVIK_LOAD_WAIT_MS", value, 16);
  return n > 0 && n < 16 ? wcstoul(value, nullptr, 10) : DefaultLoadWaitMs;
}

void ScrollToLine(HWND control, int line) {
  if (line < 0) line = 0;
  ScrollControlLines(control, line - GetControlFirstVisibleLine(control));
  int caret = GetControlLineIndex(control, GetControlFirstVisibleLine(control));
  SetControlSelection(control, caret, caret);
}

ShownPlace ShownOriginalLine(HWND control, const ClassWindow* window) {
  const int top = GetControlFirstVisibleLine(control);
  ShownPlace shown;
  if (window->bytecodeShown) {
    const MethodPlace* place = PlaceAt(window->places, top);
    if (place != nullptr) shown.original = static_cast<int>(place->firstSourceLine);
    return shown;
  }
  shown.original = OriginalLineNear(control, top);
  const int line = shown.original >= 0 ? FindOriginalLine(control, shown.original) : -1;
  shown.row = line > top ? line - top : 0;
  return shown;
}

int LineOfShownPlace(HWND control, const ShownPlace& shown) {
  const int line = shown.original >= 0 ? FindOriginalLine(control, shown.original) : -1;
  if (line < 0) return -1;
  return line > shown.row ? line - shown.row : 0;
}

UINT SourceReadyMessage() {
  static UINT message = RegisterWindowMessageW(L"dravik source ready");
  return message;
}

bool ShowRunResult(HWND control, ClassWindow* window, bool mustShow) {
  const DecompileResult& result = window->result;
  const TextPalette& palette = ClassViewPalette(control);
  window->bytecodeShown = false;
  window->kotlinShown = false;
  window->places.clear();
  if (result.text != nullptr && result.exitCode == 0) {
    return ShowDecompiledText(control, result.text, result.milliseconds, palette);
  }
  // No source: why, and the class as the bytecode shows it, without Java.
  std::wstring bytecode;
  std::string error;
  const bool readable = BytecodeOf(window, &bytecode, &error);
  if (!readable && !mustShow) {
    return result.text != nullptr &&
           ShowDecompiledText(control, result.text, result.milliseconds, palette);
  }
  std::wstring text = result.text != nullptr ? WideOutput(result.text) : NoSourceComment(result);
  if (!text.empty() && text.back() != L'\n') text += L"\r\n";
  text += readable ? L"\r\n" + bytecode
                   : L"/*\r\n * The class file could not be read either: " + Widened(error) +
                         L"\r\n */\r\n";
  SetControlText(control, text.c_str());
  PostHostMessage(GetParent(control), control, 0, itm_percent);
  DWORD start = GetTickCount();
  ApplyBytecodeHighlighting(control, text.c_str(), palette);
  InsertHeaderLines(control, static_cast<int>(result.milliseconds),
                    static_cast<int>(GetTickCount() - start), palette);
  return true;
}

void ShowOutlineComing(HWND control, const ClassWindow* window, const WCHAR* as) {
  const TextPalette& palette = ClassViewPalette(control);
  SetControlText(control, window->outline.c_str());
  ApplyHighlighting(control, palette);
  const std::wstring line =
      L"// Decompiling " + std::wstring(FileNameOf(window->classFile.c_str())) + as + L" ...";
  InsertBannerAndLine(control, line.c_str(), palette);
}

void ShowComingSource(HWND control, ClassWindow* window) {
  ShowOutlineComing(control, window, L"");
  window->bytecodeShown = false;
  window->kotlinShown = false;
}

void TakeRunClass(ClassWindow* window, DecompileJob* job) {
  if (window->cls == nullptr) window->cls = DecompileJobClass(job, &window->outline);
}

void AwaitRunSource(HWND control, ClassWindow* window, DecompileJob* job) {
  window->pending = job;
  SetTimer(control, RunCheckTimer, RunCheckMs, nullptr);
}

void TakeArrivedSource(HWND control, ClassWindow* window) {
  DecompileJob* job = window->pending;
  window->pending = nullptr;
  KillTimer(control, RunCheckTimer);
  TakeRunClass(window, job);
  window->resultKnown = TakeDecompileResult(job, &window->result);
  ReleaseDecompileJob(job);
  // Shown when the user switches back from the bytecode or Kotlin.
  if (window->bytecodeShown || window->kotlinShown) return;
  SendMessageW(control, WM_SETREDRAW, FALSE, 0);
  ShowRunResult(control, window, true);
  SendMessageW(control, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(control, nullptr, TRUE);
}

void SwitchClassView(HWND control, ClassWindow* window, bool bytecode) {
  if (bytecode == window->bytecodeShown && !window->kotlinShown) return;
  const int top = GetControlFirstVisibleLine(control);
  const int lines = GetControlLineCount(control);
  SendMessageW(control, WM_SETREDRAW, FALSE, 0);
  int target = -1;
  if (bytecode) {
    const int original = OriginalLineNear(control, top);
    ShowBytecodeView(control, window);
    target = BytecodeLineOf(window->places, original);
  } else {
    const MethodPlace* place = window->bytecodeShown ? PlaceAt(window->places, top) : nullptr;
    // From the Kotlin view: the same original line, as far down the view.
    ShownPlace shown;
    if (window->kotlinShown) shown = ShownOriginalLine(control, window);
    if (window->resultKnown) {
      ShowRunResult(control, window, true);
    } else {
      ShowComingSource(control, window);
    }
    if (place != nullptr) {
      target = FindMarkedLine(control, static_cast<int>(place->firstSourceLine),
                              static_cast<int>(place->lastSourceLine));
    } else {
      target = LineOfShownPlace(control, shown);
    }
  }
  // Without line numbers to go by: as far down the new view as the old one.
  if (target < 0) target = lines > 0 ? MulDiv(top, GetControlLineCount(control), lines) : 0;
  ScrollToLine(control, target);
  SendMessageW(control, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(control, nullptr, TRUE);
}

void ShowClassViewMenu(HWND control, ClassWindow* window, int x, int y) {
  HMENU menu = CreatePopupMenu();
  if (menu == nullptr) return;
  const std::wstring key = ViewKeyName(ViewKeyCommand::SwitchBytecode);
  const bool source = !window->bytecodeShown && !window->kotlinShown;
  AppendMenuW(menu, MF_STRING | (source ? MF_CHECKED : 0), ShowSourceCommand,
              (L"Java source\t" + key).c_str());
  AppendMenuW(menu, MF_STRING | (window->bytecodeShown ? MF_CHECKED : 0), ShowBytecodeCommand,
              (L"Bytecode\t" + key).c_str());
  if (OffersKotlinView(window)) {
    AppendMenuW(menu, MF_STRING | (window->kotlinShown ? MF_CHECKED : 0), ShowKotlinCommand,
                (L"Kotlin\t" + std::wstring(ViewKeyName(ViewKeyCommand::SwitchKotlin))).c_str());
  }
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu, MF_STRING, GoToMemberCommand,
              (L"Go to...\t" + std::wstring(ViewKeyName(ViewKeyCommand::GoToMember))).c_str());
  // From the keyboard (Shift+F10, the menu key): at the caret.
  if (x == -1 && y == -1) {
    POINT caret = {0, 0};
    GetCaretPos(&caret);
    ClientToScreen(control, &caret);
    x = caret.x;
    y = caret.y;
  }
  TrackPopupMenu(menu, TPM_RIGHTBUTTON, x, y, 0, control, nullptr);
  DestroyMenu(menu);
}
