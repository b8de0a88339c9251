// Where the list window stands: its first visible line, for a script to see
// where a command (a jump, a view switched) left it.
#include <richedit.h>

#include "standins/lister/host_log.h"
#include "standins/lister/lister_host.h"

void ListerHost::LogTopLine() {
  if (list_ == nullptr) {
    LogLine("top -> no list window");
    return;
  }
  Pump();
  LRESULT line = SendMessageW(list_, EM_GETFIRSTVISIBLELINE, 0, 0);
  wchar_t text[1024] = {};
  // EM_GETLINE: the buffer's size in its first word; the line is not terminated.
  *reinterpret_cast<WORD*>(text) = static_cast<WORD>(sizeof text / sizeof text[0] - 1);
  LRESULT copied =
      SendMessageW(list_, EM_GETLINE, static_cast<WPARAM>(line), reinterpret_cast<LPARAM>(text));
  std::wstring shown(text, copied > 0 ? static_cast<size_t>(copied) : 0);
  while (!shown.empty() && (shown.back() == L'\r' || shown.back() == L'\n')) shown.pop_back();
  LogLine("top %ld %s", static_cast<long>(line), Quoted(shown).c_str());
}
