// ListPrint on the rich-edit control the plugin really prints from (the
// stand-in riched20.dll beside the test), into a printer-like device context
// whose pages are looked at: the pages follow each other without gap or
// overlap, each inside the margins, and a range or a selection gives the same
// pages as the whole text would.
#include <gtest/gtest.h>
#include <richedit.h>
#include <stdio.h>

#include <string>
#include <vector>

#include "host/listplug.h"
#include "tests/windows/printing/control_log.h"
#include "tests/windows/printing/printing_layer.h"
#include "tests/windows/test_support.h"

namespace {

using Calls = std::vector<std::string>;

char kFileName[] = "C:\\classes\\Pages.class";
const int kLines = 300;

WNDPROC g_controlProc = nullptr;

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  LogControlMessage(message, wParam, lParam);
  return CallWindowProcW(g_controlProc, window, message, wParam, lParam);
}

// Whether the control lays out pages (Wine's own answers every EM_FORMATRANGE with 0).
bool FormatsPages(HWND control) {
  HDC dc = CreateCompatibleDC(nullptr);
  FORMATRANGE range = {};
  range.hdc = dc;
  range.hdcTarget = dc;
  range.rc = {0, 0, 1440 * 6, 1440 * 2};
  range.rcPage = range.rc;
  range.chrg = {0, -1};
  LRESULT next = SendMessageA(control, EM_FORMATRANGE, 0, reinterpret_cast<LPARAM>(&range));
  SendMessageA(control, EM_FORMATRANGE, 0, 0);
  DeleteDC(dc);
  return next > 0;
}

// The position each rendered page started from, checking on the way that the
// flow is render, measure, EndPage, render ... render, EndDoc and that each
// page starts where the measuring call before it started.
std::vector<int> RenderedPageStarts(const Calls& calls) {
  std::vector<int> starts;
  int measured = -1;
  for (const auto& call : calls) {
    int position = 0;
    if (sscanf(call.c_str(), "render %d", &position) == 1) {
      if (!starts.empty()) {
        EXPECT_EQ(position, measured) << "page " << starts.size() + 1;
      }
      starts.push_back(position);
    } else if (sscanf(call.c_str(), "measure %d", &position) == 1) {
      measured = position;
    }
  }
  return starts;
}

class ListPrintOnControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    listPrint_ = plugin_.Export<decltype(&ListPrint)>("ListPrint");
    ASSERT_NE(listPrint_, nullptr);
    library_ = LoadLibraryA("Riched20.dll");
    parent_ = CreateWindowExA(0, "STATIC", "Lister", WS_OVERLAPPEDWINDOW, 0, 0, 800, 600, nullptr,
                              nullptr, nullptr, nullptr);
    ASSERT_NE(parent_, nullptr);
    // As the plugin makes it: a Unicode window, subclassed with the wide call.
    control_ = CreateWindowExW(0, L"RichEdit20W", L"",
                               WS_CHILD | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_NOHIDESEL, 0,
                               0, 800, 600, parent_, nullptr, nullptr, nullptr);
    ASSERT_NE(control_, nullptr);
    std::string text;
    for (int line = 1; line <= kLines; ++line) {
      char buffer[96];
      snprintf(buffer, sizeof buffer, "    public static final int value%03d = %d; // line %d\r\n",
               line, line * 7, line);
      text += buffer;
    }
    SetWindowTextA(control_, text.c_str());
    if (!FormatsPages(control_)) {
      GTEST_SKIP() << "the rich-edit control here lays out no pages (no stand-in riched20.dll)";
    }
    g_controlProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(control_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RecordingProc)));
  }

  void TearDown() override {
    if (parent_ != nullptr) DestroyWindow(parent_);
    if (library_ != nullptr) FreeLibrary(library_);
  }

  Calls Print(const PrintScript& script) {
    PrintScript drawn = script;
    drawn.drawnPages = true;
    PrintingLayer layer(plugin_.module(), drawn);
    EXPECT_TRUE(layer.installed());
    RECT margins = {100, 100, 100, 100};
    EXPECT_EQ(listPrint_(control_, kFileName, nullptr, 0, &margins), LISTPLUGIN_OK);
    return PrintLog();
  }

  int TextLength() { return static_cast<int>(SendMessageA(control_, WM_GETTEXTLENGTH, 0, 0)); }
  int LineStart(int line) {
    return static_cast<int>(SendMessageA(control_, EM_LINEINDEX, line, 0));
  }

  LoadedPlugin plugin_;
  decltype(&ListPrint) listPrint_ = nullptr;
  HMODULE library_ = nullptr;
  HWND parent_ = nullptr;
  HWND control_ = nullptr;
};

