// Windows' answers for text in and out: WM_SETTEXT, EM_REPLACESEL,
// EM_GETTEXTEX, EM_GETTEXTLENGTHEX and WM_GETTEXTLENGTH, and the text of a
// "RichEdit20W" window, for EM_FINDTEXT too.
#include <cstring>

#include "tests/windows/richedit/windows_answers_fixture.h"
// After windows.h: FR_DOWN, FR_WHOLEWORD, FR_MATCHCASE.
#include <commdlg.h>

namespace {

using TextAnswers = WindowsAnswersTest;

// test_WM_SETTEXT: a lone CR comes back as CR LF, CR CR LF as one blank.
TEST_F(TextAnswers, SetTextReadsCrCrLfAsOneBlank) {
  const struct {
    const char* set;
    const char* got;
  } cases[] = {
      {"TestSomeText", "TestSomeText"},
      {"TestSomeText\r", "TestSomeText\r\n"},
      {"TestSomeText\rSomeMoreText\r", "TestSomeText\r\nSomeMoreText\r\n"},
      {"TestSomeText\r\nSomeMoreText\r\n", "TestSomeText\r\nSomeMoreText\r\n"},
      {"TestSomeText\n\nTestSomeText", "TestSomeText\r\n\r\nTestSomeText"},
      {"TestSomeText\r\r\nTestSomeText", "TestSomeText TestSomeText"},
      {"TestSomeText\r\r\n\rTestSomeText", "TestSomeText \r\nTestSomeText"},
      {"TestSomeText\r\n\r\r\n\rTestSomeText", "TestSomeText\r\n \r\nTestSomeText"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Send(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(c.set)), 1) << c.set;
    EXPECT_EQ(WindowText(), c.got) << c.set;
  }
}

// test_EM_REPLACESEL: the answer is the length of the string given; the caret
// ends behind what was inserted; EM_GETTEXTEX shows each break as CR.
TEST_F(TextAnswers, ReplaceSelAnswersTheLengthGiven) {
  const struct {
    const char* insert;
    int answer, caret;
    const char* text;
    int lines;
  } cases[] = {
      {"RichEdit1", 9, 9, "RichEdit1", 1},
      {"RichEdit1\r", 10, 10, "RichEdit1\r", 2},
      {"RichEdit1\r\n", 11, 10, "RichEdit1\r", 2},
      {"\r\r", 2, 2, "\r\r", 3},
      {"\r\r\n", 3, 1, " ", 1},
      {"\r\r\r\r\r\n\r\r\r", 9, 7, "\r\r\r \r\r\r", 7},
      {"\r\r\n\r\n", 5, 2, " \r", 2},
      {"\r\r\n\r\r", 5, 3, " \r\r", 3},
      {"\rX\r\n\r\r", 6, 5, "\rX\r\r\r", 5},
      {"\n\n", 2, 2, "\r\r", 3},
      {"\n\n\n\n\r\r\r\r\n", 9, 7, "\r\r\r\r\r\r ", 7},
  };
  for (const auto& c : cases) {
    Send(WM_SETTEXT);
    EXPECT_EQ(Send(EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(c.insert)), c.answer) << c.insert;
    EXPECT_EQ(Selection(), std::make_pair(c.caret, c.caret)) << c.insert;
    EXPECT_EQ(TextEx(GT_DEFAULT), c.text) << c.insert;
    EXPECT_EQ(Send(EM_GETLINECOUNT), c.lines) << c.insert;
  }
  // No string: the selection is removed and the answer is 0.
  SetText("testing selection");
  Send(EM_SETSEL, 7, 17);
  EXPECT_EQ(Send(EM_REPLACESEL, 0, 0), 0);
  EXPECT_EQ(WindowText(), "testing");
}

// test_EM_SETTEXTEX: with GT_USECRLF a CR LF that would not fit whole is left
// out, in a buffer counted in bytes of UTF-16.
TEST_F(TextAnswers, GetTextExNeverSplitsACrLf) {
  SetText("TestSomeText\r");
  WCHAR buffer[64];
  for (DWORD flags : {GT_DEFAULT, GT_USECRLF}) {
    memset(buffer, 0, sizeof buffer);
    GETTEXTEX how = {14 * sizeof(WCHAR), flags, 1200, nullptr, nullptr};
    Send(EM_GETTEXTEX, reinterpret_cast<WPARAM>(&how), reinterpret_cast<LPARAM>(buffer));
    EXPECT_STREQ(buffer, flags == GT_DEFAULT ? L"TestSomeText\r" : L"TestSomeText") << flags;
  }
}

// test_unicode_conversions: "RichEdit20W" is a Unicode window and
// "RichEdit20A" is not; text set either way comes back either way, by
// WM_GETTEXT as the message is sent and by EM_GETTEXTEX as its code page asks.
TEST_F(TextAnswers, EachClassTakesTextEitherWayAndGivesItAsAsked) {
  for (bool wide : {true, false}) {
    Recreate(wide);
    EXPECT_EQ(IsWindowUnicode(control_) != 0, wide);
    for (bool setWide : {false, true}) {
      if (setWide) {
        SendMessageW(control_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"test"));
      } else {
        Send(WM_SETTEXT, 0, reinterpret_cast<LPARAM>("test"));
      }
      EXPECT_EQ(WindowText(), "test") << wide << setWide;
      EXPECT_EQ(TextEx(GT_DEFAULT), "test") << wide << setWide;
      WCHAR buffer[64];
      GETTEXTEX how = {sizeof buffer, GT_DEFAULT, 1200, nullptr, nullptr};
      SendMessageW(control_, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&how),
                   reinterpret_cast<LPARAM>(buffer));
      EXPECT_STREQ(buffer, L"test") << wide << setWide;
      SendMessageW(control_, WM_GETTEXT, 64, reinterpret_cast<LPARAM>(buffer));
      EXPECT_STREQ(buffer, L"test") << wide << setWide;
    }
  }
}

