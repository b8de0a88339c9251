// The bytecode view and the outline against javap of JDK 17, byte for byte:
// every third class (in name order) of Debian's commons-lang3, commons-io,
// guava and guice jars (those of them that are installed; DRAVIK_JAVAP_EVERY=1
// takes every class, which javap needs 15 s for), the classes javac compiles for these
// tests, the javac 25 class in tests/data and classes put together byte by
// byte. javap runs at test time, many classes to one run; without it, or
// without the jars, the test says so and skips.
//
// Where javap's text depends on its version (seen against javap of JDK 25):
// - floating-point constants: Java 19 made Double.toString and
//   Float.toString write the fewest digits that read back as the value, as
//   this view does; javap 17 writes more for some values ("double
//   9.999999999999999E22d" for 1.0E23, "float 1.17549435E-38f" for
//   Float.MIN_NORMAL). A line that differs only so counts as equal and is
//   reported.
// - a generic throws clause: javap 17 writes its classes with slashes
//   ("throws X, java/io/IOException"), later ones with dots; this view
//   writes javap 17's.
// - the instructions' indentation: later javap indents them two spaces more.
// - jsr, jsr_w and ret: javap 25 leaves out their operands.
//
// Kotlin's classes (kotlin-stdlib, which the build fetches) end their view
// with the attributes that hold Kotlin's metadata and the map of inlined
// lines, as javap -v lists them; the rest is javap -c -p's.
#include <gtest/gtest.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "classfile/bytecode_view.h"
#include "tests/native/classfile/class_builder.h"

namespace {

namespace fs = std::filesystem;

const char* const kJars[] = {"commons-lang3", "commons-io", "guava", "guice"};
const size_t kBatch = 300;

// Every how many classes of a jar the test takes.
size_t Every() {
  const char* every = getenv("DRAVIK_JAVAP_EVERY");
  return every && atoi(every) > 0 ? static_cast<size_t>(atoi(every)) : 3;
}

std::string JavapPath() {
  const char* chosen = getenv("DRAVIK_JAVAP");
  std::string path = chosen ? chosen : "/usr/lib/jvm/java-17-openjdk-amd64/bin/javap";
  return access(path.c_str(), X_OK) == 0 ? path : "";
}

std::string Quoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

std::string Output(const std::string& command) {
  std::string output;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return output;
  char buffer[65536];
  for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, n);
  pclose(pipe);
  return output;
}

