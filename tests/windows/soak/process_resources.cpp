#include "tests/windows/soak/process_resources.h"

#include <windows.h>
// windows.h first: psapi.h needs its types.
#include <psapi.h>

#include "standins/lister/process_counts.h"

namespace {

// The GDI handle table the process environment block points to: 24-byte
// entries (64-bit addresses in both builds) whose type byte (offset 14) is 0
// when the entry is free. Wine keeps one per process and GetGuiResources
// answers 0 there.
const unsigned char* GdiHandleTable() {
#ifdef _WIN64
  // The process environment block sits at gs:0x60, the table at its offset 0xF8.
  const char* peb = nullptr;
  asm("mov %%gs:0x60, %0" : "=r"(peb));
  return *reinterpret_cast<unsigned char* const*>(peb + 0xF8);
#else
  // A 32-bit process under Wine has the table in its 64-bit environment block
  // only: the 32-bit thread block's GdiBatchCount (offset 0xF70) holds the
  // 64-bit thread block, whose offset 0x60 holds that environment block.
  const char* teb = nullptr;
  asm("mov %%fs:0x18, %0" : "=r"(teb));
  const UINT_PTR teb64 = *reinterpret_cast<const UINT_PTR*>(teb + 0xF70);
  if (teb64 == 0) return nullptr;
  const UINT_PTR peb64 = static_cast<UINT_PTR>(*reinterpret_cast<const UINT64*>(teb64 + 0x60));
  return reinterpret_cast<const unsigned char*>(
      static_cast<UINT_PTR>(*reinterpret_cast<const UINT64*>(peb64 + 0xF8)));
#endif
}

long CountGdiHandleTable() {
  const unsigned char* table = GdiHandleTable();
  if (table == nullptr) return -1;
  MEMORY_BASIC_INFORMATION region;
  if (VirtualQuery(table, &region, sizeof region) == 0) return -1;
  size_t bytes = static_cast<const unsigned char*>(region.BaseAddress) + region.RegionSize - table;
  size_t entries = bytes / 24;
  if (entries > 0x10000) entries = 0x10000;
  long count = 0;
  for (size_t i = 0; i < entries; ++i) {
    if (table[i * 24 + 14] != 0) ++count;
  }
  return count;
}

BOOL CALLBACK CountChildWindow(HWND, LPARAM counter) {
  ++*reinterpret_cast<long*>(counter);
  return TRUE;
}

BOOL CALLBACK CountTopWindow(HWND window, LPARAM counter) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process == GetCurrentProcessId()) {
    ++*reinterpret_cast<long*>(counter);
    EnumChildWindows(window, &CountChildWindow, counter);
  }
  return TRUE;
}

// The windows of this process, top-level and child: the USER objects a viewer
// creates.
long CountWindows() {
  long count = 0;
  EnumWindows(&CountTopWindow, reinterpret_cast<LPARAM>(&count));
  return count;
}

// Committed private pages, summed over the address space.
long long SumPrivateCommitted() {
  long long total = 0;
  MEMORY_BASIC_INFORMATION region;
  const char* address = nullptr;
  while (VirtualQuery(address, &region, sizeof region) == sizeof region) {
    if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) total += region.RegionSize;
    const char* next = static_cast<const char*>(region.BaseAddress) + region.RegionSize;
    if (next <= address) break;
    address = next;
  }
  return total;
}

}  // namespace

ResourceFigures MeasureResources() {
  ResourceFigures figures;
  HANDLE self = GetCurrentProcess();

  DWORD handles = 0;
  if (GetProcessHandleCount(self, &handles) && handles > 0) {
    figures.handles = static_cast<long>(handles);
    figures.handleSource = "GetProcessHandleCount";
  } else {
    figures.handles = ProbedHandleCount();
    figures.handleSource = "handle probe";
  }

  DWORD gdi = GetGuiResources(self, GR_GDIOBJECTS);
  if (gdi > 0) {
    figures.gdiObjects = static_cast<long>(gdi);
    figures.gdiSource = "GetGuiResources";
  } else {
    figures.gdiObjects = CountGdiHandleTable();
    figures.gdiSource = "GDI handle table";
  }

  DWORD user = GetGuiResources(self, GR_USEROBJECTS);
  if (user > 0) {
    figures.userObjects = static_cast<long>(user);
    figures.userSource = "GetGuiResources";
  } else {
    figures.userObjects = CountWindows();
    figures.userSource = "windows";
  }

  PROCESS_MEMORY_COUNTERS_EX memory;
  memset(&memory, 0, sizeof memory);
  memory.cb = sizeof memory;
  GetProcessMemoryInfo(self, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory);
  figures.committedBytes = static_cast<long long>(memory.PagefileUsage);
  if (memory.PrivateUsage > 0) {
    figures.privateBytes = static_cast<long long>(memory.PrivateUsage);
    figures.privateSource = "PrivateUsage";
  } else {
    figures.privateBytes = SumPrivateCommitted();
    figures.privateSource = "committed private pages";
  }
  return figures;
}
