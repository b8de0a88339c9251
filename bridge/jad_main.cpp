// jad.exe, the bridge: takes Jad's command line as the plugin writes it
// ("-lnc -o -s EXT NAME"), decompiles NAME.class from the current directory
// with a modern decompiler (Vineflower or CFR by default, see jad.ini) and writes
// <ClassName>.<EXT> there, in UTF-8 behind a byte-order mark with CR LF line ends
// (Kotlin for a class compiled from it when EXT ends in ".kt", as the plugin's
// Kotlin view asks).
// When there is no source to give it still writes that file, holding a Java
// comment that says why, and ends with a non-zero exit code:
//   1 the decompiler failed or could not be started, 2 the input could not be
//   read or is no class file, 3 no Java runtime was found, 4 the decompiler ran
//   past its time limit, 5 no input was named, 6 the output could not be written,
//   7 the plugin asked it to stop (it then ends its decompiler and removes its
//   temporary files; the output says so).
// Started without arguments it says how to use it, and what it would run
// (run_report.h).
#include <stdio.h>
#include <windows.h>

#include <string>
#include <vector>

#include "bridge/decompile_source.h"
#include "bridge/jad/command_line.h"
#include "bridge/jad/error_comment.h"
#include "bridge/jad/utf8_source.h"
#include "bridge/run_report.h"
#include "bridge/settings/run_context.h"
#include "bridge/shown_class/class_name.h"
#include "bridge/shown_class/family_files.h"
#include "bridge/shown_class/nested_classes.h"
#include "bridge/windows/file_access.h"
#include "bridge/windows/wide_text.h"

namespace {

enum ExitCode {
  Decompiled = 0,
  DecompilerFailed = 1,
  NotAClassFile = 2,
  NoJava = 3,
  TimedOut = 4,
  NoInput = 5,
  NotWritten = 6,
  Stopped = 7
};

// A class file larger than this is not read (the format's own limits keep
// real ones far smaller).
const size_t MaxClassBytes = 64u << 20;

// The room a file name in the current directory has within MAX_PATH.
size_t NameRoom() {
  DWORD length = GetCurrentDirectoryW(0, nullptr);
  return length + 16 < MAX_PATH ? MAX_PATH - 1 - length : 16;
}

ExitCode ExitCodeFor(DecompileOutcome::Kind kind) {
  switch (kind) {
    case DecompileOutcome::Kind::Source:
      return Decompiled;
    case DecompileOutcome::Kind::NoJava:
      return NoJava;
    case DecompileOutcome::Kind::TimedOut:
      return TimedOut;
    case DecompileOutcome::Kind::Stopped:
      return Stopped;
    default:
      return DecompilerFailed;
  }
}

// A line on the standard output: as Unicode text to a console, which would
// show UTF-8 bytes in its own code page, else as UTF-8.
void PrintLine(const std::string& line) {
  HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  DWORD mode = 0;
  if (GetConsoleMode(out, &mode)) {
    const std::wstring wide = WideFromUtf8(line + "\n");
    DWORD written = 0;
    WriteConsoleW(out, wide.c_str(), static_cast<DWORD>(wide.size()), &written, nullptr);
  } else {
    fputs((line + "\n").c_str(), stdout);
  }
}

// The explanation on the error stream too, for a user at a command prompt.
void Report(const std::vector<std::string>& lines) {
  for (const std::string& line : lines) fprintf(stderr, "jad: %s\n", line.c_str());
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::vector<std::string> arguments;
  for (int i = 1; i < argc; ++i) arguments.push_back(Utf8FromWide(argv[i]));
  JadRequest request = ParseJadCommandLine(arguments);
  if (!request.valid) {
    fputs(
        "usage: jad [-lnc] [-s EXT] [other Jad options, ignored] NAME[.class]\n"
        "Decompiles NAME.class and writes <ClassName>.EXT (default .jad) into the current\n"
        "directory (Kotlin for a class compiled from it when EXT ends in .kt); jad.ini\n"
        "beside jad.exe chooses the decompiler and the Java runtime.\n\n",
        stderr);
    if (arguments.empty()) {
      fflush(stderr);
      for (const std::string& line : RunReport(LoadBridgeContext())) PrintLine(line);
    }
    return NoInput;
  }

  std::string classBytes;
  bool read = ReadBytes(WideFromUtf8(request.input), MaxClassBytes, &classBytes);
  std::string internalName =
      read ? ReadInternalClassName(reinterpret_cast<const unsigned char*>(classBytes.data()),
                                   classBytes.size())
           : "";
  std::string className = internalName.substr(internalName.find_last_of('/') + 1);
  std::wstring output = WideFromUtf8(OutputFileName(className, request, NameRoom()));

  std::string text;
  ExitCode code;
  if (className.empty()) {
    std::vector<std::string> lines = {
        read ? request.input + " is not a Java class file, so it was not decompiled."
             : request.input + " could not be read, so it was not decompiled.",
        read ? "A class file starts with the bytes CA FE BA BE and names its class; this one does "
               "not, or it is cut short."
             : "Check that the file exists and that it may be read."};
    Report(lines);
    text = ErrorComment(lines);
    code = NotAClassFile;
  } else {
    DecompileOptions options;
    options.lineNumbers = request.lineNumbers;
    options.kotlin = request.kotlin;
    options.className = className;
    options.internalName = internalName;
    options.family = ReadClassFamily(WideFromUtf8(request.input), classBytes.size());
    DecompileOutcome outcome = DecompileSource(classBytes, options, LoadBridgeContext());
    code = ExitCodeFor(outcome.kind);
    if (code == Decompiled) {
      // The note goes after a byte-order mark, which only counts at the start.
      const size_t bom = outcome.source.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
      text = outcome.source.insert(bom, MissingNestedClassesNote(classBytes, options.family));
    } else {
      outcome.explanation.insert(outcome.explanation.begin(),
                                 {"The bridge to the decompiler could not decompile class " +
                                      className + (request.kotlin ? " to Kotlin." : "."),
                                  ""});
      Report(outcome.explanation);
      text = ErrorComment(outcome.explanation);
    }
  }

  // A user's own decompiler (the original Jad) may write the ANSI code page.
  if (!WriteBytes(output, ToUtf8Source(Utf8FromUtf8OrAnsi(text)))) {
    fprintf(stderr, "jad: %s could not be written\n", Utf8FromWide(output).c_str());
    return NotWritten;
  }
  return code;
}
