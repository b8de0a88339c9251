// The dark scheme end to end: the stand-in host passes lcp_darkmode (--dark,
// "dark on|off") and reads back the formats and the background the control
// shows, for a class file and for a file shown next.
#include <gtest/gtest.h>

#include <string>

#include "tests/windows/lister/lister_run.h"
#include "tests/windows/test_support.h"

namespace {

// The formats of this source's light view as the viewer showed them before it
// knew the dark scheme, as the host dumps them.
const char kSource[] =
    "/* Block\r\n   comment */\r\npublic class A {\r\n  // note\r\n  String s = \"hi\";\r\n"
    "  char c = 'x';\r\n  int n = 42 / 2;\r\n}\r\n";
const char kLightFormats[] =
    "0 29 1 #ff8080 Courier New\n29 83 0 #3f7f5f Courier New\n83 84 0 auto Courier New\n"
    "84 90 1 #7f0055 Courier New\n90 91 0 auto Courier New\n91 96 1 #7f0055 Courier New\n"
    "96 103 0 auto Courier New\n103 111 0 #3f7f5f Courier New\n111 124 0 auto Courier New\n"
    "124 128 0 #0000c0 Courier New\n128 132 0 auto Courier New\n"
    "132 136 1 #7f0055 Courier New\n136 141 0 auto Courier New\n"
    "141 144 0 #0000c0 Courier New\n144 148 0 auto Courier New\n"
    "148 151 1 #7f0055 Courier New\n151 166 0 auto Courier New\n";

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

class DarkModeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = ScratchFolder(L"viewer_dark");
    std::wstring bin = ExeDirectory();
    ASSERT_TRUE(CopyFileW((bin + kPluginFile).c_str(), (folder_ + kPluginFile).c_str(), 0));
    ASSERT_TRUE(CopyFileW((bin + L"fakejad.exe").c_str(), (folder_ + L"jad.exe").c_str(), FALSE));
    ASSERT_TRUE(CopyFileW((bin + L"decompile_data\\sample\\Greeter.class").c_str(),
                          (folder_ + L"Greeter.class").c_str(), FALSE));
    WriteBytes(folder_ + L"fakejad.mode", "source");
    WriteBytes(folder_ + L"fakejad.source", kSource);
    WriteBytes(folder_ + L"lines.txt", "a\nb");
  }

  ListerRun Run(const std::wstring& script, bool dark) {
    std::vector<std::wstring> args = {folder_ + kPluginFile, folder_ + L"Greeter.class",
                                      L"--do", L"clock 1000; " + script};
    if (dark) args.push_back(L"--dark");
    return RunLister(args, folder_);
  }
  std::wstring Dump(const wchar_t* name) { return L"dumpformats " + folder_ + name; }
  std::string Read(const wchar_t* name) { return ReadBytes(folder_ + name); }

  std::wstring folder_;
};

TEST_F(DarkModeTest, WithoutTheFlagTheViewIsAsItAlwaysWas) {
  ListerRun run = Run(L"load; pixel 2 2; " + Dump(L"light.txt"), false);
  ASSERT_EQ(run.exit_code, 0);
  EXPECT_EQ(Read(L"light.txt"), kLightFormats);
  EXPECT_TRUE(run.Has("pixel 2 2 #ffffff"));
}

TEST_F(DarkModeTest, TheFlagDarkensBothViewsUntilALoadWithoutIt) {
  ListerRun run = Run(L"load; pixel 2 2; " + Dump(L"dark.txt") + L"; loadnext " + folder_ +
                          L"lines.txt; pixel 2 2; " + Dump(L"next.txt") + L"; dark off; loadnext " +
                          folder_ + L"lines.txt; pixel 2 2; " + Dump(L"light.txt"),
                      true);
  ASSERT_EQ(run.exit_code, 0);
  // The same runs, each in its dark colour: banner, comments and the timing
  // line, plain text, keywords, literals.
  std::string dark = kLightFormats;
  for (const auto& colour : {std::make_pair("#ff8080", "#ff8c8c"),
                             {"#3f7f5f", "#78b48c"},
                             {"auto", "#d4d4d4"},
                             {"#7f0055", "#dc82be"},
                             {"#0000c0", "#82b4ff"}}) {
    dark = Replaced(dark, colour.first, colour.second);
  }
  EXPECT_EQ(Read(L"dark.txt"), dark);
  EXPECT_EQ(Read(L"next.txt"), "0 9 1 #d4d4d4 System\n");
  EXPECT_EQ(Read(L"light.txt"), "0 9 1 auto System\n");

  // The class in the dark, the numbered file in the dark, then the system's white.
  std::vector<std::string> pixels;
  for (const std::string& line : run.log) {
    if (line.compare(0, 6, "pixel ") == 0) pixels.push_back(line);
  }
  EXPECT_EQ(pixels, (std::vector<std::string>{"pixel 2 2 #1e1e1e", "pixel 2 2 #1e1e1e",
                                              "pixel 2 2 #ffffff"}));
}

}  // namespace
