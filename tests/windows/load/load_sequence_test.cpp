// ListLoadW end to end: a copy of the built plugin in a folder of its own with
// the fake Jad beside it, its clock, messages and window calls taken over
// through its import table.
#include <gtest/gtest.h>
#include <richedit.h>

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "host/listplug.h"
#include "standins/hooks/import_hooks.h"
#include "tests/windows/decompile/plugin_folder.h"
#include "tests/windows/test_support.h"

namespace {

struct Posted {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  bool controlVisible;
};

// What the hooked calls saw and what they are to answer.
struct Platform {
  std::deque<DWORD> ticks;  // scripted readings; then the last one again
  DWORD lastTick = 5000;
  std::vector<Posted> posted;
  int processesStarted = 0;
  int errorModeCalls = 0;
  std::vector<std::string> librariesLoaded;
  bool librariesFail = false;
  std::vector<std::string> classesTried;
  bool windowsFail = false;
  std::string textWhenShown;
};
Platform g_platform;

DWORD WINAPI ScriptedTickCount() {
  if (!g_platform.ticks.empty()) {
    g_platform.lastTick = g_platform.ticks.front();
    g_platform.ticks.pop_front();
  }
  return g_platform.lastTick;
}
BOOL WINAPI RecordPostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  HWND control = reinterpret_cast<HWND>(lParam);
  bool visible = IsWindow(control) && (GetWindowLongA(control, GWL_STYLE) & WS_VISIBLE) != 0;
  g_platform.posted.push_back({message, wParam, lParam, visible});
  return PostMessageA(window, message, wParam, lParam);
}
BOOL WINAPI CountCreateProcessW(LPCWSTR application, LPWSTR command, LPSECURITY_ATTRIBUTES pa,
                                LPSECURITY_ATTRIBUTES ta, BOOL inherit, DWORD flags, LPVOID env,
                                LPCWSTR directory, LPSTARTUPINFOW startup,
                                LPPROCESS_INFORMATION info) {
  ++g_platform.processesStarted;
  return CreateProcessW(application, command, pa, ta, inherit, flags, env, directory, startup,
                        info);
}
UINT WINAPI CountSetErrorMode(UINT mode) {
  ++g_platform.errorModeCalls;
  return SetErrorMode(mode);
}
HMODULE WINAPI RecordLoadLibraryA(LPCSTR name) {
  g_platform.librariesLoaded.push_back(name);
  if (g_platform.librariesFail) return nullptr;
  return LoadLibraryA(name);
}
HWND WINAPI RecordCreateWindowExW(DWORD exStyle, LPCWSTR windowClass, LPCWSTR title, DWORD style,
                                  int x, int y, int width, int height, HWND parent, HMENU menu,
                                  HINSTANCE instance, LPVOID param) {
  g_platform.classesTried.push_back(ToUtf8(windowClass));
  if (g_platform.windowsFail) return nullptr;
  return CreateWindowExW(exStyle, windowClass, title, style, x, y, width, height, parent, menu,
                         instance, param);
}
BOOL WINAPI RecordShowWindow(HWND window, int command) {
  char text[256] = "";
  GetWindowTextA(window, text, sizeof text);
  g_platform.textWhenShown = text;
  return ShowWindow(window, command);
}

const char kBanner[] = "// dravik - Java class viewer";

class LoadSequenceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_platform = Platform();
    ASSERT_TRUE(folder_.loaded());
    folder_.InstallFakeJad("source");
    listLoadW_ = reinterpret_cast<decltype(&ListLoadW)>(
        reinterpret_cast<void*>(GetProcAddress(folder_.module(), "ListLoadW")));
    listLoad_ = reinterpret_cast<decltype(&ListLoad)>(
        reinterpret_cast<void*>(GetProcAddress(folder_.module(), "ListLoad")));
    ASSERT_NE(listLoadW_, nullptr);
    Hook("kernel32.dll", "GetTickCount", reinterpret_cast<void*>(&ScriptedTickCount));
    Hook("user32.dll", "PostMessageA", reinterpret_cast<void*>(&RecordPostMessageA));
    Hook("kernel32.dll", "CreateProcessW", reinterpret_cast<void*>(&CountCreateProcessW));
    Hook("kernel32.dll", "SetErrorMode", reinterpret_cast<void*>(&CountSetErrorMode));
    Hook("kernel32.dll", "LoadLibraryA", reinterpret_cast<void*>(&RecordLoadLibraryA));
    Hook("user32.dll", "CreateWindowExW", reinterpret_cast<void*>(&RecordCreateWindowExW));
    Hook("user32.dll", "ShowWindow", reinterpret_cast<void*>(&RecordShowWindow));

    lister_ = CreateWindowExA(0, "STATIC", "Lister", WS_OVERLAPPEDWINDOW, 0, 0, 640, 480, nullptr,
                              nullptr, nullptr, nullptr);
    ASSERT_NE(lister_, nullptr);
    classFile_ = folder_.Path(L"Demo.class");
    WriteFileBytes(classFile_, ReadFileBytes(DataFile(L"sample\\Greeter.class")));
  }

  void TearDown() override { DestroyWindow(lister_); }

  void Hook(const char* dll, const char* function, void* replacement) {
    hooks_.emplace_back(new ScopedImportHook(folder_.module(), dll, function, replacement));
    ASSERT_TRUE(hooks_.back()->installed()) << function;
  }

  HWND Load() { return listLoadW_(lister_, const_cast<WCHAR*>(classFile_.c_str()), 0); }

  static std::string Text(HWND control) {
    std::string text(GetWindowTextLengthA(control) + 1, '\0');
    text.resize(GetWindowTextA(control, &text[0], static_cast<int>(text.size())));
    return text;
  }

  PluginFolder folder_;
  std::vector<std::unique_ptr<ScopedImportHook>> hooks_;
  decltype(&ListLoadW) listLoadW_ = nullptr;
  decltype(&ListLoad) listLoad_ = nullptr;
  HWND lister_ = nullptr;
  std::wstring classFile_;
};

