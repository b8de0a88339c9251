#include "bridge/bridge_context.h"

#include "bridge/file_access.h"
#include "bridge/system_text.h"

BridgeContext LoadBridgeContext() {
  BridgeContext context;
  context.home = ProgramFolder();
  context.settingsFile = context.home + L"\\jad.ini";
  std::string text;
  if (ReadBytes(context.settingsFile, 1 << 20, &text)) {
    context.settings = ParseBridgeSettings(Utf8FromUtf8OrAnsi(text));
  }
  return context;
}
