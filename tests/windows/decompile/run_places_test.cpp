// Where a run goes and what it sweeps, with the run linked into the test and
// the fake Jad beside a temporary plugin folder: run folders are told apart by
// the marker a live run holds, never by their times, so no clock of the
// machine or of a share can make a run remove its own folder or another live
// one; a plugin folder where no folder can be made sends the run to a folder
// of the user's, and nothing is left there after.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <memory>
#include <string>

#include "decompile/decompile_run.h"
#include "decompile/long_path.h"
#include "decompile/run_folder.h"
#include "host/module_state.h"
#include "standins/hooks/import_hooks.h"
#include "tests/windows/decompile/plugin_folder.h"
#include "tests/windows/lister/lister_run.h"
#include "tests/windows/refused_folder.h"
#include "tests/windows/test_support.h"

namespace {

// The machine's clock against the share's: shifted by this many minutes.
LONGLONG g_clockShiftMinutes = 0;
decltype(&GetSystemTimeAsFileTime) g_systemTime = nullptr;
void WINAPI ShiftedSystemTime(LPFILETIME time) {
  g_systemTime(time);
  ULARGE_INTEGER value = {{time->dwLowDateTime, time->dwHighDateTime}};
  value.QuadPart += g_clockShiftMinutes * 60 * 10000000LL;
  time->dwLowDateTime = value.LowPart;
  time->dwHighDateTime = value.HighPart;
}

// Each run ten minutes after the last, as far as the plugin's ticks go.
DWORD g_tick = 1000;
DWORD WINAPI SteppedTickCount() { return g_tick; }

struct FreeText {
  void operator()(char* text) const { free(text); }
};
using Text = std::unique_ptr<char, FreeText>;

class RunPlacesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder_.loaded());
    ASSERT_TRUE(tick_.installed() && refused_.installed());
    g_systemTime = clock_.original<decltype(&GetSystemTimeAsFileTime)>();
    g_clockShiftMinutes = 0;
    strcpy(savedIni_, DefaultIniName);
    folder_.InstallFakeJad("write");
  }
  void TearDown() override { strcpy(DefaultIniName, savedIni_); }

  Text Run() {
    g_tick += 10 * 60 * 1000;
    run_ = DecompileRun();
    return Text(DecompileClassFile(DataFile(L"sample\\Greeter.class").c_str(), &run_));
  }
  // The fake's record of where its last start ran.
  std::string LastRunFolder() const {
    std::string log = folder_.FakeJadLog();
    log.erase(log.size() - 1);
    return log.substr(log.find_last_of('\n') + 1);
  }

  PluginFolder folder_;
  DecompileRun run_;
  char savedIni_[MAX_PATH];
  HMODULE self_ = GetModuleHandleW(nullptr);
  ScopedImportHook clock_{self_, "kernel32.dll", "GetSystemTimeAsFileTime",
                          reinterpret_cast<void*>(&ShiftedSystemTime)};
  ScopedImportHook tick_{self_, "kernel32.dll", "GetTickCount",
                         reinterpret_cast<void*>(&SteppedTickCount)};
  RefusedFolder refused_{self_};
};

// Another run's folder, live while the returned handle holds its marker.
HANDLE LiveRunFolder(const std::wstring& folder) {
  EXPECT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
  WriteFileBytes(folder + L"\\Other.class", "theirs");
  return CreateFileW((folder + L"\\" + RunFolderMarker).c_str(), GENERIC_WRITE, 0, nullptr,
                     CREATE_NEW, FILE_FLAG_DELETE_ON_CLOSE, nullptr);
}

TEST_F(RunPlacesTest, ARunFolderIsSweptByItsMarkerWhateverTheClocksSay) {
  // Ten minutes behind: every folder, this run's own too, looks older than a
  // run could live; set forward: every folder looks made in the future.
  for (LONGLONG shift : {10LL, -10LL}) {
    g_clockShiftMinutes = shift;
    const std::wstring live = folder_.Path(L"dravik-run-live");
    HANDLE marker = LiveRunFolder(live);
    ASSERT_NE(marker, INVALID_HANDLE_VALUE);
    // Left: by a run whose host ended (its marker let go), and by one of a
    // plugin that made no marker.
    const std::wstring left = folder_.Path(L"dravik-run-left");
    const std::wstring older = folder_.Path(L"dravik-run-older");
    for (const std::wstring& folder : {left, older}) {
      ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
      WriteFileBytes(folder + L"\\Left.class", "left");
    }
    WriteFileBytes(left + L"\\" + RunFolderMarker, "");

    Text text = Run();
    ASSERT_NE(text, nullptr) << shift;
    EXPECT_STREQ(text.get(), "class Greeter {}\r\n") << shift;
    EXPECT_EQ(ReadFileBytes(live + L"\\Other.class"), "theirs") << shift;
    EXPECT_EQ(folder_.ExtraFiles(), std::set<std::wstring>{L"dravik-run-live"}) << shift;
    CloseHandle(marker);
    RemoveTree(live);
  }
}

