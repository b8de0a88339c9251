#include "tests/windows/viewer/viewer_fixture.h"

#include <stdio.h>

namespace {

const char kHostClass[] = "DravikViewerTestHost";
const char kScriptedClass[] = "DravikScriptedControl";
ScriptedControlState g_scripted;

DWORD WINAPI ScriptedTickCount() {
  DWORD reading = ViewerTest::now;
  ViewerTest::now += ViewerTest::step;
  ++ViewerTest::readings;
  return reading;
}

// Positions are scripted as 10 characters per line.
LRESULT CALLBACK ScriptedControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  ScriptedControlState& s = g_scripted;
  switch (message) {
    case EM_GETFIRSTVISIBLELINE:
      return s.firstVisibleLine;
    case EM_GETLINECOUNT:
      return s.lineCount;
    case EM_LINESCROLL: {
      s.scrolls.push_back(static_cast<int>(lParam));
      int first = s.firstVisibleLine + static_cast<int>(lParam);
      s.firstVisibleLine = first < 0 ? 0 : (first > s.lastFirstLine ? s.lastFirstLine : first);
      return TRUE;
    }
    case EM_LINEINDEX:
      return static_cast<LRESULT>(wParam) * 10;
    case EM_LINEFROMCHAR:
      return static_cast<LRESULT>(wParam) / 10;
    case EM_SETSEL:
      s.selections.emplace_back(static_cast<int>(wParam), static_cast<int>(lParam));
      return 0;
    case EM_GETSEL:
      if (wParam != 0) *reinterpret_cast<DWORD*>(wParam) = s.selectionStart;
      return 0;
    case WM_GETTEXTLENGTH:
      return s.textLength;
    case EM_FINDTEXTW: {
      s.findFlags = wParam;
      s.find = *reinterpret_cast<FINDTEXTW*>(lParam);
      s.findText = s.find.lpstrText;
      return s.findResult;
    }
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

void RegisterClasses() {
  static bool registered = false;
  if (registered) return;
  WNDCLASSA host = {};
  host.lpfnWndProc = DefWindowProcA;
  host.hInstance = GetModuleHandleA(nullptr);
  host.lpszClassName = kHostClass;
  RegisterClassA(&host);
  WNDCLASSA scripted = host;
  scripted.lpfnWndProc = ScriptedControlProc;
  scripted.lpszClassName = kScriptedClass;
  RegisterClassA(&scripted);
  // Stays loaded for the life of the test process, as the plugin keeps it.
  LoadLibraryA("Riched20.dll");
  registered = true;
}

}  // namespace

DWORD ViewerTest::now = 0;
DWORD ViewerTest::step = 0;
int ViewerTest::readings = 0;

WPARAM HostWParam(int value, int item) {
  return static_cast<WPARAM>(static_cast<LONG_PTR>(static_cast<LONG>(MAKELONG(value, item))));
}

void ViewerTest::SetUp() {
  RegisterClasses();
  now = 50000;
  step = 0;
  readings = 0;
  clock_ =
      std::make_unique<ScopedImportHook>(GetModuleHandleW(nullptr), "kernel32.dll", "GetTickCount",
                                         reinterpret_cast<void*>(&ScriptedTickCount));
  ASSERT_TRUE(clock_->installed());
  host_ = CreateHost();
  ASSERT_NE(host_, nullptr);
  g_scripted = ScriptedControlState();
}

void ViewerTest::TearDown() {
  if (host_ != nullptr) DestroyWindow(host_);  // and every control on it
  clock_.reset();
}

HWND ViewerTest::CreateRichEdit(const char* text) {
  RECT area;
  GetClientRect(host_, &area);
  HWND control = CreateWindowExA(
      0, "RichEdit20W", "",
      WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | ES_READONLY | ES_NOHIDESEL | ES_MULTILINE,
      0, 0, area.right, area.bottom, host_, nullptr, GetModuleHandleA(nullptr), nullptr);
  if (control != nullptr) SetWindowTextA(control, text);
  return control;
}

std::string ViewerTest::NumberedText(int lines) {
  std::string text;
  for (int i = 0; i < lines; ++i) {
    char line[32];
    snprintf(line, sizeof line, "%sline %03d text", i == 0 ? "" : "\r", i);
    text += line;
  }
  return text;
}

HWND ViewerTest::CreateScriptedControl() {
  return CreateWindowExA(0, kScriptedClass, "", WS_CHILD, 0, 0, 100, 100, host_, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

ScriptedControlState& ViewerTest::scripted() { return g_scripted; }

HWND ViewerTest::CreateHost() {
  return CreateWindowExA(0, kHostClass, "host", WS_OVERLAPPEDWINDOW, 0, 0, 640, 400, nullptr,
                         nullptr, GetModuleHandleA(nullptr), nullptr);
}

std::vector<PostedCommand> ViewerTest::TakePosted(HWND window) {
  std::vector<PostedCommand> posted;
  MSG message;
  while (PeekMessageA(&message, window, WM_COMMAND, WM_COMMAND, PM_REMOVE)) {
    posted.push_back({message.wParam, message.lParam});
  }
  return posted;
}
