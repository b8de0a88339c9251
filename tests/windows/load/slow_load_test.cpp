// A load that its run outlasts: the host's thread gets the window back at once,
// showing what is coming, and the source replaces it when it comes; a close or
// the next file gives the run up (its Jad ended, its run folder removed); a
// plugin unloaded meanwhile keeps its code until the run is over.
#include <richedit.h>

#include "decompile/decompile_run.h"
#include "plugin/class_views.h"
#include "tests/windows/load/shown_output_fixture.h"

namespace {

class SlowLoadTest : public ShownOutputTest {
 protected:
  void SetUp() override {
    ShownOutputTest::SetUp();
    SetEnvironmentVariableW(L"DRAVIK_LOAD_WAIT_MS", L"250");
    folder_.SetFakeJadMode("slow");
    WriteFileBytes(folder_.Path(L"fakejad.delay"), "1500");
  }
  void TearDown() override {
    SetEnvironmentVariableW(L"DRAVIK_LOAD_WAIT_MS", L"120000");
    DecompileWaitLimitMs = 60 * 1000;
    ShownOutputTest::TearDown();
  }

  // ListLoadW (the plugin's code linked in, working in the plugin folder) on
  // a copy of Greeter.class under name.
  HWND Load(const std::wstring& name = L"Greeter.class") {
    std::wstring path = folder_.Path(name);
    WriteFileBytes(path, ReadFileBytes(DataFile(L"sample\\Greeter.class")));
    return ListLoadW(lister_, &path[0], 0);
  }

  static std::wstring Text(HWND control) {
    std::wstring text(GetWindowTextLengthW(control) + 1, L'\0');
    text.resize(GetWindowTextW(control, &text[0], static_cast<int>(text.size())));
    return text;
  }

  // Handles messages until pass says yes, at most limitMs; its last answer.
  template <typename Pass>
  static bool PumpUntil(Pass pass, DWORD limitMs = 30000) {
    for (DWORD start = GetTickCount(); GetTickCount() - start < limitMs; Sleep(20)) {
      MSG message;
      while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
      if (pass()) return true;
    }
    return pass();
  }

