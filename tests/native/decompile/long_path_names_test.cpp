// The prefixing rule and the bounded wide copies, on literal inputs, with guard
// slots behind every destination so that a write past its size shows.
#include "decompile/long_path_names.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const wchar_t Guard = 0xBEEF;

// A destination of size slots and 8 guard slots behind it.
class Destination {
 public:
  explicit Destination(int size, const std::wstring& initial = L"")
      : slots_(static_cast<size_t>(size) + 8, L'#'), size_(size) {
    for (size_t i = size; i < slots_.size(); ++i) slots_[i] = Guard;
    std::copy(initial.begin(), initial.end(), slots_.begin());
    if (initial.size() < static_cast<size_t>(size)) slots_[initial.size()] = L'\0';
  }
  wchar_t* data() { return slots_.data(); }
  std::wstring text() const { return slots_.data(); }
  bool guardsIntact() const {
    for (size_t i = size_; i < slots_.size(); ++i) {
      if (slots_[i] != Guard) return false;
    }
    return true;
  }

 private:
  std::vector<wchar_t> slots_;
  int size_;
};

TEST(BoundedWideCopyTest, CopiesWholeOrCutsAtSizeMinusOne) {
  const struct {
    const wchar_t* source;
    int size;
    const wchar_t* expected;
  } cases[] = {
      {L"abc", 10, L"abc"}, {L"abc", 4, L"abc"}, {L"abcd", 4, L"abc"},
      {L"abc", 1, L""},     {L"", 5, L""},       {L"abcdefgh", 2, L"a"},
  };
  for (const auto& c : cases) {
    Destination d(c.size);
    EXPECT_EQ(BoundedWideCopy(d.data(), c.source, c.size), d.data());
    EXPECT_EQ(d.text(), c.expected) << c.source << " " << c.size;
    EXPECT_TRUE(d.guardsIntact()) << c.source << " " << c.size;
  }
}

TEST(BoundedWideCopyTest, ASizeOfZeroOrLessWritesNothing) {
  for (int size : {0, -1}) {
    Destination d(0, L"");
    wchar_t* slots = d.data();
    slots[0] = Guard;
    BoundedWideCopy(slots, L"abc", size);
    BoundedWideAppend(slots, L"abc", size);
    EXPECT_TRUE(d.guardsIntact());
  }
}

TEST(BoundedWideAppendTest, AppendsWholeOrFillsToSizeMinusOne) {
  const struct {
    const wchar_t* initial;
    const wchar_t* source;
    int size;
    const wchar_t* expected;
  } cases[] = {
      {L"ab", L"cd", 10, L"abcd"}, {L"ab", L"cd", 5, L"abcd"},  {L"ab", L"cde", 5, L"abcd"},
      {L"abcd", L"e", 5, L"abcd"}, {L"", L"abcdef", 4, L"abc"}, {L"ab", L"", 3, L"ab"},
      {L"abc", L"xyz", 3, L"ab"},  // text already longer than the size allows: cut
  };
  for (const auto& c : cases) {
    Destination d(c.size, c.initial);
    EXPECT_EQ(BoundedWideAppend(d.data(), c.source, c.size), d.data());
    EXPECT_EQ(d.text(), c.expected) << c.initial << "+" << c.source << " " << c.size;
    EXPECT_TRUE(d.guardsIntact()) << c.initial << "+" << c.source << " " << c.size;
  }
}

TEST(BoundedWideAppendTest, AnUnterminatedDestinationIsReadOnlyWithinItsSize) {
  Destination d(6);
  wchar_t* slots = d.data();
  for (int i = 0; i < 6; ++i) slots[i] = L'z';
  BoundedWideAppend(slots, L"abc", 6);
  EXPECT_EQ(d.text(), L"zzzzz");
  EXPECT_TRUE(d.guardsIntact());
}

