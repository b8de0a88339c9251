#include "bridge/windows/waited_process.h"

#include "bridge/windows/scoped_handle.h"

namespace {

HANDLE InheritableFile(const std::wstring& name, DWORD access, DWORD disposition) {
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  return CreateFileW(name.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                     disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// A job whose last handle, when closed, ends every process in it.
HANDLE KillOnCloseJob() {
  HANDLE job = CreateJobObjectW(nullptr, nullptr);
  if (job == nullptr) return nullptr;
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
  limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
  if (!SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits)) {
    CloseHandle(job);
    return nullptr;
  }
  return job;
}

}  // namespace

ChildRun RunChild(const std::wstring& commandLine, const std::wstring& directory,
                  const std::wstring& outputFile, const std::wstring& errorFile, DWORD limitMs,
                  HANDLE stop) {
  ChildRun run;
  ScopedHandle input(InheritableFile(L"NUL", GENERIC_READ, OPEN_EXISTING));
  ScopedHandle output(InheritableFile(outputFile, GENERIC_WRITE, CREATE_ALWAYS));
  ScopedHandle error(InheritableFile(errorFile, GENERIC_WRITE, CREATE_ALWAYS));
  ScopedHandle job(KillOnCloseJob());
  if (!output.valid() || !error.valid()) {
    run.startError = GetLastError();
    return run;
  }

  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = input.valid() ? input.get() : nullptr;
  startup.hStdOutput = output.get();
  startup.hStdError = error.get();
  PROCESS_INFORMATION process = {};
  std::wstring line = commandLine;  // CreateProcessW may write into it
  if (!CreateProcessW(nullptr, &line[0], nullptr, nullptr, TRUE,
                      CREATE_NO_WINDOW | CREATE_SUSPENDED, nullptr, directory.c_str(), &startup,
                      &process)) {
    run.startError = GetLastError();
    return run;
  }
  ScopedHandle child(process.hProcess);
  ScopedHandle thread(process.hThread);
  // Without a job (a system that refuses nested jobs) the child alone is ended.
  bool inJob = job.valid() && AssignProcessToJobObject(job.get(), child.get());
  ResumeThread(thread.get());
  run.started = true;

  HANDLE waits[] = {child.get(), stop};
  DWORD waited = WaitForMultipleObjects(stop != nullptr ? 2 : 1, waits, FALSE, limitMs);
  if (waited != WAIT_OBJECT_0) {
    run.timedOut = waited == WAIT_TIMEOUT;
    run.stopped = !run.timedOut;
    if (inJob) {
      TerminateJobObject(job.get(), 1);
    } else {
      TerminateProcess(child.get(), 1);
    }
    WaitForSingleObject(child.get(), 5000);
  }
  GetExitCodeProcess(child.get(), &run.exitCode);
  return run;
}
