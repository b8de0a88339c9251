// "Go to" in a class window: the member chosen in the list comes to the top
// of the view shown, its name selected: in the source by the column's
// numbers or, without them, by the declaration's text; in the bytecode with
// its code right below; in the outline while the source is coming.
#include <richedit.h>

#include "plugin/class_views.h"
#include "tests/windows/load/shown_output_fixture.h"
#include "tests/windows/test_support.h"

namespace {

class GoToMemberTest : public ShownOutputTest {
 protected:
  // The member chosen from the context menu's "Go to".
  bool GoTo(HWND control, const std::wstring& item) {
    MemberListAnswer answer(item);
    SendMessageW(control, WM_COMMAND, GoToMemberCommand, 0);
    return answer.found();
  }
  static std::vector<std::wstring> Lines(HWND control) {
    std::wstring text(GetWindowTextLengthW(control) + 1, L'\0');
    text.resize(GetWindowTextW(control, &text[0], static_cast<int>(text.size())));
    std::vector<std::wstring> lines;
    for (size_t start = 0;;) {
      size_t end = text.find(L"\r\n", start);
      lines.push_back(text.substr(start, end == std::wstring::npos ? end : end - start));
      if (end == std::wstring::npos) return lines;
      start = end + 2;
    }
  }
  static int Top(HWND control) {
    return static_cast<int>(SendMessageW(control, EM_GETFIRSTVISIBLELINE, 0, 0));
  }
  static std::wstring TopLine(HWND control) { return Lines(control)[Top(control)]; }
  static std::wstring Selected(HWND control) {
    std::pair<int, int> range = Selection(control);
    std::wstring text(static_cast<size_t>(range.second - range.first) + 1, L'\0');
    TEXTRANGEW get = {{range.first, range.second}, &text[0]};
    text.resize(static_cast<size_t>(
        SendMessageW(control, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&get))));
    return text;
  }
  void Close(HWND control) { Export<decltype(&ListCloseWindow)>("ListCloseWindow")(control); }
};

// Greeter's source as a decompiler with Jad's column writes it, far apart.
std::string GreeterSource(bool column) {
  std::string blank;
  for (int i = 0; i < 40; ++i) blank += "\r\n";
  std::string source =
      "public class Greeter {\r\n    private final String name;\r\n" + blank +
      "/*   8*/    public Greeter(String name) {\r\n/*   9*/        this.name = "
      "name;\r\n/*  10*/    }\r\n" +
      blank +
      "    public String greet(int times) {\r\n/*  13*/        StringBuilder text "
      "= new StringBuilder();\r\n/*  17*/        return text.toString();\r\n    }\r\n" +
      blank + "}\r\n";
  if (!column) {
    for (size_t at; (at = source.find("/*")) != std::string::npos;)
      source.replace(at, 8, "        ");
  }
  return source;
}

TEST_F(GoToMemberTest, TheSourceViewByTheColumnOrByTheText) {
  for (bool column : {true, false}) {
    HWND control = Show(GreeterSource(column), L"Greeter.class");
    ASSERT_NE(control, nullptr);
    MoveWindow(control, 0, 0, 600, 160, TRUE);
    ASSERT_TRUE(GoTo(control, L"greet(int)"));
    EXPECT_EQ(TopLine(control), L"    public String greet(int times) {") << column;
    EXPECT_EQ(Selected(control), L"greet");
    ASSERT_TRUE(GoTo(control, L"Greeter(String)"));
    EXPECT_EQ(TopLine(control).substr(8), L"    public Greeter(String name) {") << column;
    EXPECT_EQ(Selected(control), L"Greeter");
    ASSERT_TRUE(GoTo(control, L"name: String"));
    EXPECT_EQ(TopLine(control), L"    private final String name;");
    EXPECT_EQ(Selected(control), L"name");
    // Cancelled: the view stays where it was.
    int top = Top(control);
    EXPECT_FALSE(GoTo(control, L""));
    EXPECT_EQ(Top(control), top);
    Close(control);
  }
}

// Ctrl+G opens the list as the menu does; in the bytecode view the method's
// code follows its declaration at the top.
TEST_F(GoToMemberTest, TheBytecodeViewWithItsCodeBelow) {
  HWND control = Show(GreeterSource(true), L"Greeter.class");
  ASSERT_NE(control, nullptr);
  MoveWindow(control, 0, 0, 600, 160, TRUE);
  SendMessageW(control, WM_COMMAND, ShowBytecodeCommand, 0);
  {
    MemberListAnswer answer(L"greet(int)");
    BYTE state[256], saved[256];
    GetKeyboardState(saved);
    memcpy(state, saved, sizeof state);
    state[VK_CONTROL] = 0x80;
    SetKeyboardState(state);
    SendMessageW(control, WM_KEYDOWN, 'G', 1);
    SetKeyboardState(saved);
  }
  std::vector<std::wstring> lines = Lines(control);
  EXPECT_EQ(lines[Top(control)], L"  public java.lang.String greet(int);");
  EXPECT_EQ(lines[Top(control) + 1], L"    Code:");
  EXPECT_EQ(Selected(control), L"greet");
  ASSERT_TRUE(GoTo(control, L"name: String"));
  EXPECT_EQ(TopLine(control), L"  private final java.lang.String name;");
  Close(control);
}

// A decompiler still running: the outline stands in, and the jump finds the
// declaration there.
TEST_F(GoToMemberTest, TheOutlineWhileTheSourceIsComing) {
  folder_.SetFakeJadMode("hang");
  SetEnvironmentVariableW(L"DRAVIK_LOAD_WAIT_MS", L"250");
  HWND control = Show("", L"Greeter.class");
  SetEnvironmentVariableW(L"DRAVIK_LOAD_WAIT_MS", L"120000");
  ASSERT_NE(control, nullptr);
  MoveWindow(control, 0, 0, 600, 60, TRUE);
  ASSERT_NE(Lines(control)[1].find(L"Decompiling"), std::wstring::npos);
  ASSERT_TRUE(GoTo(control, L"greet(int)"));
  EXPECT_EQ(TopLine(control), L"  public java.lang.String greet(int);");
  EXPECT_EQ(Selected(control), L"greet");
  Close(control);
}

}  // namespace