TEST_F(LoadSequenceTest, ShowsBannerTimingAndSourceColouredAndHiddenUntilComplete) {
  WriteFileBytes(folder_.Path(L"fakejad.source"),
                 "public class A {\r\n  // note\r\n  String s = \"hi\";\r\n}\r\n");
  // Readings: stamp, decompile start, the run's own stamp, its sweep of left
  // run folders, decompile end, highlight start, highlight end, final stamp.
  g_platform.ticks = {1000, 1000, 1000, 1000, 1250, 1300, 1307, 1400};
  HWND control = Load();
  ASSERT_NE(control, nullptr);
  EXPECT_EQ(GetParent(control), lister_);
  EXPECT_TRUE(GetWindowLongA(control, GWL_STYLE) & WS_VISIBLE);
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(control, GWL_STYLE)) & ~WS_VISIBLE, 0x40300904u);

  std::string timing = "// Jad: 250ms | Highlighted: 7ms";
  std::string header = std::string(kBanner) + "\r\n" + timing + "\r\n";
  EXPECT_EQ(Text(control),
            header + "public class A {\r\n  // note\r\n  String s = \"hi\";\r\n}\r\n");
  // Shown once, complete.
  EXPECT_EQ(g_platform.textWhenShown.substr(0, strlen(kBanner)), kBanner);

  // Positions count a break once.
  int bannerAt = 0, timingAt = 30, sourceAt = timingAt + static_cast<int>(timing.size()) + 1;
  const struct {
    int position;
    COLORREF color;
    bool bold;
  } expected[] = {
      {bannerAt, RGB(255, 128, 128), true},     {timingAt, RGB(63, 127, 95), false},
      {sourceAt, RGB(127, 0, 85), true},         // public
      {sourceAt + 7, RGB(127, 0, 85), true},     // class
      {sourceAt + 19, RGB(63, 127, 95), false},  // the line comment
      {sourceAt + 40, RGB(0, 0, 192), false},    // the string literal
  };
  for (const auto& e : expected) {
    CHARFORMAT2A format = ReadCharFormatAt(control, e.position);
    EXPECT_EQ(format.crTextColor, e.color) << "at " << e.position;
    EXPECT_EQ((format.dwEffects & CFE_BOLD) != 0, e.bold) << "at " << e.position;
    EXPECT_STREQ(format.szFaceName, "Courier New") << "at " << e.position;
  }
  CHARFORMAT2A name = ReadCharFormatAt(control, sourceAt + 13);  // the class name A
  EXPECT_EQ(name.dwEffects & CFE_BOLD, 0u);

  // The font style first, then 0 percent; neither while the control was visible.
  ASSERT_EQ(g_platform.posted.size(), 2u);
  EXPECT_EQ(g_platform.posted[0].message, static_cast<UINT>(WM_COMMAND));
  EXPECT_EQ(g_platform.posted[0].wParam, static_cast<WPARAM>(0xFFFFFFFFFFFD0004ull));
  EXPECT_EQ(g_platform.posted[1].wParam, static_cast<WPARAM>(0xFFFFFFFFFFFE0000ull));
  for (const Posted& p : g_platform.posted) {
    EXPECT_EQ(p.lParam, reinterpret_cast<LPARAM>(control));
    EXPECT_FALSE(p.controlVisible);
  }
  EXPECT_TRUE(folder_.ExtraFiles().count(L"Demo.class"));
  EXPECT_EQ(folder_.ExtraFiles().size(), 1u);  // no temporary copy or output left
}

