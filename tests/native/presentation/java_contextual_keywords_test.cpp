// Which contextual keywords NextJavaToken finds in lines of Java, both readings
// of each word side by side.
#include "presentation/java_contextual_keywords.h"

#include <ctype.h>
#include <gtest/gtest.h>

#include <string>

namespace {

bool IsWordCharacter(char c) { return isalnum(static_cast<unsigned char>(c)) || c == '_'; }

// Hands source over as the highlighter does, split as the control splits it:
// runs of word characters, runs of punctuation up to a quote, literals from
// quote to quote; spaces only between. The keywords found, space-separated.
std::string KeywordsIn(const std::string& source) {
  JavaTokenWindow window = {};
  std::string found;
  const int size = static_cast<int>(source.size());
  for (int i = 0, j = 0; i < size; i = j) {
    char c = source[i];
    j = i + 1;
    if (c == ' ') continue;
    JavaToken token;
    if (c == '"') {
      j = static_cast<int>(source.find('"', static_cast<size_t>(j))) + 1;
      token = MakeJavaLiteral(i, j);
    } else {
      while (j < size && source[j] != ' ' && source[j] != '"' &&
             IsWordCharacter(source[j]) == IsWordCharacter(c)) {
        ++j;
      }
      token = MakeJavaToken(source.c_str() + i, j - i, i);
    }
    JavaKeywordRange k = NextJavaToken(window, token);
    if (k.end > k.start) {
      found += (found.empty() ? "" : " ") + source.substr(k.start, k.end - k.start);
    }
  }
  return found;
}

TEST(JavaContextualKeywordsTest, KeywordsOnlyWhereJavaReadsThemAsKeywords) {
  const struct {
    const char* source;
    const char* keywords;
  } cases[] = {
      {"record Point(int x, int y) {}", "record"},
      {"public record Pair<A, B>(A a, B b)", "record"},
      {"Record record = r; record(x); return record;", ""},
      {"yield x;", "yield"},
      {"case 1: yield -1; default: { yield \"s\"; }", "yield yield"},
      {"if (c) yield new A(); else yield (b);", "yield yield"},
      {"int yield = 1; yield = 2; yield++; yield += 1; yield.x(); Thread.yield();", ""},
      {"b = yield; if ((Object) yield instanceof T)", ""},
      {"var list = new ArrayList<>(); for (var e : list)", "var var"},
      {"(var a, var b) -> a", "var var"},
      {"String var = s; var.length(); var instanceof String", ""},
      {"var var = 1;", "var"},
      {"sealed interface Shape permits Circle, Square {}", "sealed permits"},
      {"public sealed abstract class S permits a.B", "sealed permits"},
      {"boolean sealed; sealed = true; int permits = p; permits instanceof X", ""},
      {"public non-sealed class Circle", "non-sealed"},
      {"a = non - sealed; a = non-sealed;", ""},
      {"non - sealed class C", "sealed"},  // apart, non and - are no part of it
      // Case-sensitive, and a keyword's place alone does not make another word one.
      {"Var x; Sealed class; Yield y; nonsealed class", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(KeywordsIn(c.source), c.keywords) << c.source;
  }
}

}  // namespace
