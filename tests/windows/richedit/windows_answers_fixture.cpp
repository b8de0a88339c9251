#include "tests/windows/richedit/windows_answers_fixture.h"

#include <cstring>
#include <vector>

namespace {
const DWORD kEditableStyle = WS_CHILD | WS_VISIBLE | ES_MULTILINE | WS_HSCROLL | WS_VSCROLL;
}

void WindowsAnswersTest::SetUp() {
  RichEditTest::SetUp();
  ASSERT_NE(Create(kEditableStyle), nullptr);
}

void WindowsAnswersTest::Recreate(bool wide) {
  DestroyWindow(control_);
  Create(kEditableStyle, wide);
}

std::string WindowsAnswersTest::TextEx(DWORD flags) const {
  char buffer[1024];
  memset(buffer, '#', sizeof buffer);
  GETTEXTEX how = {sizeof buffer, flags, CP_ACP, nullptr, nullptr};
  const LRESULT count =
      Send(EM_GETTEXTEX, reinterpret_cast<WPARAM>(&how), reinterpret_cast<LPARAM>(buffer));
  buffer[sizeof buffer - 1] = '\0';
  EXPECT_EQ(count, static_cast<LRESULT>(strlen(buffer))) << "EM_GETTEXTEX's answer";
  return buffer;
}

std::string WindowsAnswersTest::WindowText() const {
  std::vector<char> buffer(1024, '#');
  const LRESULT count = Send(WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
  return std::string(buffer.data(), count > 0 ? static_cast<size_t>(count) : 0);
}

CHARFORMAT2A WindowsAnswersTest::ReadFormat(int min, int max) const {
  Send(EM_SETSEL, static_cast<WPARAM>(min), max);
  CHARFORMAT2A format;
  memset(&format, 0, sizeof format);
  format.cbSize = sizeof format;
  Send(EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
  return format;
}

LRESULT WindowsAnswersTest::SetFormat(WPARAM scope, DWORD mask, DWORD effects) const {
  CHARFORMAT2A format;
  memset(&format, 0, sizeof format);
  format.cbSize = sizeof format;
  format.dwMask = mask;
  format.dwEffects = effects;
  return Send(EM_SETCHARFORMAT, scope, reinterpret_cast<LPARAM>(&format));
}
