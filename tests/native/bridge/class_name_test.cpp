// The class-name reader on class files that javac wrote, on class files built
// here to reach the constant pool's corners, and on every cut of a real one.
#include "bridge/shown_class/class_name.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::vector<unsigned char> ReadFile(const std::string& name) {
  std::ifstream file(name, std::ios::binary);
  return std::vector<unsigned char>(std::istreambuf_iterator<char>(file), {});
}

std::string NameOf(const std::vector<unsigned char>& bytes) {
  return ReadSimpleClassName(bytes.data(), bytes.size());
}

TEST(ClassNameTest, ReadsTheSimpleBinaryNameOfWhatJavacWrote) {
  const struct {
    const char* file;
    const char* name;
  } cases[] = {
      {"demo/Modern.class", "Modern"},
      {"demo/Modern$Unit.class", "Modern$Unit"},
      {"demo/Modern$1.class", "Modern$1"},
      {"NoPackage.class", "NoPackage"},
      {"module/module-info.class", "module-info"},
  };
  for (const auto& c : cases) {
    std::vector<unsigned char> bytes = ReadFile(std::string(BRIDGE_CLASSES) + "/" + c.file);
    ASSERT_FALSE(bytes.empty()) << c.file;
    EXPECT_EQ(NameOf(bytes), c.name) << c.file;
  }
  EXPECT_EQ(NameOf(ReadFile(std::string(JAVA_SOURCES) + "/Modern.java")), "");
}

TEST(ClassNameTest, ACutClassFileNamesItsClassOnlyOnceThisClassIsWhole) {
  std::vector<unsigned char> bytes = ReadFile(std::string(BRIDGE_CLASSES) + "/demo/Modern.class");
  ASSERT_GT(bytes.size(), 100u);
  // this_class stands right after the constant pool: every cut before its end
  // gives no name, every one after it the full name. Each cut is a buffer of
  // its own size, so ASan sees any read past it.
  size_t firstNamed = 0;
  for (size_t size = 0; size < bytes.size(); ++size) {
    std::vector<unsigned char> cut(bytes.begin(), bytes.begin() + size);
    std::string name = NameOf(cut);
    if (firstNamed == 0 && !name.empty()) firstNamed = size;
    EXPECT_EQ(name, firstNamed != 0 ? "Modern" : "") << size;
  }
  EXPECT_GT(firstNamed, 10u);
}

// A class file of a constant pool and this_class, nothing after.
class ClassBytes {
 public:
  explicit ClassBytes(unsigned poolCount) {
    bytes_ = {0xCA, 0xFE, 0xBA, 0xBE, 0, 0, 0, 61};
    U2(poolCount);
  }
  ClassBytes& Utf8(const std::string& modifiedUtf8) {
    bytes_.push_back(1);
    U2(static_cast<unsigned>(modifiedUtf8.size()));
    bytes_.insert(bytes_.end(), modifiedUtf8.begin(), modifiedUtf8.end());
    return *this;
  }
  ClassBytes& Entry(unsigned char tag, unsigned payloadBytes) {
    bytes_.push_back(tag);
    for (unsigned i = 0; i < payloadBytes; ++i) bytes_.push_back(0);
    return *this;
  }
  ClassBytes& Entry(unsigned char tag, const std::vector<unsigned char>& payload) {
    bytes_.push_back(tag);
    bytes_.insert(bytes_.end(), payload.begin(), payload.end());
    return *this;
  }
  ClassBytes& Class(unsigned nameIndex) {
    bytes_.push_back(7);
    U2(nameIndex);
    return *this;
  }
  std::vector<unsigned char> ThisClass(unsigned index) {
    U2(0x21);  // access flags
    U2(index);
    return bytes_;
  }

 private:
  void U2(unsigned value) {
    bytes_.push_back(static_cast<unsigned char>(value >> 8));
    bytes_.push_back(static_cast<unsigned char>(value));
  }
  std::vector<unsigned char> bytes_;
};

TEST(ClassNameTest, FollowsTheConstantPoolRulesAndDecodesModifiedUtf8) {
  // A Long and a Double take two slots each: the class sits at index 6.
  EXPECT_EQ(NameOf(ClassBytes(7).Entry(5, 8).Entry(6, 8).Utf8("a/b/C").Class(5).ThisClass(6)), "C");
  // Each other kind of constant with its own size, before the class, each
  // naming entries of the kinds it must: a NameAndType (3), a Methodref (4),
  // a MethodHandle (5), an InvokeDynamic (6) and a Package (7).
  EXPECT_EQ(NameOf(ClassBytes(8)
                       .Utf8("p/Q")
                       .Class(1)
                       .Entry(12, {0, 1, 0, 1})
                       .Entry(10, {0, 2, 0, 3})
                       .Entry(15, {6, 0, 4})
                       .Entry(18, {0, 0, 0, 3})
                       .Entry(20, {0, 1})
                       .ThisClass(2)),
            "Q");
  // Modified UTF-8: "Ä" in two bytes, U+1F600 as a surrogate pair of three-byte
  // units, and a zero as C0 80.
  EXPECT_EQ(NameOf(ClassBytes(3).Utf8("x/\xC3\x84\xED\xA0\xBD\xED\xB8\x80").Class(1).ThisClass(2)),
            "\xC3\x84\xF0\x9F\x98\x80");
  EXPECT_EQ(NameOf(ClassBytes(3)
                       .Utf8("A\xC0\x80"
                             "B")
                       .Class(1)
                       .ThisClass(2)),
            std::string("A\0B", 3));

  const struct {
    const char* what;
    std::vector<unsigned char> bytes;
  } refused[] = {
      {"this_class names a Utf8", ClassBytes(3).Utf8("A").Class(1).ThisClass(1)},
      {"this_class out of range", ClassBytes(3).Utf8("A").Class(1).ThisClass(3)},
      {"class names a class", ClassBytes(3).Utf8("A").Class(2).ThisClass(2)},
      {"unknown tag", ClassBytes(3).Entry(2, 2).Class(1).ThisClass(2)},
      {"a bare zero byte", ClassBytes(3).Utf8(std::string("A\0B", 3)).Class(1).ThisClass(2)},
      {"a lone surrogate", ClassBytes(3).Utf8("\xED\xA0\xBD").Class(1).ThisClass(2)},
      {"a name ending in a slash", ClassBytes(3).Utf8("a/").Class(1).ThisClass(2)},
      {"four-byte UTF-8", ClassBytes(3).Utf8("\xF0\x9F\x98\x80").Class(1).ThisClass(2)},
  };
  for (const auto& r : refused) EXPECT_EQ(NameOf(r.bytes), "") << r.what;
}

}  // namespace
