#include "plugin/pending_source.h"

#include <stdio.h>
#include <stdlib.h>

#include "decompile/decompile_run.h"
#include "decompile/long_path_names.h"
#include "host/richedit_operations.h"
#include "host/view_kind.h"
#include "plugin/shown_source.h"
#include "presentation/header_lines.h"

namespace {

// The window's properties: the job it waits for, and the window procedure
// the wait stands in front of.
const WCHAR JobProperty[] = L"dravik.pending.job";
const WCHAR ProcedureProperty[] = L"dravik.pending.procedure";

const TextPalette& PaletteOf(HWND control) {
  return ReadViewKind(control) == DarkJavaView ? DarkPalette : LightPalette;
}

// What stands in for the source when the run gave none: it was ended at its
// time limit, or ended without writing any.
void NoSourceText(DecompileEnd end, char* text, size_t size) {
  if (end == DecompileEnd::TimedOut) {
    snprintf(text, size,
             "/*\r\n * Jad was still running after %lu seconds and was ended: there is no "
             "source.\r\n */\r\n",
             static_cast<unsigned long>(DecompileWaitLimitMs / 1000));
  } else {
    snprintf(text, size,
             "/*\r\n * Jad ended without writing any source for this class.\r\n */\r\n");
  }
}

// The run's result into the window, drawn once it is all in place.
void ShowArrivedSource(HWND control, DecompileJob* job) {
  char* text = nullptr;
  DWORD milliseconds = 0;
  DecompileEnd end = DecompileEnd::NoText;
  if (!TakeDecompileText(job, &text, &milliseconds, &end)) return;
  char stand[256];
  if (text == nullptr) NoSourceText(end, stand, sizeof stand);
  SendMessageW(control, WM_SETREDRAW, FALSE, 0);
  ShowDecompiledText(control, text != nullptr ? text : stand, milliseconds, PaletteOf(control));
  SendMessageW(control, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(control, nullptr, TRUE);
  free(text);
}

LRESULT CALLBACK PendingSourceProcedure(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
  WNDPROC original = reinterpret_cast<WNDPROC>(GetPropW(control, ProcedureProperty));
  if (message == SourceReadyMessage()) {
    DecompileJob* job = static_cast<DecompileJob*>(GetPropW(control, JobProperty));
    // A run given up meanwhile posted it too late: not this window's any more.
    if (job != nullptr && reinterpret_cast<DecompileJob*>(wParam) == job &&
        WaitForDecompileJob(job, 0)) {
      RemovePropW(control, JobProperty);
      ShowArrivedSource(control, job);
      ReleaseDecompileJob(job);
    }
    return 0;
  }
  if (message == WM_NCDESTROY) {
    DropPendingSource(control);
    RemovePropW(control, ProcedureProperty);
    SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
  }
  return CallWindowProcW(original, control, message, wParam, lParam);
}

}  // namespace

UINT SourceReadyMessage() {
  static UINT message = RegisterWindowMessageW(L"dravik source ready");
  return message;
}

bool AwaitSource(HWND control, DecompileJob* job, const WCHAR* fileName) {
  if (GetPropW(control, ProcedureProperty) == nullptr) {
    LONG_PTR original = GetWindowLongPtrW(control, GWLP_WNDPROC);
    if (original == 0 ||
        !SetPropW(control, ProcedureProperty, reinterpret_cast<HANDLE>(original))) {
      ReleaseDecompileJob(job);
      return false;
    }
    SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&PendingSourceProcedure));
  }
  DropPendingSource(control);
  if (!SetPropW(control, JobProperty, job)) {
    ReleaseDecompileJob(job);
    return false;
  }
  WCHAR line[MAX_PATH + 32] = L"// Decompiling ";
  WholeWideAppend(line, fileName, MAX_PATH + 28);
  WholeWideAppend(line, L" ...", MAX_PATH + 32);
  InsertPendingHeader(control, line, PaletteOf(control));
  return true;
}

void DropPendingSource(HWND control) {
  DecompileJob* job = static_cast<DecompileJob*>(RemovePropW(control, JobProperty));
  ReleaseDecompileJob(job);
}
