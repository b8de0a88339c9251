// A process named by its id and the time it started. An id alone names
// another process once its own has ended: Windows hands ids out again, and
// Wine at once, so a record of "the run that makes the cache" must carry both.
#pragma once

#include <stdint.h>
#include <windows.h>

#include <string>

struct ProcessIdentity {
  DWORD id = 0;
  uint64_t started = 0;  // its creation time as a FILETIME; 0 when unknown
};

// The identity of the running process of that id; started stays 0 when it
// cannot be asked.
ProcessIdentity IdentityOfProcess(DWORD id);

// Whether that very process still runs: its id is taken by a process that has
// not ended and, where the start time is known, started then.
bool ProcessStillRuns(const ProcessIdentity& process);

// "id started", as a record file holds it; and back ("id" alone too, as
// records written before the time was kept hold it). A text that names no
// id gives id 0.
std::string ProcessIdentityText(const ProcessIdentity& process);
ProcessIdentity ParseProcessIdentity(const std::string& text);