TEST_F(ListPrintOnControlTest, WholeTextPagesFollowEachOtherInsideTheMargins) {
  // The pages are kept for a look: printed_page_1.png ... beside the test.
  PrintScript script;
  std::wstring folder = ExeDirectory();
  script.pagePngPrefix = std::string(folder.begin(), folder.end()) + "printed_page_";
  Calls calls = Print(script);
  std::vector<int> starts = RenderedPageStarts(calls);
  // 300 lines do not fit on one A4 page, nor on two.
  ASSERT_GE(starts.size(), 3u);
  EXPECT_EQ(starts[0], 0);
  for (size_t i = 1; i < starts.size(); ++i) {
    EXPECT_GT(starts[i], starts[i - 1]);
  }
  EXPECT_EQ(calls.back(), "GlobalFree DEVMODE");

  // Every page put out, each with ink, all of it inside the print rectangle:
  // 10 mm margins beyond a strip of 50 pixels are 68 x 69 pixels in, and the
  // rectangle is 2244 x 3272 pixels.
  const std::vector<RECT>& pages = PrintedPages();
  ASSERT_EQ(pages.size(), starts.size());
  for (size_t i = 0; i < pages.size(); ++i) {
    EXPECT_FALSE(IsRectEmpty(&pages[i])) << "page " << i + 1;
    EXPECT_GE(pages[i].left, 68) << "page " << i + 1;
    EXPECT_GE(pages[i].top, 69) << "page " << i + 1;
    EXPECT_LE(pages[i].right, 68 + 2244 + 1) << "page " << i + 1;
    EXPECT_LE(pages[i].bottom, 69 + 3272 + 1) << "page " << i + 1;
  }
  // Full pages reach down close to the bottom margin; the last one need not.
  EXPECT_GT(pages[0].bottom, 69 + 3272 - 150);
}

TEST_F(ListPrintOnControlTest, APageRangeGivesThePagesTheWholeTextWouldHave) {
  std::vector<int> whole = RenderedPageStarts(Print(PrintScript()));
  ASSERT_GE(whole.size(), 4u);
  const std::vector<RECT> wholePages = PrintedPages();

  PrintScript range;
  range.flags = PD_PAGENUMS;
  range.fromPage = 2;
  range.toPage = 3;
  std::vector<int> ranged = RenderedPageStarts(Print(range));
  EXPECT_EQ(ranged, (std::vector<int>{whole[1], whole[2]}));
  const std::vector<RECT>& rangedPages = PrintedPages();
  ASSERT_EQ(rangedPages.size(), 2u);
  EXPECT_TRUE(EqualRect(&rangedPages[0], &wholePages[1]));
  EXPECT_TRUE(EqualRect(&rangedPages[1], &wholePages[2]));

  range.fromPage = static_cast<WORD>(whole.size() + 1);
  range.toPage = 0;
  EXPECT_TRUE(RenderedPageStarts(Print(range)).empty()) << "a first page beyond the end";
}

TEST_F(ListPrintOnControlTest, SelectionPrintsOnlyItsLinesAndLeavesTheControlAsItWas) {
  int start = LineStart(10);
  int end = LineStart(20);
  SendMessageA(control_, EM_SETSEL, start, end);
  int firstVisible = static_cast<int>(SendMessageA(control_, EM_GETFIRSTVISIBLELINE, 0, 0));
  int length = TextLength();
  PrintScript selection;
  selection.flags = PD_SELECTION;
  Calls calls = Print(selection);

  char render[48];
  snprintf(render, sizeof render, "render %d..%d", start, end);
  Calls flow;
  for (const auto& call : calls) {
    if (call.rfind("render", 0) == 0 || call.rfind("measure", 0) == 0 || call == "EndPage" ||
        call.rfind("message", 0) == 0) {
      flow.push_back(call);
    }
  }
  EXPECT_EQ(flow, (Calls{render}));
  // Ten lines take about a tenth of the page's height.
  ASSERT_EQ(PrintedPages().size(), 1u);
  const RECT& page = PrintedPages()[0];
  EXPECT_GT(page.bottom - page.top, 3272 / 40);
  EXPECT_LT(page.bottom - page.top, 3272 / 4);

  int afterStart = -1;
  int afterEnd = -1;
  SendMessageA(control_, EM_GETSEL, reinterpret_cast<WPARAM>(&afterStart),
               reinterpret_cast<LPARAM>(&afterEnd));
  EXPECT_EQ(afterStart, start);
  EXPECT_EQ(afterEnd, end);
  EXPECT_EQ(SendMessageA(control_, EM_GETFIRSTVISIBLELINE, 0, 0), firstVisible);
  EXPECT_EQ(TextLength(), length);
}

// A view shown dark prints from a light copy of itself: the pages come out,
// and the shown control is neither rendered from nor changed.
TEST_F(ListPrintOnControlTest, ADarkViewPrintsFromALightCopyAndStaysDark) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  std::wstring file = std::wstring(temp) + L"dravik_dark_print.txt";
  HANDLE handle = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(handle, INVALID_HANDLE_VALUE);
  std::string text(200 * 12, 'x');
  for (size_t i = 11; i < text.size(); i += 12) text[i] = '\n';
  DWORD written = 0;
  WriteFile(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(handle);
  auto loadNext = plugin_.Export<decltype(&ListLoadNextW)>("ListLoadNextW");
  ASSERT_EQ(loadNext(parent_, control_, &file[0], lcp_darkmode), LISTPLUGIN_OK);
  DeleteFileW(file.c_str());
  const COLORREF shown = ReadCharFormatAt(control_, 0).crTextColor;

  Calls calls = Print(PrintScript());
  for (const auto& call : calls) {
    EXPECT_EQ(call.rfind("render", 0), std::string::npos) << call;
  }
  ASSERT_GE(PrintedPages().size(), 2u);
  EXPECT_FALSE(IsRectEmpty(&PrintedPages()[0]));
  EXPECT_EQ(ReadCharFormatAt(control_, 0).crTextColor, shown);
  EXPECT_EQ(ReadCharFormatAt(control_, 0).dwEffects & CFE_AUTOCOLOR, 0u);
}

}  // namespace
