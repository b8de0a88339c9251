#include "bridge/one_shot_run.h"

#include <windows.h>

#include "bridge/jad/command_line.h"
#include "bridge/jad/error_comment.h"
#include "bridge/windows/file_access.h"
#include "bridge/windows/waited_process.h"
#include "bridge/windows/wide_text.h"

namespace {

// A decompiled class larger than this is not read.
const size_t MaxSourceBytes = 256u << 20;

// A Java runtime before 18 reads its command line in the ANSI code page, so a
// name with other characters is passed in its short form where there is one.
std::string ForCommandLine(const std::wstring& name) {
  bool plain = true;
  for (wchar_t c : name) plain = plain && c < 0x80;
  if (!plain) {
    wchar_t shortName[MAX_PATH];
    DWORD n = GetShortPathNameW(name.c_str(), shortName, MAX_PATH);
    if (n > 0 && n < MAX_PATH) return Utf8FromWide(shortName);
  }
  return Utf8FromWide(name);
}

std::string SystemMessage(DWORD error) {
  wchar_t* text = nullptr;
  DWORD n = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring message = n > 0 && text != nullptr ? std::wstring(text, n) : L"";
  if (text != nullptr) LocalFree(text);
  while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' ||
                              message.back() == L' ' || message.back() == L'.')) {
    message.pop_back();
  }
  return "error " + std::to_string(error) + (message.empty() ? "" : ": " + Utf8FromWide(message));
}

DecompileOutcome Failure(DecompileOutcome::Kind kind, std::vector<std::string> explanation) {
  DecompileOutcome outcome;
  outcome.kind = kind;
  outcome.explanation = std::move(explanation);
  return outcome;
}

// The folders of the class's package ("\\demo\\sub" for demo/sub/Outer), each
// made safe as a file name; "" for no package, or when they would make the
// names too long (Vineflower then names the class's own package in full).
std::wstring PackageFolders(const std::string& internalName, size_t room) {
  std::wstring folders;
  size_t start = 0;
  for (size_t slash = internalName.find('/'); slash != std::string::npos;
       start = slash + 1, slash = internalName.find('/', start)) {
    folders += L"\\" + WideFromUtf8(SafeFileStem(internalName.substr(start, slash - start)));
  }
  return folders.size() <= room ? folders : L"";
}

// Creates base and each folder of below ("\\demo\\sub") in it.
bool CreateFolders(const std::wstring& base, const std::wstring& below) {
  if (!CreateDirectoryW(base.c_str(), nullptr)) return false;
  for (size_t at = below.empty() ? std::wstring::npos : 0; at != std::wstring::npos;) {
    at = below.find(L'\\', at + 1);
    if (!CreateDirectoryW((base + below.substr(0, at)).c_str(), nullptr)) return false;
  }
  return true;
}

std::string Cut(const std::string& text, size_t maxBytes) {
  return text.size() <= maxBytes ? text : text.substr(0, maxBytes) + "...";
}

}  // namespace

