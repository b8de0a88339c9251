// The Kotlin view of a class compiled from Kotlin (kotlin-stdlib's Pair): Jad
// asked for Kotlin once, its text highlighted as Kotlin near the same original
// line, Ctrl+K and the menu's command there and back; not offered for a Java
// class; a Jad that writes Java for the request, and a run still going when
// the view is switched to.
#include "plugin/kotlin_view.h"

#include <richedit.h>

#include "decompile/decompile_run.h"
#include "plugin/class_views.h"
#include "presentation/palette_colours.h"
#include "tests/windows/load/shown_output_fixture.h"

namespace {

const char kMark[] = "\xEF\xBB\xBF";

// Forty empty lines, so that the numbered lines stand screens apart.
std::string Blank() {
  std::string blank;
  for (int i = 0; i < 40; ++i) blank += "\r\n";
  return blank;
}

std::string JavaSource() {
  return std::string(kMark) + "package kotlin;\r\n\r\npublic final class Pair<A, B> {\r\n" +
         Blank() + "/*  16*/    public final A getFirst() {\r\n/*  17*/        return first;\r\n" +
         "        }\r\n" + Blank() + "}\r\n";
}

std::string KotlinSource() {
  return std::string(kMark) +
         "package kotlin\r\n\r\npublic data class Pair<A, B>(val first: A) {\r\n" + Blank() +
         "/*  16*/   public fun component1(): A {\r\n/*  17*/      return first\r\n" +
         "        }\r\n" + Blank() + "}\r\n";
}

class KotlinViewTest : public ShownOutputTest {
 protected:
  void TearDown() override {
    SetEnvironmentVariableW(L"DRAVIK_LOAD_WAIT_MS", L"120000");
    ShownOutputTest::TearDown();
  }

  // The class file data\<name> loaded, the fake Jad writing java for Java and
  // kotlin for Kotlin.
  HWND Load(const wchar_t* name, const std::string& java, const std::string& kotlin,
            int flags = 0) {
    std::wstring file = name;
    std::wstring path = folder_.Path(file.substr(file.find_last_of(L'\\') + 1));
    WriteFileBytes(path, ReadFileBytes(DataFile(name)));
    WriteFileBytes(folder_.Path(L"fakejad.source"), java);
    WriteFileBytes(folder_.Path(L"fakejad.kotlin"), kotlin);
    HWND control = Export<decltype(&ListLoadW)>("ListLoadW")(lister_, &path[0], flags);
    if (control != nullptr) MoveWindow(control, 0, 0, 600, 120, TRUE);
    return control;
  }
  void Close(HWND control) { Export<decltype(&ListCloseWindow)>("ListCloseWindow")(control); }

