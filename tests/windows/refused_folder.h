// A folder the user may not write (Program Files, a locked-down machine), as
// a module sees it through its import table: no folder is made below it and
// no file is opened there to write or delete, each failing with
// ERROR_ACCESS_DENIED. The tests run as a user who may write anywhere, so
// the refusal comes from hooks. One at a time.
#pragma once

#include <windows.h>

#include <string>

#include "standins/hooks/import_hooks.h"

class RefusedFolder {
 public:
  // The hooks in module's imports; nothing refused yet.
  explicit RefusedFolder(HMODULE module);
  ~RefusedFolder();
  RefusedFolder(const RefusedFolder&) = delete;
  RefusedFolder& operator=(const RefusedFolder&) = delete;

  bool installed() const { return directory_.installed() && file_.installed(); }
  // The folder refused from now on (without a trailing backslash); empty: none.
  void Refuse(const std::wstring& folder);

 private:
  ScopedImportHook directory_;
  ScopedImportHook file_;
};
