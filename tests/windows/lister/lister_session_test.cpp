// Scripted sessions of lister.exe: against the built plugin (what the
// host asks of it and what it answers) and against the probe plugin (what the
// host does with a plugin that shows, posts, prints and draws).
#include <gtest/gtest.h>
#include <windows.h>
// windows.h first: the dialog declarations build on it.
#include <commdlg.h>

#include "standins/lister/host_log.h"
#include "tests/windows/lister/lister_run.h"
#include "tests/windows/test_support.h"

namespace {

std::string Q(const std::wstring& text) { return Quoted(text); }

class ListerSessionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = ScratchFolder(L"lister_session");
    WriteBytes(folder_ + L"A.class", "\xCA\xFE\xBA\xBE");
    WriteBytes(folder_ + L"b.probe", "probe file");
    WriteBytes(folder_ + L"c.probe", "the next one");
    WriteBytes(folder_ + L"notes.txt", "text");
  }
  ListerRun Run(const std::wstring& plugin, const std::wstring& file, const std::wstring& script,
                std::vector<std::wstring> more = {}) {
    std::vector<std::wstring> args = {ExeDirectory() + plugin, folder_ + file, L"--do", script};
    args.insert(args.end(), more.begin(), more.end());
    return RunLister(args, folder_);
  }
  std::wstring folder_;
};

TEST_F(ListerSessionTest, DravikIsSetUpAskedForItsStringAndOfferedOnlyClassFiles) {
  ListerRun run = Run(kPluginFile, L"A.class",
                      L"load; detect " + folder_ + L"notes.txt; force on; detect " + folder_ +
                          L"notes.txt; searchdialog \"main\" case");
  ASSERT_EQ(run.exit_code, 0);
  for (const char* name :
       {"ListLoad", "ListLoadW", "ListLoadNext", "ListLoadNextW", "ListCloseWindow",
        "ListGetDetectString", "ListSetDefaultParams", "ListSendCommand", "ListSearchText",
        "ListSearchTextW", "ListSearchDialog", "ListPrint", "ListNotificationReceived",
        "ListGetPreviewBitmap", "ListGetPreviewBitmapW"}) {
    EXPECT_TRUE(run.Has(std::string("export ") + name + " found")) << name;
  }
  // The settings come before anything else is asked of the plugin.
  int params = run.Find("ListSetDefaultParams ");
  ASSERT_GE(params, 0);
  EXPECT_NE(run.log[params].find("lister.ini\" 2.12"), std::string::npos) << run.log[params];
  EXPECT_EQ(run.Find("ListGetDetectString "), params + 1);
  EXPECT_TRUE(run.Has("ListGetDetectString \"force | (ext=\\\"CLASS\\\")\""));

  EXPECT_TRUE(run.Has("detect " + Q(folder_ + L"A.class") + " offered"));
  EXPECT_GT(run.Find("ListLoadW " + Q(folder_ + L"A.class") + " -> "), params);
  // Lines of the control's notifications may come between; the order counts.
  int refused = run.Find("detect " + Q(folder_ + L"notes.txt") + " not offered");
  int forced = run.Find("detect " + Q(folder_ + L"notes.txt") + " offered");
  ASSERT_GE(refused, 0);
  EXPECT_GT(forced, refused);

  // dravik has no search dialog of its own: the host's answers, from the first line.
  int dialog = run.Find("ListSearchDialog 0 -> 1");
  int answer = run.Find("search dialog \"main\" 2");
  // The wide export, as the Lister asks it.
  int search = run.Find("ListSearchTextW \"main\" 3 -> ");
  ASSERT_GE(dialog, 0);
  EXPECT_GT(answer, dialog);
  EXPECT_GT(search, answer);
  EXPECT_EQ(run.log.back(), "exit 0");
}

TEST_F(ListerSessionTest, APluginIsShownDrivenAndItsMessagesDecoded) {
  std::wstring thumbnail = folder_ + L"thumb.png";
  std::wstring shot = folder_ + L"shot.png";
  ListerRun run = Run(L"lister_probe.wlx64", L"b.probe",
                      L"clock 5000; platform other; load; dumptext " + folder_ +
                          L"text1.txt; setpercent 50; key ctrl+a; key 7; newparams 0; update; "
                          L"search \"line 7\" first; resize 500 300; key n; thumbnail 40 30 " +
                          thumbnail + L"; close",
                      {L"--size", L"640x480", L"--screenshot", shot});
  ASSERT_EQ(run.exit_code, 0);
  EXPECT_TRUE(run.Has("hook GetTickCount -> 5000"));
  EXPECT_EQ(ReadBytes(folder_ + L"text1.txt").find("ticks=5000 platform=1"),
            std::string("probe ").size() + (folder_ + L"b.probe").size() + 2);

  // The plugin posts to the client area; the host decodes item and value.
  EXPECT_TRUE(run.Has(Posted("itm_fontstyle 4", "fffd0004")));
  EXPECT_TRUE(run.Has(Posted("itm_percent 0", "fffe0000")));
  int percent = run.Find("ListSendCommand 4 50 -> 0");
  ASSERT_GE(percent, 0);
  EXPECT_EQ(run.log[percent + 1].rfind("posted itm_percent 50 ", 0), 0u);
  EXPECT_TRUE(run.Has("ListSendCommand 3 0 -> 0"));   // Ctrl+A
  EXPECT_TRUE(run.Has("ListSendCommand 4 70 -> 0"));  // the key 7
  int next = run.Find("ListSendCommand 2 0 -> 1");
  ASSERT_GE(next, 0);
  EXPECT_EQ(run.log[next + 1].rfind("posted itm_next 0 ", 0), 0u);
  int update = run.Find("ListNotificationReceived 0x111 0x4000000 -> 0");
  ASSERT_GE(update, 0);
  EXPECT_EQ(run.log[update + 1].rfind("posted itm_percent 33 ", 0), 0u);
  EXPECT_TRUE(run.Has("ListSearchText \"line 7\" 1 -> 0"));
  int sizes = run.Find("sizes area ");  // the plugin's window follows the client area
  ASSERT_GE(sizes, 0);
  int area_width = 0, area_height = 0, list_width = 0, list_height = 0;
  ASSERT_EQ(sscanf(run.log[sizes].c_str(), "sizes area %dx%d list %dx%d", &area_width, &area_height,
                   &list_width, &list_height),
            4);
  EXPECT_GT(area_width, 400);
  EXPECT_LT(area_width, 500);
  EXPECT_EQ(list_width, area_width);
  EXPECT_EQ(list_height, area_height);
  EXPECT_TRUE(run.Has("ListLoadNextW " + Q(folder_ + L"c.probe") + " -> 0"));  // N: next file

  EXPECT_TRUE(
      run.Has("ListGetPreviewBitmapW " + Q(folder_ + L"c.probe") + " 40 30 12 -> bitmap 40x30"));
  EXPECT_TRUE(run.Has("thumbnail " + Q(thumbnail) + " written"));
  EXPECT_TRUE(run.Has("ListCloseWindow"));
  EXPECT_TRUE(run.Has("screenshot " + Q(shot) + " written"));
  EXPECT_EQ(run.log.back(), "exit 0");
}

