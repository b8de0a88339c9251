// One decompiler run: the program started in a job object, so that ending it
// (its time is up, or the bridge itself is ended) ends its whole process tree;
// its standard output and error go into files.
#pragma once

#include <windows.h>

#include <string>

struct ChildRun {
  bool started = false;
  DWORD startError = 0;   // why it did not start (GetLastError)
  bool timedOut = false;  // ran past the limit and was ended
  bool stopped = false;   // ended because stop was set
  DWORD exitCode = 0;
};

// Runs commandLine in directory and waits at most limitMs for it, or until
// stop (when not null) is set.
ChildRun RunChild(const std::wstring& commandLine, const std::wstring& directory,
                  const std::wstring& outputFile, const std::wstring& errorFile, DWORD limitMs,
                  HANDLE stop);
