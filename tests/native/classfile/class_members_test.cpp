// The class at a glance: simple type names from a table, and the heading
// and members of the demo classes and of large real ones (guava's Maps,
// commons-lang3's StrBuilder, read from Debian's jars when they are there).
#include "classfile/class_members.h"

#include <gtest/gtest.h>
#include <stdio.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>

namespace {

std::string FileBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

// A class file out of a jar, "" when the jar or unzip is missing.
std::string JarEntry(const std::string& jar, const std::string& entry) {
  std::string command = "unzip -p /usr/share/java/" + jar + " " + entry + " 2>/dev/null";
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return "";
  std::string bytes;
  char buffer[8192];
  for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) bytes.append(buffer, n);
  pclose(pipe);
  return bytes;
}

bool Glance(const std::string& bytes, ClassGlance* glance) {
  ParsedClass parsed;
  std::string error;
  if (!ReadClassFile(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), &parsed,
                     &error)) {
    ADD_FAILURE() << error;
    return false;
  }
  *glance = ClassGlanceOf(parsed);
  return true;
}

std::vector<std::string> Labels(const ClassGlance& glance) {
  std::vector<std::string> labels;
  for (const ClassMember& member : glance.members) labels.push_back(member.label);
  return labels;
}

const ClassMember* Find(const ClassGlance& glance, const std::string& label) {
  for (const ClassMember& member : glance.members) {
    if (member.label == label) return &member;
  }
  return nullptr;
}

TEST(ClassMembersTest, TypesGoWithoutTheirPackagesAndNestedNamesWithDots) {
  const struct {
    const char* type;
    const char* simple;
  } cases[] = {
      {"int", "int"},
      {"java/lang/String[][]", "String[][]"},
      {"java/util/Map$Entry<K, ? extends java/lang/Object>", "Map.Entry<K, ? extends Object>"},
      {"java/util/Map<K, V>.Entry<K, V>", "Map<K, V>.Entry<K, V>"},
      {"com/google/common/base/Function<? super K, V>", "Function<? super K, V>"},
      {"T[]", "T[]"},
      {"Outer$1", "Outer.1"},
  };
  for (const auto& c : cases) EXPECT_EQ(SimpleTypeText(c.type), c.simple) << c.type;
}

// Showcase: a generic class with an enum, a lambda (synthetic) and fields.
TEST(ClassMembersTest, TheDemoClassesAsTheirSourcesDeclareThem) {
  ClassGlance showcase;
  ASSERT_TRUE(Glance(FileBytes(TEST_DATA "/demo/Showcase.class"), &showcase));
  EXPECT_EQ(ClassHeadingLines(showcase),
            std::vector<std::string>({"class Showcase<T extends Comparable<T>>"}));
  EXPECT_EQ(Labels(showcase), std::vector<std::string>(
                                  {"enum Planet", "items: List<T>", "SEPARATOR: char", "Showcase()",
                                   "add(T)", "join()", "lengths(List<String>)", "main(String[])"}));
  const ClassMember* add = Find(showcase, "add(T)");
  ASSERT_NE(add, nullptr);
  EXPECT_EQ(add->erasedParameters, std::vector<std::string>({"Comparable"}));
  EXPECT_EQ(add->lines.front(), 34u);

  // The enum: no values() nor valueOf(String); its constructor as declared,
  // without the name and ordinal the compiler adds.
  ClassGlance planet;
  ASSERT_TRUE(Glance(FileBytes(TEST_DATA "/demo/Showcase$Planet.class"), &planet));
  EXPECT_EQ(ClassHeadingLines(planet), std::vector<std::string>({"enum Planet"}));
  EXPECT_EQ(Labels(planet),
            std::vector<std::string>({"MERCURY: Showcase.Planet", "VENUS: Showcase.Planet",
                                      "EARTH: Showcase.Planet", "gravity: double", "Planet(double)",
                                      "weigh(double)"}));
  EXPECT_TRUE(planet.members[0].enumConstant);
  EXPECT_FALSE(planet.members[3].enumConstant);

  // The record: no generated toString, hashCode, equals; its accessors stay.
  ClassGlance modern;
  ASSERT_TRUE(Glance(FileBytes(TEST_DATA "/demo/Modern.class"), &modern));
  EXPECT_EQ(ClassHeadingLines(modern), std::vector<std::string>({"record Modern"}));
  std::vector<std::string> labels = Labels(modern);
  EXPECT_EQ(labels.front(), "enum Unit");
  for (const char* generated : {"toString()", "hashCode()", "equals(Object)"}) {
    EXPECT_EQ(std::count(labels.begin(), labels.end(), generated), 0) << generated;
  }
  EXPECT_NE(Find(modern, "describe(List<Modern>)"), nullptr);
  EXPECT_NE(Find(modern, "name()"), nullptr);

  ClassGlance anonymous;
  ASSERT_TRUE(Glance(FileBytes(TEST_DATA "/demo/Modern$1.class"), &anonymous));
  EXPECT_EQ(ClassHeadingLines(anonymous),
            std::vector<std::string>({"class Modern$1", "implements Runnable"}));
}

TEST(ClassMembersTest, LargeRealClasses) {
  std::string maps = JarEntry("guava.jar", "com/google/common/collect/Maps.class");
  std::string builder =
      JarEntry("commons-lang3.jar", "org/apache/commons/lang3/text/StrBuilder.class");
  if (maps.empty() || builder.empty()) GTEST_SKIP() << "guava.jar or commons-lang3.jar missing";

  ClassGlance glance;
  ASSERT_TRUE(Glance(maps, &glance));
  EXPECT_EQ(ClassHeadingLines(glance), std::vector<std::string>({"final class Maps"}));
  // Nested classes first, then fields, constructors, methods; no lambda.
  std::vector<MemberKind> kinds;
  for (const ClassMember& member : glance.members) {
    EXPECT_EQ(member.label.find("lambda$"), std::string::npos) << member.label;
    kinds.push_back(member.kind);
  }
  EXPECT_TRUE(std::is_sorted(kinds.begin(), kinds.end()));
  EXPECT_NE(Find(glance, "interface EntryTransformer"), nullptr);
  EXPECT_NE(Find(glance, "Maps()"), nullptr);
  EXPECT_NE(
      Find(glance, "difference(Map<? extends K, ? extends V>, Map<? extends K, ? extends V>)"),
      nullptr);
  EXPECT_NE(Find(glance, "newHashMapWithExpectedSize(int)"), nullptr);

  ASSERT_TRUE(Glance(builder, &glance));
  EXPECT_EQ(ClassHeadingLines(glance),
            std::vector<std::string>(
                {"class StrBuilder",
                 "implements CharSequence, Appendable, Serializable, Builder<String>"}));
  const ClassMember* appendln = Find(glance, "appendln(char[], int, int)");
  ASSERT_NE(appendln, nullptr);
  EXPECT_EQ(appendln->kind, MemberKind::kMethod);
  EXPECT_EQ(appendln->name, "appendln");
  EXPECT_FALSE(appendln->lines.empty());
  const ClassMember* varargs = Find(glance, "appendln(String, Object...)");
  ASSERT_NE(varargs, nullptr);
  EXPECT_EQ(varargs->erasedParameters, std::vector<std::string>({"String", "Object[]"}));
  EXPECT_NE(Find(glance, "buffer: char[]"), nullptr);
  EXPECT_NE(Find(glance, "StrBuilder(int)"), nullptr);
}

}  // namespace
