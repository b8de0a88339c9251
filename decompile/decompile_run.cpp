#include "decompile/decompile_run.h"

#include <stdlib.h>
#include <string.h>
#include <wchar.h>

#include "decompile/long_path.h"
#include "decompile/read_whole_file.h"
#include "host/module_state.h"

WCHAR DecompileStamp[DecompileStampChars];
DWORD DecompileWaitLimitMs = 60 * 1000;

namespace {

// A name the run composes: the plugin directory, the temporary copy, the
// decompiler probe and the output file.
enum { NameChars = MAX_PATH };
// The output pattern and the command line.
enum { CommandChars = 1024 };
// How long an ended decompiler may take to be gone.
const DWORD EndedProcessWaitMs = 5000;

// Appends source when it fits whole; a cut name could name another file, so a
// name that does not fit is never used.
bool AppendWhole(WCHAR* destination, const WCHAR* source, int size) {
  size_t length = wcsnlen(destination, size);
  if (length + wcslen(source) > static_cast<size_t>(size - 1)) {
    return false;
  }
  BoundedWideAppend(destination, source, size);
  return true;
}

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

// The names of one run, composed before anything is touched.
struct RunNames {
  WCHAR directory[NameChars];
  WCHAR copy[NameChars];
  WCHAR probe[NameChars];
  WCHAR pattern[CommandChars];
  WCHAR commandLine[CommandChars];
};

bool ComposeCopyProbeAndPattern(RunNames* names) {
  names->copy[0] = L'\0';
  names->probe[0] = L'\0';
  names->pattern[0] = L'\0';
  return AppendWhole(names->copy, names->directory, NameChars) &&
         AppendWhole(names->copy, L"\\", NameChars) &&
         AppendWhole(names->copy, DecompileStamp, NameChars) &&
         AppendWhole(names->copy, L".class", NameChars) &&
         AppendWhole(names->probe, names->directory, NameChars) &&
         AppendWhole(names->probe, L"\\jad.exe", NameChars) &&
         AppendWhole(names->pattern, names->directory, CommandChars) &&
         AppendWhole(names->pattern, L"\\*.", CommandChars) &&
         AppendWhole(names->pattern, DecompileStamp, CommandChars) &&
         AppendWhole(names->pattern, L".java", CommandChars);
}

// "[<directory>\]jad" -lnc -o -s "<stamp>.java" "<stamp>": the program without
// ".exe", named by its full path only when it is in the plugin directory.
bool ComposeCommandLine(RunNames* names, bool besidePlugin) {
  WCHAR* line = names->commandLine;
  line[0] = L'\0';
  bool fits = AppendWhole(line, L"\"", CommandChars);
  if (besidePlugin) {
    fits = fits && AppendWhole(line, names->directory, CommandChars) &&
           AppendWhole(line, L"\\", CommandChars);
  }
  return fits && AppendWhole(line, L"jad\" -lnc -o -s \"", CommandChars) &&
         AppendWhole(line, DecompileStamp, CommandChars) &&
         AppendWhole(line, L".java", CommandChars) && AppendWhole(line, L"\" \"", CommandChars) &&
         AppendWhole(line, DecompileStamp, CommandChars) && AppendWhole(line, L"\"", CommandChars);
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

// Starts the decompiler in the plugin directory and waits for it to end, at
// most DecompileWaitLimitMs; one still running then is ended, and waited for
// until it is gone, so that it writes nothing more. A program that does not
// start is passed over silently. False when the decompiler had to be ended.
bool RunDecompiler(RunNames* names) {
  STARTUPINFOW startup;
  memset(&startup, 0, sizeof startup);
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process;
  memset(&process, 0, sizeof process);
  BOOL started = CreateProcessW(nullptr, names->commandLine, nullptr, nullptr, FALSE,
                                CREATE_NO_WINDOW, nullptr, names->directory, &startup, &process);
  if (started != 1) {
    return true;
  }
  bool ended = WaitForSingleObject(process.hProcess, DecompileWaitLimitMs) != WAIT_TIMEOUT;
  if (!ended) {
    TerminateProcess(process.hProcess, 1);
    // A process in the middle of a file operation ends once that is done.
    WaitForSingleObject(process.hProcess, EndedProcessWaitMs);
  }
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  return ended;
}

// The full name of a file that the output search found; false when it would
// not fit.
bool ComposeOutputName(const RunNames& names, WIN32_FIND_DATAW* found, WCHAR* output) {
  found->cFileName[MAX_PATH - 1] = L'\0';
  output[0] = L'\0';
  return AppendWhole(output, names.directory, NameChars) && AppendWhole(output, L"\\", NameChars) &&
         AppendWhole(output, found->cFileName, NameChars);
}

// Deletes every file that matches the output pattern: what an ended
// decompiler left half written is no one's.
void DeleteAllOutputs(const RunNames& names) {
  WIN32_FIND_DATAW found;
  HANDLE search = LongPathFindFirstFile(names.pattern, &found);
  if (search == INVALID_HANDLE_VALUE) {
    return;
  }
  do {
    WCHAR output[NameChars];
    if (ComposeOutputName(names, &found, output)) {
      LongPathDeleteFile(output);
    }
  } while (LongPathFindNextFile(search, &found));
  FindClose(search);
}

// The first file the search for the output pattern returns, as a full name in
// output; false when there is none or its full name would not fit.
bool FindOutput(const RunNames& names, WCHAR* output) {
  WIN32_FIND_DATAW found;
  HANDLE search = LongPathFindFirstFile(names.pattern, &found);
  if (search == INVALID_HANDLE_VALUE) {
    return false;
  }
  bool fits = ComposeOutputName(names, &found, output);
  FindClose(search);
  return fits;
}

}  // namespace

char* DecompileClassFile(const WCHAR* classFilePath) {
  // Composed in one record: about 5 KB, not worth the heap.
  RunNames names;
  if (!GetPluginDirectory(names.directory)) {
    return nullptr;
  }
  _itow(static_cast<int>(GetTickCount()), DecompileStamp, 10);
  // Every name is checked before the first file is touched.
  if (!ComposeCopyProbeAndPattern(&names) || !ComposeCommandLine(&names, true)) {
    return nullptr;
  }

  LongPathCopyFile(classFilePath, names.copy, FALSE);
  if (!ProbeDecompiler(names.probe)) {
    ComposeCommandLine(&names, false);
  }
  if (!RunDecompiler(&names)) {
    LongPathDeleteFile(names.copy);
    DeleteAllOutputs(names);
    return nullptr;
  }

  WCHAR output[NameChars];
  char* text = nullptr;
  bool found = FindOutput(names, output);
  if (found) {
    text = ReadWholeFile(output);
  }
  LongPathDeleteFile(names.copy);
  if (found) {
    LongPathDeleteFile(output);
  }
  return text;
}
