// The decompiler run: Jad on a copy of a class file and its family in a run
// folder of its own (inside the plugin's directory, or a folder of the user's
// when none can be made there), and its output read back as text.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The decimal tick count that names a run's output and run folder; at most 11
// characters and the terminator.
enum { DecompileStampChars = 16 };

// How long a run waits for Jad, in milliseconds (60 seconds unless a test
// shortens it). A Jad still running then is asked to stop, as a close asks it
// (the bridge ends its Java and removes its files), and ended when it has not
// stopped within DecompileStopGraceMs (3 seconds unless a test changes it);
// the run gives no text.
extern DWORD DecompileWaitLimitMs;
extern DWORD DecompileStopGraceMs;

// How a run ended: with Jad's text, or why without. Jad was not run at all
// with NoRunFolder (no folder for the run could be made anywhere), NoInput
// (the class could not be put in its run folder) and NotStarted (Jad could not
// be started).
enum class DecompileEnd { Text, NoText, NoRunFolder, NoInput, NotStarted, TimedOut, Cancelled };

// What a caller may give a run and learns from it.
struct DecompileRun {
  // Asks Jad for Kotlin rather than Java: the output's extension is ".kt"
  // ("-s <stamp>.kt"), which the bridge answers with Kotlin for a class
  // compiled from it. An original Jad writes Java all the same; the bridge's
  // output, unlike Jad's, begins with UTF-8's byte-order mark.
  bool kotlin = false;
  // Set from another thread, it ends the run: Jad is asked to stop (the
  // bridge then removes its own files), and ended when it does not.
  HANDLE cancel = nullptr;
  // The class file's bytes when the caller has read them: the run's copy is
  // written from them, so Jad decompiles what the caller shows.
  const std::string* classBytes = nullptr;
  WCHAR stamp[DecompileStampChars] = {};    // out: names its run folder and output
  DecompileEnd end = DecompileEnd::NoText;  // out
  DWORD exitCode = 0;                       // out: Jad's, when it ended by itself
  DWORD startError = 0;                     // out: why Jad did not start (NotStarted)
  // out: the folders a run folder was asked of, in order; with a run folder
  // made, the last one holds it.
  std::vector<std::wstring> places;
};

// Jad's output for the class file at classFilePath (any length), as a text from
// malloc that the caller frees; null when there is none (a null path
// included). Blocks until Jad has ended or has been ended (the wait limit, or
// run->cancel); the run folder is gone on return (unless a file in it could
// not be deleted). Runs may overlap, in one process or several.
char* DecompileClassFile(const WCHAR* classFilePath, DecompileRun* run = nullptr);

// Closes the job every decompiler runs in, when the plugin is unloaded (no run
// is going then: each holds the plugin).
void CloseRunsJob();
