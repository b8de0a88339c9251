// Windows' answers for keys: Enter and Backspace act through WM_KEYDOWN, and a
// CR sent as WM_CHAR inserts nothing.
#include "tests/windows/richedit/windows_answers_fixture.h"

namespace {

class KeyAnswers : public WindowsAnswersTest {
 protected:
  // What typing does: the key goes down, its character follows, the key goes up.
  void Type(const char* keys) const {
    for (const char* k = keys; *k != '\0'; ++k) {
      Send(WM_KEYDOWN, static_cast<unsigned char>(*k), 1);
      EXPECT_EQ(Send(WM_CHAR, static_cast<unsigned char>(*k), 1), 0) << *k;
      Send(WM_KEYUP, static_cast<unsigned char>(*k), 1);
    }
  }
};

// test_enter: Enter makes a break of one CR, shown as CR LF by WM_GETTEXT and
// by EM_GETTEXTEX with GT_USECRLF.
TEST_F(KeyAnswers, EnterInsertsOneParagraphBreak) {
  const struct {
    const char* text;
    int caret;
    const char *window_text, *text_ex, *text_ex_crlf;
  } cases[] = {
      {"aaabbb\r\n", 3, "aaa\r\nbbb\r\n", "aaa\rbbb\r", "aaa\r\nbbb\r\n"},
      {"aaabbb\r\n", 6, "aaabbb\r\n\r\n", "aaabbb\r\r", "aaabbb\r\n\r\n"},
      {"aa\rabbb\r\n", 7, "aa\r\nabbb\r\n\r\n", "aa\rabbb\r\r", "aa\r\nabbb\r\n\r\n"},
      {"aa\rabbb\r\n", 3, "aa\r\n\r\nabbb\r\n", "aa\r\rabbb\r", "aa\r\n\r\nabbb\r\n"},
      {"aa\rabbb\r\n", 2, "aa\r\n\r\nabbb\r\n", "aa\r\rabbb\r", "aa\r\n\r\nabbb\r\n"},
  };
  for (const auto& c : cases) {
    SetText(c.text);
    Send(EM_SETSEL, static_cast<WPARAM>(c.caret), c.caret);
    Type("\r");
    EXPECT_EQ(WindowText(), c.window_text) << c.text << " at " << c.caret;
    EXPECT_EQ(TextEx(GT_DEFAULT), c.text_ex) << c.text << " at " << c.caret;
    EXPECT_EQ(TextEx(GT_USECRLF), c.text_ex_crlf) << c.text << " at " << c.caret;
  }
  // The key alone breaks the line; the character alone does nothing.
  SetText("");
  Send(WM_CHAR, 'T');
  Send(WM_KEYDOWN, VK_RETURN);
  EXPECT_EQ(TextEx(GT_DEFAULT), "T\r");
  SetText("");
  Send(WM_CHAR, 'T');
  Send(WM_CHAR, '\r');
  EXPECT_EQ(TextEx(GT_DEFAULT), "T");
}

// test_WM_CHAR (the multi-line control) and test_EM_AUTOURLDETECT, which types
// a break into a text and takes it out again with one Backspace;
// test_EM_GETMODIFY: the Backspace key alone changes the text.
TEST_F(KeyAnswers, TypedBreaksAndBackspaceChangeTheTextOnce) {
  SetText("");
  Type("abc\rabc\r");
  EXPECT_EQ(WindowText(), "abc\r\nabc\r\n");

  SetText("This is some text with www.winehq.org on it");
  Send(EM_SETSEL, 24, 24);
  Type("\r");
  EXPECT_EQ(WindowText(), "This is some text with w\r\nww.winehq.org on it");
  Send(EM_SETSEL, 25, 25);
  Type("\b");
  EXPECT_EQ(WindowText(), "This is some text with www.winehq.org on it");

  Send(EM_SETMODIFY, FALSE);
  Send(WM_KEYDOWN, VK_BACK);
  EXPECT_TRUE(Modified());
}

}  // namespace