  static std::wstring Text(HWND control) {
    std::wstring text(GetWindowTextLengthW(control) + 1, L'\0');
    text.resize(GetWindowTextW(control, &text[0], static_cast<int>(text.size())));
    return text;
  }
  static std::wstring Line(HWND control, int line) {
    std::wstring text(1024, L'\0');
    *reinterpret_cast<WORD*>(&text[0]) = 1023;
    text.resize(SendMessageW(control, EM_GETLINE, line, reinterpret_cast<LPARAM>(&text[0])));
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n')) text.pop_back();
    return text;
  }
  static std::wstring TopLine(HWND control) {
    return Line(control, static_cast<int>(SendMessageW(control, EM_GETFIRSTVISIBLELINE, 0, 0)));
  }
  // The control's position of the text's: each CR LF before it is one character there.
  static LONG ControlPosition(const std::wstring& text, size_t at) {
    LONG position = static_cast<LONG>(at);
    for (size_t i = text.find(L"\r\n"); i < at; i = text.find(L"\r\n", i + 2)) --position;
    return position;
  }
  static void ScrollTo(HWND control, const wchar_t* line) {
    const std::wstring text = Text(control);
    const LRESULT target =
        SendMessageW(control, EM_LINEFROMCHAR, ControlPosition(text, text.find(line)), 0);
    SendMessageW(control, EM_LINESCROLL, 0,
                 target - SendMessageW(control, EM_GETFIRSTVISIBLELINE, 0, 0));
  }
  static void PressCtrl(HWND control, UINT key) {
    BYTE state[256], saved[256];
    GetKeyboardState(saved);
    memcpy(state, saved, sizeof state);
    state[VK_CONTROL] = 0x80;
    SetKeyboardState(state);
    SendMessageW(control, WM_KEYDOWN, key, 1);
    SetKeyboardState(saved);
  }
  // The colour of the first occurrence of word in the control (0 for the
  // control's own, which the light palette's plain text keeps).
  static COLORREF ColourOf(HWND control, const wchar_t* word) {
    const std::wstring text = Text(control);
    const CHARFORMAT2A format = ReadCharFormatAt(control, ControlPosition(text, text.find(word)));
    return (format.dwEffects & CFE_AUTOCOLOR) ? 0 : format.crTextColor;
  }
  int KotlinRuns() {
    const std::string log = folder_.FakeJadLog();
    int runs = 0;
    for (size_t at = log.find(".kt\""); at != std::string::npos; at = log.find(".kt\"", at + 1)) {
      ++runs;
    }
    return runs;
  }
};

TEST_F(KotlinViewTest, CtrlKShowsKotlinNearTheSameLineAndBack) {
  HWND control = Load(L"kotlin\\Pair.class", JavaSource(), KotlinSource());
  ASSERT_NE(control, nullptr);
  ScrollTo(control, L"/*  16*/");
  ASSERT_EQ(TopLine(control).rfind(L"/*  16*/    public final A getFirst()", 0), 0u);

  PressCtrl(control, 'K');
  EXPECT_EQ(TopLine(control), L"/*  16*/   public fun component1(): A {");
  // The line stays as far below the top as it stood.
  PressCtrl(control, 'K');
  SendMessageW(control, EM_LINESCROLL, 0, -3);
  PressCtrl(control, 'K');
  const int top = static_cast<int>(SendMessageW(control, EM_GETFIRSTVISIBLELINE, 0, 0));
  EXPECT_EQ(Line(control, top + 3), L"/*  16*/   public fun component1(): A {");
  EXPECT_EQ(Line(control, 1).rfind(L"// Kotlin, Jad: ", 0), 0u) << ToUtf8(Line(control, 1));
  EXPECT_NE(Text(control).find(L"public data class Pair<A, B>(val first: A)"), std::wstring::npos);
  EXPECT_EQ(KotlinRuns(), 1);
  // Kotlin's keywords as such, in the light palette.
  EXPECT_EQ(ColourOf(control, L"fun"), LightColours.keyword);
  EXPECT_EQ(ColourOf(control, L"data"), LightColours.keyword);
  EXPECT_EQ(ColourOf(control, L"Pair"), 0u);

  PressCtrl(control, 'K');
  const int javaTop = static_cast<int>(SendMessageW(control, EM_GETFIRSTVISIBLELINE, 0, 0));
  EXPECT_EQ(Line(control, javaTop + 3).rfind(L"/*  16*/    public final A getFirst()", 0), 0u)
      << ToUtf8(Line(control, javaTop + 3));
  // Shown again from what was kept; the menu's command does the same.
  SendMessageW(control, WM_COMMAND, ShowKotlinCommand, 0);
  EXPECT_NE(Text(control).find(L"public fun component1()"), std::wstring::npos);
  EXPECT_EQ(KotlinRuns(), 1);
  // From Kotlin to the bytecode and back to Java.
  PressCtrl(control, 'B');
  EXPECT_NE(Text(control).find(L"public final A getFirst();"), std::wstring::npos);
  PressCtrl(control, 'B');
  EXPECT_NE(Text(control).find(L"public final class Pair<A, B> {"), std::wstring::npos);
  Close(control);
}

TEST_F(KotlinViewTest, TheDarkSchemeColoursKotlinInTheDarkPalette) {
  HWND control = Load(L"kotlin\\Pair.class", JavaSource(), KotlinSource(), lcp_darkmode);
  ASSERT_NE(control, nullptr);
  SendMessageW(control, WM_COMMAND, ShowKotlinCommand, 0);
  EXPECT_EQ(ColourOf(control, L"fun"), DarkColours.keyword);
  EXPECT_EQ(ColourOf(control, L"Pair"), DarkColours.text);
  EXPECT_EQ(ColourOf(control, L"/*  16*/"), DarkColours.comment);
  Close(control);
}

TEST_F(KotlinViewTest, AJavaClassHasNoKotlinView) {
  HWND control = Load(L"sample\\Greeter.class", JavaSource(), KotlinSource());
  ASSERT_NE(control, nullptr);
  const std::wstring java = Text(control);
  PressCtrl(control, 'K');
  SendMessageW(control, WM_COMMAND, ShowKotlinCommand, 0);
  EXPECT_EQ(Text(control), java);
  EXPECT_EQ(KotlinRuns(), 0);
  Close(control);
}

// The original Jad takes the request as any other and writes Java, without
// the bridge's byte-order mark.
TEST_F(KotlinViewTest, AJadThatWritesJavaGetsAComment) {
  HWND control = Load(L"kotlin\\Pair.class", "public final class Pair {}\r\n",
                      "public final class Pair {}\r\n");
  ASSERT_NE(control, nullptr);
  PressCtrl(control, 'K');
  EXPECT_EQ(Source(control),
            L"/*\r\n * The jad.exe beside the plugin wrote Java, not Kotlin: only dravik's own "
            L"jad.exe,\r\n * the bridge to Vineflower, writes Kotlin. Ctrl+K shows its Java "
            L"source.\r\n */\r\n");
  Close(control);
}

TEST_F(KotlinViewTest, ARunStillGoingShowsWhatIsComingAndEndsWithTheWindow) {
  HWND control = Load(L"kotlin\\Pair.class", JavaSource(), KotlinSource());
  ASSERT_NE(control, nullptr);
  SetEnvironmentVariableW(L"DRAVIK_LOAD_WAIT_MS", L"0");
  folder_.SetFakeJadMode("slow");
  WriteFileBytes(folder_.Path(L"fakejad.delay"), "1000");
  PressCtrl(control, 'K');
  EXPECT_EQ(Line(control, 1), L"// Decompiling Pair.class as Kotlin ...");
  // It comes, and shows, while the view is the Kotlin one.
  bool came = false;
  for (DWORD start = GetTickCount(); !came && GetTickCount() - start < 30000; Sleep(20)) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    came = Line(control, 1).rfind(L"// Kotlin, Jad: ", 0) == 0;
  }
  EXPECT_TRUE(came) << ToUtf8(Text(control));
  Close(control);

  // Closed while the Kotlin still comes: its Jad is asked to stop and its run folder goes.
  control = Load(L"kotlin\\Pair.class", JavaSource(), KotlinSource());
  ASSERT_NE(control, nullptr);
  WriteFileBytes(folder_.Path(L"fakejad.delay"), "20000");
  PressCtrl(control, 'K');
  Close(control);
  bool gone = false;
  for (DWORD start = GetTickCount(); !gone && GetTickCount() - start < 15000; Sleep(50)) {
    gone = true;
    for (const std::wstring& name : folder_.ExtraFiles()) {
      if (name.rfind(L"dravik-run-", 0) == 0) gone = false;
    }
  }
  EXPECT_TRUE(gone);
}

}  // namespace