TEST(WholeWideAppendTest, AppendsOnlyWhatFitsWholeAndLeavesTheRestUntouched) {
  const struct {
    const wchar_t* initial;
    const wchar_t* source;
    int size;
    int whole;
    const wchar_t* expected;
  } cases[] = {
      {L"ab", L"cd", 5, 1, L"abcd"}, {L"ab", L"cde", 5, 0, L"ab"}, {L"ab", L"", 3, 1, L"ab"},
      {L"", L"abc", 3, 0, L""},      {L"abc", L"", 3, 0, L"abc"},  // already too long
  };
  for (const auto& c : cases) {
    Destination d(c.size, c.initial);
    EXPECT_EQ(WholeWideAppend(d.data(), c.source, c.size), c.whole) << c.initial << "+" << c.source;
    EXPECT_EQ(std::wstring(d.data(), wcsnlen(d.data(), c.size)), c.expected)
        << c.initial << "+" << c.source;
    EXPECT_TRUE(d.guardsIntact()) << c.initial << "+" << c.source;
  }
  EXPECT_EQ(WholeWideAppend(nullptr, L"a", 0), 0);
}

std::wstring Local(size_t length) { return L"C:\\" + std::wstring(length - 3, L'x'); }
std::wstring Network(size_t length) {
  return L"\\\\srv\\share\\" + std::wstring(length - 12, L'y');
}

TEST(MakeLongPathTest, PrefixesLongPathsAndFailsWhenTheBufferIsTooSmall) {
  const struct {
    const char* what;
    std::wstring path;
    int whole;
    std::wstring expected;  // for a cut result: its first 1028 characters
  } cases[] = {
      {"local 259", Local(259), 1, Local(259)},
      {"local 260", Local(260), 1, L"\\\\?\\" + Local(260)},
      {"local 1024", Local(1024), 1, L"\\\\?\\" + Local(1024)},
      {"local 1025", Local(1025), 0, (L"\\\\?\\" + Local(1025)).substr(0, 1028)},
      {"network 259", Network(259), 1, Network(259)},
      {"network 300", Network(300), 1, L"\\\\?\\UNC" + Network(300).substr(1)},
      {"network 1022", Network(1022), 1, L"\\\\?\\UNC" + Network(1022).substr(1)},
      {"network 1023", Network(1023), 0, (L"\\\\?\\UNC" + Network(1023).substr(1)).substr(0, 1028)},
      {"single backslash", L"\\" + std::wstring(299, L'r'), 1,
       L"\\\\?\\\\" + std::wstring(299, L'r')},
      {"relative", std::wstring(260, L'r'), 1, L"\\\\?\\" + std::wstring(260, L'r')},
      {"already extended", L"\\\\?\\" + Local(300), 1, L"\\\\?\\UNC\\?\\" + Local(300)},
      {"empty", L"", 1, L""},
  };
  for (const auto& c : cases) {
    Destination d(LongPathBufferChars);
    EXPECT_EQ(MakeLongPath(d.data(), c.path.c_str()) != 0, c.whole != 0) << c.what;
    EXPECT_EQ(d.text(), c.expected) << c.what;
    EXPECT_TRUE(d.guardsIntact()) << c.what;
  }
  EXPECT_EQ((L"\\\\?\\UNC" + Network(300).substr(1)).size(), 306u);
}

TEST(MakeLongPathTest, TheSizedFormReportsCutsForAnySize) {
  const struct {
    std::wstring path;
    int size;
    int whole;
  } cases[] = {
      {L"C:\\a", 5, 1},       {L"C:\\ab", 5, 0},      {Local(260), 265, 1}, {Local(260), 264, 0},
      {Network(260), 267, 1}, {Network(260), 266, 0}, {L"C:\\a", 0, 0},     {L"", 1, 1},
  };
  for (const auto& c : cases) {
    Destination d(c.size > 0 ? c.size : 0);
    EXPECT_EQ(MakeLongPathSized(d.data(), c.path.c_str(), c.size) != 0, c.whole != 0)
        << c.path.size() << " in " << c.size;
    EXPECT_TRUE(d.guardsIntact()) << c.path.size() << " in " << c.size;
  }
}

TEST(MakeLongPathTest, ANullPathGivesAnEmptyTextAndNoSuccess) {
  Destination d(8, L"old");
  EXPECT_EQ(MakeLongPathSized(d.data(), nullptr, 8), 0);
  EXPECT_EQ(d.text(), L"");
}

}  // namespace
