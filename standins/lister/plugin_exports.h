// The plugin module as the host holds it: the module handle and its fifteen
// exports, each null when the module does not export it.
#pragma once

#include <windows.h>

#include <string>

#include "host/listplug.h"

struct PluginExports {
  HMODULE module = nullptr;
  decltype(&::ListLoad) ListLoad = nullptr;
  decltype(&::ListLoadW) ListLoadW = nullptr;
  decltype(&::ListLoadNext) ListLoadNext = nullptr;
  decltype(&::ListLoadNextW) ListLoadNextW = nullptr;
  decltype(&::ListCloseWindow) ListCloseWindow = nullptr;
  decltype(&::ListGetDetectString) ListGetDetectString = nullptr;
  decltype(&::ListSetDefaultParams) ListSetDefaultParams = nullptr;
  decltype(&::ListSendCommand) ListSendCommand = nullptr;
  decltype(&::ListSearchText) ListSearchText = nullptr;
  decltype(&::ListSearchTextW) ListSearchTextW = nullptr;
  decltype(&::ListSearchDialog) ListSearchDialog = nullptr;
  decltype(&::ListPrint) ListPrint = nullptr;
  decltype(&::ListNotificationReceived) ListNotificationReceived = nullptr;
  decltype(&::ListGetPreviewBitmap) ListGetPreviewBitmap = nullptr;
  decltype(&::ListGetPreviewBitmapW) ListGetPreviewBitmapW = nullptr;
};

// LoadLibraryW of path and every export looked up; each step is logged.
// False when the module cannot be loaded.
bool LoadPluginModule(const std::wstring& path, PluginExports* exports);