decltype(&DeleteFileW) g_deleteFile = nullptr;
int g_stuckDeletes = 0;
BOOL WINAPI KeepStuckFile(LPCWSTR path) {
  if (std::wstring(path).find(L"Stuck.class") != std::wstring::npos) {
    ++g_stuckDeletes;
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  return g_deleteFile(path);
}

TEST_F(RunPlacesTest, AFolderThatCannotBeRemovedIsTriedOnceNotByEveryRun) {
  ScopedImportHook remove(self_, "kernel32.dll", "DeleteFileW",
                          reinterpret_cast<void*>(&KeepStuckFile));
  ASSERT_TRUE(remove.installed());
  g_deleteFile = remove.original<decltype(&DeleteFileW)>();
  g_stuckDeletes = 0;
  const std::wstring stuck = folder_.Path(L"dravik-run-stuck");
  ASSERT_TRUE(CreateDirectoryW(stuck.c_str(), nullptr));
  WriteFileBytes(stuck + L"\\Stuck.class", "held");

  ASSERT_NE(Run(), nullptr);
  EXPECT_EQ(g_stuckDeletes, 1);
  // The next runs, a minute apart: the place was swept lately.
  for (int i = 0; i < 3; ++i) {
    g_tick -= 9 * 60 * 1000;
    ASSERT_NE(Run(), nullptr);
  }
  EXPECT_EQ(g_stuckDeletes, 1);
  // Ten minutes on, it is tried again, once.
  ASSERT_NE(Run(), nullptr);
  EXPECT_EQ(g_stuckDeletes, 2);
  EXPECT_EQ(folder_.ExtraFiles(), std::set<std::wstring>{L"dravik-run-stuck"});
  g_deleteFile((stuck + L"\\Stuck.class").c_str());
  RemoveDirectoryW(stuck.c_str());
}

TEST_F(RunPlacesTest, APluginFolderWhereNothingCanBeMadeSendsTheRunToAFolderOfTheUsers) {
  refused_.Refuse(folder_.directory());
  const std::wstring user = ScratchFolder(L"run_places_user");
  strcpy(DefaultIniName, (ToUtf8(user) + "lsplugin.ini").c_str());

  // Beside the host's settings file, in a folder for this plugin folder; Jad
  // still started from the plugin's folder.
  Text text = Run();
  ASSERT_NE(text, nullptr);
  EXPECT_STREQ(text.get(), "class Greeter {}\r\n");
  ASSERT_EQ(run_.places.size(), 2u);
  EXPECT_EQ(run_.places[0], folder_.directory());
  const std::wstring place = run_.places[1];
  EXPECT_EQ(place.rfind(user + L"dravik-runs-", 0), 0u) << ToUtf8(place);
  EXPECT_EQ(LastRunFolder(), ToUtf8(place) + "\\dravik-run-" + ToUtf8(run_.stamp));
  EXPECT_NE(folder_.FakeJadLog().find("\"" + ToUtf8(folder_.directory()) + "\\jad\" -lnc"),
            std::string::npos);
  // Nothing is left, neither there nor in the plugin's folder.
  EXPECT_FALSE(FileExists(place));
  EXPECT_TRUE(folder_.ExtraFiles().empty());

  // Another plugin folder has a place of its own; the same one, the same.
  Text again = Run();
  EXPECT_EQ(run_.places.back(), place);

  // Without a folder for the settings file: the temporary folder.
  strcpy(DefaultIniName, "lsplugin.ini");
  ASSERT_NE(Run(), nullptr);
  WCHAR temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  ASSERT_EQ(run_.places.size(), 2u);
  EXPECT_EQ(run_.places[1].rfind(std::wstring(temp) + L"dravik-runs-", 0), 0u);
  EXPECT_FALSE(FileExists(run_.places[1]));

  // Nowhere at all: no run, and the places it asked.
  std::wstring tempFolder = temp;
  tempFolder.pop_back();
  refused_.Refuse(tempFolder);
  EXPECT_EQ(Run(), nullptr);
  EXPECT_EQ(run_.end, DecompileEnd::NoRunFolder);
  EXPECT_EQ(run_.places.size(), 2u);
}

}  // namespace
