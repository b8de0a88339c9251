// The viewer driven end to end by the stand-in Lister host on its scripted
// clock: a class file loaded, a text file shown in its place with
// ListLoadNextW, then scroll reports, commands and searches as the host makes
// them. The host also forwards the control's own display updates, so checks
// look at what lies between marks rather than at neighbouring lines.
#include <gtest/gtest.h>
#include <stdio.h>

#include <string>

#include "tests/windows/lister/lister_run.h"
#include "tests/windows/test_support.h"

namespace {

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

// Lines of run.log from the first that starts with from (exclusive) up to the
// next that starts with to (exclusive), without the host's hook records.
std::vector<std::string> Between(const ListerRun& run, const std::string& from,
                                 const std::string& to) {
  std::vector<std::string> lines;
  int start = run.Find(from);
  if (start < 0) return lines;
  for (size_t i = start + 1; i < run.log.size(); ++i) {
    if (run.log[i].compare(0, to.size(), to) == 0) break;
    if (run.log[i].compare(0, 5, "hook ") != 0) lines.push_back(run.log[i]);
  }
  return lines;
}

int CountStartingWith(const std::vector<std::string>& lines, const std::string& prefix) {
  int count = 0;
  for (const std::string& line : lines) count += line.compare(0, prefix.size(), prefix) == 0;
  return count;
}

// The built plugin, the fake Jad beside it and Greeter.class, in folder.
bool PutPluginAndGreeter(const std::wstring& folder) {
  const std::wstring bin = ExeDirectory();
  return CopyFileW((bin + kPluginFile).c_str(), (folder + kPluginFile).c_str(), FALSE) &&
         CopyFileW((bin + L"fakejad.exe").c_str(), (folder + L"jad.exe").c_str(), FALSE) &&
         CopyFileW((bin + L"decompile_data\\sample\\Greeter.class").c_str(),
                   (folder + L"Greeter.class").c_str(), FALSE);
}

TEST(ThroughTheHostTest, AFileShownNextIsReportedScrolledAndSearched) {
  std::wstring folder = ScratchFolder(L"viewer_host");
  ASSERT_TRUE(PutPluginAndGreeter(folder));
  std::string lines;
  for (int i = 0; i < 200; ++i) {
    char line[16];
    snprintf(line, sizeof line, "%sline %03d", i == 0 ? "" : "\n", i);
    lines += line;
  }
  WriteBytes(folder + L"lines.txt", lines);

  std::wstring script = L"clock 100000; load; loadnext " + folder +
                        L"lines.txt; echo loaded;"
                        L"clock +1000; update; echo quiet; clock +1; update; echo reported;"
                        L"notify 0x111 0x3000000 list; echo changed; setpercent 50; echo scrolled;"
                        L"search \"line 010\" first; setpercent 0; search \"line 010\" first;"
                        L"command 0 0; command 5 0; newparams 7; echo end; dumptext " +
                        folder + L"shown.txt";
  ListerRun run =
      RunLister({folder + kPluginFile, folder + L"Greeter.class", L"--do", script}, folder);
  ASSERT_EQ(run.exit_code, 0);
  ASSERT_TRUE(run.Has("ListLoadW \"" + Narrow(folder) + "Greeter.class\" -> window"));
  EXPECT_TRUE(run.Has("ListLoadNextW \"" + Narrow(folder) + "lines.txt\" -> 0"));

  const std::string percent = "posted itm_percent ";
  EXPECT_EQ(CountStartingWith(Between(run, "echo loaded", "echo quiet"), percent), 0)
      << "1000 ms after the load is still quiet";
  EXPECT_EQ(Between(run, "echo quiet", "echo reported"),
            std::vector<std::string>({"ListNotificationReceived 0x111 0x4000000 -> 0",
                                      Posted("itm_percent 0", "fffe0000")}));
  EXPECT_EQ(Between(run, "echo reported", "echo changed"),
            std::vector<std::string>({"ListNotificationReceived 0x111 0x3000000 -> 0"}));
  // The host's own calls in order; the control's updates, forwarded by the
  // host, interleave with them.
  std::vector<std::string> driven = Between(run, "echo changed", "echo end");
  std::vector<std::string> calls;
  for (const std::string& line : driven) {
    if (line.compare(0, 15, "ListSendCommand") == 0 || line.compare(0, 14, "ListSearchText") == 0) {
      calls.push_back(line);
    }
  }
  // Line 10 lies above line 100, where the first search starts; after going
  // back to the top it is found.
  EXPECT_EQ(calls, std::vector<std::string>(
                       {"ListSendCommand 4 50 -> 0", "ListSearchTextW \"line 010\" 1 -> 1",
                        "ListSendCommand 4 0 -> 0", "ListSearchTextW \"line 010\" 1 -> 0",
                        "ListSendCommand 0 0 -> 1", "ListSendCommand 5 0 -> 1",
                        "ListSendCommand 2 7 -> 1"}));
  EXPECT_GE(CountStartingWith(Between(run, "ListSendCommand 4 50", "echo scrolled"),
                              Posted("itm_percent 50", "fffe0032")),
            1);
  // The match on line 10 leaves line 7 on top: 3.5 percent, reported as 4.
  EXPECT_GE(CountStartingWith(Between(run, "ListSearchTextW \"line 010\" 1 -> 0", "echo end"),
                              Posted("itm_percent 4", "fffe0004")),
            1);
  EXPECT_EQ(CountStartingWith(driven, Posted("itm_next 0", "fffa0000")), 1);

  std::string shown = ReadBytes(folder + L"shown.txt");
  EXPECT_NE(shown.find("001: line 000"), std::string::npos);
  EXPECT_NE(shown.find("200: line 199"), std::string::npos);
}

// The host's right click and Ctrl+B switch a class between its source and its
// bytecode: the menu's second entry, then the key back; Shift+F10 opens the
// same menu from the keyboard.
TEST(ThroughTheHostTest, TheContextMenuAndCtrlBSwitchToTheBytecodeAndBack) {
  std::wstring folder = ScratchFolder(L"viewer_views");
  ASSERT_TRUE(PutPluginAndGreeter(folder));
  std::wstring script = L"load; waitsource; contextmenu 2; dumptext " + folder +
                        L"bytecode.txt; key ctrl+b; dumptext " + folder +
                        L"source.txt; contextmenu 2 shift+f10; dumptext " + folder + L"by_key.txt";
  ListerRun run =
      RunLister({folder + kPluginFile, folder + L"Greeter.class", L"--do", script}, folder);
  ASSERT_EQ(run.exit_code, 0);
  const char bytecodeView[] = "public java.lang.String greet(int);\r\n    Code:\r\n       0: new";
  const std::string bytecode = ReadBytes(folder + L"bytecode.txt");
  EXPECT_NE(bytecode.find(bytecodeView), std::string::npos) << bytecode;
  const std::string source = ReadBytes(folder + L"source.txt");
  EXPECT_NE(source.find("class Greeter {}"), std::string::npos) << source;
  EXPECT_EQ(ReadBytes(folder + L"by_key.txt"), bytecode);
}

// The host answers the class window's "Go to" list as the script says (or
// cancels it) and logs the first visible line after the menu and the key.
TEST(ThroughTheHostTest, TheGoToListIsAnsweredAndWhereTheViewStandsLogged) {
  std::wstring folder = ScratchFolder(L"viewer_go_to");
  ASSERT_TRUE(PutPluginAndGreeter(folder));
  std::wstring script =
      L"resize 600 160; load; waitsource; contextmenu 2; pick \"greet(int)\"; contextmenu 3;"
      L"echo went;"
      L"pick \"missing()\"; key ctrl+g; key ctrl+g; top";
  ListerRun run =
      RunLister({folder + kPluginFile, folder + L"Greeter.class", L"--do", script}, folder);
  ASSERT_EQ(run.exit_code, 0);
  EXPECT_TRUE(run.Has("watchdog list \"Go to member\" \"greet(int)\" -> ok"));
  std::vector<std::string> went = Between(run, "contextmenu 3", "echo went");
  ASSERT_FALSE(went.empty());
  EXPECT_EQ(went.back().find("top "), 0u) << went.back();
  EXPECT_NE(went.back().find(" \"  public java.lang.String greet(int);\""), std::string::npos)
      << went.back();
  EXPECT_TRUE(run.Has("watchdog list \"Go to member\" \"missing()\" -> not found, cancel"));
  EXPECT_TRUE(run.Has("watchdog list \"Go to member\" -> cancel"));
  // A list cancelled leaves the view where it was: every later top line the same.
  std::vector<std::string> tops;
  for (const std::string& line : run.log) {
    if (line.compare(0, 4, "top ") == 0) tops.push_back(line);
  }
  ASSERT_EQ(tops.size(), 5u);  // after both menus, both keys, and asked
  for (size_t i = 2; i < tops.size(); ++i) EXPECT_EQ(tops[i], tops[1]);
}

// Quick View with the plugin's own wait (no test's override): N steps from
// class to class; the plugin cannot show a class as the next file's text, so
// the host loads it afresh, and the host's log says how long each call held
// it, which the decompiler's time does not come into.
TEST(ThroughTheHostTest, QuickViewStepsThroughClassesWithThePluginsOwnWait) {
  std::wstring folder = ScratchFolder(L"viewer_quick_view");
  ASSERT_TRUE(PutPluginAndGreeter(folder));
  const std::string greeter = ReadBytes(folder + L"Greeter.class");
  for (const wchar_t* name : {L"Step1.class", L"Step2.class", L"Step3.class"}) {
    WriteBytes(folder + name, greeter);
  }
  const int delayMs = 4000;
  WriteBytes(folder + L"fakejad.mode", "slow");
  WriteBytes(folder + L"fakejad.delay", std::to_string(delayMs));
  wchar_t wait[16] = L"";
  GetEnvironmentVariableW(L"DRAVIK_LOAD_WAIT_MS", wait, 16);
  SetEnvironmentVariableW(L"DRAVIK_LOAD_WAIT_MS", nullptr);
  ListerRun run = RunLister({folder + kPluginFile, folder + L"Step1.class", L"--do",
                             L"load; key n; key n; waitsource; dumptext " + folder + L"text.txt"},
                            folder);
  SetEnvironmentVariableW(L"DRAVIK_LOAD_WAIT_MS", wait);
  ASSERT_EQ(run.exit_code, 0);
  for (const char* step : {"Step2", "Step3"}) {
    const std::string file = Narrow(folder) + step + ".class\"";
    int next = run.Find("ListLoadNextW \"" + file);
    ASSERT_GE(next, 0) << step;
    EXPECT_EQ(run.log[next], "ListLoadNextW \"" + file + " -> 1");
    int close = run.Find("ListCloseWindow");
    EXPECT_GE(close, 0);
    EXPECT_TRUE(run.Has("ListLoadW \"" + file + " -> window")) << step;
  }
  EXPECT_NE(run.Find("waitsource -> shown after"), -1);
  EXPECT_NE(ReadBytes(folder + L"text.txt").find("class Greeter {}"), std::string::npos);
  // Three loads, none held for the run.
  int loads = 0;
  for (const std::string& line : run.times) {
    double ms = 0;
    if (sscanf(line.c_str(), "time ListLoadW %lf ms", &ms) != 1) continue;
    ++loads;
    EXPECT_LT(ms, delayMs) << line;
  }
  EXPECT_EQ(loads, 3);
  // Only the last one was decompiled to its end.
  const std::string log = ReadBytes(folder + L"fakejad.log");
  EXPECT_EQ(log.find("done Step1"), std::string::npos) << log;
  EXPECT_NE(log.find("done Step3"), std::string::npos) << log;
}

}  // namespace
