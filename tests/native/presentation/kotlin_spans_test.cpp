// The Kotlin view's spans: which words are keywords where they stand, and
// where strings, templates, comments and numbers begin and end.
#include "presentation/kotlin_spans.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

// Each span as "k:text" (k keyword, l literal, c comment, t template).
std::vector<std::string> Spans(const std::wstring& text) {
  std::vector<std::string> out;
  for (const KotlinSpan& span : FindKotlinSpans(text.c_str(), static_cast<int>(text.size()))) {
    const char kind = "klct"[static_cast<int>(span.kind)];
    out.push_back(std::string(1, kind) + ":" +
                  Narrow(text.substr(span.start, span.end - span.start)));
  }
  return out;
}

// The keywords alone, in order.
std::vector<std::string> Keywords(const std::wstring& text) {
  std::vector<std::string> out;
  for (const std::string& span : Spans(text)) {
    if (span[0] == 'k') out.push_back(span.substr(2));
  }
  return out;
}

using Words = std::vector<std::string>;

TEST(KotlinSpansTest, HardKeywordsAreKeywordsEverywhereButInsideNamesStringsAndComments) {
  EXPECT_EQ(Keywords(L"fun f(x: Any) = when (x) { is String -> x !in y; else -> null }"),
            (Words{"fun", "when", "is", "in", "else", "null"}));
  EXPECT_EQ(Keywords(L"val funny = valX + `fun` // val\n/* var */ \"when\""), (Words{"val"}));
  EXPECT_EQ(Keywords(L"typealias A = B\nobject O : I\nreturn@forEach this@Outer as? T"),
            (Words{"typealias", "object", "return", "this", "as"}));
}

TEST(KotlinSpansTest, ModifiersAreKeywordsOnlyInFrontOfADeclaration) {
  EXPECT_EQ(Keywords(L"public data class Pair<A, B>(val first: A) : Serializable"),
            (Words{"public", "data", "class", "val"}));
  EXPECT_EQ(Keywords(L"val data = value.sealed + inline(open)\nprivate.x = 1"), (Words{"val"}));
  EXPECT_EQ(Keywords(L"@JvmInline\npublic value class UInt @PublishedApi internal constructor("),
            (Words{"public", "value", "class", "internal", "constructor"}));
  EXPECT_EQ(Keywords(L"companion object {}\nenum class E\nsealed interface S\n"
                     L"override suspend fun f()\nprivate const val X = 1\nlateinit var y: T"),
            (Words{"companion", "object", "enum", "class", "sealed", "interface", "override",
                   "suspend", "fun", "private", "const", "val", "lateinit", "var"}));
  // In front of a parameter, a type parameter or a function type.
  EXPECT_EQ(Keywords(L"inline fun <reified T> f(vararg xs: T, noinline g: suspend () -> Unit,"
                     L" h: Array<out T>, vararg: Int)"),
            (Words{"inline", "fun", "reified", "vararg", "noinline", "suspend", "out"}));
  EXPECT_EQ(Keywords(L"f(out, reified)\nval suspend = out"), (Words{"val"}));
}

TEST(KotlinSpansTest, AccessorsAreKeywordsOnlyUnderTheirProperty) {
  const std::wstring property =
      L"class C {\n"
      L"   public final val options: Set<Int>\n"
      L"      public final get() {\n"
      L"         return map.get(key)\n"
      L"      }\n"
      L"   var x: Int = 0\n"
      L"      private set\n"
      L"   fun f() {\n"
      L"      get(1)\n"
      L"      set(value)\n"
      L"   }\n"
      L"}\n";
  EXPECT_EQ(Keywords(property), (Words{"class", "public", "final", "val", "public", "final", "get",
                                       "return", "var", "private", "set", "fun"}));
}

TEST(KotlinSpansTest, SoftKeywordsInTheirOnePlaceEach) {
  EXPECT_EQ(Keywords(L"import kotlin.text.Regex\nval by = 1\nval x by lazy { by }"),
            (Words{"import", "val", "val", "by"}));
  EXPECT_EQ(Keywords(L"class A : I by b {\n init {\n }\n fun init() {}\n}"),
            (Words{"class", "by", "init", "fun"}));
  EXPECT_EQ(Keywords(L"try { } catch (e: E) { } finally { }\nf()\ncatch(x)\nfinally = 1"),
            (Words{"try", "catch", "finally"}));
  EXPECT_EQ(Keywords(L"fun <T> f() where T : A {}\nf(where, x)\nwhere(y)"),
            (Words{"fun", "where"}));
  EXPECT_EQ(Keywords(L"constructor(x: Int) : this(x)\nfun constructor() = a.constructor(1)"),
            (Words{"constructor", "this", "fun"}));
}

TEST(KotlinSpansTest, StringTemplatesReadTheirCodeAndTheRestIsText) {
  EXPECT_EQ(Spans(L"\"a $b ${if (c) d else \"e$f\"} g\""),
            (Words{"l:\"a ", "t:$b", "l: ", "t:${", "k:if", "k:else", "l:\"e", "t:$f", "l:\"",
                   "t:}", "l: g\""}));
  // Escapes are text; a "$" before no name is text.
  EXPECT_EQ(Spans(L"\"\\\"$\\$x $1 \\u0041\""), (Words{"l:\"\\\"$\\$x $1 \\u0041\""}));
  // A template's braces count its own.
  EXPECT_EQ(Spans(L"\"${ { x } }\" val"), (Words{"l:\"", "t:${", "t:}", "l:\"", "k:val"}));
}