  // The fake Jads still running from the plugin folder.
  size_t RunningJads() {
    const std::wstring folder = folder_.directory();
    return ProcessesWith({ToUtf8(folder.substr(folder.find_last_of(L'\\') + 1)) + "\\jad", "-lnc"})
        .size();
  }
  // Everything of the runs is gone: no Jad runs, no run folder stays.
  bool RunsGone() {
    for (const std::wstring& name : folder_.ExtraFiles()) {
      if (name.rfind(L"dravik-run-", 0) == 0) return false;
    }
    return RunningJads() == 0;
  }
};

const wchar_t Banner[] = L"// dravik - Java class viewer\r\n";
const wchar_t Coming[] = L"// Decompiling Greeter.class ...";

TEST_F(SlowLoadTest, TheWindowComesAtOnceWithWhatIsComingAndTheSourceWhenItComes) {
  HWND control = Load();
  ASSERT_NE(control, nullptr);
  EXPECT_TRUE(GetWindowLongW(control, GWL_STYLE) & WS_VISIBLE);
  std::wstring text = Text(control);
  EXPECT_EQ(text.rfind(Banner, 0), 0u) << ToUtf8(text);
  EXPECT_NE(text.find(Coming), std::wstring::npos) << ToUtf8(text);
  // The class's outline meanwhile, from its class file.
  EXPECT_NE(text.find(L"public class sample.Greeter {\r\n  private final java.lang.String name;"),
            std::wstring::npos)
      << ToUtf8(text);
  // A search answers from what is shown, without waiting.
  EXPECT_EQ(Search(control, L"class Greeter", lcs_findfirst), LISTPLUGIN_ERROR);

  ASSERT_TRUE(
      PumpUntil([&] { return Text(control).find(L"class Greeter {}") != std::wstring::npos; }));
  text = Text(control);
  EXPECT_EQ(text.rfind(Banner, 0), 0u);
  // The timing line tells the run's real time, which the fake made 1.5 s.
  unsigned jad = 0, highlight = 0;
  EXPECT_EQ(
      swscanf(text.c_str() + wcslen(Banner), L"// Jad: %ums | Highlighted: %ums", &jad, &highlight),
      2)
      << ToUtf8(text);
  EXPECT_GE(jad, 1500u);
  EXPECT_EQ(Source(control), L"class Greeter {}\r\n");
  EXPECT_EQ(Search(control, L"class Greeter", lcs_findfirst), LISTPLUGIN_OK);
  ListCloseWindow(control);
  EXPECT_TRUE(PumpUntil([&] { return RunsGone(); }));
}

TEST_F(SlowLoadTest, ACloseOrTheNextFileGivesTheRunUpAndLeavesNothing) {
  folder_.SetFakeJadMode("hang");
  HWND control = Load();
  ASSERT_NE(control, nullptr);
  // Its Jad may take a moment to show among the processes.
  ASSERT_TRUE(PumpUntil([&] { return RunningJads() == 1u; }));
  ListCloseWindow(control);
  EXPECT_TRUE(PumpUntil([&] { return RunsGone(); })) << folder_.ExtraFiles().size();

  control = Load();
  const std::wstring notes = folder_.Path(L"notes.txt");
  WriteFileBytes(notes, "first\r\nsecond\r\n");
  std::wstring name = notes;
  ASSERT_EQ(ListLoadNextW(lister_, control, &name[0], 0), LISTPLUGIN_OK);
  const std::wstring numbered = Text(control);
  EXPECT_NE(numbered.find(L"second"), std::wstring::npos);
  EXPECT_TRUE(PumpUntil([&] { return RunningJads() == 0; }));
  PumpUntil([] { return false; }, 500);
  EXPECT_EQ(Text(control), numbered);
  ListCloseWindow(control);
  DeleteFileW(notes.c_str());
  EXPECT_TRUE(PumpUntil([&] { return RunsGone(); }));
}

TEST_F(SlowLoadTest, AJadPastTheTimeLimitIsEndedAndTheWindowSaysSo) {
  folder_.SetFakeJadMode("hang");
  DecompileWaitLimitMs = 1500;
  HWND control = Load();
  ASSERT_NE(control, nullptr);
  ASSERT_TRUE(PumpUntil([&] { return Text(control).find(L"/*") != std::wstring::npos; }));
  EXPECT_NE(Text(control).find(L"Jad was still running after 1 seconds and was ended"),
            std::wstring::npos)
      << ToUtf8(Text(control));
  ListCloseWindow(control);
  EXPECT_TRUE(PumpUntil([&] { return RunsGone(); }));
}

// Quick View: the cursor steps over ten class files, each loaded as the last
// closes; only the last one's run is decompiled to its end.
TEST_F(SlowLoadTest, TenQuickStepsDecompileOnlyTheLastFile) {
  HWND control = nullptr;
  for (int i = 0; i < 10; ++i) {
    if (control != nullptr) ListCloseWindow(control);
    control = Load(L"Greeter" + std::to_wstring(i) + L".class");
    ASSERT_NE(control, nullptr);
    EXPECT_NE(Text(control).find(L"// Decompiling Greeter" + std::to_wstring(i)),
              std::wstring::npos);
  }
  ASSERT_TRUE(
      PumpUntil([&] { return Text(control).find(L"class Greeter {}") != std::wstring::npos; }));
  ListCloseWindow(control);
  ASSERT_TRUE(PumpUntil([&] { return RunningJads() == 0; }));
  const std::string log = folder_.FakeJadLog();
  size_t done = 0;
  for (size_t at = log.find("done "); at != std::string::npos; at = log.find("done ", at + 1)) {
    ++done;
  }
  EXPECT_EQ(done, 1u) << log;
  EXPECT_NE(log.find("done Greeter9"), std::string::npos) << log;
  for (int i = 0; i < 10; ++i)
    DeleteFileW(folder_.Path(L"Greeter" + std::to_wstring(i) + L".class").c_str());
  EXPECT_TRUE(PumpUntil([&] { return RunsGone(); }));
}

// The host closes the window and unloads the plugin while the run goes on: the
// run's thread keeps the module until it has ended the run, then lets it go.
TEST_F(SlowLoadTest, APluginUnloadedWhileARunGoesKeepsItsCodeUntilTheRunIsOver) {
  folder_.SetFakeJadMode("hang");
  std::wstring path = folder_.Path(L"Greeter.class");
  WriteFileBytes(path, ReadFileBytes(DataFile(L"sample\\Greeter.class")));
  HWND control = Export<decltype(&ListLoadW)>("ListLoadW")(lister_, &path[0], 0);
  ASSERT_NE(control, nullptr);
  Export<decltype(&ListCloseWindow)>("ListCloseWindow")(control);
  const std::wstring module = folder_.Path(kPluginFile);
  ASSERT_TRUE(FreeLibrary(folder_.module()));
  EXPECT_NE(GetModuleHandleW(module.c_str()), nullptr);
  EXPECT_TRUE(PumpUntil([&] { return GetModuleHandleW(module.c_str()) == nullptr; }));
  EXPECT_TRUE(PumpUntil([&] { return RunsGone(); }));
  // The fixture lets the module go once more at its end.
  LoadLibraryW(module.c_str());
}

// The host's procedure on top of ours, as the Lister's is: it takes a key
// of its own and passes everything else on.
WNDPROC g_pluginProcedure = nullptr;
LRESULT CALLBACK HostOnTop(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_KEYDOWN && wParam == 'N') return 0;
  return CallWindowProcW(g_pluginProcedure, window, message, wParam, lParam);
}

