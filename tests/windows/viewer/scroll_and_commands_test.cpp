// Scroll reports and the host's commands, on the scripted control (for the
// arithmetic) and on the real rich-edit control (for where it really scrolls).
#include <gtest/gtest.h>
#include <stdint.h>

#include "host/listplug.h"
#include "host/module_state.h"
#include "tests/windows/viewer/viewer_fixture.h"

namespace {

using ScrollReportsTest = ViewerTest;
using ListCommandsTest = ViewerTest;

TEST_F(ScrollReportsTest, UpdatesWithinOneSecondOfTheLastLoadOrOfOtherKindsAreIgnored) {
  HWND list = CreateScriptedControl();
  scripted().firstVisibleLine = 50;
  scripted().lineCount = 200;
  const struct {
    DWORD stamp;
    DWORD now;
    int message;
    WORD code;
    bool reported;
  } cases[] = {
      {50000, 51000, WM_COMMAND, EN_UPDATE, false},
      {50000, 51001, WM_COMMAND, EN_UPDATE, true},
      {50000, 49000, WM_COMMAND, EN_UPDATE, false},  // a stamp in the future
      {50000, 48999, WM_COMMAND, EN_UPDATE, true},
      {0xFFFFFF00u, 0x2E8, WM_COMMAND, EN_UPDATE, false},  // the counter wrapped
      {0xFFFFFF00u, 0x2E9, WM_COMMAND, EN_UPDATE, true},
      {0, 0x80000000u, WM_COMMAND, EN_UPDATE, false},  // -2^31 has no positive form
      {0, 0x7FFFFFFFu, WM_COMMAND, EN_UPDATE, true},
      {50000, 90000, WM_COMMAND, EN_CHANGE, false},
      {50000, 90000, WM_NOTIFY, EN_UPDATE, false},
  };
  for (const auto& c : cases) {
    LastActivityTick = c.stamp;
    now = c.now;
    EXPECT_EQ(ListNotificationReceived(list, c.message, MAKEWPARAM(7, c.code), 0), 0);
    std::vector<PostedCommand> posted = TakePosted();
    if (!c.reported) {
      EXPECT_TRUE(posted.empty()) << "stamp " << c.stamp << " now " << c.now;
      continue;
    }
    ASSERT_EQ(posted.size(), 1u) << "stamp " << c.stamp << " now " << c.now;
    EXPECT_EQ(posted[0].wParam, HostWParam(25, itm_percent));
    EXPECT_EQ(posted[0].lParam, reinterpret_cast<LPARAM>(list));
  }
}

TEST_F(ScrollReportsTest, PercentageIsRoundedHalfUpAndAnEmptyControlReportsNothing) {
  HWND list = CreateScriptedControl();
  LastActivityTick = 0;
  now = 100000;
  const struct {
    int first;
    int count;
    int percent;  // -1: nothing posted
  } cases[] = {{50, 200, 25}, {1, 3, 33}, {1, 200, 1}, {199, 200, 100}, {0, 0, -1}, {3, -1, -1}};
  for (const auto& c : cases) {
    scripted().firstVisibleLine = c.first;
    scripted().lineCount = c.count;
    ListNotificationReceived(list, WM_COMMAND, MAKEWPARAM(0, EN_UPDATE), 0);
    std::vector<PostedCommand> posted = TakePosted();
    if (c.percent < 0) {
      EXPECT_TRUE(posted.empty()) << c.first << " of " << c.count;
    } else {
      ASSERT_EQ(posted.size(), 1u) << c.first << " of " << c.count;
      EXPECT_EQ(posted[0].wParam, HostWParam(c.percent, itm_percent))
          << c.first << " of " << c.count;
    }
  }
}

TEST_F(ListCommandsTest, UnknownCommandsFailAndNewParamsAsksTheHostForTheNextPlugin) {
  HWND list = CreateScriptedControl();
  scripted().lineCount = 200;
  for (int command : {0, 5, -1, 99}) {
    EXPECT_EQ(ListSendCommand(list, command, 50), LISTPLUGIN_ERROR) << command;
  }
  EXPECT_TRUE(TakePosted().empty());
  EXPECT_TRUE(scripted().scrolls.empty());
  EXPECT_TRUE(scripted().selections.empty());

  EXPECT_EQ(ListSendCommand(list, lc_newparams, 0x7FFF), LISTPLUGIN_ERROR);
  std::vector<PostedCommand> posted = TakePosted();
  ASSERT_EQ(posted.size(), 1u);
  EXPECT_EQ(posted[0].wParam, static_cast<WPARAM>(0xFFFFFFFFFFFA0000ull));
  EXPECT_EQ(posted[0].lParam, reinterpret_cast<LPARAM>(list));
}

TEST_F(ListCommandsTest, SetPercentReportsWhereTheControlStoppedAndNeedsLines) {
  HWND list = CreateScriptedControl();
  scripted().firstVisibleLine = 10;
  scripted().lineCount = 200;
  scripted().lastFirstLine = 150;
  EXPECT_EQ(ListSendCommand(list, lc_setpercent, 100), LISTPLUGIN_OK);
  EXPECT_EQ(scripted().scrolls, std::vector<int>{190});
  ASSERT_EQ(scripted().selections.size(), 1u);
  EXPECT_EQ(scripted().selections[0], std::make_pair(1500, 1500));
  std::vector<PostedCommand> posted = TakePosted();
  ASSERT_EQ(posted.size(), 1u);
  EXPECT_EQ(posted[0].wParam, HostWParam(75, itm_percent));

  scripted() = ScriptedControlState();
  EXPECT_EQ(ListSendCommand(list, lc_setpercent, 50), LISTPLUGIN_ERROR);
  EXPECT_TRUE(scripted().scrolls.empty());
  EXPECT_TRUE(TakePosted().empty());
}

TEST_F(ListCommandsTest, SetPercentSelectAllAndCopyOnTheRealControl) {
  std::string text = NumberedText(200);
  HWND list = CreateRichEdit(text.c_str());
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(SendMessageA(list, EM_GETLINECOUNT, 0, 0), 200);

  EXPECT_EQ(ListSendCommand(list, lc_setpercent, 50), LISTPLUGIN_OK);
  EXPECT_EQ(SendMessageA(list, EM_GETFIRSTVISIBLELINE, 0, 0), 100);
  DWORD start = 0, end = 0;
  SendMessageA(list, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, static_cast<DWORD>(SendMessageA(list, EM_LINEINDEX, 100, 0)));
  EXPECT_EQ(end, start);
  std::vector<PostedCommand> posted = TakePosted();
  ASSERT_EQ(posted.size(), 1u);
  EXPECT_EQ(posted[0].wParam, HostWParam(50, itm_percent));
  EXPECT_EQ(posted[0].lParam, reinterpret_cast<LPARAM>(list));

  EXPECT_EQ(ListSendCommand(list, lc_selectall, 0), LISTPLUGIN_OK);
  SendMessageA(list, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 0u);
  EXPECT_GE(end, static_cast<DWORD>(text.size())) << "to the end, final paragraph mark or not";

  SendMessageA(list, EM_SETSEL, 5, 13);  // "000 text"
  EXPECT_EQ(ListSendCommand(list, lc_copy, 0), LISTPLUGIN_OK);
  ASSERT_TRUE(OpenClipboard(host_));
  HANDLE data = GetClipboardData(CF_TEXT);
  ASSERT_NE(data, nullptr);
  EXPECT_STREQ(static_cast<const char*>(GlobalLock(data)), "000 text");
  GlobalUnlock(data);
  CloseClipboard();
  EXPECT_TRUE(TakePosted().empty());
}

}  // namespace