TEST_F(ListerSessionTest, AcceptedPrintingGoesToTheTestPrinterPageByPage) {
  ListerRun run = Run(L"lister_probe.wlx64", L"b.probe",
                      L"load; printer 400 300 10 20; printpages " + folder_ +
                          L"; printdialog accept; print; printdialog cancel; print");
  ASSERT_EQ(run.exit_code, 0);
  int dialog = run.Find("hook PrintDlgA size=");
  ASSERT_GE(dialog, 0);
  EXPECT_EQ(run.log[dialog], "hook PrintDlgA size=" + std::to_string(sizeof(PRINTDLGA)) +
                                 " owner=list flags=0x100 from=0 to=0 min=0 max=0 copies=0 -> 1");
  EXPECT_EQ(run.log[dialog + 1], "hook StartDocA " + Q(folder_ + L"b.probe") + " -> 1");
  EXPECT_EQ(run.log[dialog + 2], "hook GetDeviceCaps 110 -> 400");
  EXPECT_EQ(run.log[dialog + 3], "page " + Q(folder_ + L"page-1.png") + " written");
  EXPECT_EQ(run.log[dialog + 4], "hook EndPage -> 1");
  EXPECT_EQ(run.log[dialog + 5], "page " + Q(folder_ + L"page-2.png") + " written");
  EXPECT_EQ(run.log[dialog + 6], "hook EndDoc -> 1");
  EXPECT_EQ(run.log[dialog + 7], "hook DeleteDC printer -> 1");
  EXPECT_EQ(run.log[dialog + 8].rfind("ListPrint ", 0), 0u);
  // Cancelled: nothing after the dialog.
  EXPECT_EQ(run.log[dialog + 9].rfind("hook PrintDlgA ", 0), 0u);
  EXPECT_NE(run.log[dialog + 9].find("-> 0"), std::string::npos);
  EXPECT_EQ(run.log[dialog + 10].rfind("ListPrint ", 0), 0u);
}

TEST_F(ListerSessionTest, TheRealPrintDialogNeverBlocksAScript) {
  // Without a printer Wine shows a message box instead; either is answered.
  ListerRun run =
      Run(L"lister_probe.wlx64", L"b.probe", L"load; printdialog real cancel; print; close");
  ASSERT_EQ(run.exit_code, 0);
  EXPECT_GE(run.Find("watchdog "), 0);
  EXPECT_GE(run.Find("hook PrintDlgA "), 0);
  EXPECT_TRUE(run.Has("ListCloseWindow"));
}

TEST_F(ListerSessionTest, AMessageBoxOfThePluginIsDismissedAndLogged) {
  ListerRun run =
      Run(L"lister_probe.wlx64", L"b.probe", L"load; searchdialog \"line 3\" words; close");
  ASSERT_EQ(run.exit_code, 0);
  int box = run.Find("watchdog message box ");
  ASSERT_GE(box, 0);
  EXPECT_EQ(run.log[box], "watchdog message box \"Probe\" \"no dialog here\" -> ok");
  // The box came and went within ListSearchDialog; then the host's dialog answered.
  int dialog = run.Find("ListSearchDialog 0 -> 1");
  int answer = run.Find("search dialog \"line 3\" 4");
  int search = run.Find("ListSearchText \"line 3\" 5 -> 0");
  EXPECT_GT(dialog, box);
  EXPECT_GT(answer, dialog);
  EXPECT_GT(search, answer);
}

TEST_F(ListerSessionTest, ABadScriptStopsWithCode2) {
  ListerRun run = Run(L"lister_probe.wlx64", L"b.probe", L"load; setpercent many; close");
  EXPECT_EQ(run.exit_code, 2);
  EXPECT_TRUE(run.Has("error \"setpercent: argument 1 must be a number\""));
  EXPECT_TRUE(run.Has("ListCloseWindow"));  // the host still closes the plugin's window
  EXPECT_TRUE(run.Has("exit 2"));
}

}  // namespace