DecompileOutcome RunDecompilerOnce(const OneShotCommand& command, const std::string& classBytes,
                                   const DecompileOptions& options, const BridgeContext& context) {
  const BridgeSettings& settings = context.settings;
  const std::string settingsFile = Utf8FromWide(context.settingsFile);
  TempFolder temp;
  std::wstring stem = WideFromUtf8(SafeFileStem(options.className));
  // The class in the folders of its package, as a compiler leaves it: laid
  // out flat, Vineflower's own command line (a decompiler= template) names
  // every class of that package in full. What the names take besides the
  // package's folders: the temporary folder, "\classes\" with room to
  // spare, the stem and ".class"; 64 more are kept for a member's "$..." part.
  const size_t used = temp.path().size() + 12 + stem.size() + 6;
  const std::wstring package =
      PackageFolders(options.internalName, used < MAX_PATH - 64 ? MAX_PATH - 64 - used : 0);
  std::wstring classFolder = temp.Path(L"classes");
  std::wstring classFile = classFolder + package + L"\\" + stem + L".class";
  std::wstring outFolder = temp.Path(L"out");
  // Vineflower writes into the package's folder under out, but does not make it.
  bool written = temp.created() && CreateFolders(outFolder, package) &&
                 CreateFolders(classFolder, package) && WriteBytes(classFile, classBytes);
  // Members under their own names, which is how the decompilers find them.
  for (size_t i = 0; written && i < options.family.size(); ++i) {
    const ClassFile& member = options.family[i];
    written = WriteBytes(classFolder + package + L"\\" + WideFromUtf8(member.name), member.bytes);
  }
  if (!written) {
    return Failure(DecompileOutcome::Kind::Failed,
                   {"No temporary folder could be made for the decompiler (" +
                        SystemMessage(GetLastError()) + ").",
                    "Check that the folder TEMP names exists and is writable."});
  }

  const std::wstring crashReport = temp.Path(L"java-crash.log");
  std::string commandText =
      command.compose({ForCommandLine(context.home), ForCommandLine(classFile),
                       ForCommandLine(outFolder), ForCommandLine(crashReport)});
  ChildRun run =
      RunChild(WideFromUtf8(commandText), temp.path(), temp.Path(L"stdout.txt"),
               temp.Path(L"stderr.txt"), settings.timeoutSeconds * 1000, context.stopRequest);
  const std::string commandLine = "Its command: " + Cut(commandText, 2000);

  if (!run.started) {
    return Failure(DecompileOutcome::Kind::Failed,
                   {command.who + " could not be started (" + SystemMessage(run.startError) + ").",
                    commandLine, "", command.fix});
  }
  if (run.stopped) {
    return Failure(DecompileOutcome::Kind::Stopped, {"The plugin stopped the run."});
  }
  if (run.timedOut) {
    return Failure(
        DecompileOutcome::Kind::TimedOut,
        {command.who + " was still running after " + std::to_string(settings.timeoutSeconds) +
             " seconds and was ended.",
         commandLine, "",
         "A very large class may need more time: raise timeout= in " + settingsFile + ";",
         "or choose another decompiler there (decompiler=)."});
  }

  // Vineflower's Kotlin plugin writes a class compiled from Kotlin as <stem>.kt.
  std::wstring sourceFile = temp.Path(L"stdout.txt");
  if (command.sourceInOut) {
    sourceFile = options.kotlin ? FindSourceFile(outFolder, stem + L".kt") : L"";
    if (sourceFile.empty()) sourceFile = FindSourceFile(outFolder, stem + L".java");
  }
  DecompileOutcome outcome;
  if (run.exitCode == 0 && !sourceFile.empty() &&
      ReadBytes(sourceFile, MaxSourceBytes, &outcome.source) && !outcome.source.empty()) {
    outcome.kind = DecompileOutcome::Kind::Source;
    return outcome;
  }

  std::string errors, output;
  ReadBytes(temp.Path(L"stderr.txt"), MaxSourceBytes, &errors);
  ReadBytes(temp.Path(L"stdout.txt"), MaxSourceBytes, &output);
  std::vector<std::string> tail = LastLines(Utf8FromUtf8OrAnsi(errors), 12, 300);
  const char* stream = "error output";
  if (tail.empty()) {
    tail = LastLines(Utf8FromUtf8OrAnsi(output), 12, 300);
    stream = "output";
  }
  const bool crashed = IsFile(crashReport);
  std::vector<std::string> explanation = {command.who + " failed: it ended with exit code " +
                                              std::to_string(static_cast<int>(run.exitCode)) +
                                              (run.exitCode == 0 ? " but wrote no source." : "."),
                                          commandLine, ""};
  if (tail.empty()) {
    explanation.push_back("It wrote no error output.");
  } else {
    explanation.push_back(std::string("The last lines of its ") + stream + ":");
    for (const std::string& line : tail) explanation.push_back("  " + line);
  }
  DecompileOutcome failure = Failure(DecompileOutcome::Kind::Failed, explanation);
  failure.crashed = crashed;
  return failure;
}
