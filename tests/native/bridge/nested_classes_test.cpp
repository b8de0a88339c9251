// The classes nested in a class that its InnerClasses attribute names, read
// from class files javac wrote and from every cut of one, and the note on
// those whose files did not come with it.
#include "bridge/shown_class/nested_classes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::string ReadFile(const std::string& name) {
  std::ifstream file(std::string(BRIDGE_CLASSES) + "/" + name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

std::vector<std::string> NestedIn(const std::string& bytes) {
  std::vector<std::string> names =
      ReadNestedClassNames(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
  std::sort(names.begin(), names.end());
  return names;
}

// Modern names its enum and its anonymous class, and the runtime's
// MethodHandles$Lookup (for its lambda), which is not nested in it; the enum
// names Modern, which it is nested in.
TEST(NestedClassesTest, AClassNamesWhatNestsInItAndNothingElse) {
  const std::string modern = ReadFile("demo/Modern.class");
  ASSERT_GT(modern.size(), 100u);
  EXPECT_EQ(NestedIn(modern), (std::vector<std::string>{"demo/Modern$1", "demo/Modern$Unit"}));
  EXPECT_TRUE(NestedIn(ReadFile("demo/Modern$Unit.class")).empty());
  EXPECT_TRUE(NestedIn(ReadFile("NoPackage.class")).empty());
  // The attribute is the class file's last part: any cut of it names none.
  // Each cut is a buffer of its own size, so ASan sees any read past it.
  for (size_t size = 0; size < modern.size(); ++size) {
    std::vector<unsigned char> cut(modern.begin(), modern.begin() + size);
    EXPECT_TRUE(ReadNestedClassNames(cut.data(), cut.size()).empty()) << size;
  }
}

TEST(NestedClassesTest, TheNoteNamesTheNestedClassFilesThatDidNotCome) {
  const std::string modern = ReadFile("demo/Modern.class");
  const ClassFile unit = {"Modern$Unit.class", ReadFile("demo/Modern$Unit.class")};
  const ClassFile anonymous = {"Modern$1.class", ReadFile("demo/Modern$1.class")};
  EXPECT_EQ(MissingNestedClassesNote(modern, {}),
            "/*\n"
            " * Not shown: the code of these classes nested in this one. Their class files\n"
            " * were not beside Modern.class (as for a class opened inside an archive,\n"
            " * which is unpacked alone), so they show only where this class refers to them:\n"
            " *   Modern$1.class\n"
            " *   Modern$Unit.class\n"
            " */\n");
  std::string half = MissingNestedClassesNote(modern, {unit});
  EXPECT_NE(half.find("Modern$1.class"), std::string::npos) << half;
  EXPECT_EQ(half.find("Modern$Unit.class"), std::string::npos) << half;
  EXPECT_EQ(MissingNestedClassesNote(modern, {anonymous, unit}), "");
  EXPECT_EQ(MissingNestedClassesNote("not a class file", {}), "");
}

}  // namespace
