// Where the Kotlin view declares a member, on lines as Vineflower's Kotlin
// plugin writes them (kotlin-stdlib's Pair, Regex, TuplesKt, UInt, Clock).
#include "presentation/kotlin_declaration.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

DeclarationTarget Target(MemberKind kind, const wchar_t* name, size_t parameters = 0) {
  DeclarationTarget target;
  target.kind = kind;
  target.name = name;
  target.parameters.assign(parameters, L"Object");
  return target;
}

// The declared name's position, as the text after it shows it ("" for none).
std::wstring Declared(const std::wstring& line, const DeclarationTarget& target) {
  int at = KotlinDeclaredNameAt(line, target);
  return at < 0 ? L"" : line.substr(static_cast<size_t>(at), target.name.size());
}

TEST(KotlinDeclarationTest, FunctionsPastTypeParametersAndReceiversNotCalls) {
  const DeclarationTarget component1 = Target(MemberKind::kMethod, L"component1");
  EXPECT_EQ(Declared(L"   public operator fun component1(): Any {", component1), L"component1");
  EXPECT_EQ(Declared(L"/*  34*/   public fun component1() = x", component1), L"component1");
  EXPECT_EQ(Declared(L"      return this.component1()", component1), L"");
  EXPECT_EQ(Declared(L"   public fun component10(): Any {", component1), L"");
  EXPECT_EQ(Declared(L"public infix fun <A, B> A.to(that: B): Pair<A, B> {",
                     Target(MemberKind::kMethod, L"to")),
            L"to");
  EXPECT_EQ(Declared(L"public fun <T> Pair<T, T>.toList(): List<T> {",
                     Target(MemberKind::kMethod, L"toList")),
            L"toList");
  EXPECT_EQ(Declared(L"   fun `compareTo-WZ4Q5Ns`(other: Int): Int {",
                     Target(MemberKind::kMethod, L"compareTo-WZ4Q5Ns")),
            L"compareTo-WZ4Q5Ns");
  EXPECT_EQ(Declared(L"   // fun toList() is not here", Target(MemberKind::kMethod, L"toList")),
            L"toList");  // a comment is text like any other: the column decides first
}

TEST(KotlinDeclarationTest, PropertiesClassesCompanionsAndConstructors) {
  EXPECT_EQ(Declared(L"   public final val first: Any", Target(MemberKind::kField, L"first")),
            L"first");
  EXPECT_EQ(Declared(L"   private final var _options: Set<RegexOption>?",
                     Target(MemberKind::kField, L"_options")),
            L"_options");
  EXPECT_EQ(Declared(L"   val firstName: String", Target(MemberKind::kField, L"first")), L"");
  EXPECT_EQ(Declared(L"      public class Failure(error: String, input: CharSequence) : X {",
                     Target(MemberKind::kNested, L"Failure")),
            L"Failure");
  EXPECT_EQ(Declared(L"private sealed interface InstantParseResult {",
                     Target(MemberKind::kNested, L"InstantParseResult")),
            L"InstantParseResult");
  EXPECT_EQ(Declared(L"   public companion object {", Target(MemberKind::kNested, L"Companion")),
            L"companion");
  EXPECT_EQ(Declared(L"   public object System : Clock {", Target(MemberKind::kNested, L"System")),
            L"System");
  const DeclarationTarget pair = Target(MemberKind::kConstructor, L"Pair", 2);
  EXPECT_EQ(
      Declared(L"public data class Pair<A, B>(first: Any, second: Any) : Serializable {", pair),
      L"Pair");
  EXPECT_EQ(Declared(L"public data class Pair<A, B> : Serializable {", pair), L"");
  // A secondary constructor: where its word stands.
  EXPECT_EQ(KotlinDeclaredNameAt(L"   public constructor(pattern: String)  {",
                                 Target(MemberKind::kConstructor, L"Regex", 1)),
            10);
}

TEST(KotlinDeclarationTest, OverloadsByTheirParameterCountAndTheDeclarationAboveItsCode) {
  const std::vector<std::wstring> lines = {
      L"// dravik - Java class viewer",
      L"// Kotlin",
      L"public class Regex @PublishedApi  internal constructor(nativePattern: Pattern) {",
      L"   public constructor(pattern: String)  {",
      L"/*  90*/      this(var10001)",
      L"   }",
      L"   public constructor(pattern: String, option: RegexOption)  {",
      L"/*  93*/      this(var10001)",
      L"   }",
      L"   public fun find(input: CharSequence, startIndex: Int = 0): MatchResult? {",
      L"/* 105*/      return RegexKt.access$findNext(var10000, startIndex, input)",
      L"   }",
  };
  EXPECT_EQ(FindKotlinDeclarationLine(lines, Target(MemberKind::kConstructor, L"Regex", 2), 2), 6);
  EXPECT_EQ(FindKotlinDeclarationLine(lines, Target(MemberKind::kConstructor, L"Regex", 1), 2), 2);
  EXPECT_EQ(FindKotlinDeclarationLine(lines, Target(MemberKind::kMethod, L"matches", 1), 2), -1);
  const DeclarationTarget find = Target(MemberKind::kMethod, L"find", 2);
  EXPECT_EQ(KotlinDeclarationAtOrAbove(lines, 10, find, 40), 9);
  // Not past another numbered line.
  EXPECT_EQ(
      KotlinDeclarationAtOrAbove(lines, 10, Target(MemberKind::kConstructor, L"Regex", 2), 40), -1);
}

}  // namespace
