// ListPrint through the built plugin, with the dialog and the printer
// answered by hooks on its imports and the control answered by a page table:
// the exact calls, pages and rectangles of each way to print.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/listplug.h"
#include "standins/hooks/import_hooks.h"
#include "tests/windows/printing/control_log.h"
#include "tests/windows/printing/page_table_control.h"
#include "tests/windows/printing/printing_layer.h"
#include "tests/windows/test_support.h"

namespace {

using Calls = std::vector<std::string>;

char kFileName[] = "C:\\classes\\Hello.class";
// Page tables end their last page as the control does, behind the final
// paragraph mark that follows every text: at its length + 1.
// Five pages of 100 characters each.
const std::vector<int> kFivePages = {100, 200, 300, 400, 501};

PageTable Pages(std::vector<int> ends, int textLength) {
  PageTable table;
  table.ends = std::move(ends);
  table.textLength = textLength;
  return table;
}

PageTable Selection(std::vector<int> ends, int textLength, int start, int end) {
  PageTable table = Pages(std::move(ends), textLength);
  table.selectionStart = start;
  table.selectionEnd = end;
  return table;
}

PrintScript Range(WORD from, WORD to) {
  PrintScript script;
  script.flags = PD_PAGENUMS;
  script.fromPage = from;
  script.toPage = to;
  return script;
}

class ListPrintTest : public ::testing::Test {
 protected:
  void SetUp() override {
    listPrint_ = plugin_.Export<decltype(&ListPrint)>("ListPrint");
    ASSERT_NE(listPrint_, nullptr);
  }

  // Prints the page table's text with the script's answers; the calls made.
  Calls Print(const PageTable& table, const PrintScript& script, RECT* margins) {
    PrintingLayer layer(plugin_.module(), script);
    EXPECT_TRUE(layer.installed());
    HWND control = CreatePageTableControl(table);
    EXPECT_NE(control, nullptr);
    EXPECT_EQ(listPrint_(control, kFileName, nullptr, 0, margins), LISTPLUGIN_OK);
    if (script.dialogResult) {
      EXPECT_TRUE(layer.deviceContextDeleted());
    }
    DestroyWindow(control);
    return PrintLog();
  }
  Calls Print(const PageTable& table, const PrintScript& script) {
    RECT margins = {100, 100, 100, 100};
    return Print(table, script, &margins);
  }

  // The page flow alone: formatting calls, EndPage and EndDoc.
  static Calls PageFlow(const Calls& calls) {
    Calls flow;
    for (const auto& call : calls) {
      if (call.rfind("render", 0) == 0 || call.rfind("measure", 0) == 0 || call == "EndPage" ||
          call == "EndDoc") {
        flow.push_back(call);
      }
    }
    return flow;
  }

  // The rectangle of the first formatting call, after checking that every call
  // had the same one in rc and rcPage and named the printer as both devices.
  static RECT PrintRectangle() {
    const auto& calls = FormatCalls();
    EXPECT_FALSE(calls.empty());
    if (calls.empty()) return RECT{};
    for (size_t i = 0; i < calls.size(); ++i) {
      EXPECT_TRUE(EqualRect(&calls[i].rc, &calls[0].rc)) << "call " << i;
      EXPECT_TRUE(calls[i].rcPageEqualsRc) << "call " << i;
      EXPECT_TRUE(calls[i].deviceContextsMatch) << "call " << i;
    }
    return calls[0].rc;
  }

