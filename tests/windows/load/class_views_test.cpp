// The views of a class: the bytecode beside the Java source, switched by the
// context menu's commands or Ctrl+B near the same method, and the bytecode
// under the comment that says why when Jad gives no source.
#include "plugin/class_views.h"

#include <richedit.h>

#include "classfile/bytecode_view.h"
#include "tests/windows/load/shown_output_fixture.h"

namespace {

class ClassViewsTest : public ShownOutputTest {
 protected:
  static std::wstring Text(HWND control) {
    std::wstring text(GetWindowTextLengthW(control) + 1, L'\0');
    text.resize(GetWindowTextW(control, &text[0], static_cast<int>(text.size())));
    return text;
  }
  // The text of the control's first visible line.
  static std::wstring TopLine(HWND control) {
    int line = static_cast<int>(SendMessageW(control, EM_GETFIRSTVISIBLELINE, 0, 0));
    std::wstring text = Text(control);
    size_t start = 0;
    for (int i = 0; i < line && start != std::wstring::npos; ++i) {
      start = text.find(L"\r\n", start);
      if (start != std::wstring::npos) start += 2;
    }
    return start == std::wstring::npos ? L""
                                       : text.substr(start, text.find(L"\r\n", start) - start);
  }
  // Ctrl+B as the keyboard gives it to the control.
  static void PressCtrlB(HWND control) {
    BYTE state[256], saved[256];
    GetKeyboardState(saved);
    memcpy(state, saved, sizeof state);
    state[VK_CONTROL] = 0x80;
    SetKeyboardState(state);
    SendMessageW(control, WM_KEYDOWN, 'B', 1);
    SetKeyboardState(saved);
  }
};

// Greeter's source as a decompiler with Jad's column writes it, its two
// methods far apart.
std::string GreeterSource() {
  std::string blank;
  for (int i = 0; i < 40; ++i) blank += "\r\n";
  return "public class Greeter {\r\n" + blank +
         "/*   8*/    public Greeter(String name) {\r\n/*   9*/        this.name = name;\r\n"
         "/*  10*/    }\r\n" +
         blank +
         "    public String greet(int times) {\r\n/*  13*/        StringBuilder text = new "
         "StringBuilder();\r\n/*  17*/        return text.toString();\r\n    }\r\n" +
         blank + "}\r\n";
}

TEST_F(ClassViewsTest, TheViewsSwitchNearTheSameMethod) {
  HWND control = Show(GreeterSource(), L"Greeter.class");
  ASSERT_NE(control, nullptr);
  MoveWindow(control, 0, 0, 600, 120, TRUE);
  const std::wstring source = Text(control);
  int greet = static_cast<int>(SendMessageW(control, EM_LINEFROMCHAR, source.find(L"/*  13*/"), 0));
  SendMessageW(control, EM_LINESCROLL, 0, greet - 1);

  PressCtrlB(control);
  EXPECT_EQ(TopLine(control), L"  public java.lang.String greet(int);");
  const std::wstring bytecode = Text(control);
  EXPECT_NE(bytecode.find(L"       7: astore_2"), std::wstring::npos) << ToUtf8(bytecode);

  PressCtrlB(control);
  EXPECT_EQ(TopLine(control).rfind(L"/*  13*/", 0), 0u) << ToUtf8(TopLine(control));
  // The menu's commands do the same.
  SendMessageW(control, WM_COMMAND, ShowBytecodeCommand, 0);
  const std::wstring again = Text(control);
  EXPECT_EQ(again.substr(again.find(L"Compiled from")),
            bytecode.substr(bytecode.find(L"Compiled from")));
  SendMessageW(control, WM_COMMAND, ShowSourceCommand, 0);
  EXPECT_NE(Text(control).find(L"public Greeter(String name)"), std::wstring::npos);
  Export<decltype(&ListCloseWindow)>("ListCloseWindow")(control);
}

// A Jad that gives no source (the original Jad failing, or the bridge with
// no Java): the class's bytecode shows under the comment.
TEST_F(ClassViewsTest, WithoutSourceTheBytecodeShowsUnderTheComment) {
  folder_.SetFakeJadMode("nothing");
  HWND control = Show("");
  ASSERT_NE(control, nullptr);
  const std::wstring text = Text(control);
  EXPECT_NE(text.find(L" * Jad ended without writing any source for this class."),
            std::wstring::npos)
      << ToUtf8(text);
  const std::string bytes = ReadFileBytes(DataFile(L"sample\\Greeter.class"));
  std::string view, error;
  ASSERT_TRUE(BytecodeViewOf(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(),
                             &view, &error));
  std::wstring wide;
  for (char c : view) {
    if (c == '\n') wide += L'\r';
    wide += static_cast<unsigned char>(c);
  }
  EXPECT_NE(text.find(L" */\r\n\r\n" + wide), std::wstring::npos) << ToUtf8(text);
  Export<decltype(&ListCloseWindow)>("ListCloseWindow")(control);
}

}  // namespace