TEST_F(LoadSequenceTest, ATickCounterThatWrapsStillGivesTheTrueDecompileTime) {
  g_platform.ticks = {0xFFFFFE00, 0xFFFFFF00, 0xFFFFFF80, 0xFFFFFF80,
                      0x00000100, 0x200,      0x200,      0x300};
  HWND control = Load();
  ASSERT_NE(control, nullptr);
  std::string text = Text(control);
  EXPECT_NE(text.find("// Jad: 512ms | Highlighted: 0ms\r\n"), std::string::npos) << text;
}

TEST_F(LoadSequenceTest, AnEmptyDecompilerOutputShowsTheTwoHeaderLinesOnly) {
  folder_.SetFakeJadMode("empty");
  g_platform.ticks = {10, 10, 10, 10, 10, 10, 10};
  HWND control = Load();
  ASSERT_NE(control, nullptr);
  EXPECT_EQ(Text(control), std::string(kBanner) + "\r\n// Jad: 0ms | Highlighted: 0ms\r\n");
}

// Without Jad's output the class shows as its bytecode, under a comment that
// says why; a file that is no class file either gives no window.
TEST_F(LoadSequenceTest, NoDecompilerOutputShowsTheBytecodeAndNoClassFileNoWindow) {
  folder_.SetFakeJadMode("nothing");
  HWND control = Load();
  ASSERT_NE(control, nullptr);
  EXPECT_NE(Text(control).find(" * Jad ended without writing any source for this class.\r\n */"
                               "\r\n\r\nCompiled from \"Greeter.java\""),
            std::string::npos)
      << Text(control);
  DestroyWindow(control);
  g_platform.posted.clear();

  WriteFileBytes(classFile_, "no class file");
  EXPECT_EQ(Load(), nullptr);
  EXPECT_EQ(GetWindow(lister_, GW_CHILD), nullptr);
  ASSERT_EQ(g_platform.posted.size(), 1u);
  EXPECT_EQ(g_platform.posted[0].wParam, static_cast<WPARAM>(0xFFFFFFFFFFFD0004ull));
  EXPECT_EQ(g_platform.processesStarted, 2);
  EXPECT_EQ(folder_.ExtraFiles().size(), 1u);  // only the class file itself
}

TEST_F(LoadSequenceTest, WithoutAnyWindowClassNothingIsPostedAndJadIsNotStarted) {
  g_platform.librariesFail = true;
  g_platform.windowsFail = true;
  EXPECT_EQ(Load(), nullptr);
  EXPECT_EQ(g_platform.librariesLoaded, (std::vector<std::string>{"Riched20.dll", "RICHED32.DLL"}));
  EXPECT_EQ(g_platform.classesTried, (std::vector<std::string>{"RichEdit20W", "RichEdit"}));
  EXPECT_TRUE(g_platform.posted.empty());
  EXPECT_EQ(g_platform.processesStarted, 0);

  // Both libraries failed, so the next load tries them again.
  g_platform.librariesLoaded.clear();
  EXPECT_EQ(Load(), nullptr);
  EXPECT_EQ(g_platform.librariesLoaded.size(), 2u);
}

TEST_F(LoadSequenceTest, TheLibraryIsLoadedOnceAndTheErrorModeTouchedOnlyThen) {
  HWND first = Load();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(g_platform.librariesLoaded, (std::vector<std::string>{"Riched20.dll"}));
  EXPECT_EQ(g_platform.errorModeCalls, 2);  // set, then restored

  HWND second = Load();
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(g_platform.librariesLoaded.size(), 1u);
  EXPECT_EQ(g_platform.errorModeCalls, 2);

  // Two independent controls: closing one leaves the other.
  EXPECT_NE(first, second);
  auto close = reinterpret_cast<decltype(&ListCloseWindow)>(
      reinterpret_cast<void*>(GetProcAddress(folder_.module(), "ListCloseWindow")));
  close(first);
  EXPECT_FALSE(IsWindow(first));
  EXPECT_TRUE(IsWindow(second));
  EXPECT_EQ(Text(second).substr(0, strlen(kBanner)), kBanner);
}

TEST_F(LoadSequenceTest, TheAnsiFormForwardsTheName) {
  std::string name = ToUtf8(classFile_);  // an ASCII path here
  HWND control = listLoad_(lister_, &name[0], 0);
  ASSERT_NE(control, nullptr);
  EXPECT_EQ(Text(control).substr(0, strlen(kBanner)), kBanner);
  EXPECT_EQ(listLoad_(lister_, nullptr, 0), nullptr);
}

}  // namespace
