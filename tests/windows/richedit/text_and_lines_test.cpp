// Text in and out, paragraph breaks, lines, selection, replacement and the
// clipboard.
#include <cstring>

#include "tests/windows/richedit/richedit_fixture.h"

namespace {

class TextTest : public RichEditTest {
 protected:
  void SetUp() override {
    RichEditTest::SetUp();
    ASSERT_NE(Create(), nullptr);
  }
};

TEST_F(TextTest, EachKindOfBreakIsOneCrInsideAndCrLfOutside) {
  for (const char* input : {"abc\r\ndef", "abc\rdef", "abc\ndef"}) {
    SetText(input);
    EXPECT_EQ(TextRange(0, -1), "abc\rdef") << input;
    EXPECT_EQ(Send(WM_GETTEXTLENGTH), 8) << input;
    EXPECT_EQ(GetWindowTextLengthA(control_), 8) << input;
    char out[32];
    EXPECT_EQ(GetWindowTextA(control_, out, sizeof out), 8);
    EXPECT_STREQ(out, "abc\r\ndef");
  }
  // CR CR LF is one blank, as Windows reads it; LF CR two breaks.
  SetText("a\r\r\nb\n\rc");
  EXPECT_EQ(TextRange(0, -1), "a b\r\rc");
}

TEST_F(TextTest, GetTextStopsAtTheBufferAndNeverSplitsABreak) {
  SetText("ab\ncd");
  char out[4] = {'#', '#', '#', '#'};
  EXPECT_EQ(Send(WM_GETTEXT, sizeof out, reinterpret_cast<LPARAM>(out)), 2);
  EXPECT_STREQ(out, "ab");
  EXPECT_EQ(Send(WM_GETTEXT, 0, reinterpret_cast<LPARAM>(out)), 0);
}

TEST_F(TextTest, TextRangesAtAndBeyondTheEnd) {
  SetText("abc\r\ndef");  // stored as 7 characters
  struct Case {
    int min, max;
    const char* expected;
  } cases[] = {
      {0, -1, "abc\rdef"}, {2, 5, "c\rd"}, {5, 100, "ef"}, {6, 7, "f"}, {7, -1, ""},
      {7, 9, ""},          {8, 10, ""},    {3, 3, ""},     {-1, 3, ""}, {-1, -1, ""},
      {5, 2, ""},          {2, -1, ""},  // -1 is the end of the text only from 0
  };
  for (const Case& c : cases) {
    char buffer[32];
    memset(buffer, '#', sizeof buffer);
    TEXTRANGEA range = {{c.min, c.max}, buffer};
    const int count = static_cast<int>(Send(EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range)));
    EXPECT_EQ(count, static_cast<int>(strlen(c.expected))) << c.min << ".." << c.max;
    if (count > 0) {
      EXPECT_STREQ(buffer, c.expected) << c.min << ".." << c.max;
    } else {
      EXPECT_EQ(buffer[0], '#') << "written for " << c.min << ".." << c.max;
    }
  }
}

TEST_F(TextTest, LinesAreTheSameForCrLfCrAndLfInput) {
  for (const char* input : {"a\r\nbb\r\nccc", "a\rbb\rccc", "a\nbb\nccc"}) {
    SetText(input);
    EXPECT_EQ(Send(EM_GETLINECOUNT), 3) << input;
    EXPECT_EQ(Send(EM_LINEINDEX, 0), 0);
    EXPECT_EQ(Send(EM_LINEINDEX, 1), 2);
    EXPECT_EQ(Send(EM_LINEINDEX, 2), 5);
    EXPECT_EQ(Send(EM_LINEINDEX, 3), -1);
    const int from_char[][2] = {{0, 0}, {1, 0}, {2, 1}, {4, 1}, {5, 2}, {8, 2}, {500, 2}};
    for (const auto& pair : from_char) {
      EXPECT_EQ(Send(EM_LINEFROMCHAR, pair[0]), pair[1]) << input << " at " << pair[0];
    }
    EXPECT_EQ(Send(EM_LINELENGTH, 3), 2);
  }
  SetText("a\r\n");
  EXPECT_EQ(Send(EM_GETLINECOUNT), 2);
  EXPECT_EQ(Send(EM_LINEINDEX, 1), 2);
  SetText("");
  EXPECT_EQ(Send(EM_GETLINECOUNT), 1);
  EXPECT_EQ(Send(EM_LINEINDEX, 0), 0);
}