TEST(KotlinSpansTest, RawStringsAndNestedCommentsEndWhereKotlinEndsThem) {
  EXPECT_EQ(Spans(L"\"\"\"a\"b\\\"\n$x\"\"\"\" val"),
            (Words{"l:\"\"\"a\"b\\\"\n", "t:$x", "l:\"\"\"\"", "k:val"}));
  EXPECT_EQ(Spans(L"/* a /* b */ val */ val"), (Words{"c:/* a /* b */ val */", "k:val"}));
  // The column of original lines is a comment like any other.
  EXPECT_EQ(Spans(L"/*  16*/   return 1"), (Words{"c:/*  16*/", "k:return", "l:1"}));
}

TEST(KotlinSpansTest, UnclosedLiteralsAndCommentsStopAtTheirLinesOrTheTextsEnd) {
  EXPECT_EQ(Spans(L"\"open\nval x = 'a\nval"), (Words{"l:\"open", "k:val", "l:'a", "k:val"}));
  EXPECT_EQ(Spans(L"\"\"\"raw\nval /* a /* b */"), (Words{"l:\"\"\"raw\nval /* a /* b */"}));
  EXPECT_EQ(Spans(L"val /* a /* b */ c"), (Words{"k:val", "c:/* a /* b */ c"}));
  EXPECT_EQ(Spans(L"\"${ val"), (Words{"l:\"", "t:${", "k:val"}));
}

TEST(KotlinSpansTest, NumbersAndCharactersAreLiterals) {
  EXPECT_EQ(Spans(L"1..10 0x1F_FF 0b1010 1_000L 1.5e-3f .5 2u 3uL x1 a.b"),
            (Words{"l:1", "l:10", "l:0x1F_FF", "l:0b1010", "l:1_000L", "l:1.5e-3f", "l:.5", "l:2u",
                   "l:3uL"}));
  EXPECT_EQ(Spans(L"'a' '\\'' '\\u0041' '\"'"),
            (Words{"l:'a'", "l:'\\''", "l:'\\u0041'", "l:'\"'"}));
}

TEST(KotlinSpansTest, VineflowersPairReadsAsKotlin) {
  const std::wstring pair =
      L"package kotlin\n"
      L"\n"
      L"import java.io.Serializable\n"
      L"\n"
      L"public data class Pair<A, B>(first: Any, second: Any) : Serializable {\n"
      L"   public final val first: Any\n"
      L"\n"
      L"   init {\n"
      L"      this.first = (A)first\n"
      L"   }\n"
      L"\n"
      L"   public override fun toString(): String {\n"
      L"      return \"(${this.first}, ${this.second})\"\n"
      L"   }\n"
      L"\n"
      L"   public override operator fun equals(other: Any?): Boolean {\n"
      L"      label28@\n"
      L"      return other is Pair && this.first == (other as Pair).first\n"
      L"   }\n"
      L"}\n";
  EXPECT_EQ(Keywords(pair), (Words{"package",  "import", "public", "data", "class",  "public",
                                   "final",    "val",    "init",   "this", "public", "override",
                                   "fun",      "return", "this",   "this", "public", "override",
                                   "operator", "fun",    "return", "is",   "this",   "as"}));
}

// Whatever the text, the spans lie within it, in order, none empty or overlapping.
TEST(KotlinSpansTest, AnyTextGivesOrderedSpansWithinIt) {
  const std::wstring pieces[] = {L"\"",  L"\"\"\"", L"${",  L"}",       L"{",  L"$",
                                 L"/*",  L"*/",     L"//",  L"'",       L"\\", L"\n",
                                 L"val", L"data",   L"get", L"@",       L"(",  L"0x",
                                 L".",   L"\x00e9", L"`",   L"private", L":"};
  const int count = sizeof pieces / sizeof pieces[0];
  unsigned seed = 7;
  for (int round = 0; round < 3000; ++round) {
    std::wstring text;
    for (int k = 0; k < 12; ++k) {
      seed = seed * 1103515245u + 12345u;
      text += pieces[(seed >> 16) % count];
    }
    int behind = 0;
    for (const KotlinSpan& span : FindKotlinSpans(text.c_str(), static_cast<int>(text.size()))) {
      ASSERT_LE(behind, span.start) << Narrow(text);
      ASSERT_LT(span.start, span.end) << Narrow(text);
      ASSERT_LE(span.end, static_cast<int>(text.size())) << Narrow(text);
      behind = span.end;
    }
  }
  // Templates nested past the bound stay text.
  std::wstring deep;
  for (int i = 0; i < 5000; ++i) deep += L"\"${";
  EXPECT_FALSE(FindKotlinSpans(deep.c_str(), static_cast<int>(deep.size())).empty());
}

}  // namespace