std::string ReadFile(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

// javap's text of several classes, one each: every class's text ends with a
// line that is "}" alone, which nothing inside a class's text is.
std::vector<std::string> SplitClasses(const std::string& output) {
  std::vector<std::string> classes;
  size_t start = 0;
  for (size_t end; (end = output.find("\n}\n", start)) != std::string::npos; start = end + 3) {
    classes.push_back(output.substr(start, end + 3 - start));
  }
  if (start < output.size()) classes.push_back(output.substr(start));
  return classes;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// Lines that differ only in a float or double constant both read as the same
// value: javap 17 writes more digits than Java 19 and this view.
bool SameNumber(const std::string& javap, const std::string& ours) {
  for (const char* kind : {"// double ", "// float "}) {
    size_t a = javap.find(kind), b = ours.find(kind);
    if (a == std::string::npos || a != b || javap.compare(0, a, ours, 0, b) != 0) continue;
    std::string x = javap.substr(a + strlen(kind)), y = ours.substr(b + strlen(kind));
    // A float's digits read as a double may differ and still name the same float.
    return kind[3] == 'd' ? strtod(x.c_str(), nullptr) == strtod(y.c_str(), nullptr)
                          : strtof(x.c_str(), nullptr) == strtof(y.c_str(), nullptr);
  }
  return false;
}

struct Tally {
  size_t classes = 0;
  size_t numbers = 0;  // lines where javap 17 wrote a number with more digits
  std::vector<std::string> differences;
};

void Compare(const fs::path& file, const std::string& javap, const std::string& ours,
             Tally* tally) {
  ++tally->classes;
  if (javap == ours) return;
  std::vector<std::string> a = Lines(javap), b = Lines(ours);
  for (size_t i = 0; i < std::max(a.size(), b.size()); ++i) {
    std::string x = i < a.size() ? a[i] : "(none)", y = i < b.size() ? b[i] : "(none)";
    if (x == y) continue;
    if (SameNumber(x, y)) {
      ++tally->numbers;
      continue;
    }
    tally->differences.push_back(file.string() + " line " + std::to_string(i + 1) +
                                 ":\n  javap: " + x + "\n  view:  " + y);
    return;
  }
}

// Runs javap with options over files in batches and compares each class's
// text with the view's (or the outline's).
void CompareAll(const std::string& javap, const std::string& options,
                const std::vector<fs::path>& files, bool outline, Tally* tally) {
  for (size_t first = 0; first < files.size(); first += kBatch) {
    std::string command = Quoted(javap) + " -J-Dfile.encoding=UTF-8 " + options;
    size_t last = std::min(files.size(), first + kBatch);
    for (size_t i = first; i < last; ++i) command += " " + Quoted(files[i].string());
    std::vector<std::string> texts = SplitClasses(Output(command + " 2>&1"));
    ASSERT_EQ(texts.size(), last - first) << "javap did not list each class: " << command;
    for (size_t i = first; i < last; ++i) {
      std::string bytes = ReadFile(files[i]), ours, error;
      const unsigned char* data = reinterpret_cast<const unsigned char*>(bytes.data());
      bool read = outline ? ClassOutlineOf(data, bytes.size(), &ours, &error)
                          : BytecodeViewOf(data, bytes.size(), &ours, &error);
      if (!read) ours = error + "\n";
      Compare(files[i], texts[i - first], ours, tally);
    }
  }
}

std::vector<fs::path> ClassesUnder(const fs::path& folder) {
  std::vector<fs::path> files;
  std::error_code ignored;
  for (const auto& entry : fs::recursive_directory_iterator(folder, ignored)) {
    if (entry.path().extension() == ".class") files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

void Report(const Tally& tally, const std::string& what) {
  printf("%s: %zu classes compared, %zu lines with a number javap 17 writes with more digits\n",
         what.c_str(), tally.classes, tally.numbers);
  for (size_t i = 0; i < tally.differences.size() && i < 10; ++i) {
    ADD_FAILURE() << tally.differences[i];
  }
  EXPECT_TRUE(tally.differences.empty()) << tally.differences.size() << " classes differ";
}

class JavapComparisonTest : public ::testing::Test {
 protected:
  void SetUp() override {
    javap_ = JavapPath();
    if (javap_.empty()) GTEST_SKIP() << "No javap of JDK 17 here (or DRAVIK_JAVAP): not compared.";
    folder_ = fs::temp_directory_path() / ("dravik-javap-" + std::to_string(getpid()));
    fs::create_directories(folder_);
  }
  void TearDown() override {
    std::error_code ignored;
    if (!folder_.empty()) fs::remove_all(folder_, ignored);
  }

  std::string javap_;
  fs::path folder_;
};

TEST_F(JavapComparisonTest, TheViewOfDebiansJarsIsJavapsByteForByte) {
  std::vector<fs::path> files;
  std::string jars;
  for (const char* jar : kJars) {
    std::string path = std::string("/usr/share/java/") + jar + ".jar";
    if (access(path.c_str(), R_OK) != 0) continue;
    fs::path into = folder_ / jar;
    Output("unzip -q -o " + Quoted(path) + " '*.class' -d " + Quoted(into.string()) + " 2>&1");
    std::vector<fs::path> classes = ClassesUnder(into);
    size_t taken = 0;
    for (size_t i = 0; i < classes.size(); i += Every(), ++taken) files.push_back(classes[i]);
    jars += std::string(jars.empty() ? "" : ", ") + jar + " (" + std::to_string(taken) + " of " +
            std::to_string(classes.size()) + ")";
  }
  if (files.size() < 200) {
    GTEST_SKIP() << "Fewer than 200 classes in Debian's jars here (" << jars
                 << "; unzip needed): not compared.";
  }
  Tally tally;
  CompareAll(javap_, "-c -p", files, false, &tally);
  Report(tally, "javap -c -p, " + jars);
}

TEST_F(JavapComparisonTest, OwnAndHandmadeClassesAndTheirOutlinesAreJavapsByteForByte) {
  std::vector<fs::path> files = ClassesUnder(CLASSFILE_CLASSES);
  std::vector<fs::path> data = ClassesUnder(std::string(TEST_DATA) + "/classfile");
  files.insert(files.end(), data.begin(), data.end());
  const struct {
    const char* name;
    ClassBuilder::Bytes bytes;
  } handmade[] = {{"RareInstructions.class", RareInstructionsClass()},
                  {"module-info.class", ModuleDescriptorClass()}};
  for (const auto& h : handmade) {
    files.push_back(folder_ / h.name);
    std::ofstream(files.back(), std::ios::binary)
        .write(reinterpret_cast<const char*>(h.bytes.data()), h.bytes.size());
  }
  ASSERT_GE(files.size(), 15u);
  Tally view, outline;
  CompareAll(javap_, "-c -p", files, false, &view);
  CompareAll(javap_, "-p", files, true, &outline);
  Report(view, "javap -c -p, own classes");
  Report(outline, "javap -p, own classes");
}

// Of javap -v's text of one class, what follows the class's "}": the
// SourceDebugExtension, and in the annotation attributes Kotlin's own
// annotations, the attribute's heading kept only above one of them.
std::string KotlinSections(const std::string& verbose) {
  std::vector<std::string> lines = Lines(verbose);
  size_t at = 0;
  while (at < lines.size() && lines[at] != "}") ++at;
  std::string kept, heading, entry;
  bool inSection = false, keepEntry = false;
  auto EndEntry = [&] {
    if (keepEntry) {
      kept += heading + entry;
      heading.clear();
    }
    entry.clear();
    keepEntry = false;
  };
  for (++at; at < lines.size(); ++at) {
    const std::string& line = lines[at];
    if (line.empty() || line[0] != ' ') {
      EndEntry();
      inSection = line == "SourceDebugExtension:" || line == "RuntimeVisibleAnnotations:" ||
                  line == "RuntimeInvisibleAnnotations:";
      heading = inSection ? line + "\n" : "";
      if (line == "SourceDebugExtension:") keepEntry = true;
      continue;
    }
    if (!inSection) continue;
    if (heading.find("Annotations") != std::string::npos && line.compare(0, 4, "    ") != 0) {
      EndEntry();
    }
    entry += line + "\n";
    if (line == "    kotlin.Metadata(" || line == "    kotlin.jvm.internal.SourceDebugExtension(") {
      keepEntry = true;
    }
  }
  EndEntry();
  return kept;
}

TEST_F(JavapComparisonTest, KotlinClassesAreJavapsWithTheirKotlinAttributes) {
  std::vector<fs::path> all = ClassesUnder(KOTLIN_CLASSES);
  if (all.size() < 500) GTEST_SKIP() << "No kotlin-stdlib classes in " << KOTLIN_CLASSES;
  std::vector<fs::path> files;
  for (size_t i = 0; i < all.size(); i += 4 * Every()) files.push_back(all[i]);
  size_t withAttributes = 0;
  Tally tally;
  for (size_t first = 0; first < files.size(); first += kBatch) {
    const size_t last = std::min(files.size(), first + kBatch);
    std::string names;
    for (size_t i = first; i < last; ++i) names += " " + Quoted(files[i].string());
    const std::string javap = Quoted(javap_) + " -J-Dfile.encoding=UTF-8 ";
    std::vector<std::string> plain = SplitClasses(Output(javap + "-c -p" + names + " 2>&1"));
    // Each class's verbose text begins with its "Classfile" line.
    std::vector<std::string> verbose;
    const std::string output = Output(javap + "-v -p" + names + " 2>&1");
    for (size_t start = 0; start != std::string::npos;) {
      size_t next = output.find("\nClassfile ", start + 1);
      verbose.push_back(output.substr(start, next == std::string::npos ? next : next + 1 - start));
      start = next == std::string::npos ? next : next + 1;
    }
    ASSERT_EQ(plain.size(), last - first);
    ASSERT_EQ(verbose.size(), last - first);
    for (size_t i = first; i < last; ++i) {
      std::string bytes = ReadFile(files[i]), ours, error;
      if (!BytecodeViewOf(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), &ours,
                          &error)) {
        ours = error + "\n";
      }
      const std::string sections = KotlinSections(verbose[i - first]);
      withAttributes += sections.empty() ? 0 : 1;
      Compare(files[i], plain[i - first] + sections, ours, &tally);
    }
  }
  Report(tally, "javap -c -p and -v, kotlin-stdlib");
  EXPECT_GT(withAttributes, files.size() * 9 / 10) << "Kotlin's classes carry their metadata";
}

}  // namespace
