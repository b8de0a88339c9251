// Stack-trace positions in search texts, the line-number column, and which
// shown file holds a source file's class.
#include "presentation/stack_position.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(StackPositionTest, APositionAloneOrAWholeFrameAndNothingElse) {
  const struct {
    const wchar_t* text;
    const wchar_t* name;  // null: not a position
    int line;
  } cases[] = {
      {L"Modern.java:21", L"Modern", 21},
      {L" \tModern.java:7\r\n", L"Modern", 7},
      {L"at demo.Modern.kind(Modern.java:21)", L"Modern", 21},
      {L"\tat demo.Outer$Inner.lambda$run$0(Outer.java:123456789)", L"Outer", 123456789},
      {L"demo.Modern.kind(Modern.java:21)", L"Modern", 21},
      {L"at java.base/java.util.ArrayList.get(ArrayList.java:427)", L"ArrayList", 427},
      {L"at Пример.main(Пример.java:3)", L"Пример", 3},
      {L"at kotlin.text.Regex.find(Regex.kt:105)", L"Regex", 105},
      {L"Tuples.kt:12", L"Tuples", 12},
      {L"Tuples.kts:12", nullptr, 0},
      {L"Modern.java", nullptr, 0},
      {L"Modern.java:", nullptr, 0},
      {L"Modern.java:21x", nullptr, 0},
      {L"Modern.java:1234567890", nullptr, 0},  // past nine digits
      {L".java:3", nullptr, 0},
      {L"see Modern.java:21", nullptr, 0},
      {L"at demo.Modern.kind(Modern.java:21) ~[app.jar]", nullptr, 0},
      {L"at (Modern.java:3)", nullptr, 0},
      {L"at demo.Modern.kind(Modern.java:3", nullptr, 0},
      {L"at demo.Modern.kind(Native Method)", nullptr, 0},
      {L"", nullptr, 0},
  };
  for (const auto& c : cases) {
    StackPosition position = {nullptr, 0, -1};
    bool parsed = ParseStackPosition(c.text, &position);
    EXPECT_EQ(parsed, c.name != nullptr) << c.text;
    if (parsed && c.name != nullptr) {
      EXPECT_EQ(std::wstring(position.name, position.nameLength), c.name) << c.text;
      EXPECT_EQ(position.line, c.line) << c.text;
    }
  }
  StackPosition unused;
  EXPECT_FALSE(ParseStackPosition(nullptr, &unused));
}

TEST(StackPositionTest, TheColumnCarriesANumberOnlyInItsOwnForm) {
  const struct {
    const wchar_t* line;
    int number;
  } cases[] = {
      {L"/*  16*/    return switch", 16},
      {L"/*10000*/", 10000},
      {L"/*   7*/\r", 7},
      {L"/*16*/x", 16},
      {L"        int x;", -1},
      {L"/* note */ int", -1},
      {L"/*  16", -1},
      {L"/*    */", -1},
      {L"// 16", -1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ColumnLineNumber(c.line, static_cast<int>(wcslen(c.line))), c.number) << c.line;
  }
  EXPECT_EQ(ColumnLineNumber(L"/*  16*/", 7), -1);  // cut before its end
}

TEST(StackPositionTest, AShownFileHoldsTheClassOfItsNameUpToTheFirstDollar) {
  const std::wstring name = L"Modern";
  const struct {
    const wchar_t* path;
    bool holds;
  } cases[] = {
      {L"C:\\x\\Modern.class", true},
      {L"C:\\x\\Modern$Unit.class", true},
      {L"Z:/x/modern.CLASS", true},
      {L"Modern", true},
      {L"C:\\x\\Modern2.class", false},
      {L"C:\\Modern.x\\Other.class", false},
      {L"C:\\x\\Mode.class", false},
      {L"C:\\x\\ModernKt.class", true},
      {L"C:\\x\\ModernKt$1.class", true},
      {L"C:\\x\\ModernK.class", false},
      {nullptr, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FileHoldsSourceOf(c.path, name.c_str(), static_cast<int>(name.size())), c.holds)
        << (c.path ? c.path : L"(null)");
  }
}

}  // namespace
