// Line numbering of plain texts, checked byte for byte and against exact
// allocation sizes (under ASan, malloc_usable_size reports the size asked for).
#include "sideviews/line_numbers.h"

#include <gtest/gtest.h>
#include <limits.h>
#include <malloc.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <random>
#include <string>

namespace {

struct Numbered {
  explicit Numbered(const std::string& text, int length)
      : result(NumberLines(text.c_str(), length)) {}
  explicit Numbered(const std::string& text) : Numbered(text, static_cast<int>(text.size())) {}
  ~Numbered() { free(result); }
  Numbered(const Numbered&) = delete;
  Numbered& operator=(const Numbered&) = delete;
  size_t allocated() const { return malloc_usable_size(result); }
  char* result;
};

TEST(NumberLinesTest, EachKindOfBreakAndTheNumberWidths) {
  const struct {
    const char* text;
    const char* expected;
  } cases[] = {
      {"", "1: "},
      {"xyz", "1: xyz"},
      {"a\r\nb", "1: a\r\n2: b"},
      {"a\rb", "1: a\r2: b"},
      {"a\nb\n", "1: a\r2: b\r3: "},
      {"a\n\nb", "1: a\r2: \r3: b"},
      {"\r\r\n", "1: \r2: \r\n3: "},
      {"\nx", "1: \r2: x"},
      {"\n\r", "1: \r2: \r3: "},
      {"\n\n\n\n\n\n\n\n\n", "01: \r02: \r03: \r04: \r05: \r06: \r07: \r08: \r09: \r10: "},
      {"a\r\nb\r\nc\r\nd\r\ne\r\nf\r\ng\r\nh\r\ni",
       "1: a\r\n2: b\r\n3: c\r\n4: d\r\n5: e\r\n6: f\r\n7: g\r\n8: h\r\n9: i"},
  };
  for (const auto& c : cases) {
    Numbered n(c.text);
    ASSERT_NE(n.result, nullptr) << c.text;
    EXPECT_STREQ(n.result, c.expected);
    // The result fills its buffer exactly when the length is the real one.
    EXPECT_EQ(n.allocated(), strlen(c.expected) + 1);
  }

  std::string hundred(99, '\n');
  Numbered n(hundred);
  ASSERT_NE(n.result, nullptr);
  std::string out(n.result);
  EXPECT_EQ(out.size(), 99 + 100 * 5u);
  EXPECT_EQ(out.substr(0, 11), "001: \r002: ");
  EXPECT_EQ(out.substr(out.size() - 11), "099: \r100: ");
}

TEST(NumberLinesTest, LengthOnlySizesTheResultAndTheScanStopsAtTheNul) {
  const char text[] = "ab\0c\nd";
  Numbered n(std::string(text, sizeof text - 1), 6);
  ASSERT_NE(n.result, nullptr);
  EXPECT_STREQ(n.result, "1: ab");
  EXPECT_EQ(n.allocated(), 6 + 3 + 1u);

  // A length below the real count still leaves room for the whole result.
  Numbered shortLength("a\nbcdef", 1);
  ASSERT_NE(shortLength.result, nullptr);
  EXPECT_STREQ(shortLength.result, "1: a\r2: bcdef");
}

TEST(NumberLinesTest, ANullTextOrAResultBeyondASigned32BitSizeIsRefused) {
  // 1 line of width 1: size = length + 3 + 1.
  EXPECT_EQ(NumberLines("a", INT_MAX - 3), nullptr);
  EXPECT_EQ(NumberLines("a", INT_MAX), nullptr);
  EXPECT_EQ(NumberLines(nullptr, 0), nullptr);
}

TEST(WriteLineNumberTest, PadsToTheWidthAndEndsWithColonSpaceAndNul) {
  const struct {
    int number;
    int width;
    const char* expected;
  } cases[] = {{1, 1, "1: "},     {7, 3, "007: "},     {10, 2, "10: "},
               {123, 3, "123: "}, {1, 7, "0000001: "}, {INT_MAX, 10, "2147483647: "}};
  for (const auto& c : cases) {
    char buffer[32];
    memset(buffer, 'X', sizeof buffer);
    char* end = WriteLineNumber(buffer, c.number, c.width);
    size_t written = strlen(c.expected);
    EXPECT_STREQ(buffer, c.expected);
    EXPECT_EQ(end, buffer + written);
    EXPECT_EQ(buffer[written + 1], 'X') << "nothing beyond the NUL";
  }
}

// Strips the prefixes from a numbered text, checking each one's number and
// width on the way; what remains must be the input with every lone LF as CR.
std::string StripPrefixes(const char* numbered, int lines, ::testing::AssertionResult* ok) {
  int width = snprintf(nullptr, 0, "%d", lines);
  std::string text;
  int line = 0;
  const char* p = numbered;
  bool atLineStart = true;
  for (;;) {
    if (atLineStart) {
      char prefix[32];
      snprintf(prefix, sizeof prefix, "%0*d: ", width, ++line);
      if (strncmp(p, prefix, strlen(prefix)) != 0) {
        *ok = ::testing::AssertionFailure() << "line " << line << " lacks prefix " << prefix;
        return text;
      }
      p += strlen(prefix);
      atLineStart = false;
    }
    if (*p == '\0') break;
    text += *p;
    if (*p == '\r') {
      if (p[1] == '\n') text += *++p;
      atLineStart = true;
    }
    ++p;
  }
  if (line != lines) *ok = ::testing::AssertionFailure() << line << " prefixes, not " << lines;
  return text;
}

TEST(NumberLinesTest, RandomTextsKeepTheirBytesAndGetOnePrefixPerLine) {
  std::mt19937 random(20261207);
  const char alphabet[] = {'a', 'b', ' ', '\r', '\n', '\n', '\r'};
  for (int round = 0; round < 3000; ++round) {
    std::string text(random() % 400, ' ');
    for (char& c : text) c = alphabet[random() % sizeof alphabet];
    int extra = round % 3 == 0 ? static_cast<int>(random() % 8) : 0;
    std::string input = text + std::string(1, '\0') + std::string(extra, 'z');
    const std::string before = input;

    // The expected form, written the simple way: lone LF -> CR.
    std::string normalized;
    int lines = 1;
    for (size_t i = 0; i < text.size(); ++i) {
      bool loneLF = text[i] == '\n' && (i == 0 || text[i - 1] != '\r');
      normalized += loneLF ? '\r' : text[i];
      lines += text[i] == '\r' || loneLF;
    }

    int length = static_cast<int>(text.size()) + extra;
    char* result = NumberLines(input.c_str(), length);
    ASSERT_NE(result, nullptr);
    int width = snprintf(nullptr, 0, "%d", lines);
    EXPECT_EQ(malloc_usable_size(result), static_cast<size_t>(length + lines * (width + 2) + 1));
    ::testing::AssertionResult ok = ::testing::AssertionSuccess();
    EXPECT_EQ(StripPrefixes(result, lines, &ok), normalized) << "round " << round;
    EXPECT_TRUE(ok) << "round " << round;
    EXPECT_EQ(input, before) << "the input is never changed";
    free(result);
  }
}

}  // namespace
