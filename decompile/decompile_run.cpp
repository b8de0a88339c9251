#include "decompile/decompile_run.h"

#include <stdlib.h>
#include <string.h>
#include <wchar.h>

#include "bridge/jad/cancel_event.h"
#include "decompile/class_family.h"
#include "decompile/long_path.h"
#include "decompile/read_whole_file.h"
#include "decompile/run_folder.h"
#include "decompile/run_places.h"
#include "host/module_state.h"

DWORD DecompileWaitLimitMs = 60 * 1000;
DWORD DecompileStopGraceMs = 3000;

namespace {

// A name the run composes: the plugin directory, the decompiler probe, the
// input's name and stem.
enum { NameChars = MAX_PATH };
// The output pattern and the command line.
enum { CommandChars = 1024 };
// How long an ended decompiler may take to be gone.
const DWORD EndedProcessWaitMs = 5000;

// Every decompiler the plugin starts runs in this job, which the system
// closes when the host ends: a run the host did not live to see the end of
// (or to cancel) ends with it, Java and all. Programs a decompiler starts to
// outlive it (the bridge's service) may break away. Null where the system
// refuses a job.
HANDLE& RunsJobHandle() {
  static HANDLE job = [] {
    HANDLE made = CreateJobObjectW(nullptr, nullptr);
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
    limits.BasicLimitInformation.LimitFlags =
        JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE | JOB_OBJECT_LIMIT_BREAKAWAY_OK;
    if (made != nullptr &&
        !SetInformationJobObject(made, JobObjectExtendedLimitInformation, &limits, sizeof limits)) {
      CloseHandle(made);
      made = nullptr;
    }
    return made;
  }();
  return job;
}

HANDLE RunsJob() { return RunsJobHandle(); }

// The directory of the plugin's own module file, without a trailing backslash;
// false when the module path cannot be had whole or holds no backslash.
bool GetPluginDirectory(WCHAR* directory) {
  DWORD length = GetModuleFileNameW(PluginInstance, directory, NameChars);
  if (length == 0 || length >= NameChars) {
    return false;
  }
  directory[length] = L'\0';
  WCHAR* lastBackslash = wcsrchr(directory, L'\\');
  if (lastBackslash == nullptr) {
    return false;
  }
  *lastBackslash = L'\0';
  return true;
}

// The names of one run. On the heap: the copy and the output are
// extended-length names.
struct RunNames {
  WCHAR stamp[DecompileStampChars];
  WCHAR directory[NameChars];
  WCHAR probe[NameChars];
  // The shown file's name in the run folder, and that name without ".class"
  // as the command line gives it.
  WCHAR input[NameChars];
  WCHAR stem[NameChars];
  bool withFamily;
  const WCHAR* extension;  // of the output: ".java", or ".kt" for Kotlin
  WCHAR commandLine[CommandChars];
  WCHAR place[RunFolderChars];
  RunFolder run;
  const WCHAR* folder;  // run.path
  WCHAR pattern[CommandChars];
  WCHAR copy[LongPathBufferChars];
  WCHAR output[LongPathBufferChars];
};

// The shown file goes to the decompiler under its own name, beside its family:
// the names by which the class refers to its members are their file names.
// A name that Jad's command line cannot give that way (not "<stem>.class", or
// a stem with a dot, which Jad would take for an extension) goes alone, as
// "<stamp>.class".
bool ChooseInput(const WCHAR* classFilePath, RunNames* names) {
  const WCHAR* name = FileNameOf(classFilePath);
  int stem = ClassStemLength(name);
  names->input[0] = L'\0';
  names->stem[0] = L'\0';
  names->withFamily = stem > 0 && wmemchr(name, L'.', static_cast<size_t>(stem)) == nullptr &&
                      WholeWideAppend(names->input, name, NameChars);
  if (names->withFamily) {
    BoundedWideCopy(names->stem, name, stem + 1);
    return true;
  }
  return WholeWideAppend(names->stem, names->stamp, NameChars) &&
         WholeWideAppend(names->input, names->stamp, NameChars) &&
         WholeWideAppend(names->input, L".class", NameChars);
}

// "[<directory>\]jad" -lnc -o -s "<stamp>.java" "<stem>" (".kt" for Kotlin):
// the program without ".exe", named by its full path only when it is in the
// plugin directory.
bool ComposeCommandLine(RunNames* names, bool besidePlugin) {
  WCHAR* line = names->commandLine;
  line[0] = L'\0';
  bool fits = WholeWideAppend(line, L"\"", CommandChars);
  if (besidePlugin) {
    fits = fits && WholeWideAppend(line, names->directory, CommandChars) &&
           WholeWideAppend(line, L"\\", CommandChars);
  }
  return fits && WholeWideAppend(line, L"jad\" -lnc -o -s \"", CommandChars) &&
         WholeWideAppend(line, names->stamp, CommandChars) &&
         WholeWideAppend(line, names->extension, CommandChars) &&
         WholeWideAppend(line, L"\" \"", CommandChars) &&
         WholeWideAppend(line, names->stem, CommandChars) &&
         WholeWideAppend(line, L"\"", CommandChars);
}

// Every name that does not depend on the run folder; checked before the first
// file is touched.
bool ComposeRunNames(const WCHAR* classFilePath, bool kotlin, RunNames* names) {
  names->extension = kotlin ? L".kt" : L".java";
  if (!GetPluginDirectory(names->directory)) {
    return false;
  }
  _itow(static_cast<int>(GetTickCount()), names->stamp, 10);
  names->probe[0] = L'\0';
  return WholeWideAppend(names->probe, names->directory, NameChars) &&
         WholeWideAppend(names->probe, L"\\jad.exe", NameChars) &&
         ChooseInput(classFilePath, names) && ComposeCommandLine(names, true);
}

// The input's copy and the output pattern inside the claimed run folder.
bool ComposeCopyAndPattern(RunNames* names) {
  names->copy[0] = L'\0';
  names->pattern[0] = L'\0';
  return WholeWideAppend(names->copy, names->folder, LongPathBufferChars) &&
         WholeWideAppend(names->copy, L"\\", LongPathBufferChars) &&
         WholeWideAppend(names->copy, names->input, LongPathBufferChars) &&
         WholeWideAppend(names->pattern, names->folder, CommandChars) &&
         WholeWideAppend(names->pattern, L"\\*.", CommandChars) &&
         WholeWideAppend(names->pattern, names->stamp, CommandChars) &&
         WholeWideAppend(names->pattern, names->extension, CommandChars);
}

bool ProbeDecompiler(const WCHAR* probe) {
  HANDLE file = LongPathCreateFile(probe, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                   FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return false;
  }
  CloseHandle(file);
  return true;
}

// Waits for the decompiler until it ends, its time is up or the run is
// cancelled. Either way it is asked to stop first (the bridge then ends its
// Java and removes its own files), and ended when it has not stopped within
// the grace. It is waited for until it is gone, so that it writes nothing
// more.
DecompileEnd WaitForDecompiler(HANDLE process, HANDLE stopRequest, HANDLE cancel) {
  HANDLE waits[] = {process, cancel};
  DWORD waited =
      WaitForMultipleObjects(cancel != nullptr ? 2 : 1, waits, FALSE, DecompileWaitLimitMs);
  if (waited == WAIT_OBJECT_0) return DecompileEnd::Text;
  const DecompileEnd end =
      waited == WAIT_OBJECT_0 + 1 ? DecompileEnd::Cancelled : DecompileEnd::TimedOut;
  if (stopRequest != nullptr) {
    SetEvent(stopRequest);
    if (WaitForSingleObject(process, DecompileStopGraceMs) == WAIT_OBJECT_0) return end;
  }
  TerminateProcess(process, 1);
  // A process in the middle of a file operation ends once that is done.
  WaitForSingleObject(process, EndedProcessWaitMs);
  return end;
}

// Starts the decompiler in the run folder and waits for it (above). A program
// that does not start is passed over silently: there is then no output.
DecompileEnd RunDecompiler(RunNames* names, HANDLE cancel, DWORD* exitCode, DWORD* startError) {
  STARTUPINFOW startup;
  memset(&startup, 0, sizeof startup);
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process;
  memset(&process, 0, sizeof process);
  // Suspended until the event that asks it to stop is there.
  BOOL started = CreateProcessW(nullptr, names->commandLine, nullptr, nullptr, FALSE,
                                CREATE_NO_WINDOW | CREATE_SUSPENDED, nullptr, names->folder,
                                &startup, &process);
  if (started != 1) {
    *startError = GetLastError();
    return DecompileEnd::NotStarted;
  }
  HANDLE stopRequest =
      CreateEventW(nullptr, TRUE, FALSE, CancelEventName(process.dwProcessId).c_str());
  if (RunsJob() != nullptr) AssignProcessToJobObject(RunsJob(), process.hProcess);
  ResumeThread(process.hThread);
  DecompileEnd end = WaitForDecompiler(process.hProcess, stopRequest, cancel);
  if (end == DecompileEnd::Text) GetExitCodeProcess(process.hProcess, exitCode);
  if (stopRequest != nullptr) CloseHandle(stopRequest);
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  return end;
}

// The first file the search for the output pattern returns, as a full name in
// names->output; false when there is none or its full name would not fit.
bool FindOutput(RunNames* names) {
  WIN32_FIND_DATAW found;
  HANDLE search = LongPathFindFirstFile(names->pattern, &found);
  if (search == INVALID_HANDLE_VALUE) {
    return false;
  }
  FindClose(search);
  found.cFileName[MAX_PATH - 1] = L'\0';
  names->output[0] = L'\0';
  return WholeWideAppend(names->output, names->folder, LongPathBufferChars) &&
         WholeWideAppend(names->output, L"\\", LongPathBufferChars) &&
         WholeWideAppend(names->output, found.cFileName, LongPathBufferChars);
}

// The class's bytes as the run's copy; false when they could not all be
// written.
bool WriteCopy(const std::string& bytes, const WCHAR* copy) {
  HANDLE file = LongPathCreateFile(copy, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool whole =
      bytes.empty() ||
      (WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
       written == bytes.size());
  CloseHandle(file);
  return whole;
}

// The input in the run folder: the caller's bytes, else a copy of the file.
bool PutInput(const WCHAR* classFilePath, const RunNames* names, const DecompileRun* run) {
  return run->classBytes != nullptr ? WriteCopy(*run->classBytes, names->copy)
                                    : LongPathCopyFile(classFilePath, names->copy, FALSE) != 0;
}

// The decompiler's output for the class file, copied with its family into the
// claimed run folder; null when there is none. Whatever it leaves in the
// folder goes with the folder.
char* DecompileInRunFolder(const WCHAR* classFilePath, RunNames* names, DecompileRun* run) {
  DecompileEnd* end = &run->end;
  // Without its input there is nothing to start the decompiler on.
  if (!ComposeCopyAndPattern(names) || !PutInput(classFilePath, names, run)) {
    *end = DecompileEnd::NoInput;
    return nullptr;
  }
  if (names->withFamily) {
    CopyClassFamily(classFilePath, names->folder);
  }
  if (!ProbeDecompiler(names->probe)) {
    ComposeCommandLine(names, false);
  }
  if (run->cancel != nullptr && WaitForSingleObject(run->cancel, 0) == WAIT_OBJECT_0) {
    *end = DecompileEnd::Cancelled;
    return nullptr;
  }
  *end = RunDecompiler(names, run->cancel, &run->exitCode, &run->startError);
  if (*end != DecompileEnd::Text || !FindOutput(names)) {
    if (*end == DecompileEnd::Text) *end = DecompileEnd::NoText;
    return nullptr;
  }
  char* text = ReadWholeFile(names->output);
  if (text == nullptr) *end = DecompileEnd::NoText;
  return text;
}

// Claims a run folder in the first place that gives one, noting each place
// asked in run->places; the place's index, or -1 when none did.
int ClaimInSomePlace(RunNames* names, DecompileRun* run) {
  names->folder = names->run.path;
  for (int index = 0; index < RunPlaceCount; ++index) {
    if (!ComposeRunPlace(index, names->directory, names->place)) continue;
    run->places.push_back(names->place);
    // A user's place may go with another run's end between its making and
    // the claim; it is made again then.
    for (int attempt = 0; attempt < 3; ++attempt) {
      if (index > 0 && !MakeRunPlace(names->place)) break;
      if (ClaimRunFolder(names->place, names->stamp, &names->run)) return index;
      if (index == 0 || GetLastError() != ERROR_PATH_NOT_FOUND) break;
    }
    if (index > 0) LeaveRunPlace(names->place);
  }
  return -1;
}

}  // namespace

char* DecompileClassFile(const WCHAR* classFilePath, DecompileRun* run) {
  DecompileRun ignored;
  if (run == nullptr) run = &ignored;
  run->end = DecompileEnd::NotStarted;
  run->exitCode = 0;
  run->startError = 0;
  run->places.clear();
  // The 8-bit export passes on a null name as null.
  if (classFilePath == nullptr) {
    return nullptr;
  }
  RunNames* names = static_cast<RunNames*>(malloc(sizeof(RunNames)));
  char* text = nullptr;
  if (names != nullptr && ComposeRunNames(classFilePath, run->kotlin, names)) {
    BoundedWideCopy(run->stamp, names->stamp, DecompileStampChars);
    const int place = ClaimInSomePlace(names, run);
    if (place >= 0) {
      RemoveLeftRunFolders(names->place);
      text = DecompileInRunFolder(classFilePath, names, run);
      RemoveRunFolder(&names->run);
      if (place > 0) LeaveRunPlace(names->place);
    } else {
      run->end = DecompileEnd::NoRunFolder;
    }
  }
  free(names);
  return text;
}

void CloseRunsJob() {
  HANDLE& job = RunsJobHandle();
  if (job != nullptr) CloseHandle(job);
  job = nullptr;
}
