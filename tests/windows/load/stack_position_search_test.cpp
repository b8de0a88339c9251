// A search for a stack-trace position, through ListSearchTextW on what the
// fake decompiler writes with Jad's line-number column.
#include <gtest/gtest.h>
#include <richedit.h>

#include <string>

#include "tests/windows/load/shown_output_fixture.h"

namespace {

std::string Output() {
  std::string text =
      "        package demo;\r\n"
      "        \r\n"
      "        public class Hello {\r\n"
      "            String where = \"Hello.java:5\";\r\n";
  // Enough lines around that a match scrolls to 3 lines below the top.
  for (int i = 0; i < 40; ++i) text += "            // filler\r\n";
  text +=
      "            int kind(int sides) {\r\n"
      "/*  16*/        switch (sides) {\r\n"
      "/*  21*/        default: return 2;\r\n"
      "/*  17*/        case 0: return 1;\r\n"
      "                }\r\n"
      "            }\r\n"
      "            class Inner {\r\n"
      "                void run() {\r\n"
      "/*  30*/            kind(3);\r\n"
      "                }\r\n"
      "            }\r\n"
      "        }\r\n";
  for (int i = 0; i < 40; ++i) text += "        // filler\r\n";
  return text;
}

class StackPositionSearchTest : public ShownOutputTest {
 protected:
  std::wstring Selected(HWND control) {
    wchar_t text[256] = {};
    SendMessageW(control, EM_GETSELTEXT, 0, reinterpret_cast<LPARAM>(text));
    return text;
  }
  int FirstVisibleLine(HWND control) {
    return static_cast<int>(SendMessageW(control, EM_GETFIRSTVISIBLELINE, 0, 0));
  }
  int SelectedLine(HWND control) {
    return static_cast<int>(SendMessageW(control, EM_LINEFROMCHAR, Selection(control).first, 0));
  }
};

TEST_F(StackPositionSearchTest, APositionOfTheShownClassSelectsItsLineAsAMatchIs) {
  HWND control = Show(Output());
  ASSERT_NE(control, nullptr);
  const struct {
    const wchar_t* text;
    const wchar_t* line;
  } cases[] = {
      {L"Hello.java:21", L"/*  21*/        default: return 2;"},
      {L"at demo.Hello.kind(Hello.java:17)", L"/*  17*/        case 0: return 1;"},
      // No line 20: the nearest numbered line before it, by number.
      {L"\tat demo.Hello.kind(Hello.java:20)\r\n", L"/*  17*/        case 0: return 1;"},
      {L"Hello.java:999", L"/*  30*/            kind(3);"},
      // What the text holds is found as text.
      {L"Hello.java:5", L"Hello.java:5"},
  };
  for (const auto& c : cases) {
    SendMessageW(control, EM_LINESCROLL, 0, -FirstVisibleLine(control));
    EXPECT_EQ(Search(control, c.text, lcs_findfirst), LISTPLUGIN_OK) << c.text;
    EXPECT_EQ(Selected(control), c.line) << c.text;
    EXPECT_EQ(FirstVisibleLine(control), std::max(0, SelectedLine(control) - 3)) << c.text;
  }

  // Find next goes on as a plain search, which finds nothing.
  EXPECT_EQ(Search(control, L"Hello.java:21", lcs_findfirst), LISTPLUGIN_OK);
  EXPECT_EQ(Search(control, L"Hello.java:21", 0), LISTPLUGIN_ERROR);
  // Below every number, another file's frame, or a first search of a plain word.
  for (const wchar_t* nothing :
       {L"Hello.java:3", L"at demo.Other.kind(Other.java:21)", L"Hello.java", L"missing"}) {
    EXPECT_EQ(Search(control, nothing, lcs_findfirst), LISTPLUGIN_ERROR) << nothing;
  }
}

TEST_F(StackPositionSearchTest, ANestedClassFileHoldsItsOuterClassesPositions) {
  HWND control = Show(Output(), L"Hello$Inner.class");
  ASSERT_NE(control, nullptr);
  EXPECT_EQ(Search(control, L"at demo.Hello$Inner.run(Hello.java:30)", lcs_findfirst),
            LISTPLUGIN_OK);
  EXPECT_EQ(Selected(control), L"/*  30*/            kind(3);");

  HWND other = Show(Output(), L"Hellos.class");
  ASSERT_NE(other, nullptr);
  EXPECT_EQ(Search(other, L"Hello.java:30", lcs_findfirst), LISTPLUGIN_ERROR);
}

}  // namespace
