// The platform calls that the host answers in the plugin's place: a scripted
// clock, another platform version, a recorded CreateProcessW, and a printing
// layer with a print dialog and a test printer the script controls. Each is
// put into the plugin's import address table; every call is logged.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Replaces the plugin's imports and logs, per function, "installed" or "not
// imported". The hooks stay until the module is released.
void InstallHostHooks(HMODULE plugin);

// The list window, so that the log can name it.
void SetHookListWindow(HWND list);

// GetTickCount: the real counter (scripted false), or the scripted time now.
// Readings, when given, are answered first, one per call, the last one
// becoming the scripted time; after every scripted answer the time moves on
// by the step (0 unless set). Advance moves the scripted time at once.
void SetScriptedClock(bool scripted, DWORD now);
void SetScriptedClockReadings(const std::vector<DWORD>& readings);
void SetScriptedClockStep(DWORD milliseconds);
void AdvanceScriptedClock(DWORD milliseconds);

// GetVersionExA: -1 reports what the system says, else this dwPlatformId.
void SetReportedPlatform(int platform_id);

// How PrintDlgA answers.
enum class PrintDialogMode { kCancel, kAccept, kRealAccept, kRealCancel };
struct PrintDialogAnswer {
  PrintDialogMode mode = PrintDialogMode::kCancel;
  DWORD extra_flags = 0;  // PD_PAGENUMS or PD_SELECTION, with kAccept
  WORD from_page = 0;
  WORD to_page = 0;
};
void SetPrintDialogAnswer(const PrintDialogAnswer& answer);
PrintDialogMode CurrentPrintDialogMode();  // any thread

// The test printer that an accepted dialog hands out: paper and unprintable
// left and top strips in device pixels; pages saved to folder when not empty.
void SetTestPrinter(int width, int height, int offset_x, int offset_y);
void SetPrintPagesFolder(const std::wstring& folder);
