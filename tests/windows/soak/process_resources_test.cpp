// The counters the soak relies on must see a leak: a soak measured with a
// blind counter would pass whatever the plugin does.
#include "tests/windows/soak/process_resources.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <windows.h>

#include <vector>

TEST(ProcessResourcesTest, EachFigureSeesObjectsMadeAndReleased) {
  // A first window makes what the system keeps for every later one.
  DestroyWindow(
      CreateWindowExA(0, "STATIC", "", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr));
  ResourceFigures before = MeasureResources();
  std::vector<HANDLE> events;
  std::vector<HGDIOBJ> brushes;
  for (int i = 0; i < 20; ++i) {
    events.push_back(CreateEventW(nullptr, FALSE, FALSE, nullptr));
    brushes.push_back(CreateSolidBrush(RGB(i, 0, 0)));
  }
  HWND window =
      CreateWindowExA(0, "STATIC", "", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  const size_t megabytes = 8 << 20;
  // Small blocks from the runtime's heap, as a leaked text would be: 1 MB in all.
  std::vector<void*> blocks;
  for (int i = 0; i < 256; ++i) blocks.push_back(malloc(4096));
  ResourceFigures withBlocks = MeasureResources();
  char* block = static_cast<char*>(VirtualAlloc(nullptr, megabytes, MEM_COMMIT, PAGE_READWRITE));
  ResourceFigures during = MeasureResources();

  for (void* b : blocks) free(b);
  for (HANDLE e : events) CloseHandle(e);
  for (HGDIOBJ b : brushes) DeleteObject(b);
  DestroyWindow(window);
  VirtualFree(block, 0, MEM_RELEASE);
  ResourceFigures after = MeasureResources();

  EXPECT_EQ(during.handles - before.handles, 20) << during.handleSource;
  EXPECT_EQ(during.gdiObjects - before.gdiObjects, 20) << during.gdiSource;
  // Wine gives a top-level window a helper window of its own.
  EXPECT_GE(during.userObjects - before.userObjects, 1) << during.userSource;
  // Some of it may fit in what the heap holds already; well over the soak's bound.
  EXPECT_GE(withBlocks.privateBytes - before.privateBytes, 512 << 10) << withBlocks.privateSource;
  EXPECT_GE(during.privateBytes - withBlocks.privateBytes, static_cast<long long>(megabytes))
      << during.privateSource;
  EXPECT_EQ(after.handles, before.handles);
  EXPECT_EQ(after.gdiObjects, before.gdiObjects);
  EXPECT_EQ(after.userObjects, before.userObjects);
  EXPECT_LT(after.privateBytes, during.privateBytes);
}
