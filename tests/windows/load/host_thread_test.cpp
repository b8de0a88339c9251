// What the host's thread does while a slow run goes on: it never opens the
// class file (the run's thread reads it once, and every view of the class
// comes from those bytes, so a share that goes away costs the views
// nothing), it switches the views while the source is still coming, and the
// source comes even when the run's message to the window is lost.
#include <richedit.h>

#include <string>

#include "decompile/decompile_run.h"
#include "plugin/class_views.h"
#include "plugin/class_window.h"
#include "plugin/kotlin_view.h"
#include "standins/hooks/import_hooks.h"
#include "tests/windows/load/shown_output_fixture.h"

namespace {

// The class file's opens, by the host's thread and by others, and whether the
// share still serves it.
struct ClassOpens {
  std::wstring file;
  DWORD hostThread = 0;
  int byHost = 0;
  int byOthers = 0;
  bool gone = false;
};
ClassOpens g_opens;
decltype(&CreateFileW) g_createFile = nullptr;
HANDLE WINAPI WatchedCreateFile(LPCWSTR path, DWORD access, DWORD share,
                                LPSECURITY_ATTRIBUTES security, DWORD disposition, DWORD flags,
                                HANDLE templateFile) {
  std::wstring name = path;
  if (name.rfind(L"\\\\?\\", 0) == 0) name = name.substr(4);
  if (!g_opens.file.empty() && _wcsicmp(name.c_str(), g_opens.file.c_str()) == 0) {
    ++(GetCurrentThreadId() == g_opens.hostThread ? g_opens.byHost : g_opens.byOthers);
    if (g_opens.gone) {
      SetLastError(ERROR_BAD_NETPATH);
      return INVALID_HANDLE_VALUE;
    }
  }
  return g_createFile(path, access, share, security, disposition, flags, templateFile);
}

// The run's message to its window, lost as a full queue loses it.
int g_lostPosts = 0;
decltype(&PostMessageW) g_postMessage = nullptr;
BOOL WINAPI LosingPostMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == SourceReadyMessage()) {
    ++g_lostPosts;
    SetLastError(ERROR_NOT_ENOUGH_QUOTA);
    return FALSE;
  }
  return g_postMessage(window, message, wParam, lParam);
}

class HostThreadTest : public ShownOutputTest {
 protected:
  void SetUp() override {
    g_createFile = open_.original<decltype(&CreateFileW)>();
    ShownOutputTest::SetUp();
    ASSERT_TRUE(open_.installed());
    SetEnvironmentVariableW(L"DRAVIK_LOAD_WAIT_MS", L"250");
    folder_.SetFakeJadMode("slow");
    WriteFileBytes(folder_.Path(L"fakejad.delay"), "1500");
    g_opens = ClassOpens();
    g_opens.hostThread = GetCurrentThreadId();
  }
  void TearDown() override {
    g_opens = ClassOpens();
    SetEnvironmentVariableW(L"DRAVIK_LOAD_WAIT_MS", L"120000");
    ShownOutputTest::TearDown();
  }

  HWND Load(const wchar_t* name = L"Greeter.class",
            const wchar_t* data = L"sample\\Greeter.class") {
    std::wstring path = folder_.Path(name);
    WriteFileBytes(path, ReadFileBytes(DataFile(data)));
    g_opens.file = path;
    return ListLoadW(lister_, &path[0], 0);
  }
  static std::wstring Text(HWND control) {
    std::wstring text(GetWindowTextLengthW(control) + 1, L'\0');
    text.resize(GetWindowTextW(control, &text[0], static_cast<int>(text.size())));
    return text;
  }
  static void Switch(HWND control, bool bytecode) {
    SendMessageW(control, WM_COMMAND, bytecode ? ShowBytecodeCommand : ShowSourceCommand, 0);
  }
  // Handles messages until the window has taken its run's result.
  static bool PumpUntilTaken(HWND control) {
    for (DWORD start = GetTickCount(); GetTickCount() - start < 30000; Sleep(20)) {
      MSG message;
      while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
      if (ClassWindowOf(control)->pending == nullptr) return true;
    }
    return false;
  }

  ScopedImportHook open_{GetModuleHandleW(nullptr), "kernel32.dll", "CreateFileW",
                         reinterpret_cast<void*>(&WatchedCreateFile)};
};

