// The import-hook machinery, on the built plugin's own import table.
#include "standins/hooks/import_hooks.h"

#include <gtest/gtest.h>

#include "host/listplug.h"
#include "tests/windows/test_support.h"

namespace {

HWND g_destroyed = nullptr;
BOOL WINAPI RecordDestroyWindow(HWND window) {
  g_destroyed = window;
  return TRUE;
}

class ImportHooksTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window_ = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window_, nullptr);
    g_destroyed = nullptr;
  }
  void TearDown() override {
    if (IsWindow(window_)) DestroyWindow(window_);
  }
  LoadedPlugin plugin_;
  HWND window_ = nullptr;
};

TEST_F(ImportHooksTest, AHookedCallIsRecordedAndTheOriginalComesBackWithTheScope) {
  auto close = plugin_.Export<decltype(&ListCloseWindow)>("ListCloseWindow");
  ASSERT_NE(close, nullptr);
  {
    ScopedImportHook hook(plugin_.module(), "user32.dll", "DestroyWindow",
                          reinterpret_cast<void*>(&RecordDestroyWindow));
    ASSERT_TRUE(hook.installed());
    EXPECT_EQ(hook.original<void*>(), reinterpret_cast<void*>(&DestroyWindow));
    close(window_);
    EXPECT_EQ(g_destroyed, window_);
    EXPECT_TRUE(IsWindow(window_));
  }
  g_destroyed = nullptr;
  close(window_);
  EXPECT_EQ(g_destroyed, nullptr);
  EXPECT_FALSE(IsWindow(window_));
}

TEST_F(ImportHooksTest, AFunctionTheModuleDoesNotImportIsLeftAlone) {
  EXPECT_EQ(HookImport(plugin_.module(), "user32.dll", "NoSuchFunction",
                       reinterpret_cast<void*>(&RecordDestroyWindow)),
            nullptr);
  EXPECT_EQ(HookImport(plugin_.module(), "nosuch.dll", "DestroyWindow",
                       reinterpret_cast<void*>(&RecordDestroyWindow)),
            nullptr);
  EXPECT_EQ(HookImport(nullptr, "user32.dll", "DestroyWindow", nullptr), nullptr);
}

}  // namespace
