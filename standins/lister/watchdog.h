// A thread that keeps modal windows from blocking a scripted run: it accepts
// or cancels the real print dialog as the script says and dismisses any other
// dialog box (message boxes), logging what it saw.
#pragma once

#include <windows.h>

// Marks a dialog as the host's own, which the watchdog leaves alone.
void MarkOwnDialog(HWND dialog);

class Watchdog {
 public:
  Watchdog();
  ~Watchdog();  // stops the thread and waits for it
  Watchdog(const Watchdog&) = delete;
  Watchdog& operator=(const Watchdog&) = delete;

 private:
  static DWORD WINAPI Run(void* self);
  HANDLE stop_;
  HANDLE thread_;
};
