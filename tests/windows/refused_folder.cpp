#include "tests/windows/refused_folder.h"

namespace {

std::wstring g_refused;
decltype(&CreateDirectoryW) g_createDirectory = nullptr;
decltype(&CreateFileW) g_createFile = nullptr;

bool Refused(LPCWSTR path) {
  std::wstring name = path;
  if (name.rfind(L"\\\\?\\", 0) == 0) name = name.substr(4);
  return !g_refused.empty() && name.rfind(g_refused + L"\\", 0) == 0;
}

BOOL WINAPI RefusingCreateDirectory(LPCWSTR path, LPSECURITY_ATTRIBUTES security) {
  if (Refused(path)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  return g_createDirectory(path, security);
}

HANDLE WINAPI RefusingCreateFile(LPCWSTR path, DWORD access, DWORD share,
                                 LPSECURITY_ATTRIBUTES security, DWORD disposition, DWORD flags,
                                 HANDLE templateFile) {
  if ((access & (GENERIC_WRITE | DELETE)) != 0 && Refused(path)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return INVALID_HANDLE_VALUE;
  }
  return g_createFile(path, access, share, security, disposition, flags, templateFile);
}

}  // namespace

RefusedFolder::RefusedFolder(HMODULE module)
    : directory_(module, "kernel32.dll", "CreateDirectoryW",
                 reinterpret_cast<void*>(&RefusingCreateDirectory)),
      file_(module, "kernel32.dll", "CreateFileW", reinterpret_cast<void*>(&RefusingCreateFile)) {
  g_createDirectory = directory_.original<decltype(&CreateDirectoryW)>();
  g_createFile = file_.original<decltype(&CreateFileW)>();
  g_refused.clear();
}

RefusedFolder::~RefusedFolder() { g_refused.clear(); }

void RefusedFolder::Refuse(const std::wstring& folder) { g_refused = folder; }
