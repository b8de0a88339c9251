// The text pieces of the bytecode view on tables of literals: numbers as Java
// writes them, modified UTF-8, javap's escapes and quoted names, and
// signatures as Java types.
#include <gtest/gtest.h>
#include <math.h>

#include <string>
#include <vector>

#include "classfile/constant_text.h"
#include "classfile/java_numbers.h"
#include "classfile/java_types.h"
#include "classfile/modified_utf8.h"

namespace {

TEST(JavaTextTest, NumbersAsJavaWritesThem) {
  const struct {
    double value;
    const char* text;
  } doubles[] = {
      {100.0, "100.0"},
      {0.001, "0.001"},
      {9.999e-4, "9.999E-4"},
      {1e7, "1.0E7"},
      {1234567.0, "1234567.0"},
      {0.1, "0.1"},
      {-2.5e-10, "-2.5E-10"},
      {4.9e-324, "4.9E-324"},
      {1.7976931348623157e308, "1.7976931348623157E308"},
      {1e23, "1.0E23"},
      {-0.0, "-0.0"},
      {NAN, "NaN"},
      {-INFINITY, "-Infinity"},
  };
  for (const auto& d : doubles) EXPECT_EQ(JavaDoubleText(d.value), d.text) << d.text;
  const struct {
    float value;
    const char* text;
  } floats[] = {
      {1.5f, "1.5"},           {0.1f, "0.1"},         {3.4e38f, "3.4E38"},
      {123456.7f, "123456.7"}, {1.4e-45f, "1.4E-45"}, {1.17549435e-38f, "1.1754944E-38"},
      {INFINITY, "Infinity"},
  };
  for (const auto& f : floats) EXPECT_EQ(JavaFloatText(f.value), f.text) << f.text;
}

TEST(JavaTextTest, ModifiedUtf8BecomesUtf8) {
  const struct {
    std::string modified;
    bool valid;
    std::string utf8;
  } cases[] = {
      {"plain", true, "plain"},
      {"\xC3\x84", true, "\xC3\x84"},
      {std::string("\xC0\x80", 2), true, std::string(1, '\0')},
      {"\xED\xA0\xBD\xED\xB8\x80", true, "\xF0\x9F\x98\x80"},  // a surrogate pair
      {"\xED\xA0\xBDx", true, "\xED\xA0\xBDx"},                // a lone high surrogate stays
      {"\xED\xB8\x80\xED\xA0\xBD", true, "\xED\xB8\x80\xED\xA0\xBD"},
      {std::string("a\0", 2), false, ""},
      {"\xF0\x9F\x98\x80", false, ""},
      {"\xC3", false, ""},
  };
  for (const auto& c : cases) {
    std::string out;
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(c.modified.data());
    EXPECT_EQ(DecodeModifiedUtf8(bytes, c.modified.size(), &out), c.valid) << c.modified;
    if (c.valid) {
      EXPECT_EQ(out, c.utf8) << c.modified;
    }
  }
  EXPECT_EQ(LoneSurrogatesAsQuestionMarks("a\xED\xA0\xBD"
                                          "b\xF0\x9F\x98\x80"),
            "a?b\xF0\x9F\x98\x80");
}

TEST(JavaTextTest, EscapesAndQuotedNamesAsJavapWritesThem) {
  EXPECT_EQ(EscapedJavaText(std::string("t\tn\nq\"a'b\\\x01\xC2\x85\x7F\0z", 16)),
            "t\\tn\\nq\\\"a\\'b\\\\\\u0001\\u0085\\u007f\\u0000z");
  EXPECT_EQ(EscapedJavaText("\xD0\x9F\xF0\x9F\x98\x80"), "\xD0\x9F\xF0\x9F\x98\x80");
  const struct {
    const char* name;
    const char* shown;
  } names[] = {
      {"java/lang/Object", "java/lang/Object"},
      {"lambda$main$0", "lambda$main$0"},
      {"<init>", "\"<init>\""},
      {"[Ljava/lang/String;", "\"[Ljava/lang/String;\""},
      {"a/1b", "\"a/1b\""},
      {"a//b", "\"a//b\""},
      {"", "\"\""},
      {"odd \"name\"\t", "\"odd \\\"name\\\"\\t\""},
      {"\xC3\xA9t\xC3\xA9", "\xC3\xA9t\xC3\xA9"},
  };
  for (const auto& n : names) EXPECT_EQ(CheckedName(n.name), n.shown) << n.name;
}

std::string Joined(const std::vector<std::string>& parts) {
  std::string text;
  for (const std::string& p : parts) text += (text.empty() ? "" : "|") + p;
  return text;
}

TEST(JavaTextTest, SignaturesAsJavaTypes) {
  std::string type;
  ASSERT_TRUE(
      ParseFieldSignature("Ljava/util/Map<Ljava/lang/String;Ljava/util/List<-TT;>;>;", &type));
  EXPECT_EQ(type, "java/util/Map<java/lang/String, java/util/List<? super T>>");
  ASSERT_TRUE(ParseFieldSignature("[Ljava/util/Map$Entry<*+[I>;", &type));
  EXPECT_EQ(type, "java/util/Map$Entry<?, ? extends int[]>[]");
  ASSERT_TRUE(ParseFieldSignature("La/Outer<TK;>.Inner<TV;>.Deep;", &type));
  EXPECT_EQ(type, "a/Outer<K>.Inner<V>.Deep");
  EXPECT_FALSE(ParseFieldSignature("Ljava/util/List<TT;>", &type));

  MethodSignature method;
  ASSERT_TRUE(ParseMethodSignature(
      "<T::Ljava/lang/Comparable<TT;>;U:Ljava/lang/Object;X:Ljava/lang/Exception;:Ljava/io/"
      "Serializable;>(TT;[TU;J)V^TX;^Ljava/io/IOException;",
      &method));
  EXPECT_EQ(TypeParametersText(method.typeParameters),
            "<T extends java.lang.Comparable<T>, U, X extends java.lang.Exception & "
            "java.io.Serializable>");
  EXPECT_EQ(Joined(method.parameters), "T|U[]|long");
  EXPECT_EQ(method.result, "void");
  EXPECT_EQ(Joined(method.throws), "X|java/io/IOException");
  EXPECT_FALSE(ParseMethodSignature("(TT;", &method));

  ClassSignature superclassOnly;
  ASSERT_TRUE(ParseClassSignature("Ljava/util/AbstractList<Ljava/lang/String;>;", &superclassOnly));
  EXPECT_TRUE(superclassOnly.superclassOnly);
  ClassSignature full;
  ASSERT_TRUE(
      ParseClassSignature("<E:Ljava/lang/Object;>Ljava/lang/Object;Ljava/util/List<TE;>;", &full));
  EXPECT_FALSE(full.superclassOnly);
  EXPECT_EQ(full.superclass, "java/lang/Object");
  EXPECT_EQ(Joined(full.interfaces), "java/util/List<E>");

  std::vector<std::string> parameters;
  ASSERT_TRUE(MethodDescriptorTypes("([[ILjava/lang/String;Z)[J", &parameters, &type));
  EXPECT_EQ(Joined(parameters), "int[][]|java/lang/String|boolean");
  EXPECT_EQ(type, "long[]");
  EXPECT_FALSE(DescriptorType("Ljava/lang/String", &type));
  EXPECT_FALSE(DescriptorType("Q", &type));
}

}  // namespace