  LoadedPlugin plugin_;
  decltype(&ListPrint) listPrint_ = nullptr;
};

TEST_F(ListPrintTest, OnePageIsTheDialogOneRenderingAndTheEndSequence) {
  Calls calls = Print(Pages({81}, 80), PrintScript());
  EXPECT_EQ(calls, (Calls{"PrintDlgA", "StartDocA", "release", "length", "render 0", "EndDoc",
                          "release", "DeleteDC", "GlobalFree DEVNAMES", "GlobalFree DEVMODE"}));

  const PRINTDLGA& dialog = PassedDialogRecord();
  // The sizes of the build's architecture (record_sizes_test.cpp).
  EXPECT_EQ(dialog.lStructSize, sizeof(PRINTDLGA));
  EXPECT_NE(dialog.hwndOwner, nullptr);
  EXPECT_EQ(dialog.Flags, 0x40100u);
  EXPECT_EQ(dialog.nFromPage, 0xFFFF);
  EXPECT_EQ(dialog.nToPage, 0xFFFF);
  EXPECT_EQ(dialog.nMinPage, 1);
  EXPECT_EQ(dialog.nMaxPage, 0xFFFF);
  EXPECT_EQ(dialog.nCopies, 1);
  EXPECT_EQ(dialog.hDevMode, nullptr);
  EXPECT_EQ(dialog.hDevNames, nullptr);
  EXPECT_EQ(dialog.hDC, nullptr);
  EXPECT_EQ(dialog.hInstance, nullptr);
  EXPECT_EQ(dialog.lCustData, 0);
  EXPECT_EQ(dialog.lpfnPrintHook, nullptr);
  EXPECT_EQ(dialog.lpfnSetupHook, nullptr);
  EXPECT_EQ(dialog.lpPrintTemplateName, nullptr);
  EXPECT_EQ(dialog.lpSetupTemplateName, nullptr);
  EXPECT_EQ(dialog.hPrintTemplate, nullptr);
  EXPECT_EQ(dialog.hSetupTemplate, nullptr);

  const DOCINFOA& document = PassedDocumentRecord();
  EXPECT_EQ(document.cbSize, static_cast<int>(sizeof(DOCINFOA)));
  EXPECT_EQ(PassedDocumentName(), kFileName);
  EXPECT_EQ(document.lpszOutput, nullptr);
  EXPECT_EQ(document.lpszDatatype, nullptr);
  EXPECT_EQ(document.fwType, 0u);
}

TEST_F(ListPrintTest, WholeTextEndsAPageOnlyWhenTheNextOneTakesCharacters) {
  const struct {
    const char* what;
    PageTable table;
    Calls flow;
  } cases[] = {
      {"three pages",
       Pages({100, 200, 301}, 300),
       {"render 0", "measure 100", "EndPage", "render 100", "measure 200", "EndPage", "render 200",
        "EndDoc"}},
      {"an empty text still renders its one page", Pages({1}, 0), {"render 0", "EndDoc"}},
      {"a text longer than the control can format ends after the last page it can",
       Pages({100, 200}, 500),
       {"render 0", "measure 100", "EndPage", "render 100", "measure 200", "EndDoc"}},
      {"a rendering answering -1 ends the job",
       [] {
         PageTable t = Pages({100, 200, 301}, 300);
         t.renderingFailsAt = 100;
         return t;
       }(),
       {"render 0", "measure 100", "EndPage", "render 100", "EndDoc"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PageFlow(Print(c.table, PrintScript())), c.flow) << c.what;
  }
}

TEST_F(ListPrintTest, SelectionPrintsFromItsStartToItsEnd) {
  PrintScript script;
  script.flags = PD_SELECTION;
  const struct {
    const char* what;
    PageTable table;
    Calls flow;
  } cases[] = {
      {"a selection across a page end",
       Selection(kFivePages, 500, 150, 250),
       {"render 150..250", "measure 200..250", "EndPage", "render 200..250", "EndDoc"}},
      {"a selection within one page",
       Selection(kFivePages, 500, 120, 180),
       {"render 120..180", "EndDoc"}},
      {"an empty selection is still rendered once",
       Selection(kFivePages, 500, 120, 120),
       {"render 120..120", "EndDoc"}},
      {"a selection ending on a page end",
       Selection(kFivePages, 500, 0, 200),
       {"render 0..200", "measure 100..200", "EndPage", "render 100..200", "EndDoc"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PageFlow(Print(c.table, script)), c.flow) << c.what;
  }
  // The text length is asked before the selection, and nothing else is sent.
  EXPECT_EQ(Print(Selection(kFivePages, 500, 120, 180), script),
            (Calls{"PrintDlgA", "StartDocA", "release", "length", "selection", "render 120..180",
                   "EndDoc", "release", "DeleteDC", "GlobalFree DEVNAMES", "GlobalFree DEVMODE"}));
}

TEST_F(ListPrintTest, PageRangeMeasuresThePagesBeforeItAndRendersOnlyItsOwn) {
  const struct {
    const char* what;
    PrintScript script;
    PageTable table;
    Calls flow;
  } cases[] = {
      {"pages 2 to 3 of five",
       Range(2, 3),
       Pages(kFivePages, 500),
       {"measure 0", "measure 100", "render 100", "measure 200", "EndPage", "render 200",
        "measure 300", "EndDoc"}},
      {"a last page of 0 runs to the end of the text",
       Range(2, 0),
       Pages({100, 200, 301}, 300),
       {"measure 0", "measure 100", "render 100", "measure 200", "EndPage", "render 200",
        "EndDoc"}},
      {"a first page beyond the end renders nothing",
       Range(7, 9),
       Pages({100, 200, 301}, 300),
       {"measure 0", "measure 100", "measure 100", "measure 200", "measure 200", "EndDoc"}},
      {"page 1 to 1 of three",
       Range(1, 1),
       Pages({100, 200, 301}, 300),
       {"render 0", "measure 100", "EndDoc"}},
      {"the whole range of three",
       Range(1, 3),
       Pages({100, 200, 301}, 300),
       {"render 0", "measure 100", "EndPage", "render 100", "measure 200", "EndPage", "render 200",
        "EndDoc"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PageFlow(Print(c.table, c.script)), c.flow) << c.what;
  }
  // A range wins over a selection, which plays no part in it.
  PrintScript both = Range(2, 2);
  both.flags |= PD_SELECTION;
  Calls calls = Print(Selection(kFivePages, 500, 150, 250), both);
  EXPECT_EQ(PageFlow(calls),
            (Calls{"measure 0", "measure 100", "render 100", "measure 200", "EndDoc"}));
  for (const auto& call : calls) EXPECT_NE(call, "selection");
}

TEST_F(ListPrintTest, PrintRectangleInTwipsForAnA4PrinterAt300Dpi) {
  // The printer: 2480 x 3508 pixels, a strip of 50 pixels (4.2 mm) unprintable
  // at every edge. In 0.1 mm the strip is 42, the printable area 2015 x 2885.
  const struct {
    const char* what;
    RECT margins;
    RECT twips;
  } cases[] = {
      // Start 100 - 42 = 58 units = 68 x 69 pixels in; extent 2100 - 200 = 1900
      // x 2970 - 200 = 2770 units = 2244 x 3272 pixels.
      {"margins of 10 mm", {100, 100, 100, 100}, {326, 331, 11097, 16036}},
      // Start at the corner of the printable area; all of it: 2380 x 3408 pixels.
      {"margins inside the unprintable strip", {20, 20, 20, 20}, {0, 0, 11424, 16358}},
      // The paper would leave 2000 x 2870 units; the printable area holds 1957 x
      // 2827 beyond the start (2311 x 3339 pixels).
      {"margins reaching past the printable area", {100, 100, 0, 0}, {326, 331, 11419, 16358}},
  };
  for (const auto& c : cases) {
    RECT margins = c.margins;
    Print(Pages({100, 200, 301}, 300), PrintScript(), &margins);
    RECT rc = PrintRectangle();
    EXPECT_EQ(rc.left, c.twips.left) << c.what;
    EXPECT_EQ(rc.top, c.twips.top) << c.what;
    EXPECT_EQ(rc.right, c.twips.right) << c.what;
    EXPECT_EQ(rc.bottom, c.twips.bottom) << c.what;
  }
  // The host passing no margins counts as margins of 0.
  Print(Pages({101}, 100), PrintScript(), nullptr);
  RECT rc = PrintRectangle();
  EXPECT_EQ(rc.left, 0);
  EXPECT_EQ(rc.top, 0);
  EXPECT_EQ(rc.right, 11424);
  EXPECT_EQ(rc.bottom, 16358);
}

TEST_F(ListPrintTest, NothingIsPrintedWhenTheDialogIsCancelledOrTheJobDoesNotStart) {
  PrintScript cancelled;
  cancelled.dialogResult = FALSE;
  EXPECT_EQ(Print(Pages({101}, 100), cancelled),
            (Calls{"PrintDlgA", "GlobalFree DEVNAMES", "GlobalFree DEVMODE"}));
  for (int startDocResult : {0, -1}) {
    PrintScript refused;
    refused.startDocResult = startDocResult;
    EXPECT_EQ(Print(Pages({101}, 100), refused),
              (Calls{"PrintDlgA", "StartDocA", "release", "DeleteDC", "GlobalFree DEVNAMES",
                     "GlobalFree DEVMODE"}))
        << "StartDocA answering " << startDocResult;
  }
}

TEST_F(ListPrintTest, NoStartPageIsEverIssued) {
  // The plugin does not even import it: the printer begins pages by itself.
  EXPECT_EQ(HookImport(plugin_.module(), "gdi32.dll", "StartPage", nullptr), nullptr);
}

}  // namespace
