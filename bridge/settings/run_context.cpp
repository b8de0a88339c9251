#include "bridge/settings/run_context.h"

#include "bridge/jad/cancel_event.h"
#include "bridge/windows/file_access.h"
#include "bridge/windows/wide_text.h"

BridgeContext LoadBridgeContext() {
  BridgeContext context;
  context.home = ProgramFolder();
  context.settingsFile = context.home + L"\\jad.ini";
  std::string text;
  if (ReadBytes(context.settingsFile, 1 << 20, &text)) {
    context.settings = ParseBridgeSettings(Utf8FromUtf8OrAnsi(text));
  }
  // The plugin makes it before this process runs (a command prompt does not).
  context.stopRequest =
      OpenEventW(SYNCHRONIZE, FALSE, CancelEventName(GetCurrentProcessId()).c_str());
  return context;
}
