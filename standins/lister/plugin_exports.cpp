#include "standins/lister/plugin_exports.h"

#include "standins/lister/host_log.h"

namespace {

template <typename T>
void Resolve(HMODULE module, const char* name, T* slot) {
  *slot = reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(module, name)));
  LogLine("export %s %s", name, *slot != nullptr ? "found" : "missing");
}

}  // namespace

bool LoadPluginModule(const std::wstring& path, PluginExports* exports) {
  *exports = PluginExports();
  exports->module = LoadLibraryW(path.c_str());
  if (exports->module == nullptr) {
    LogLine("plugin %s not loaded (error %lu)", Quoted(path).c_str(), GetLastError());
    return false;
  }
  LogLine("plugin %s loaded", Quoted(path).c_str());
  HMODULE m = exports->module;
  Resolve(m, "ListLoad", &exports->ListLoad);
  Resolve(m, "ListLoadW", &exports->ListLoadW);
  Resolve(m, "ListLoadNext", &exports->ListLoadNext);
  Resolve(m, "ListLoadNextW", &exports->ListLoadNextW);
  Resolve(m, "ListCloseWindow", &exports->ListCloseWindow);
  Resolve(m, "ListGetDetectString", &exports->ListGetDetectString);
  Resolve(m, "ListSetDefaultParams", &exports->ListSetDefaultParams);
  Resolve(m, "ListSendCommand", &exports->ListSendCommand);
  Resolve(m, "ListSearchText", &exports->ListSearchText);
  Resolve(m, "ListSearchTextW", &exports->ListSearchTextW);
  Resolve(m, "ListSearchDialog", &exports->ListSearchDialog);
  Resolve(m, "ListPrint", &exports->ListPrint);
  Resolve(m, "ListNotificationReceived", &exports->ListNotificationReceived);
  Resolve(m, "ListGetPreviewBitmap", &exports->ListGetPreviewBitmap);
  Resolve(m, "ListGetPreviewBitmapW", &exports->ListGetPreviewBitmapW);
  return true;
}
