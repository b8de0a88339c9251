// The engine a Java runtime gets, read from what the runtime says of its
// version, and the engine's command line as Windows programs read it back.
#include "bridge/engines/engine.h"

#include <gtest/gtest.h>

#include "bridge/java_runtime/version_text.h"
#include "bridge/shown_class/class_family.h"
#include "bridge/windows/argument_quoting.h"

namespace {

TEST(EngineTest, VineflowerFromJava17OnAndCfrBeforeOrWhenTheVersionIsUnknown) {
  const struct {
    const char* release;
    int version;
    Engine engine;
  } runtimes[] = {
      {"JAVA_VERSION=\"1.8.0_392\"\nOS_NAME=\"Windows\"\n", 8, Engine::Cfr},
      {"IMPLEMENTOR=\"Eclipse Adoptium\"\r\nJAVA_VERSION=\"11.0.21\"\r\n", 11, Engine::Cfr},
      {"JAVA_VERSION=\"16\"", 16, Engine::Cfr},
      {"JAVA_RUNTIME_VERSION=\"21.0.1+12\"\nJAVA_VERSION=\"17.0.15\"\n", 17, Engine::Vineflower},
      {"JAVA_VERSION=\"21\"\n", 21, Engine::Vineflower},
      {"JAVA_VERSION=\"25-ea\"\n", 25, Engine::Vineflower},
      // Nothing that names a version: CFR, which runs on any.
      {"JAVA_RUNTIME_VERSION=\"17.0.15\"\n", 0, Engine::Cfr},
      {" JAVA_VERSION=\"17\"\n", 0, Engine::Cfr},
      {"JAVA_VERSION=17\n", 0, Engine::Cfr},
      {"JAVA_VERSION=\"\"\n", 0, Engine::Cfr},
      {"JAVA_VERSION=\"12345\"\n", 0, Engine::Cfr},
      {"", 0, Engine::Cfr},
  };
  for (const auto& runtime : runtimes) {
    EXPECT_EQ(JavaVersionFromReleaseFile(runtime.release), runtime.version) << runtime.release;
    EXPECT_EQ(EngineForJavaVersion(runtime.version), runtime.engine) << runtime.release;
  }
  EXPECT_EQ(JavaVersionFromVersionOutput("openjdk version \"17.0.15\" 2025-04-15\nOpenJDK ..."),
            17);
  EXPECT_EQ(JavaVersionFromVersionOutput("java version \"1.8.0_381\"\r\nJava(TM) SE ..."), 8);
  EXPECT_EQ(JavaVersionFromVersionOutput("Picked up JAVA_TOOL_OPTIONS\nopenjdk version \"21\""), 0);
  EXPECT_EQ(JavaVersionFromVersionOutput("Error: could not open `jvm.cfg'"), 0);
}

TEST(EngineTest, QuotesEachWordSoThatItIsReadBackWhole) {
  const struct {
    const char* word;
    const char* quoted;
  } words[] = {
      {"--silent", "--silent"},
      {"", "\"\""},
      {"--indent-string=    ", "\"--indent-string=    \""},
      {"C:\\Program Files\\x", "\"C:\\Program Files\\x\""},
      {"a\"b", "\"a\\\"b\""},
      {"a\\\\\"b c", "\"a\\\\\\\\\\\"b c\""},
      {"C:\\dir with space\\", "\"C:\\dir with space\\\\\""},
      {"demo/Outer$Inner", "demo/Outer$Inner"},
  };
  for (const auto& word : words) EXPECT_EQ(QuotedArgument(word.word), word.quoted) << word.word;
  EXPECT_EQ(QuotedArgument("C:\\j.exe", true), "\"C:\\j.exe\"");
}

TEST(EngineTest, TheOneShotRunIsTheServicesJarOnTheClassFile) {
  EngineRun run;
  run.java = "C:\\Program Files\\jdk\\bin\\java.exe";
  run.javaOptions = {"-XX:+UseSerialGC"};
  run.home = "C:\\TC\\plugins\\dravik";
  run.classFile = "C:\\Temp\\x\\classes\\demo\\Outer$Inner.class";
  run.outFolder = "C:\\Temp\\x\\out";
  const std::string start =
      "\"C:\\Program Files\\jdk\\bin\\java.exe\" -XX:+UseSerialGC -Dfile.encoding=UTF-8 -cp "
      "\"C:\\TC\\plugins\\dravik\\decompiler\\vineflower.jar;C:\\TC\\plugins\\dravik\\"
      "decompiler\\cfr.jar;C:\\TC\\plugins\\dravik\\decompiler\\dravik-decompile-service.jar\" "
      "dravik.service.DecompileOnce ";
  EXPECT_EQ(EngineCommandLine(Engine::Vineflower, run),
            start +
                "vineflower \"C:\\Temp\\x\\classes\\demo\\Outer$Inner.class\" "
                "\"C:\\Temp\\x\\out\" --log-level=warn --kt-enable=false \"--indent-string=    \" "
                "--jad-names-for-unnamed=1 --as-written=1 --kotlin-lines=1");
  run.lineNumbers = true;
  EXPECT_EQ(EngineCommandLine(Engine::Cfr, run),
            start +
                "cfr \"C:\\Temp\\x\\classes\\demo\\Outer$Inner.class\" \"C:\\Temp\\x\\out\" "
                "--silent true --sealed true --hideutf false --jad-names-for-unnamed=1 "
                "--kotlin-lines=1 -lnc");
  // Kotlin asked for: Vineflower's Kotlin plugin on; CFR has none.
  run.kotlin = true;
  EXPECT_NE(EngineCommandLine(Engine::Vineflower, run).find(" --kt-enable=true "),
            std::string::npos);
  EXPECT_EQ(EngineOptions(Engine::Cfr, true, true), EngineOptions(Engine::Cfr, true, false));
}

TEST(EngineTest, AFamilyIsEveryClassFileOfTheSameNameUpToItsFirstDollar) {
  const struct {
    const char* shown;
    const char* file;
    bool member;
  } pairs[] = {
      {"Outer.class", "Outer$Inner.class", true},
      {"Outer.class", "Outer$1.class", true},
      {"Outer$Inner.class", "Outer.class", true},
      {"Outer$Inner.class", "Outer$Inner$Deep.class", true},
      {"Outer$1Local.class", "Outer$2.CLASS", true},
      {"Outer.class", "Outer.class", false},
      {"Outer.class", "OuterX.class", false},
      {"Outer.class", "Outer2$1.class", false},
      {"Outer.class", "outer$1.class", false},
      {"Outer.class", "Outer$1.java", false},
      {"Outer.class", "Other.class", false},
      {"Outer.txt", "Outer$1.class", false},
  };
  for (const auto& pair : pairs) {
    EXPECT_EQ(InFamily(pair.shown, pair.file), pair.member) << pair.shown << " " << pair.file;
  }
  EXPECT_EQ(FamilyName("Outer$Inner$Deep.class"), "Outer");
  EXPECT_EQ(FamilyName("$Outer$Inner.class"), "$Outer");
  EXPECT_EQ(FamilyName("$Outer.class"), "$Outer");
}

}  // namespace
