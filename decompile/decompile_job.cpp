#include "decompile/decompile_job.h"

#include <stdlib.h>
#include <wchar.h>

struct DecompileJob {
  LONG references;  // the caller's and the thread's
  WCHAR* classFile;
  HWND notify;
  UINT message;
  HMODULE module;  // held by the thread until it ends
  HANDLE ended;    // set by the thread when the run has ended
  DecompileRun run;
  char* text;
  DWORD milliseconds;
};

namespace {

void Release(DecompileJob* job) {
  if (InterlockedDecrement(&job->references) != 0) return;
  free(job->text);
  free(job->classFile);
  if (job->run.cancel != nullptr) CloseHandle(job->run.cancel);
  if (job->ended != nullptr) CloseHandle(job->ended);
  free(job);
}

DWORD WINAPI RunJob(void* parameter) {
  DecompileJob* job = static_cast<DecompileJob*>(parameter);
  HMODULE module = job->module;
  DWORD start = GetTickCount();
  job->text = DecompileClassFile(job->classFile, &job->run);
  job->milliseconds = GetTickCount() - start;  // modular: a wrap still gives the interval
  SetEvent(job->ended);
  if (job->notify != nullptr && WaitForSingleObject(job->run.cancel, 0) != WAIT_OBJECT_0) {
    PostMessageW(job->notify, job->message, reinterpret_cast<WPARAM>(job), 0);
  }
  Release(job);
  FreeLibraryAndExitThread(module, 0);
  return 0;
}

}  // namespace

DecompileJob* StartDecompileJob(const WCHAR* classFilePath, HWND notify, UINT message,
                                bool kotlin) {
  if (classFilePath == nullptr) return nullptr;
  DecompileJob* job = static_cast<DecompileJob*>(calloc(1, sizeof(DecompileJob)));
  if (job == nullptr) return nullptr;
  const size_t length = wcslen(classFilePath) + 1;
  job->classFile = static_cast<WCHAR*>(malloc(length * sizeof(WCHAR)));
  job->run.cancel = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  job->ended = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  job->notify = notify;
  job->message = message;
  job->run.kotlin = kotlin;
  job->references = 2;
  // The thread's own reference to the module this code is in.
  const bool held = GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                                       reinterpret_cast<LPCWSTR>(&RunJob), &job->module) != 0;
  HANDLE thread = nullptr;
  if (job->classFile != nullptr && job->run.cancel != nullptr && job->ended != nullptr && held) {
    wmemcpy(job->classFile, classFilePath, length);
    thread = CreateThread(nullptr, 0, RunJob, job, 0, nullptr);
  }
  if (thread == nullptr) {
    if (held) FreeLibrary(job->module);
    job->references = 1;
    Release(job);
    return nullptr;
  }
  CloseHandle(thread);
  return job;
}

bool WaitForDecompileJob(DecompileJob* job, DWORD milliseconds) {
  return WaitForSingleObject(job->ended, milliseconds) == WAIT_OBJECT_0;
}

bool TakeDecompileResult(DecompileJob* job, DecompileResult* result) {
  if (!WaitForDecompileJob(job, 0)) return false;
  result->milliseconds = job->milliseconds;
  result->end = job->run.end;
  result->exitCode = job->run.exitCode;
  result->text = job->text;
  job->text = nullptr;
  return true;
}

void ReleaseDecompileJob(DecompileJob* job) {
  if (job == nullptr) return;
  SetEvent(job->run.cancel);
  Release(job);
}
