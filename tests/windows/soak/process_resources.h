// The process's resource figures, taken the same way before and after a soak.
// Wine leaves several of the system's own counters at 0 (GetProcessHandleCount,
// GetGuiResources, PrivateUsage); each figure then falls back to a count of
// its own, and says which source it came from.
#pragma once

#include <stddef.h>

#include <string>

struct ResourceFigures {
  long handles = 0;              // kernel handles
  long gdiObjects = 0;           // GDI objects
  long userObjects = 0;          // USER objects
  long long privateBytes = 0;    // committed private memory
  long long committedBytes = 0;  // PagefileUsage, as GetProcessMemoryInfo reports it
  // Where each of the first four came from, e.g. "GetProcessHandleCount" or
  // "handle probe".
  std::string handleSource, gdiSource, userSource, privateSource;
};

ResourceFigures MeasureResources();
