// What the reader takes from a Kotlin class: the metadata's kind and version
// on kotlin-stdlib's classes (every kind there is), and on classes put
// together byte by byte what real ones seldom hold.
#include "classfile/kotlin_attributes.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "classfile/bytecode_view.h"
#include "tests/native/classfile/class_builder.h"

namespace {

bool Read(const std::vector<unsigned char>& bytes, ParsedClass* file, std::string* error) {
  return ReadClassFile(bytes.data(), bytes.size(), file, error);
}

TEST(KotlinAttributesTest, StdlibClassesOfEveryKindTellTheirKindAndVersion) {
  const struct {
    const char* name;
    int kind;
  } classes[] = {
      {"kotlin/Pair", 1},                                               // a data class
      {"kotlin/TuplesKt", 2},                                           // a file facade
      {"kotlin/sequences/SequencesKt___SequencesKt$zipWithNext$2", 3},  // a suspend lambda
      {"kotlin/collections/CollectionsKt", 4},                          // a multi-file class facade
      {"kotlin/collections/CollectionsKt___CollectionsKt", 5},          // and one of its parts
  };
  for (const auto& c : classes) {
    std::ifstream in(std::string(KOTLIN_CLASSES) + "/" + c.name + ".class", std::ios::binary);
    if (!in) GTEST_SKIP() << "No kotlin-stdlib classes in " << KOTLIN_CLASSES;
    std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), {});
    ParsedClass file;
    std::string error;
    ASSERT_TRUE(Read(bytes, &file, &error)) << c.name << ": " << error;
    const KotlinMetadata metadata = KotlinMetadataOf(file);
    EXPECT_TRUE(metadata.present) << c.name;
    EXPECT_EQ(metadata.kind, c.kind) << c.name;
    EXPECT_EQ(metadata.version, (std::vector<int>{2, 2, 0})) << c.name;
  }
}

// A class with kotlin.Metadata among other annotations, an invisible one
// first, and a SourceDebugExtension that is not modified UTF-8 throughout.
std::vector<unsigned char> MadeUpKotlinClass(bool withKind) {
  ClassBuilder b;
  ClassBuilder::Bytes invisible, visible;
  ClassBuilder::U2(&invisible, 1);
  ClassBuilder::U2(&invisible, b.Utf8("Lkotlin/jvm/JvmName;"));
  ClassBuilder::U2(&invisible, 0);
  ClassBuilder::U2(&visible, 2);
  ClassBuilder::U2(&visible, b.Utf8("Ljava/lang/Deprecated;"));
  ClassBuilder::U2(&visible, 0);
  ClassBuilder::U2(&visible, b.Utf8("Lkotlin/Metadata;"));
  ClassBuilder::U2(&visible, withKind ? 2 : 1);
  ClassBuilder::U2(&visible, b.Utf8("mv"));
  visible.push_back('[');
  ClassBuilder::U2(&visible, 2);
  for (int part : {1, 9}) {
    visible.push_back('I');
    ClassBuilder::U2(&visible, b.Integer(part));
  }
  if (withKind) {
    ClassBuilder::U2(&visible, b.Utf8("k"));
    visible.push_back('I');
    ClassBuilder::U2(&visible, b.Integer(3));
  }
  b.ClassAttribute("RuntimeInvisibleAnnotations", invisible);
  b.ClassAttribute("RuntimeVisibleAnnotations", visible);
  b.ClassAttribute("SourceDebugExtension", {'S', 'M', 'A', 'P', '\n', 'A', '.', 'k', 't', 0xFF});
  return b.Build("demo/A");
}

TEST(KotlinAttributesTest, TheKindDefaultsAsKotlinsAnnotationDoesAndOnlyKotlinsAttributesShow) {
  ParsedClass file;
  std::string error;
  ASSERT_TRUE(Read(MadeUpKotlinClass(false), &file, &error)) << error;
  KotlinMetadata metadata = KotlinMetadataOf(file);
  EXPECT_TRUE(metadata.present);
  EXPECT_EQ(metadata.kind, 1);
  EXPECT_EQ(metadata.version, (std::vector<int>{1, 9}));
  ASSERT_TRUE(Read(MadeUpKotlinClass(true), &file, &error)) << error;
  EXPECT_EQ(KotlinMetadataOf(file).kind, 3);
  // The text up to the byte that is no modified UTF-8; the Metadata numbered
  // as the second of its attribute, Deprecated and JvmName left out.
  const std::string view = BytecodeView(file);
  const std::string tail = view.substr(view.find("}\n") + 2);
  EXPECT_EQ(tail,
            "SourceDebugExtension:\n"
            "  SMAP\n"
            "  A.kt\n"
            "RuntimeVisibleAnnotations:\n"
            "  1: #3(#4=[I#5,I#6],#7=I#8)\n"
            "    kotlin.Metadata(\n"
            "      mv=[1,9]\n"
            "      k=3\n"
            "    )\n");
}

TEST(KotlinAttributesTest, AJavaClassHasNoneAndItsViewNoKotlinAttributes) {
  ClassBuilder b;
  ClassBuilder::Bytes visible;
  ClassBuilder::U2(&visible, 1);
  ClassBuilder::U2(&visible, b.Utf8("Ljava/lang/Deprecated;"));
  ClassBuilder::U2(&visible, 0);
  b.ClassAttribute("RuntimeVisibleAnnotations", visible);
  ParsedClass file;
  std::string error;
  ASSERT_TRUE(Read(b.Build("demo/B"), &file, &error)) << error;
  EXPECT_FALSE(KotlinMetadataOf(file).present);
  const std::string view = BytecodeView(file);
  EXPECT_EQ(view.substr(view.size() - 2), "}\n");
}

}  // namespace
