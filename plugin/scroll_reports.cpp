// ListNotificationReceived: the control's display updates turned into scroll
// position reports for the host.
#include <stdint.h>

#include "host/host_messages.h"
#include "host/listplug.h"
#include "host/module_state.h"
#include "host/richedit_operations.h"

namespace {

// Updates this close to a load come from the load itself, not from the user.
const int32_t kQuietMilliseconds = 1000;

}  // namespace

int __stdcall ListNotificationReceived(HWND ListWin, int Message, WPARAM wParam,
                                       LPARAM /*lParam*/) {
  if (Message != WM_COMMAND || HIWORD(wParam) != EN_UPDATE) {
    return 0;
  }
  // Modular difference, so a wrap of the tick counter does not matter; the
  // magnitude in 32-bit two's complement leaves -2^31 negative, inside the window.
  uint32_t elapsed = GetTickCount() - LastActivityTick;
  uint32_t magnitude = static_cast<int32_t>(elapsed) < 0 ? 0u - elapsed : elapsed;
  if (static_cast<int32_t>(magnitude) <= kQuietMilliseconds) {
    return 0;
  }
  int firstLine = GetControlFirstVisibleLine(ListWin);
  int lineCount = GetControlLineCount(ListWin);
  if (lineCount <= 0) {
    return 0;
  }
  PostHostMessage(GetParent(ListWin), ListWin, MulDiv(firstLine, 100, lineCount), itm_percent);
  return 0;
}
