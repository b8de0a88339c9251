// Shared setup of the soak and bad-input tests: a copy of the built plugin in
// a folder of its own with a stand-in Jad beside it, a Lister window to be its
// parent, and its exports.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "host/listplug.h"
#include "standins/hooks/import_hooks.h"
#include "tests/windows/decompile/plugin_folder.h"

// The real class the soak loads (a file of soak_data beside the test
// executable) and the Java source the fake Jad hands back for it.
std::wstring SoakDataFile(const std::wstring& name);

// Handles every waiting message of this thread.
void PumpMessages();

// The text of a window, in UTF-8.
std::string WindowText(HWND window);

class PluginCopyFixture {
 public:
  PluginCopyFixture();
  ~PluginCopyFixture();

  PluginFolder& folder() { return folder_; }
  HWND lister() const { return lister_; }
  // A folder of this test's own for input files, apart from the plugin folder
  // (no trailing backslash); removed at the end.
  const std::wstring& inputs() const { return inputs_; }

  // Points the plugin copy's import at replacement until the fixture ends;
  // false when the plugin does not import it.
  bool Hook(const char* dll, const char* function, void* replacement);
  // The function that the hook of that name replaced, to call through.
  void* Original(const char* function) const;

  decltype(&ListLoadW) listLoadW = nullptr;
  decltype(&ListLoad) listLoad = nullptr;
  decltype(&ListLoadNextW) listLoadNextW = nullptr;
  decltype(&ListCloseWindow) listCloseWindow = nullptr;
  decltype(&ListPrint) listPrint = nullptr;
  decltype(&ListGetPreviewBitmapW) listGetPreviewBitmapW = nullptr;

 private:
  PluginFolder folder_;
  HWND lister_ = nullptr;
  std::wstring inputs_;
  struct NamedHook {
    std::string function;
    std::unique_ptr<ScopedImportHook> hook;
  };
  std::vector<NamedHook> hooks_;
};
