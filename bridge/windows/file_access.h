// The bridge's files: whole-file reads and writes, a temporary folder that
// removes itself, and the search for a decompiler's output in it.
#pragma once

#include <stdint.h>
#include <windows.h>

#include <string>

// The whole file, up to maxBytes; false when it cannot be read or is larger.
bool ReadBytes(const std::wstring& name, size_t maxBytes, std::string* bytes);
bool WriteBytes(const std::wstring& name, const std::string& bytes);
bool IsFile(const std::wstring& name);
// Removes a file, a read-only one too (Java makes its class-data archives
// read-only); one held open by another process stays.
void RemoveFile(const std::wstring& name);
// How long ago the file was last written, or UINT64_MAX when it is not there.
uint64_t FileAgeMs(const std::wstring& name);

// Whether the process of that id still runs (the owner a folder's or a
// file's name records).
bool ProcessRuns(DWORD id);

// The folder of the running program, without a trailing backslash.
std::wstring ProgramFolder();

// The user's temporary folder with its trailing backslash; "" when the
// system has none or its name is longer than MAX_PATH.
std::wstring UserTempFolder();

// A new, empty folder under the user's temporary folder; it is removed with
// everything in it when the object goes.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  bool created() const { return created_; }
  // The folder's full name, without a trailing backslash.
  const std::wstring& path() const { return path_; }
  std::wstring Path(const std::wstring& name) const { return path_ + L"\\" + name; }

 private:
  std::wstring path_;
  bool created_ = false;
};

// The decompiler's source file under folder (in any subfolder): the one named
// preferredName, else the first whose name ends in ".java"; "" when none.
std::wstring FindSourceFile(const std::wstring& folder, const std::wstring& preferredName);
