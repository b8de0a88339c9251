// The thumbnail exports of the built plugin, with the platform answer and the
// GDI calls taken over through its import table.
#include <gtest/gtest.h>
#include <string.h>

#include <string>
#include <vector>

#include "host/listplug.h"
#include "standins/hooks/import_hooks.h"
#include "tests/windows/test_support.h"

namespace {

// What the hooked calls saw, shared by the hook functions below.
struct GdiRecord {
  DWORD platform = VER_PLATFORM_WIN32_NT;
  int dcs = 0;      // memory DCs alive
  int objects = 0;  // bitmaps and fonts alive
  int screenDcs = 0;
  std::vector<int> fontHeights;
  std::vector<std::string> drawnTexts;
};
GdiRecord g_gdi;

BOOL WINAPI FakeGetVersionExA(OSVERSIONINFOA* info) {
  info->dwMajorVersion = 4;
  info->dwPlatformId = g_gdi.platform;
  return TRUE;
}
HDC WINAPI CountCreateCompatibleDC(HDC dc) {
  ++g_gdi.dcs;
  return CreateCompatibleDC(dc);
}
BOOL WINAPI CountDeleteDC(HDC dc) {
  --g_gdi.dcs;
  return DeleteDC(dc);
}
HBITMAP WINAPI CountCreateCompatibleBitmap(HDC dc, int w, int h) {
  ++g_gdi.objects;
  return CreateCompatibleBitmap(dc, w, h);
}
HFONT WINAPI RecordCreateFontA(int height, int width, int escapement, int orientation, int weight,
                               DWORD italic, DWORD underline, DWORD strike, DWORD charset,
                               DWORD outPrecision, DWORD clipPrecision, DWORD quality, DWORD pitch,
                               LPCSTR face) {
  ++g_gdi.objects;
  g_gdi.fontHeights.push_back(height);
  return CreateFontA(height, width, escapement, orientation, weight, italic, underline, strike,
                     charset, outPrecision, clipPrecision, quality, pitch, face);
}
BOOL WINAPI CountDeleteObject(HGDIOBJ object) {
  --g_gdi.objects;
  return DeleteObject(object);
}
HDC WINAPI CountGetDC(HWND window) {
  ++g_gdi.screenDcs;
  return GetDC(window);
}
int WINAPI CountReleaseDC(HWND window, HDC dc) {
  --g_gdi.screenDcs;
  return ReleaseDC(window, dc);
}
int WINAPI RecordDrawTextA(HDC dc, LPCSTR text, int length, RECT* rect, UINT format) {
  g_gdi.drawnTexts.emplace_back(text, length);
  return DrawTextA(dc, text, length, rect, format);
}

class ThumbnailTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_gdi = GdiRecord();
    ASSERT_NE(plugin_.module(), nullptr);
    preview_ = plugin_.Export<decltype(&ListGetPreviewBitmapW)>("ListGetPreviewBitmapW");
    previewAnsi_ = plugin_.Export<decltype(&ListGetPreviewBitmap)>("ListGetPreviewBitmap");
    ASSERT_NE(preview_, nullptr);
    ASSERT_NE(previewAnsi_, nullptr);
    Hook("kernel32.dll", "GetVersionExA", reinterpret_cast<void*>(&FakeGetVersionExA));
    Hook("gdi32.dll", "CreateCompatibleDC", reinterpret_cast<void*>(&CountCreateCompatibleDC));
    Hook("gdi32.dll", "DeleteDC", reinterpret_cast<void*>(&CountDeleteDC));
    Hook("gdi32.dll", "CreateCompatibleBitmap",
         reinterpret_cast<void*>(&CountCreateCompatibleBitmap));
    Hook("gdi32.dll", "CreateFontA", reinterpret_cast<void*>(&RecordCreateFontA));
    Hook("gdi32.dll", "DeleteObject", reinterpret_cast<void*>(&CountDeleteObject));
    Hook("user32.dll", "GetDC", reinterpret_cast<void*>(&CountGetDC));
    Hook("user32.dll", "ReleaseDC", reinterpret_cast<void*>(&CountReleaseDC));
    Hook("user32.dll", "DrawTextA", reinterpret_cast<void*>(&RecordDrawTextA));
  }

  void Hook(const char* dll, const char* function, void* replacement) {
    hooks_.emplace_back(new ScopedImportHook(plugin_.module(), dll, function, replacement));
    ASSERT_TRUE(hooks_.back()->installed()) << function;
  }

  HBITMAP Preview(const wchar_t* name, int width, int height, const std::string& content) {
    std::vector<char> buffer(content.begin(), content.end());
    return preview_(const_cast<WCHAR*>(name), width, height, buffer.data(),
                    static_cast<int>(buffer.size()));
  }

  static SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP info;
    memset(&info, 0, sizeof info);
    GetObjectA(bitmap, sizeof info, &info);
    return SIZE{info.bmWidth, info.bmHeight};
  }

  LoadedPlugin plugin_;
  std::vector<std::unique_ptr<ScopedImportHook>> hooks_;
  decltype(&ListGetPreviewBitmapW) preview_ = nullptr;
  decltype(&ListGetPreviewBitmap) previewAnsi_ = nullptr;
};

