// Soak: the real plugin (a copy loaded from a folder of its own) driven many
// times over, with the process's handles, GDI and USER objects and memory
// counted before and after. Each figure may grow by a small fixed margin only,
// whatever the count, so a leak of one object per call shows at once.
//
// ctest runs the short counts; DRAVIK_SOAK_SCALE=10 (scripts/soak) runs ten
// times as many. Every soak prints its figures on a line starting "soak:".
#include <windows.h>
// commdlg.h needs the types of windows.h first.
#include <commdlg.h>
#include <gtest/gtest.h>
#include <richedit.h>
#include <stdio.h>
#include <stdlib.h>

#include <functional>
#include <string>

#include "standins/lister/host_hooks.h"
#include "standins/lister/host_log.h"
#include "tests/windows/soak/process_resources.h"
#include "tests/windows/soak/soak_fixture.h"
#include "tests/windows/test_support.h"

namespace {

int SoakScale() {
  char value[16];
  DWORD n = GetEnvironmentVariableA("DRAVIK_SOAK_SCALE", value, sizeof value);
  int scale = n > 0 && n < sizeof value ? atoi(value) : 1;
  return scale > 0 ? scale : 1;
}

// The growth each figure may show after a soak, whatever its length. Without
// a leak every figure comes back to where it was; the memory bounds are tight
// enough for a 2 KB text left behind by each of 100 loads to show.
struct Bounds {
  long handles = 8;
  long gdi = 16;
  long user = 2;
  long long privateBytes = 128 << 10;
  long long committedBytes = 256 << 10;
};

void PrintFigures(const char* name, int count, const ResourceFigures& before,
                  const ResourceFigures& after, const Bounds& bounds) {
  printf(
      "soak: %s x%d: handles %ld -> %ld (bound +%ld, %s); gdi %ld -> %ld (bound +%ld, %s); "
      "user %ld -> %ld (bound +%ld, %s); private %lld -> %lld KB (bound +%lld KB, %s); "
      "committed %lld -> %lld KB (bound +%lld KB, PagefileUsage)\n",
      name, count, before.handles, after.handles, bounds.handles, after.handleSource.c_str(),
      before.gdiObjects, after.gdiObjects, bounds.gdi, after.gdiSource.c_str(), before.userObjects,
      after.userObjects, bounds.user, after.userSource.c_str(), before.privateBytes / 1024,
      after.privateBytes / 1024, bounds.privateBytes / 1024, after.privateSource.c_str(),
      before.committedBytes / 1024, after.committedBytes / 1024, bounds.committedBytes / 1024);
  fflush(stdout);
}

void ExpectWithinBounds(const ResourceFigures& before, const ResourceFigures& after,
                        const Bounds& bounds) {
  EXPECT_LE(after.handles - before.handles, bounds.handles) << "handles";
  EXPECT_LE(after.gdiObjects - before.gdiObjects, bounds.gdi) << "GDI objects";
  EXPECT_LE(after.userObjects - before.userObjects, bounds.user) << "USER objects";
  EXPECT_LE(after.privateBytes - before.privateBytes, bounds.privateBytes) << "private bytes";
  EXPECT_LE(after.committedBytes - before.committedBytes, bounds.committedBytes) << "committed";
}

// The platform the thumbnail asks for, alternating so that both drawing paths
// are soaked: the NT family shrinks the drawing, any other returns it whole.
int g_thumbnailCalls = 0;
BOOL WINAPI AlternatePlatform(LPOSVERSIONINFOA info) {
  BOOL result = GetVersionExA(info);
  info->dwPlatformId = (g_thumbnailCalls++ % 2 == 0) ? VER_PLATFORM_WIN32_NT : 1;
  return result;
}

class ResourceSoakTest : public ::testing::Test, public PluginCopyFixture {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder().loaded());
    ASSERT_NE(listLoadW, nullptr);
    folder().InstallFakeJad("source");
    WriteFileBytes(folder().Path(L"fakejad.source"), ReadFileBytes(SoakDataFile(L"Showcase.java")));
    classFile_ = inputs() + L"\\Showcase.class";
    WriteFileBytes(classFile_, ReadFileBytes(SoakDataFile(L"Showcase.class")));
    ASSERT_FALSE(ReadFileBytes(classFile_).empty());
  }

  HWND Load() {
    HWND window = listLoadW(lister(), const_cast<WCHAR*>(classFile_.c_str()), 0);
    PumpMessages();
    return window;
  }

  // Nothing in the plugin folder but the plugin and the decompiler.
  void ExpectPluginFolderClean() { EXPECT_TRUE(folder().ExtraFiles().empty()); }

  // Makes count calls between two readings of the process's resources,
  // prints the figures, checks them against the bounds and returns how many
  // calls did not give what they should.
  int Soak(const char* name, int count, const std::function<bool(int)>& call) {
    ResourceFigures before = MeasureResources();
    int failures = 0;
    for (int i = 0; i < count; ++i) failures += call(i) ? 0 : 1;
    PumpMessages();
    ResourceFigures after = MeasureResources();
    Bounds bounds;
    PrintFigures(name, count, before, after, bounds);
    ExpectWithinBounds(before, after, bounds);
    return failures;
  }

  const int scale_ = SoakScale();
  std::wstring classFile_;
};

