#include "tests/windows/richedit/richedit_fixture.h"

namespace {

std::vector<HWND> g_updates;  // lParam of each EN_UPDATE the parent received

LRESULT CALLBACK ParentProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_COMMAND && HIWORD(wparam) == EN_UPDATE) {
    g_updates.push_back(reinterpret_cast<HWND>(lparam));
    return 0;
  }
  return DefWindowProcA(window, message, wparam, lparam);
}

const char kParentClass[] = "RichEditTestParent";

}  // namespace

HMODULE RichEditTest::library_ = nullptr;
HWND RichEditTest::parent_ = nullptr;

void RichEditTest::SetUpTestSuite() {
  if (library_ == nullptr) library_ = LoadLibraryA("Riched20.dll");
  WNDCLASSA parent_class = {};
  parent_class.lpfnWndProc = ParentProcedure;
  parent_class.hInstance = GetModuleHandleA(nullptr);
  parent_class.lpszClassName = kParentClass;
  RegisterClassA(&parent_class);
  // One visible parent for the whole run, never destroyed: under Xvfb with no
  // window manager, Wine waits two seconds for each top-level window to go.
  if (parent_ == nullptr) {
    parent_ = CreateWindowExA(0, kParentClass, "", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr,
                              nullptr, GetModuleHandleA(nullptr), nullptr);
  }
}

void RichEditTest::SetUp() {
  ASSERT_NE(library_, nullptr);
  ASSERT_NE(parent_, nullptr);
  g_updates.clear();
}

void RichEditTest::TearDown() {
  if (control_ != nullptr && IsWindow(control_)) DestroyWindow(control_);
  control_ = nullptr;
}

HWND RichEditTest::Create(DWORD style, bool wide) {
  RECT client;
  GetClientRect(parent_, &client);
  control_ = CreateWindowExA(0, wide ? "RichEdit20W" : "RichEdit20A", "", style, 0, 0, client.right,
                             client.bottom, parent_, nullptr, GetModuleHandleA(nullptr), nullptr);
  return control_;
}

void RichEditTest::Show() { ShowWindow(control_, SW_SHOW); }

std::string RichEditTest::TextRange(int min, int max) const {
  std::vector<char> buffer(static_cast<size_t>(max > min ? max - min : 0) + 1024, '#');
  TEXTRANGEA range = {{min, max}, buffer.data()};
  const int count = static_cast<int>(Send(EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range)));
  return std::string(buffer.data(), static_cast<size_t>(count));
}

void RichEditTest::Select(int min, int max) const {
  CHARRANGE range = {min, max};
  Send(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
}

std::pair<int, int> RichEditTest::Selection() const {
  DWORD start = 0, end = 0;
  Send(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return {static_cast<int>(start), static_cast<int>(end)};
}

int RichEditTest::UpdateCount() const {
  int count = 0;
  for (HWND from : g_updates) count += from == control_ ? 1 : 0;
  return count;
}