TEST_F(ThumbnailTest, OnlyTheLastComponentsExtensionCounts) {
  const struct {
    const wchar_t* name;
    bool accepted;
  } cases[] = {
      {L"C:\\x\\Foo.class", true},      {L"C:\\x\\Foo.CLASS", true},  {L"\\Foo.Class", true},
      {L"C:\\x\\Foo.class.bak", false}, {L"C:\\x.class\\Foo", false}, {L"Foo.class", false},
      {L"C:\\x\\Foo.classes", false},   {L"C:\\x\\class", false},
  };
  for (const auto& c : cases) {
    HBITMAP bitmap = Preview(c.name, 40, 30, "public class Foo {}");
    EXPECT_EQ(bitmap != nullptr, c.accepted) << c.name;
    if (bitmap != nullptr) DeleteObject(bitmap);
  }
  EXPECT_EQ(preview_(nullptr, 40, 30, const_cast<char*>("x"), 1), nullptr);
  EXPECT_EQ(previewAnsi_(nullptr, 40, 30, const_cast<char*>("x"), 1), nullptr);
  EXPECT_TRUE(g_gdi.drawnTexts.size() == 3u);
}

TEST_F(ThumbnailTest, EmptyOrMissingContentGivesNoBitmapAndAllocatesNothing) {
  char byte = 'x';
  EXPECT_EQ(preview_(const_cast<WCHAR*>(L"C:\\a\\B.class"), 40, 30, &byte, 0), nullptr);
  EXPECT_EQ(preview_(const_cast<WCHAR*>(L"C:\\a\\B.class"), 40, 30, &byte, -1), nullptr);
  EXPECT_EQ(preview_(const_cast<WCHAR*>(L"C:\\a\\B.class"), 40, 30, nullptr, 10), nullptr);
  EXPECT_EQ(g_gdi.dcs, 0);
  EXPECT_EQ(g_gdi.objects, 0);
  EXPECT_TRUE(g_gdi.drawnTexts.empty());
}

TEST_F(ThumbnailTest, DrawsTheNumberedTextUpToTheFirstNul) {
  const struct {
    std::string content;
    const char* drawn;
  } cases[] = {
      {std::string("int x;", 6), "1: int x;"},
      {std::string("a\r\nb\nc", 6), "1: a\r\n2: b\r3: c"},
      {std::string("ab\0cd", 5), "1: ab"},
      {std::string("\0abc", 4), "1: "},
  };
  for (const auto& c : cases) {
    g_gdi.drawnTexts.clear();
    HBITMAP bitmap = Preview(L"C:\\a\\B.class", 40, 30, c.content);
    ASSERT_NE(bitmap, nullptr);
    ASSERT_EQ(g_gdi.drawnTexts.size(), 1u);
    EXPECT_EQ(g_gdi.drawnTexts[0], c.drawn);
    DeleteObject(bitmap);
  }
}

