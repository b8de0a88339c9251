// The entry notification and the module state, through the core library
// linked into this test.
#include "plugin/module_entry.h"

#include <gtest/gtest.h>
#include <string.h>

#include <string>

#include "host/ansi_to_wide.h"
#include "host/listplug.h"
#include "host/module_state.h"
#include "tests/windows/test_support.h"

namespace {

class ModuleEntryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    PluginInstance = nullptr;
    RichEditLibrary = nullptr;
    LastActivityTick = 0;
  }
};

TEST_F(ModuleEntryTest, AttachStoresTheInstanceAndDetachBeforeAnyLoadReleasesNothing) {
  HINSTANCE self = GetModuleHandleW(nullptr);
  HandleEntryNotification(self, DLL_PROCESS_ATTACH);
  EXPECT_EQ(PluginInstance, self);
  EXPECT_EQ(RichEditLibrary, nullptr);
  HandleEntryNotification(self, DLL_PROCESS_DETACH);
  EXPECT_EQ(RichEditLibrary, nullptr);
}

TEST_F(ModuleEntryTest, DetachReleasesALoadedLibrary) {
  // A library this process holds nowhere else (the plugin file, which this
  // test links but never loads): released means unloaded.
  ASSERT_EQ(GetModuleHandleW(kPluginFile), nullptr);
  HMODULE library = LoadLibraryW((ExeDirectory() + kPluginFile).c_str());
  ASSERT_NE(library, nullptr);
  RichEditLibrary = library;
  HandleEntryNotification(GetModuleHandleW(nullptr), DLL_PROCESS_DETACH);
  EXPECT_EQ(RichEditLibrary, nullptr);
  EXPECT_EQ(GetModuleHandleW(kPluginFile), nullptr);
}

TEST_F(ModuleEntryTest, ADetachAtProcessExitReleasesNothing) {
  // The process is ending: the system takes it all back, and the libraries
  // the release would call into may be gone already.
  ASSERT_EQ(GetModuleHandleW(kPluginFile), nullptr);
  HMODULE library = LoadLibraryW((ExeDirectory() + kPluginFile).c_str());
  ASSERT_NE(library, nullptr);
  RichEditLibrary = library;
  HandleEntryNotification(GetModuleHandleW(nullptr), DLL_PROCESS_DETACH, true);
  EXPECT_EQ(RichEditLibrary, library);
  EXPECT_EQ(GetModuleHandleW(kPluginFile), library);
  FreeLibrary(library);
  RichEditLibrary = nullptr;
}

TEST_F(ModuleEntryTest, ThreadNotificationsLeaveTheStateAlone) {
  HINSTANCE self = GetModuleHandleW(nullptr);
  HMODULE marker = reinterpret_cast<HMODULE>(0x1234);
  PluginInstance = self;
  RichEditLibrary = marker;
  LastActivityTick = 777;
  HandleEntryNotification(reinterpret_cast<HINSTANCE>(0x42), DLL_THREAD_ATTACH);
  HandleEntryNotification(reinterpret_cast<HINSTANCE>(0x42), DLL_THREAD_DETACH);
  EXPECT_EQ(PluginInstance, self);
  EXPECT_EQ(RichEditLibrary, marker);
  EXPECT_EQ(LastActivityTick, 777u);
  RichEditLibrary = nullptr;
}

TEST(AnsiToWideTest, NullStaysNull) {
  WCHAR buffer[AnsiToWideChars];
  EXPECT_EQ(AnsiToWide(nullptr, buffer), nullptr);
}

TEST(AnsiToWideTest, ConvertsAShortName) {
  WCHAR buffer[AnsiToWideChars];
  EXPECT_STREQ(AnsiToWide("C:\\a\\Foo.class", buffer), L"C:\\a\\Foo.class");
}

TEST(AnsiToWideTest, ALongNameIsTerminatedAtIndex1023AndNothingBeyond) {
  // A guard region behind the 1024-character buffer must stay untouched.
  WCHAR buffer[AnsiToWideChars + 16];
  for (WCHAR& c : buffer) c = 0xBEEF;
  std::string name(1500, 'x');
  WCHAR* wide = AnsiToWide(name.c_str(), buffer);
  ASSERT_EQ(wide, buffer);
  EXPECT_EQ(buffer[1023], L'\0');
  for (int i = AnsiToWideChars; i < AnsiToWideChars + 16; ++i) EXPECT_EQ(buffer[i], 0xBEEF);

  std::string exact(1023, 'y');  // 1023 characters need 1024 slots with the terminator.
  AnsiToWide(exact.c_str(), buffer);
  EXPECT_EQ(buffer[1023], L'\0');
  for (int i = AnsiToWideChars; i < AnsiToWideChars + 16; ++i) EXPECT_EQ(buffer[i], 0xBEEF);
}

TEST(DefaultParamsTest, NamesAreStoredWholeOrCutTo259AndReplaced) {
  // A record whose name field runs on past its 260 bytes, as a faulty host's might.
  struct {
    ListDefaultParamStruct record;
    char overflow[64];
  } params;
  memset(&params, 0, sizeof params);
  params.record.size = sizeof(ListDefaultParamStruct);
  params.record.PluginInterfaceVersionHi = 2;

  std::string name259 = "C:\\" + std::string(256, 'a');
  memcpy(params.record.DefaultIniName, name259.c_str(), 260);
  ListSetDefaultParams(&params.record);
  EXPECT_EQ(std::string(DefaultIniName), name259);

  std::string name300(300, 'b');
  memcpy(params.record.DefaultIniName, name300.data(), 300);
  ListSetDefaultParams(&params.record);
  EXPECT_EQ(std::string(DefaultIniName), std::string(259, 'b'));
  EXPECT_EQ(DefaultIniName[259], '\0');

  memcpy(params.record.DefaultIniName, "C:\\tc\\wincmd.ini", 17);
  ListSetDefaultParams(&params.record);
  EXPECT_STREQ(DefaultIniName, "C:\\tc\\wincmd.ini");

  ListSetDefaultParams(nullptr);  // ignored
  EXPECT_STREQ(DefaultIniName, "C:\\tc\\wincmd.ini");
}

}  // namespace