const wchar_t Coming[] = L"// Decompiling Greeter.class ...";
const wchar_t BytecodeLine[] = L"// Bytecode as javap -c -p lists it";
const wchar_t Outline[] =
    L"public class sample.Greeter {\r\n  private final java.lang.String name;";

TEST_F(HostThreadTest, TheHostNeverOpensTheClassAndItsViewsOutliveTheShare) {
  HWND control = Load();
  ASSERT_NE(control, nullptr);
  // The outline is in place when the host has its thread back.
  EXPECT_NE(Text(control).find(Outline), std::wstring::npos) << ToUtf8(Text(control));
  // From now on the share does not answer.
  g_opens.gone = true;
  Switch(control, true);
  std::wstring text = Text(control);
  EXPECT_NE(text.find(BytecodeLine), std::wstring::npos) << ToUtf8(text);
  EXPECT_NE(text.find(L"public java.lang.String greet(int);"), std::wstring::npos) << ToUtf8(text);
  // The source comes while the bytecode is shown: the bytecode stays.
  ASSERT_TRUE(PumpUntilTaken(control));
  EXPECT_EQ(Text(control), text);
  Switch(control, false);
  EXPECT_EQ(Source(control), L"class Greeter {}\r\n");
  Switch(control, true);
  EXPECT_NE(Text(control).find(L"public java.lang.String greet(int);"), std::wstring::npos);
  EXPECT_EQ(g_opens.byHost, 0);
  EXPECT_EQ(g_opens.byOthers, 1);
  ListCloseWindow(control);
}

TEST_F(HostThreadTest, ASwitchWhileTheRunGoesComesBackToWhatIsComing) {
  HWND control = Load();
  ASSERT_NE(control, nullptr);
  Switch(control, true);
  EXPECT_NE(Text(control).find(BytecodeLine), std::wstring::npos);
  Switch(control, false);
  std::wstring text = Text(control);
  EXPECT_NE(text.find(Coming), std::wstring::npos) << ToUtf8(text);
  EXPECT_NE(text.find(Outline), std::wstring::npos) << ToUtf8(text);
  ASSERT_TRUE(PumpUntilTaken(control));
  EXPECT_EQ(Source(control), L"class Greeter {}\r\n");
  EXPECT_EQ(g_opens.byHost, 0);
  ListCloseWindow(control);
}

TEST_F(HostThreadTest, ASourceWhoseMessageIsLostStillComes) {
  ScopedImportHook post(GetModuleHandleW(nullptr), "user32.dll", "PostMessageW",
                        reinterpret_cast<void*>(&LosingPostMessage));
  ASSERT_TRUE(post.installed());
  g_postMessage = post.original<decltype(&PostMessageW)>();
  g_lostPosts = 0;
  HWND control = Load();
  ASSERT_NE(control, nullptr);
  ASSERT_TRUE(PumpUntilTaken(control));
  EXPECT_EQ(g_lostPosts, 1);
  EXPECT_EQ(Source(control), L"class Greeter {}\r\n");
  ListCloseWindow(control);
}

// The Kotlin view of a class compiled from Kotlin: offered from the bytes the
// run read, its own run's message lost, and still the host never opens it.
TEST_F(HostThreadTest, TheKotlinViewNeitherOpensTheClassNorMissesALostPost) {
  HWND control = Load(L"Pair.class", L"kotlin\\Pair.class");
  ASSERT_NE(control, nullptr);
  ASSERT_TRUE(PumpUntilTaken(control));
  ScopedImportHook post(GetModuleHandleW(nullptr), "user32.dll", "PostMessageW",
                        reinterpret_cast<void*>(&LosingPostMessage));
  ASSERT_TRUE(post.installed());
  g_postMessage = post.original<decltype(&PostMessageW)>();
  g_lostPosts = 0;
  SendMessageW(control, WM_COMMAND, ShowKotlinCommand, 0);
  EXPECT_NE(Text(control).find(L"// Decompiling Pair.class as Kotlin ..."), std::wstring::npos)
      << ToUtf8(Text(control));
  bool came = false;
  for (DWORD start = GetTickCount(); !came && GetTickCount() - start < 30000; Sleep(20)) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    came = Text(control).find(L"// Kotlin, Jad: ") != std::wstring::npos;
  }
  EXPECT_TRUE(came) << ToUtf8(Text(control));
  EXPECT_EQ(g_lostPosts, 1);
  EXPECT_EQ(g_opens.byHost, 0);
  ListCloseWindow(control);
}

}  // namespace