TEST_F(ThumbnailTest, TheHostsBufferIsNeitherReadPastItsLengthNorWritten) {
  // The content ends right at a page the process may not touch.
  SYSTEM_INFO system;
  GetSystemInfo(&system);
  DWORD page = system.dwPageSize;
  char* pages =
      static_cast<char*>(VirtualAlloc(nullptr, 2 * page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
  ASSERT_NE(pages, nullptr);
  DWORD old;
  ASSERT_TRUE(VirtualProtect(pages + page, page, PAGE_NOACCESS, &old));
  const char text[] = "class A {\n}";  // no terminator inside the buffer
  int length = static_cast<int>(strlen(text));
  char* content = pages + page - length;
  memcpy(content, text, length);

  HBITMAP bitmap = preview_(const_cast<WCHAR*>(L"C:\\a\\A.class"), 64, 48, content, length);
  ASSERT_NE(bitmap, nullptr);
  EXPECT_EQ(memcmp(content, text, length), 0);
  ASSERT_EQ(g_gdi.drawnTexts.size(), 1u);
  EXPECT_EQ(g_gdi.drawnTexts[0], "1: class A {\r2: }");
  DeleteObject(bitmap);
  VirtualFree(pages, 0, MEM_RELEASE);
}

TEST_F(ThumbnailTest, SizeAndFontFollowThePlatform) {
  HDC screen = GetDC(nullptr);
  int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);

  const struct {
    DWORD platform;
    int points;
    SIZE size;
  } cases[] = {{VER_PLATFORM_WIN32_NT, 10, {100, 80}}, {VER_PLATFORM_WIN32_WINDOWS, 5, {200, 160}}};
  for (const auto& c : cases) {
    g_gdi.platform = c.platform;
    g_gdi.fontHeights.clear();
    HBITMAP bitmap = Preview(L"C:\\a\\B.class", 100, 80, "class B {}");
    ASSERT_NE(bitmap, nullptr);
    SIZE size = BitmapSize(bitmap);
    EXPECT_EQ(size.cx, c.size.cx) << c.platform;
    EXPECT_EQ(size.cy, c.size.cy) << c.platform;
    ASSERT_EQ(g_gdi.fontHeights.size(), 1u);
    EXPECT_EQ(g_gdi.fontHeights[0], -MulDiv(c.points, dpi, 72));
    if (dpi == 96) {
      EXPECT_EQ(g_gdi.fontHeights[0], c.points == 10 ? -13 : -7);
    }
    DeleteObject(bitmap);
  }
}

TEST_F(ThumbnailTest, TheBitmapIsWhiteWithTextAndSelectedIntoNoDc) {
  HBITMAP bitmap = Preview(L"C:\\a\\B.class", 120, 90, "public class B {\n  int x;\n}\n");
  ASSERT_NE(bitmap, nullptr);
  HDC dc = CreateCompatibleDC(nullptr);
  // A bitmap still selected into another DC cannot be selected here.
  HGDIOBJ previous = SelectObject(dc, bitmap);
  ASSERT_NE(previous, nullptr);
  ASSERT_NE(previous, HGDI_ERROR);
  int white = 0, dark = 0;
  for (int y = 0; y < 90; ++y) {
    for (int x = 0; x < 120; ++x) {
      COLORREF pixel = GetPixel(dc, x, y);
      if (pixel == RGB(255, 255, 255)) ++white;
      if (GetRValue(pixel) < 128) ++dark;
    }
  }
  SelectObject(dc, previous);
  DeleteDC(dc);
  DeleteObject(bitmap);
  EXPECT_GT(white, 120 * 90 / 2);
  EXPECT_GT(dark, 0);
}

TEST_F(ThumbnailTest, AThousandThumbnailsLeaveNoDcFontOrBitmapBehind) {
  for (int i = 0; i < 1000; ++i) {
    g_gdi.platform = (i % 2 == 0) ? VER_PLATFORM_WIN32_NT : VER_PLATFORM_WIN32_WINDOWS;
    HBITMAP bitmap = Preview(L"C:\\a\\B.class", 32, 24, "class B {}\n");
    ASSERT_NE(bitmap, nullptr);
    ASSERT_EQ(g_gdi.objects, 1) << "call " << i;  // only the returned bitmap
    DeleteObject(bitmap);
    g_gdi.objects = 0;
    ASSERT_EQ(g_gdi.dcs, 0) << "call " << i;
    ASSERT_EQ(g_gdi.screenDcs, 0) << "call " << i;
  }
}

TEST_F(ThumbnailTest, TheAnsiFormForwardsTheName) {
  char content[] = "class C {}";
  HBITMAP bitmap = previewAnsi_(const_cast<char*>("C:\\a\\C.class"), 50, 40, content, 10);
  ASSERT_NE(bitmap, nullptr);
  EXPECT_EQ(BitmapSize(bitmap).cx, 50);
  DeleteObject(bitmap);
  EXPECT_EQ(previewAnsi_(const_cast<char*>("C:\\a\\C.txt"), 50, 40, content, 10), nullptr);
}

}  // namespace
