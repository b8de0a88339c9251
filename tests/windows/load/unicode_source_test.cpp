// A decompiler's output in UTF-8 behind its mark, through ListLoadW and the
// exports that work on the shown text; output without the mark as ANSI.
#include <gtest/gtest.h>
#include <richedit.h>

#include <string>

#include "host/listplug.h"
#include "tests/windows/load/shown_output_fixture.h"
#include "tests/windows/test_support.h"

namespace {

const char kMark[] = "\xEF\xBB\xBF";

// Cyrillic, Greek, Chinese, an emoji and Hebrew in literals, a char literal
// and comments, and an escaped quote inside a Cyrillic literal.
const wchar_t kSource[] =
    L"public class Hello {\r\n"
    L"  // Привет, Ελλάδα 中文 \U0001F600 עברית\r\n"
    L"  String ru = \"Привет\", hi = \"Приветствую\";\r\n"
    L"  String el = \"Καλημέρα\", zh = \"你好，世界\";\r\n"
    L"  String emoji = \"\U0001F600 ok\", he = \"שלום עולם\";\r\n"
    L"  char c = 'Ж'; /* 注释 \U0001F600 */ int x = 1;\r\n"
    L"  String q = \"Он сказал \\\"да\\\" \U0001F600\"; final int y = 2;\r\n"
    L"}\r\n";

using UnicodeSourceTest = ShownOutputTest;

TEST_F(UnicodeSourceTest, EveryScriptShowsAsWrittenAndColouredAsItsAsciiTwin) {
  HWND shown = Show(kMark + ToUtf8(kSource));
  ASSERT_NE(shown, nullptr);
  EXPECT_EQ(Source(shown), kSource);

  // The same class with every UTF-16 unit beyond ASCII an 'a', through the
  // ANSI path: the colours fall on the same positions.
  std::string ascii;
  for (const wchar_t* c = kSource; *c != L'\0'; ++c)
    ascii += *c < 0x80 ? static_cast<char>(*c) : 'a';
  HWND twin = Show(ascii);
  ASSERT_NE(twin, nullptr);
  // The timing lines may differ in length: positions count from the source.
  const int start = static_cast<int>(SendMessageW(shown, EM_LINEINDEX, 2, 0));
  const int twinStart = static_cast<int>(SendMessageW(twin, EM_LINEINDEX, 2, 0));
  const int length = static_cast<int>(wcslen(kSource)) - 8;  // breaks count once
  int keywords = 0, pairs = 0;
  for (int i = 0; i < length; ++i) {
    CHARFORMAT2A wide = ReadCharFormatAt(shown, start + i);
    CHARFORMAT2A narrow = ReadCharFormatAt(twin, twinStart + i);
    EXPECT_EQ(wide.crTextColor, narrow.crTextColor) << "at " << i;
    EXPECT_EQ(wide.dwEffects & CFE_BOLD, narrow.dwEffects & CFE_BOLD) << "at " << i;
    keywords += (wide.dwEffects & CFE_BOLD) ? 1 : 0;
  }
  // public, class, char, int, and final int behind the escaped quotes.
  EXPECT_EQ(keywords, 26);
  // No colour run begins inside a surrogate pair.
  std::wstring text = Source(shown);
  for (size_t i = 0, position = 0; i < text.size(); ++i, ++position) {
    if (text[i] == L'\r') ++i;  // CR LF is one position
    if (text[i] < 0xD800 || text[i] > 0xDBFF) continue;
    ++pairs;
    CHARFORMAT2A high = ReadCharFormatAt(shown, start + static_cast<int>(position));
    CHARFORMAT2A low = ReadCharFormatAt(shown, start + static_cast<int>(position) + 1);
    EXPECT_EQ(high.crTextColor, low.crTextColor) << "at " << position;
  }
  EXPECT_EQ(pairs, 4);
}

TEST_F(UnicodeSourceTest, ACyrillicWordIsFoundEitherWayAndCopiedAsWritten) {
  HWND control = Show(kMark + ToUtf8(kSource));
  ASSERT_NE(control, nullptr);
  const int comment = static_cast<int>(SendMessageW(control, EM_LINEINDEX, 3, 0)) + 5;
  const int literal = static_cast<int>(SendMessageW(control, EM_LINEINDEX, 4, 0)) + 15;
  // Whole words without case: "Приветствую" is passed over.
  const int words = lcs_wholewords;
  EXPECT_EQ(Search(control, L"пРИВЕТ", lcs_findfirst | words), LISTPLUGIN_OK);
  EXPECT_EQ(Selection(control), std::make_pair(comment, comment + 6));
  EXPECT_EQ(Search(control, L"пРИВЕТ", words), LISTPLUGIN_OK);
  EXPECT_EQ(Selection(control), std::make_pair(literal, literal + 6));
  EXPECT_EQ(Search(control, L"пРИВЕТ", words), LISTPLUGIN_ERROR);
  SendMessageW(control, EM_SETSEL, literal, literal + 6);
  EXPECT_EQ(Search(control, L"Привет", lcs_backwards | lcs_matchcase | words), LISTPLUGIN_OK);
  EXPECT_EQ(Selection(control), std::make_pair(comment, comment + 6));

  // Copy: the characters on the clipboard.
  EXPECT_EQ(Search(control, L"\U0001F600 ok", lcs_findfirst), LISTPLUGIN_OK);
  Export<decltype(&ListSendCommand)>("ListSendCommand")(control, lc_copy, 0);
  ASSERT_TRUE(OpenClipboard(lister_));
  HANDLE data = GetClipboardData(CF_UNICODETEXT);
  const wchar_t* copied = data ? static_cast<const wchar_t*>(GlobalLock(data)) : nullptr;
  EXPECT_STREQ(copied ? copied : L"<none>", L"\U0001F600 ok");
  if (copied != nullptr) GlobalUnlock(data);
  CloseClipboard();
}

TEST_F(UnicodeSourceTest, WithoutTheMarkTheTextIsAnsiAndMalformedUtf8ShowsWholeUnderAComment) {
  // Latin-1 bytes, as the original Jad writes them on a Western machine.
  HWND ansi = Show("String s = \"caf\xE9 \xFC\";\r\n");
  ASSERT_NE(ansi, nullptr);
  wchar_t expected[64] = {};
  MultiByteToWideChar(CP_ACP, 0, "String s = \"caf\xE9 \xFC\";\r\n", -1, expected, 64);
  EXPECT_EQ(Source(ansi), expected);

  HWND malformed = Show(std::string(kMark) + "String s = \"caf\xE9\";\r\n// end\r\n");
  ASSERT_NE(malformed, nullptr);
  EXPECT_EQ(Source(malformed),
            L"// dravik: this decompiler output is marked as UTF-8 but is not valid UTF-8; each "
            L"malformed byte shows as \xFFFD.\r\nString s = \"caf\xFFFD\";\r\n// end\r\n");
}

}  // namespace