// test_EM_FINDTEXT(TRUE): a Unicode window reads EM_FINDTEXT's record as
// FINDTEXTW, as EM_FINDTEXTW does; a sample of find_tests2.
TEST_F(TextAnswers, AUnicodeWindowFindsWideText) {
  Recreate(true);
  Send(WM_SETTEXT, 0, reinterpret_cast<LPARAM>("WINEWine wineWine wine WineWine"));
  const struct {
    int start, end;
    const wchar_t* needle;
    WPARAM flags;
    int found;
  } cases[] = {
      {0, -1, L"Wine", FR_DOWN | FR_MATCHCASE, 4},
      {20, 10, L"Wine", FR_MATCHCASE, 13},
      {1, 31, L"wInE", FR_DOWN, 4},
      {0, -1, L"wine", FR_DOWN | FR_WHOLEWORD, 18},
      {0, -1, L"win", FR_DOWN | FR_WHOLEWORD, -1},
      {0, -1, L"", FR_DOWN, -1},
  };
  for (const auto& c : cases) {
    FINDTEXTW find = {{c.start, c.end}, c.needle};
    for (UINT message : {EM_FINDTEXT, EM_FINDTEXTW}) {
      EXPECT_EQ(Send(message, c.flags, reinterpret_cast<LPARAM>(&find)), c.found)
          << message << " " << c.start << " " << c.end << " flags " << c.flags;
    }
  }
}

// test_EM_GETTEXTLENGTHEX (the multi-line control) and test_WM_GETTEXTLENGTH.
TEST_F(TextAnswers, TextLengthsCountBreaksOnceOrAsCrLf) {
  auto length = [this](DWORD flags, UINT codepage) {
    GETTEXTLENGTHEX how = {flags, codepage};
    return static_cast<int>(Send(EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&how)));
  };
  const DWORD precise = GTL_NUMCHARS | GTL_PRECISE;
  const struct {
    const char* text;
    int with_crlf, without;
  } texts[] = {
      {"", 0, 0},
      {"base string", 11, 11},
      {"a\rtest\rstring", 15, 13},
      {"a\nb\n\n\r\n", 10, 6},
  };
  for (const auto& t : texts) {
    SetText(t.text);
    EXPECT_EQ(length(precise | GTL_USECRLF, CP_ACP), t.with_crlf) << t.text;
    EXPECT_EQ(length(precise, CP_ACP), t.without) << t.text;
  }
  SetText("a\rtest\rstring");
  const struct {
    DWORD flags;
    int answer;
  } utf16[] = {
      {GTL_DEFAULT, 13},
      {GTL_NUMCHARS, 13},
      {GTL_NUMBYTES, 26},
      {GTL_PRECISE, 26},
      {GTL_NUMCHARS | GTL_PRECISE, 13},
      {GTL_NUMCHARS | GTL_NUMBYTES, static_cast<int>(E_INVALIDARG)},
  };
  for (const auto& u : utf16) EXPECT_EQ(length(u.flags, 1200), u.answer) << u.flags;

  for (const char* text :
       {"aaa\r\nbbb\r\nccc\r\nddd\r\neee", "aaa\r\nbbb\r\nccc\r\nddd\r\neee\r\n"}) {
    SetText(text);
    EXPECT_EQ(Send(WM_GETTEXTLENGTH), static_cast<LRESULT>(strlen(text))) << text;
  }
}

}  // namespace