TEST_F(TextTest, LineIndexAndLineFromCharOfMinusOneFollowTheCaret) {
  SetText("a\rbb\rccc");
  Select(3, 3);
  EXPECT_EQ(Send(EM_LINEINDEX, static_cast<WPARAM>(-1)), 2);
  EXPECT_EQ(Send(EM_LINEFROMCHAR, static_cast<WPARAM>(-1)), 1);
}

TEST_F(TextTest, SelectionFollowsRichEditRules) {
  SetText("testing selection");  // 17 characters, then the final paragraph mark
  struct Case {
    int min, max, start, end;
  } cases[] = {
      {5, 10, 5, 10},   {15, 17, 15, 17}, {0, 100, 0, 18},  {5, 5, 5, 5},   {-1, 0, 5, 5},
      {-1, 17, 5, 5},   {-1, -1, 17, 17}, {-4, -5, 17, 17}, {0, -1, 0, 18}, {17, -5, 17, 18},
      {18, -3, 17, 17}, {15, 19, 15, 18}, {19, 15, 15, 18}, {2, 2, 2, 2},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Send(EM_SETSEL, static_cast<WPARAM>(c.min), c.max), c.end);
    EXPECT_EQ(Selection(), std::make_pair(c.start, c.end))
        << "EM_SETSEL " << c.min << ", " << c.max;
  }
  // EM_EXSETSEL runs the same way from the same starting selection.
  Select(2, 2);
  for (const Case& c : cases) {
    CHARRANGE range = {c.min, c.max};
    EXPECT_EQ(Send(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range)), c.end);
    CHARRANGE got = {-9, -9};
    Send(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&got));
    EXPECT_EQ(std::make_pair(int(got.cpMin), int(got.cpMax)), std::make_pair(c.start, c.end))
        << "EM_EXSETSEL " << c.min << ", " << c.max;
  }
}

TEST_F(TextTest, ReplaceSelectionWorksReadOnlyWhileTypingDoesNot) {
  SetText("source");
  Select(0, 0);
  Send(EM_REPLACESEL, 0, reinterpret_cast<LPARAM>("// head\r\n"));
  EXPECT_EQ(TextRange(0, -1), "// head\rsource");
  EXPECT_EQ(Selection(), std::make_pair(8, 8));
  Select(8, 14);
  Send(EM_REPLACESEL, 0, reinterpret_cast<LPARAM>("x\ny"));
  EXPECT_EQ(TextRange(0, -1), "// head\rx\ry");
  EXPECT_EQ(Send(EM_GETLINECOUNT), 3);
  Send(WM_CHAR, 'z');
  EXPECT_EQ(TextRange(0, -1), "// head\rx\ry");
  // A selection reaching the final paragraph mark replaces up to the text's end.
  Send(EM_SETSEL, 0, -1);
  Send(EM_REPLACESEL, 0, reinterpret_cast<LPARAM>("new"));
  EXPECT_EQ(TextRange(0, -1), "new");
}

TEST_F(TextTest, CopyPutsTheSelectionWithCrLfOnTheClipboard) {
  SetText("one\rtwo\rthree");
  auto clipboard = [this]() {
    std::string text = "<nothing>";
    if (!OpenClipboard(parent_)) return std::string("<closed>");
    HANDLE data = GetClipboardData(CF_TEXT);
    const char* bytes = data ? static_cast<const char*>(GlobalLock(data)) : nullptr;
    if (bytes != nullptr) {
      text = bytes;
      GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
  };
  Select(2, 6);
  Send(WM_COPY);
  EXPECT_EQ(clipboard(), "e\r\ntw");
  Send(EM_SETSEL, 0, -1);
  Send(WM_COPY);
  EXPECT_EQ(clipboard(), "one\r\ntwo\r\nthree");
  // An empty selection leaves the clipboard alone.
  Select(1, 1);
  Send(WM_COPY);
  EXPECT_EQ(clipboard(), "one\r\ntwo\r\nthree");
}

}  // namespace
