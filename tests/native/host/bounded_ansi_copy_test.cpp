#include "host/bounded_ansi_copy.h"

#include <gtest/gtest.h>
#include <string.h>

namespace {

TEST(BoundedAnsiCopyTest, CopiesWholeCutsOrWritesNothingAndStaysInsideTheBuffer) {
  const struct {
    const char* source;
    int size;
    const char* expected;  // null: nothing written
  } cases[] = {
      {"abc", 10, "abc"},  {"abc", 4, "abc"},    {"abc", 3, "ab"}, {"abc", 1, ""},
      {"abc", 0, nullptr}, {"abc", -1, nullptr}, {"", 5, ""},
  };
  for (const auto& c : cases) {
    char buffer[32];
    memset(buffer, '#', sizeof buffer);
    BoundedAnsiCopy(buffer + 4, c.source, c.size);
    EXPECT_EQ(memcmp(buffer, "####", 4), 0);
    size_t written = c.expected ? strlen(c.expected) + 1 : 0;
    if (c.expected) {
      EXPECT_STREQ(buffer + 4, c.expected);
    }
    for (size_t i = 4 + written; i < sizeof buffer; ++i) EXPECT_EQ(buffer[i], '#') << i;
  }
}

TEST(BoundedAnsiCopyTest, ReadsNoMoreThanSizeMinusOneSourceBytes) {
  // An unterminated source exactly size - 1 bytes long: ASan catches a read past it.
  char* source = static_cast<char*>(malloc(259));
  memset(source, 'n', 259);
  char destination[260];
  BoundedAnsiCopy(destination, source, 260);
  EXPECT_EQ(strlen(destination), 259u);
  free(source);
}

}  // namespace