// The host subclasses the window after the plugin did and lets the plugin go
// with the window still open: the plugin stays loaded under it, the window
// works on (its source comes, its views switch), and the plugin goes once the
// window is gone and the host has called it again.
TEST_F(SlowLoadTest, AWindowSubclassedAfterOursKeepsThePluginLoadedUntilItIsGone) {
  std::wstring path = folder_.Path(L"Greeter.class");
  WriteFileBytes(path, ReadFileBytes(DataFile(L"sample\\Greeter.class")));
  const std::wstring module = folder_.Path(kPluginFile);
  HWND control = Export<decltype(&ListLoadW)>("ListLoadW")(lister_, &path[0], 0);
  ASSERT_NE(control, nullptr);
  g_pluginProcedure = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&HostOnTop)));
  ASSERT_TRUE(FreeLibrary(folder_.module()));
  EXPECT_NE(GetModuleHandleW(module.c_str()), nullptr);
  ASSERT_TRUE(
      PumpUntil([&] { return Text(control).find(L"class Greeter {}") != std::wstring::npos; }));
  SendMessageW(control, WM_COMMAND, ShowBytecodeCommand, 0);
  EXPECT_NE(Text(control).find(L"// Bytecode as javap -c -p lists it"), std::wstring::npos);
  EXPECT_TRUE(PumpUntil([&] { return RunsGone(); }));
  EXPECT_NE(GetModuleHandleW(module.c_str()), nullptr);

  // The host destroys it itself: the plugin stays until the host calls it.
  DestroyWindow(control);
  EXPECT_NE(GetModuleHandleW(module.c_str()), nullptr);
  HMODULE again = LoadLibraryW(module.c_str());
  ASSERT_NE(again, nullptr);
  reinterpret_cast<decltype(&ListCloseWindow)>(
      reinterpret_cast<void*>(GetProcAddress(again, "ListCloseWindow")))(nullptr);
  FreeLibrary(again);
  EXPECT_EQ(GetModuleHandleW(module.c_str()), nullptr);
  // The fixture lets the module go once more at its end.
  LoadLibraryW(module.c_str());
}

}  // namespace
