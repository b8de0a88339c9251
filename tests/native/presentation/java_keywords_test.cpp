// The keyword table and its binary search.
#include "presentation/java_keywords.h"

#include <gtest/gtest.h>
#include <string.h>

#include <string>

namespace {

bool IsEntry(const std::string& word) {
  for (const char* entry : JavaKeywords) {
    if (word == entry) return true;
  }
  return false;
}

TEST(JavaKeywordsTest, TableIsStrictlyAscendingLowerCaseAndBoundsItsEnds) {
  for (int i = 0; i < JavaKeywordCount; ++i) {
    for (const char* c = JavaKeywords[i]; *c; ++c) {
      EXPECT_TRUE(*c >= 'a' && *c <= 'z') << JavaKeywords[i];
    }
    if (i > 0) {
      EXPECT_LT(strcmp(JavaKeywords[i - 1], JavaKeywords[i]), 0) << i;
    }
  }
  EXPECT_STREQ(JavaKeywords[0], "abstract");
  EXPECT_STREQ(JavaKeywords[24], "import");
  EXPECT_STREQ(JavaKeywords[26], "int");
  EXPECT_STREQ(JavaKeywords[49], "while");
}

// Every entry is found at its own index, and so is nothing else: the table's
// neighbours (an entry with a letter more or less, a changed case) fall
// between entries and exercise every path of the search.
TEST(JavaKeywordsTest, EveryEntryIsFoundAtItsIndexWithinSixComparisons) {
  for (int i = 0; i < JavaKeywordCount; ++i) {
    int comparisons = 0;
    EXPECT_EQ(FindJavaKeyword(JavaKeywords[i], &comparisons), i) << JavaKeywords[i];
    EXPECT_GE(comparisons, 1);
    EXPECT_LE(comparisons, 6) << JavaKeywords[i];

    std::string word = JavaKeywords[i];
    for (const std::string& near :
         {word + "s", word + "_", word.substr(0, word.size() - 1), word + "\t",
          std::string(1, static_cast<char>(word[0] - 'a' + 'A')) + word.substr(1)}) {
      if (IsEntry(near)) continue;  // "throw" and "throws" are neighbours
      EXPECT_EQ(FindJavaKeyword(near.c_str(), &comparisons), -1) << near;
      EXPECT_LE(comparisons, 6) << near;
    }
  }
}

TEST(JavaKeywordsTest, NonKeywordsAreNotFound) {
  const char* const words[] = {"",     "Int", "INT",    "true",    "false",  "null",
                               "int ", "a",   "zzzz",   "import;", "String", "var",
                               "\x80", "~",   "whilst", "abstrac", "aa",     "int\r"};
  for (const char* word : words) {
    int comparisons = 0;
    EXPECT_EQ(FindJavaKeyword(word, &comparisons), -1) << word;
    EXPECT_LE(comparisons, 6) << word;
  }
}

TEST(JavaKeywordsTest, FirstProbeIsImportAndNullIsNoWord) {
  int comparisons = -1;
  EXPECT_EQ(FindJavaKeyword("import", &comparisons), 24);
  EXPECT_EQ(comparisons, 1);
  EXPECT_EQ(FindJavaKeyword(nullptr, &comparisons), -1);
  EXPECT_EQ(comparisons, 0);
  EXPECT_EQ(FindJavaKeyword(nullptr), -1);
}

}  // namespace
