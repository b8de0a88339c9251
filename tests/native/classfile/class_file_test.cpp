// The class-file reader on classes javac wrote (javac 17 here, javac 25 for
// the file in tests/data), on classes put together byte by byte, on every cut
// of real ones and on damaged ones: each damage gives its sentence.
#include "classfile/class_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "classfile/bytecode_view.h"
#include "tests/native/classfile/class_builder.h"

namespace {

using Bytes = std::vector<unsigned char>;

Bytes ReadFile(const std::string& name) {
  std::ifstream file(name, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(file), {});
}

Bytes Compiled(const std::string& name) {
  return ReadFile(std::string(CLASSFILE_CLASSES) + "/rare/" + name + ".class");
}

ParsedClass Read(const Bytes& bytes) {
  ParsedClass file;
  std::string error;
  EXPECT_TRUE(ReadClassFile(bytes.data(), bytes.size(), &file, &error)) << error;
  return file;
}

const Member* MethodNamed(const ParsedClass& file, const std::string& name) {
  for (const Member& m : file.methods) {
    if (m.name == name) return &m;
  }
  return nullptr;
}

TEST(ClassFileTest, ReadsWhatJavacWrote) {
  ParsedClass outer = Read(Compiled("Rarities"));
  EXPECT_EQ(outer.majorVersion, 61);
  EXPECT_EQ(outer.name, "rare/Rarities");
  EXPECT_EQ(outer.superName, "java/util/AbstractList");
  EXPECT_EQ(outer.interfaces, std::vector<std::string>{"java/util/RandomAccess"});
  EXPECT_EQ(outer.sourceFile, "Rarities.java");
  EXPECT_EQ(
      outer.signature,
      "<T::Ljava/lang/Comparable<TT;>;>Ljava/util/AbstractList<TT;>;Ljava/util/RandomAccess;");
  EXPECT_EQ(outer.fields.size(), 7u);
  EXPECT_EQ(outer.bootstrapMethods.size(), 3u);  // concatenation, lambda, constructor reference
  EXPECT_TRUE(std::find(outer.nestMembers.begin(), outer.nestMembers.end(),
                        "rare/Rarities$Point") != outer.nestMembers.end());

  const Member* tryCatch = MethodNamed(outer, "tryCatch");
  ASSERT_NE(tryCatch, nullptr);
  ASSERT_TRUE(tryCatch->hasCode);
  EXPECT_EQ(tryCatch->code.handlers.size(), 4u);
  EXPECT_EQ(tryCatch->code.handlers[3].catchType, 0);
  EXPECT_FALSE(tryCatch->code.lines.empty());
  const Member* rethrow = MethodNamed(outer, "rethrow");
  ASSERT_NE(rethrow, nullptr);
  EXPECT_EQ(rethrow->exceptions,
            (std::vector<std::string>{"java/lang/Exception", "java/io/IOException"}));
  const Member* get = MethodNamed(outer, "get");
  ASSERT_NE(get, nullptr);
  ASSERT_EQ(get->code.locals.size(), 2u);
  EXPECT_EQ(get->code.locals[1].name, "i");
  EXPECT_EQ(get->code.localTypes[0].type, "Lrare/Rarities<TT;>;");

  ParsedClass point = Read(Compiled("Rarities$Point"));
  EXPECT_TRUE(point.isRecord);
  ASSERT_EQ(point.recordComponents.size(), 3u);
  EXPECT_EQ(point.recordComponents[1].name, "y");
  EXPECT_EQ(point.recordComponents[1].signature, "TN;");
  EXPECT_EQ(point.nestHost, "rare/Rarities");

  ParsedClass shape = Read(Compiled("Rarities$Shape"));
  EXPECT_EQ(shape.permittedSubclasses,
            (std::vector<std::string>{"rare/Rarities$Circle", "rare/Rarities$Square"}));
  ParsedClass anonymous = Read(Compiled("Rarities$1"));
  EXPECT_EQ(anonymous.enclosingClass, "rare/Rarities");
  EXPECT_EQ(anonymous.enclosingMethodName, "local");
  ParsedClass planet = Read(Compiled("Rarities$Planet"));
  ASSERT_FALSE(planet.innerClasses.empty());
  EXPECT_EQ(planet.innerClasses[0].inner, "rare/Rarities$Planet");
  EXPECT_EQ(planet.innerClasses[0].simpleName, "Planet");

  // Class version 69, with dynamic constants among the bootstrap arguments.
  ParsedClass modern = Read(ReadFile(std::string(TEST_DATA) + "/classfile/Java25.class"));
  EXPECT_EQ(modern.majorVersion, 69);
  size_t dynamic = std::count_if(modern.pool.entries.begin(), modern.pool.entries.end(),
                                 [](const Constant& c) { return c.tag == kDynamic; });
  EXPECT_GT(dynamic, 0u);
}

TEST(ClassFileTest, ReadsAModuleAndWhatJavacNeverWrites) {
  ParsedClass module = Read(ModuleDescriptorClass());
  ASSERT_TRUE(module.hasModule);
  EXPECT_EQ(module.module.name, "demo.mod");
  EXPECT_EQ(module.module.version, "1.0");
  ASSERT_EQ(module.module.required.size(), 2u);
  EXPECT_EQ(module.module.required[1].version, "17");
  EXPECT_EQ(module.module.exports[0].package, "demo/a");
  EXPECT_EQ(module.module.opens[0].modules, std::vector<std::string>{"java.logging"});
  EXPECT_EQ(module.module.provides[0].implementations,
            (std::vector<std::string>{"demo/b/One", "demo/b/Two"}));

  ParsedClass rare = Read(RareInstructionsClass());
  ASSERT_EQ(rare.methods.size(), 3u);
  EXPECT_EQ(rare.methods[1].code.handlers.size(), 2u);
  EXPECT_EQ(rare.bootstrapMethods[1].arguments.size(), 2u);
}

// Every prefix of a class file is refused with a sentence, each cut a buffer
// of its own size so that ASan sees any read past it; the whole file reads.
TEST(ClassFileTest, EveryCutOfAClassIsRefusedWithASentence) {
  const Bytes classes[] = {Compiled("Rarities"), Compiled("Rarities$Point"),
                           ReadFile(std::string(TEST_DATA) + "/classfile/Java25.class"),
                           RareInstructionsClass(), ModuleDescriptorClass()};
  for (const Bytes& whole : classes) {
    ASSERT_GT(whole.size(), 100u);
    for (size_t size = 0; size < whole.size(); ++size) {
      Bytes cut(whole.begin(), whole.begin() + size);
      ParsedClass file;
      std::string error;
      ASSERT_FALSE(ReadClassFile(cut.data(), cut.size(), &file, &error)) << size;
      EXPECT_TRUE(error.rfind("The class file is cut short in ", 0) == 0 ||
                  (size < 4 && error == "This is no class file: it does not begin with CAFEBABE."))
          << size << ": " << error;
    }
    std::string text, error;
    EXPECT_TRUE(BytecodeViewOf(whole.data(), whole.size(), &text, &error)) << error;
  }
}

// A class with one method "run" holding code, after entries a row may add.
Bytes WithCode(const Bytes& code, const std::vector<uint16_t>& handlers = {}) {
  ClassBuilder c;
  c.Method(0x09, "run", "()V", code, handlers);
  return c.Build("Damaged");
}

TEST(ClassFileTest, DamageGivesASentenceThatSaysWhatAndWhere) {
  ClassBuilder badUtf8;
  badUtf8.Utf8(std::string("a\0b", 3));
  // A pool of one slot (count 2) holding a Long, which takes two.
  Bytes longLast = {0xCA, 0xFE, 0xBA, 0xBE, 0, 0, 0, 61, 0, 2, 5, 0, 0, 0, 0, 0, 0, 0, 1};
  ClassBuilder unknownTag;
  unknownTag.Raw({2, 0, 0});
  ClassBuilder handleKind;
  handleKind.MethodHandle(10, 1);
  ClassBuilder indy;
  uint16_t call = indy.Dynamic(18, 0, "run", "()V");
  indy.Method(0x09, "run", "()V", {0xba, 0, static_cast<unsigned char>(call), 0, 0, 0xb1});
  ClassBuilder utf8AsClass;
  uint16_t text = utf8AsClass.Utf8("text");
  utf8AsClass.Method(0x09, "run", "()V", {0xbb, 0, static_cast<unsigned char>(text)});
  ClassBuilder longSignature;
  longSignature.MethodWith(0x09, "run", "()V", {longSignature.Attribute("Signature", {0, 1, 0})});
  ClassBuilder shortCode;
  shortCode.MethodWith(0x09, "run", "()V", {shortCode.Attribute("Code", {0, 1, 0, 1, 0, 0, 0, 9})});
  ClassBuilder deepAnnotation;
  Bytes nested = {0, 1, 0, 1, 0, 1, 0, 1};  // one annotation of one pair, its value:
  for (int i = 0; i < 100; ++i) nested.insert(nested.end(), {'[', 0, 1});
  deepAnnotation.ClassAttribute("RuntimeVisibleAnnotations", nested);

  const struct {
    const char* what;
    Bytes bytes;
    const char* message;
  } cases[] = {
      {"not a class file",
       {'P', 'K', 3, 4, 0, 0},
       "This is no class file: it does not begin with CAFEBABE."},
      {"a bare zero in modified UTF-8", badUtf8.Build("A"),
       "The text of constant pool entry 1 is not valid modified UTF-8."},
      {"a Long as the pool's last entry", longLast,
       "The Long in constant pool entry 1 takes two slots, but it is the constant pool's last."},
      {"an unknown constant tag", unknownTag.Build("A"),
       "The class file holds an unknown constant kind (2) in the constant pool (entry 1 of 5)."},
      {"an unknown reference kind", handleKind.Build("A"),
       "The reference kind 10 in constant pool entry 1 (MethodHandle) is unknown."},
      {"an index past the pool", WithCode({0xb6, 0x01, 0x2c, 0xb1}),
       "Constant pool index 300 is out of range in method run at offset 0."},
      {"a Utf8 where a Class belongs", utf8AsClass.Build("A"),
       "Constant pool entry 1 in method run at offset 0 is a Utf8 where a Class belongs."},
      {"an unknown opcode", WithCode({0x00, 0xcb}),
       "The code holds an unknown opcode (203) at offset 1 in method run."},
      {"a cut instruction", WithCode({0x11, 0x01}),
       "The code is cut short in the instruction at offset 0 in method run."},
      {"a reversed tableswitch", WithCode({0xaa, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 0, 0, 1}),
       "The tableswitch runs from 2 down to 1 at offset 0 in method run."},
      {"a wide form of what has none", WithCode({0xc4, 0x60, 0, 0}),
       "The wide instruction widens opcode 96, which has no wide form, at offset 0 in method run."},
      {"a handler outside the code", WithCode({0xb1}, {0, 1, 5, 0}),
       "An exception handler in the Code attribute of method run covers offsets outside the code."},
      {"an attribute longer than its contents", longSignature.Build("A"),
       "The Signature attribute of method run is 3 bytes long, 1 more than it holds."},
      {"an attribute shorter than its contents", shortCode.Build("A"),
       "The Code attribute of method run runs past its length (8 bytes)."},
      {"a missing bootstrap method", indy.Build("A"),
       "Constant pool entry 4 (InvokeDynamic) names bootstrap method 0, but the class has 0."},
      {"annotations nested too deep", deepAnnotation.Build("A"),
       "The annotations in the RuntimeVisibleAnnotations attribute of the class nest deeper than "
       "64 levels."},
  };
  for (const auto& c : cases) {
    ParsedClass file;
    std::string error;
    EXPECT_FALSE(ReadClassFile(c.bytes.data(), c.bytes.size(), &file, &error)) << c.what;
    EXPECT_EQ(error, c.message) << c.what;
  }
}

}  // namespace
