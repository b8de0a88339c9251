// Declarations found in a view's text: Java source with Jad's column, and
// javap's listing; calls, statements and comments that name the member are
// not declarations.
#include "presentation/declaration_text.h"

#include <gtest/gtest.h>

namespace {

DeclarationTarget Method(const wchar_t* name, std::vector<std::wstring> parameters,
                         std::vector<std::wstring> erased = {}) {
  DeclarationTarget target;
  target.kind = MemberKind::kMethod;
  target.name = name;
  target.parameters = parameters;
  target.erasedParameters = erased.empty() ? parameters : erased;
  return target;
}

DeclarationTarget Of(MemberKind kind, const wchar_t* name) {
  DeclarationTarget target;
  target.kind = kind;
  target.name = name;
  return target;
}

TEST(DeclarationTextTest, WhereALineDeclaresTheName) {
  DeclarationTarget appendln = Method(L"appendln", {L"char[]", L"int", L"int"});
  const struct {
    const wchar_t* line;
    int at;
  } methods[] = {
      {L"    public StrBuilder appendln(char[] chars, int startIndex, int length) {", 22},
      {L"/* 123*/    public StrBuilder appendln(final char[] chars) {", 30},
      {L"  public org.apache.commons.lang3.text.StrBuilder appendln(char[], int, int);", 50},
      {L"    public static <T> StrBuilder appendln (T x) {", 33},
      {L"/* 124*/        return this.append(chars).appendln(x);", -1},
      {L"        appendln(chars);", -1},
      {L"        StrBuilder b = appendln(chars);", -1},
      {L"       4: invokevirtual #12  // Method appendln:([CII)Lorg/Foo;", -1},
      {L"    // appendln(char[]) is the one", -1},
      {L"    public StrBuilder appendlnx(char[] chars) {", -1},
      {L"        return appendln(chars);", -1},
      {L"        return cond ? appendln(x) : y;", -1},
      {L"        x = cond ? appendln(x) : y;", -1},
      {L"    public Map<?, ? extends K> appendln(char[] chars) {", 31},
  };
  for (const auto& c : methods) EXPECT_EQ(DeclaredNameAt(c.line, appendln), c.at) << c.line;

  DeclarationTarget constructor = Of(MemberKind::kConstructor, L"StrBuilder");
  EXPECT_EQ(DeclaredNameAt(L"    public StrBuilder(int initialCapacity) {", constructor), 11);
  EXPECT_EQ(DeclaredNameAt(L"    StrBuilder() {", constructor), 4);
  EXPECT_EQ(DeclaredNameAt(L"  public org.apache.commons.lang3.text.StrBuilder(int);", constructor),
            39);
  EXPECT_EQ(DeclaredNameAt(L"  private com.example.Showcase$StrBuilder(double);", constructor), 31);
  EXPECT_EQ(DeclaredNameAt(L"        return new StrBuilder(4);", constructor), -1);
  EXPECT_EQ(DeclaredNameAt(L"        this.x = new org.a.StrBuilder(4);", constructor), -1);

  DeclarationTarget size = Of(MemberKind::kField, L"size");
  EXPECT_EQ(DeclaredNameAt(L"    protected int size;", size), 18);
  EXPECT_EQ(DeclaredNameAt(L"    private final Map<K, V> size = new HashMap<>();", size), 28);
  EXPECT_EQ(DeclaredNameAt(L"  protected int size;", size), 16);
  EXPECT_EQ(DeclaredNameAt(L"/*  40*/        this.size = 0;", size), -1);
  EXPECT_EQ(DeclaredNameAt(L"        int len = size;", size), -1);
  EXPECT_EQ(DeclaredNameAt(L"        return size;", size), -1);

  DeclarationTarget mercury = Of(MemberKind::kField, L"MERCURY");
  mercury.enumConstant = true;
  EXPECT_EQ(DeclaredNameAt(L"    MERCURY(3.303e+23, 2.4397e6),", mercury), 4);
  EXPECT_EQ(DeclaredNameAt(L"    MERCURY,", mercury), 4);
  EXPECT_EQ(DeclaredNameAt(L"        return MERCURY;", mercury), -1);

  DeclarationTarget planet = Of(MemberKind::kNested, L"Planet");
  EXPECT_EQ(DeclaredNameAt(L"    public static enum Planet {", planet), 23);
  EXPECT_EQ(DeclaredNameAt(L"  static final class Planet<T> extends A {", planet), 21);
  EXPECT_EQ(DeclaredNameAt(L"    Planet p = Planet.EARTH;", planet), -1);
  EXPECT_EQ(DeclaredNameAt(L"    // the class Planet", planet), -1);
}

TEST(DeclarationTextTest, ParametersCompareBySimpleTypeAsDeclaredOrErased) {
  DeclarationTarget difference =
      Method(L"difference", {L"Map<? extends K, ? extends V>", L"Equivalence<? super V>"},
             {L"Map", L"Equivalence"});
  EXPECT_TRUE(ParametersMatch(L"Map<? extends K, ? extends V> left, Equivalence<? super V> e) {",
                              difference));
  EXPECT_TRUE(ParametersMatch(
      L"java.util.Map<? extends K, ? extends V>, com.google.common.base.Equivalence<? super V>);",
      difference));
  EXPECT_TRUE(ParametersMatch(L"final @Nullable Map left, Equivalence e)", difference));
  EXPECT_FALSE(ParametersMatch(L"Map<? extends K, ? extends V> left)", difference));
  EXPECT_FALSE(ParametersMatch(L"SortedMap<K, V> left, Equivalence<? super V> e)", difference));
  EXPECT_FALSE(ParametersMatch(L"Map<K, V> left,", difference));  // the list does not close

  DeclarationTarget varargs =
      Method(L"appendln", {L"String", L"Object..."}, {L"String", L"Object[]"});
  EXPECT_TRUE(ParametersMatch(L"String format, Object... objs) {", varargs));
  EXPECT_TRUE(ParametersMatch(L"java.lang.String, java.lang.Object...);", varargs));
  EXPECT_TRUE(ParametersMatch(L")", Method(L"size", {})));
  EXPECT_TRUE(ParametersMatch(L"T item)", Method(L"add", {L"T"}, {L"Comparable"})));
  EXPECT_TRUE(ParametersMatch(L"Map.Entry<K, V> entry)", Method(L"f", {L"Map.Entry<K, V>"})));
}

// Overloads apart by their parameters; the class's own members (the least
// indented) before a nested class's of the same name.
TEST(DeclarationTextTest, TheDeclarationLineAmongOverloadsAndNestedClasses) {
  std::vector<std::wstring> lines = {
      L"// banner",
      L"// time",
      L"public class StrBuilder {",
      L"    public StrBuilder appendln(char[] chars) {",
      L"/* 100*/        return this.appendln(chars, 0, chars.length);",
      L"    }",
      L"    static class Inner {",
      L"        public StrBuilder appendln(char[] chars,",
      L"                int startIndex, int length) {",
      L"        }",
      L"    }",
      L"    @Override",
      L"    public StrBuilder appendln(char[] chars,",
      L"            int startIndex, int length) {",
      L"/* 110*/        this.append(chars, startIndex, length);",
      L"    }",
  };
  EXPECT_EQ(FindDeclarationLine(lines, Method(L"appendln", {L"char[]", L"int", L"int"}), 2), 12);
  EXPECT_EQ(FindDeclarationLine(lines, Method(L"appendln", {L"char[]"}), 2), 3);
  // No overload with these parameters: the least indented declaration of the name.
  EXPECT_EQ(FindDeclarationLine(lines, Method(L"appendln", {L"String"}), 2), 3);
  EXPECT_EQ(FindDeclarationLine(lines, Method(L"append", {L"String"}), 2), -1);
  EXPECT_EQ(FindDeclarationLine(lines, Of(MemberKind::kNested, L"Inner"), 2), 6);

  // From a statement's line up to its declaration, never past another statement.
  DeclarationTarget target = Method(L"appendln", {L"char[]", L"int", L"int"});
  EXPECT_EQ(DeclarationAtOrAbove(lines, 14, target, 40), 12);
  EXPECT_EQ(DeclarationAtOrAbove(lines, 4, target, 40), 3);
  EXPECT_EQ(DeclarationAtOrAbove(lines, 14, target, 1), -1);
  lines[13] = L"/* 109*/            int startIndex, int length) {";
  EXPECT_EQ(DeclarationAtOrAbove(lines, 14, target, 40), -1);
}

}  // namespace
