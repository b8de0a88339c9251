// The small exports, reached through the built plugin as the host reaches them.
#include <gtest/gtest.h>
#include <string.h>

#include "host/listplug.h"
#include "tests/windows/test_support.h"

namespace {

class SimpleExportsTest : public ::testing::Test {
 protected:
  LoadedPlugin plugin;
};

TEST_F(SimpleExportsTest, AllFourteenExportsResolve) {
  ASSERT_NE(plugin.module(), nullptr);
  for (const char* name :
       {"ListLoad", "ListLoadW", "ListLoadNext", "ListLoadNextW", "ListCloseWindow",
        "ListGetDetectString", "ListSetDefaultParams", "ListSendCommand", "ListSearchText",
        "ListSearchDialog", "ListPrint", "ListNotificationReceived", "ListGetPreviewBitmap",
        "ListGetPreviewBitmapW"}) {
    EXPECT_NE(GetProcAddress(plugin.module(), name), nullptr) << name;
  }
}

TEST_F(SimpleExportsTest, DetectStringIsCutToItsBufferAndNothingBeyondIsTouched) {
  auto get = plugin.Export<decltype(&ListGetDetectString)>("ListGetDetectString");
  ASSERT_NE(get, nullptr);
  const char full[] = "force | (ext=\"CLASS\")";
  ASSERT_EQ(strlen(full), 21u);
  const struct {
    int length;
    const char* expected;  // null: nothing written
  } cases[] = {{22, full}, {40, full},   {21, "force | (ext=\"CLASS\""},
               {1, ""},    {0, nullptr}, {-5, nullptr}};
  for (const auto& c : cases) {
    char buffer[8 + 64 + 8];
    memset(buffer, 0x5A, sizeof buffer);
    char* start = buffer + 8;
    get(start, c.length);
    for (int i = 0; i < 8; ++i) EXPECT_EQ(buffer[i], 0x5A) << "before, length " << c.length;
    int written = c.expected ? static_cast<int>(strlen(c.expected)) + 1 : 0;
    if (c.expected) {
      EXPECT_STREQ(start, c.expected) << "length " << c.length;
    }
    for (int i = written; i < 64 + 8; ++i) {
      EXPECT_EQ(start[i], 0x5A) << "byte " << i << " after, length " << c.length;
    }
  }
}

TEST_F(SimpleExportsTest, SearchDialogAlwaysDeclines) {
  auto dialog = plugin.Export<decltype(&ListSearchDialog)>("ListSearchDialog");
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog(nullptr, 0), LISTPLUGIN_ERROR);
  EXPECT_EQ(dialog(nullptr, 1), LISTPLUGIN_ERROR);
}

TEST_F(SimpleExportsTest, CloseWindowDestroysTheListWindow) {
  auto close = plugin.Export<decltype(&ListCloseWindow)>("ListCloseWindow");
  ASSERT_NE(close, nullptr);
  HWND window =
      CreateWindowExA(0, "STATIC", "", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  close(window);
  EXPECT_FALSE(IsWindow(window));
}

}  // namespace
