#include "decompile/decompile_job.h"

#include <stdlib.h>

#include <new>

struct DecompileJob {
  LONG references = 2;  // the caller's and the thread's
  std::wstring classFile;
  HWND notify = nullptr;
  UINT message = 0;
  HMODULE module = nullptr;    // held by the thread until it ends
  HANDLE classRead = nullptr;  // set by the thread once cls and outline are in
  HANDLE ended = nullptr;      // set by the thread when the run has ended
  DecompileRun run;
  std::shared_ptr<const ClassBytes> cls;
  std::wstring outline;
  char* text = nullptr;
  DWORD milliseconds = 0;

  ~DecompileJob() {
    free(text);
    if (run.cancel != nullptr) CloseHandle(run.cancel);
    if (classRead != nullptr) CloseHandle(classRead);
    if (ended != nullptr) CloseHandle(ended);
  }
};

namespace {

void Release(DecompileJob* job) {
  if (InterlockedDecrement(&job->references) == 0) delete job;
}

// The class file's bytes and outline, once; a file too large to hold is one
// that could not be read.
void ReadClass(DecompileJob* job) {
  try {
    auto cls = std::make_shared<ClassBytes>(ReadClassBytes(job->classFile.c_str()));
    std::string error;
    if (!OutlineTextOf(*cls, &job->outline, &error)) job->outline.clear();
    job->cls = cls;
  } catch (const std::bad_alloc&) {
    job->outline.clear();
    job->cls = nullptr;
  }
}

DWORD WINAPI RunJob(void* parameter) {
  DecompileJob* job = static_cast<DecompileJob*>(parameter);
  HMODULE module = job->module;
  DWORD start = GetTickCount();
  ReadClass(job);
  SetEvent(job->classRead);
  if (job->cls != nullptr && job->cls->read) job->run.classBytes = &job->cls->bytes;
  job->text = DecompileClassFile(job->classFile.c_str(), &job->run);
  job->milliseconds = GetTickCount() - start;  // modular: a wrap still gives the interval
  SetEvent(job->ended);
  // A post that fails (a full queue) is made good by the window's own look at
  // its run.
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
  DecompileJob* job = new (std::nothrow) DecompileJob();
  if (job == nullptr) return nullptr;
  job->run.cancel = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  job->classRead = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  job->ended = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  job->notify = notify;
  job->message = message;
  job->run.kotlin = kotlin;
  // The thread's own reference to the module this code is in.
  const bool held = GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                                       reinterpret_cast<LPCWSTR>(&RunJob), &job->module) != 0;
  HANDLE thread = nullptr;
  if (job->run.cancel != nullptr && job->classRead != nullptr && job->ended != nullptr && held) {
    try {
      job->classFile = classFilePath;
      thread = CreateThread(nullptr, 0, RunJob, job, 0, nullptr);
    } catch (const std::bad_alloc&) {
    }
  }
  if (thread == nullptr) {
    if (held) FreeLibrary(job->module);
    delete job;
    return nullptr;
  }
  CloseHandle(thread);
  return job;
}

bool WaitForDecompileJobClass(DecompileJob* job, DWORD milliseconds) {
  return WaitForSingleObject(job->classRead, milliseconds) == WAIT_OBJECT_0;
}

std::shared_ptr<const ClassBytes> DecompileJobClass(DecompileJob* job, std::wstring* outline) {
  if (!WaitForDecompileJobClass(job, 0)) return nullptr;
  if (outline != nullptr) *outline = job->outline;
  return job->cls;
}

bool WaitForDecompileJob(DecompileJob* job, DWORD milliseconds) {
  return WaitForSingleObject(job->ended, milliseconds) == WAIT_OBJECT_0;
}

bool TakeDecompileResult(DecompileJob* job, DecompileResult* result) {
  if (!WaitForDecompileJob(job, 0)) return false;
  result->milliseconds = job->milliseconds;
  result->end = job->run.end;
  result->exitCode = job->run.exitCode;
  result->startError = job->run.startError;
  result->places = job->run.places;
  result->text = job->text;
  job->text = nullptr;
  return true;
}

void ReleaseDecompileJob(DecompileJob* job) {
  if (job == nullptr) return;
  SetEvent(job->run.cancel);
  Release(job);
}