TEST_F(ResourceSoakTest, LoadAndCloseCyclesOnARealClass) {
  // The first loads bring in the control library and the runtime's buffers.
  for (int i = 0; i < 3; ++i) listCloseWindow(Load());
  auto cycle = [&](int) {
    HWND window = Load();
    if (window == nullptr || GetParent(window) != lister()) return false;
    listCloseWindow(window);
    return true;
  };
  EXPECT_EQ(Soak("ListLoadW/ListCloseWindow (fake Jad)", 100 * scale_, cycle), 0);
  EXPECT_EQ(GetWindow(lister(), GW_CHILD), nullptr);
  ExpectPluginFolderClean();
}

TEST_F(ResourceSoakTest, LoadAndCloseCyclesThroughTheBridge) {
  if (!RunningUnderWine()) GTEST_SKIP() << "the bridge starts a Unix program: Wine only";
  // About a second a load: a handful, enough to see every handle of a real
  // decompiler run come back.
  folder().InstallBridgeJad();
  listCloseWindow(Load());
  auto cycle = [&](int) {
    HWND window = Load();
    bool shown =
        window != nullptr && WindowText(window).find("public class Showcase") != std::string::npos;
    listCloseWindow(window);
    return shown;
  };
  EXPECT_EQ(Soak("ListLoadW/ListCloseWindow (bridge)", scale_ > 1 ? 5 : 2, cycle), 0);
  ExpectPluginFolderClean();
}

TEST_F(ResourceSoakTest, LoadNextCallsOnOneListWindow) {
  HWND window = Load();
  ASSERT_NE(window, nullptr);
  // A plain text, a file with a zero byte (refused after reading) and a
  // missing file (refused at opening), in turn.
  std::wstring text = inputs() + L"\\notes.txt", binary = inputs() + L"\\data.bin";
  std::string lines;
  for (int i = 0; i < 200; ++i) lines += "line " + std::to_string(i) + "\r\n";
  WriteFileBytes(text, lines);
  WriteFileBytes(binary, std::string("ab\0cd", 5));
  const struct {
    std::wstring path;
    int result;
  } files[] = {{text, LISTPLUGIN_OK},
               {binary, LISTPLUGIN_ERROR},
               {inputs() + L"\\missing.txt", LISTPLUGIN_ERROR}};
  auto loadNext = [&](int i) {
    const auto& f = files[i % 3];
    int result = listLoadNextW(lister(), window, const_cast<WCHAR*>(f.path.c_str()), 0);
    PumpMessages();
    return result == f.result;
  };
  for (int i = 0; i < 3; ++i) loadNext(i);

  EXPECT_EQ(Soak("ListLoadNextW", 100 * scale_, loadNext), 0);
  listCloseWindow(window);
}

TEST_F(ResourceSoakTest, ThumbnailsOnBothPlatformPaths) {
  ASSERT_TRUE(Hook("kernel32.dll", "GetVersionExA", reinterpret_cast<void*>(&AlternatePlatform)));
  std::string content = ReadFileBytes(SoakDataFile(L"Showcase.java"));
  std::wstring name = L"C:\\classes\\Showcase.class";
  auto draw = [&]() {
    HBITMAP bitmap = listGetPreviewBitmapW(const_cast<WCHAR*>(name.c_str()), 100, 80, &content[0],
                                           static_cast<int>(content.size()));
    if (bitmap == nullptr) return false;
    BITMAP info;
    bool sized = GetObjectW(bitmap, sizeof info, &info) == sizeof info && info.bmWidth >= 100;
    DeleteObject(bitmap);
    return sized;
  };
  for (int i = 0; i < 4; ++i) draw();

  EXPECT_EQ(Soak("ListGetPreviewBitmapW", 100 * scale_, [&](int) { return draw(); }), 0);
  EXPECT_EQ(content, ReadFileBytes(SoakDataFile(L"Showcase.java")));  // the host's buffer
}

TEST_F(ResourceSoakTest, PrintJobsThroughTheHostsPrintingLayer) {
  // The host's own printing layer: an accepted dialog hands out a memory DC
  // with a white page, and the page calls go to it.
  std::wstring log = inputs() + L"\\host.log";
  ASSERT_TRUE(OpenHostLog(log));
  InstallHostHooks(folder().module());
  SetTestPrinter(794, 1123, 0, 0);
  HWND window = Load();
  ASSERT_NE(window, nullptr);
  SetHookListWindow(window);
  // Whole text, a page range and the selection, in turn.
  const PrintDialogAnswer answers[] = {
      {PrintDialogMode::kAccept, 0, 0, 0},
      {PrintDialogMode::kAccept, PD_PAGENUMS, 2, 2},
      {PrintDialogMode::kAccept, PD_SELECTION, 0, 0},
  };
  SendMessageA(window, EM_SETSEL, 100, 900);
  RECT margins = {100, 100, 100, 100};
  char document[] = "Showcase.class";
  char printer[] = "";
  auto print = [&](int i) {
    SetPrintDialogAnswer(answers[i % 3]);
    int result = listPrint(window, document, printer, 0, &margins);
    PumpMessages();
    return result == LISTPLUGIN_OK;
  };
  for (int i = 0; i < 3; ++i) print(i);

  const int jobs = 10 * scale_;
  EXPECT_EQ(Soak("ListPrint", jobs, print), 0);
  listCloseWindow(window);
  SetPrintDialogAnswer({});
  CloseHostLog();

  // Every job reached the printer: three pages of a whole text end in EndDoc.
  std::string lines = ReadFileBytes(log);
  size_t endDocs = 0;
  for (size_t at = lines.find("hook EndDoc ->"); at != std::string::npos;
       at = lines.find("hook EndDoc ->", at + 1)) {
    ++endDocs;
  }
  EXPECT_EQ(endDocs, static_cast<size_t>(jobs + 3));
  ExpectPluginFolderClean();
}

}  // namespace
