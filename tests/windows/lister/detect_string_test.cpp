// The host's detection-string evaluator on a table of expressions and files.
#include "standins/lister/detect_string.h"

#include <gtest/gtest.h>

namespace {

DetectSubject File(const char* extension, long long size = 10, const char* head = "",
                   bool force = false) {
  DetectSubject s;
  s.extension = extension;
  s.size = size;
  s.head = head;
  s.force = force;
  return s;
}

struct Row {
  const char* expression;
  DetectSubject subject;
  bool offered;
};

TEST(DetectStringTest, ExpressionsDecideAsTheirOperatorsSay) {
  const char kPlugin[] = "force | (ext=\"CLASS\")";
  const Row rows[] = {
      {kPlugin, File("class"), true},  // extensions compare without regard to case
      {kPlugin, File("CLASS"), true},
      {kPlugin, File("classx"), false},
      {kPlugin, File(""), false},
      {kPlugin, File("txt", 10, "", true), true},                // force offers anything
      {"ext=\"A\" | ext=\"B\" & size>100", File("A", 1), true},  // & binds tighter than |
      {"(ext=\"A\" | ext=\"B\") & size>100", File("A", 1), false},
      {"ext=\"B\" & size>100", File("B", 101), true},
      {"ext=\"B\" & size>=100 & size<=100", File("B", 100), true},
      {"!(ext=\"A\")", File("A"), false},
      {"ext!=\"A\"", File("B"), true},
      {"[0]=202 & [1]=254", File("class", 10, "\xCA\xFE\xBA\xBE"), true},
      {"[10]=0", File("class", 10, "ab"), false},  // beyond the bytes read: -1
      {"find(\"CAFE\")", File("x", 10, "..CAFE.."), true},
      {"find(\"cafe\")", File("x", 10, "..CAFE.."), false},
      {"findi(\"cafe\")", File("x", 10, "..CAFE.."), true},
      {"multimedia | ext=\"X\"", File("Y"), false},
      {"FORCE", File("Y", 0, "", true), true},
  };
  for (const Row& row : rows) {
    DetectResult result = EvaluateDetectString(row.expression, row.subject);
    EXPECT_TRUE(result.valid) << row.expression << ": " << result.error;
    EXPECT_EQ(result.offered, row.offered) << row.expression << " on ext " << row.subject.extension;
  }
}

TEST(DetectStringTest, ASyntaxErrorOffersNothingAndSaysWhere) {
  const struct {
    const char* expression;
    size_t position;
  } rows[] = {
      {"ext=\"CLASS\" | ", 14}, {"(ext=\"CLASS\"", 12}, {"ext=\"CLASS", 4},
      {"ext=\"A\" extra", 8},   {"bogus(1)", 0},        {"ext=\"A\" & size > ", 17},
  };
  for (const auto& row : rows) {
    DetectResult result = EvaluateDetectString(row.expression, File("CLASS", 10, "", true));
    EXPECT_FALSE(result.valid) << row.expression;
    EXPECT_FALSE(result.offered) << row.expression;
    EXPECT_FALSE(result.error.empty()) << row.expression;
    EXPECT_EQ(result.position, row.position) << row.expression;
  }
}

}  // namespace
