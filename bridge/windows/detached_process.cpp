#include "bridge/windows/detached_process.h"

#include "bridge/windows/scoped_handle.h"

DWORD StartDetached(std::wstring line, const std::wstring& directory, HANDLE input,
                    DWORD priority) {
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  ScopedHandle nul(CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE,
                               FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0,
                               nullptr));
  if (!nul.valid()) return 0;
  if (input == nullptr) input = nul.get();
  HANDLE inherited[] = {input, nul.get()};
  SIZE_T size = 0;
  InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
  std::string storage(size, '\0');
  auto attributes = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(&storage[0]);
  if (!InitializeProcThreadAttributeList(attributes, 1, 0, &size)) return 0;
  DWORD started = 0;
  // The same handle twice is refused by the list.
  const SIZE_T listed = input == nul.get() ? sizeof(HANDLE) : sizeof inherited;
  if (UpdateProcThreadAttribute(attributes, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST,
                                input == nul.get() ? &inherited[1] : inherited, listed, nullptr,
                                nullptr)) {
    STARTUPINFOEXW startup = {};
    startup.StartupInfo.cb = sizeof startup;
    startup.StartupInfo.dwFlags = STARTF_USESTDHANDLES;
    startup.StartupInfo.hStdInput = input;
    startup.StartupInfo.hStdOutput = nul.get();
    startup.StartupInfo.hStdError = nul.get();
    startup.lpAttributeList = attributes;
    PROCESS_INFORMATION process = {};
    // Out of any job the bridge runs in where the job allows it, so that the
    // program outlives the bridge.
    const DWORD flags =
        DETACHED_PROCESS | CREATE_NEW_PROCESS_GROUP | EXTENDED_STARTUPINFO_PRESENT | priority;
    if (CreateProcessW(nullptr, &line[0], nullptr, nullptr, TRUE, flags | CREATE_BREAKAWAY_FROM_JOB,
                       nullptr, directory.c_str(), &startup.StartupInfo, &process) ||
        CreateProcessW(nullptr, &line[0], nullptr, nullptr, TRUE, flags, nullptr, directory.c_str(),
                       &startup.StartupInfo, &process)) {
      started = process.dwProcessId;
      CloseHandle(process.hThread);
      CloseHandle(process.hProcess);
    }
  }
  DeleteProcThreadAttributeList(attributes);
  return started;
}
