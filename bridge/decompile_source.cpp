#include "bridge/decompile_source.h"

#include "bridge/java_locations.h"
#include "bridge/one_shot_run.h"
#include "bridge/service_client.h"
#include "bridge/service_protocol.h"
#include "bridge/service_start.h"
#include "bridge/system_text.h"

namespace {

// The resident service for Procyon's default command: its answer, or, when no
// service answers, a new service started and the one-shot run for this class
// within what is left of the time limit.
DecompileOutcome DecompileThroughService(const std::string& java, const std::string& classBytes,
                                         const DecompileOptions& options,
                                         const BridgeContext& context) {
  const DWORD limitMs = context.settings.timeoutSeconds * 1000;
  const ULONGLONG start = GetTickCount64();
  const std::wstring portFile = ServicePortFile(context);
  ServiceReply reply = AskService(
      portFile, classBytes, ServiceOptions(options.lineNumbers, context.settings.lines), limitMs);
  DecompileOutcome outcome;
  switch (reply.kind) {
    case ServiceReply::Kind::Source:
      outcome.kind = DecompileOutcome::Kind::Source;
      outcome.source = std::move(reply.text);
      return outcome;
    case ServiceReply::Kind::Failed:
      outcome.kind = DecompileOutcome::Kind::Failed;
      outcome.explanation = {"The decompiler failed:", "  " + Utf8FromUtf8OrAnsi(reply.text)};
      return outcome;
    case ServiceReply::Kind::TimedOut:
      outcome.kind = DecompileOutcome::Kind::TimedOut;
      outcome.explanation = {"The decompile service had not answered after " +
                                 std::to_string(context.settings.timeoutSeconds) + " seconds.",
                             "",
                             "A very large class may need more time: raise timeout= in " +
                                 Utf8FromWide(context.settingsFile) + "."};
      return outcome;
    case ServiceReply::Kind::NoAnswer:
      break;
  }
  BridgeContext rest = context;
  unsigned spentSeconds = static_cast<unsigned>((GetTickCount64() - start) / 1000);
  rest.settings.timeoutSeconds = spentSeconds + 1 < context.settings.timeoutSeconds
                                     ? context.settings.timeoutSeconds - spentSeconds
                                     : 1;
  DecompileOutcome oneShot = RunDecompilerOnce(java, classBytes, options, rest);
  // Started once this class is done: two Java runtimes starting side by side
  // made the one-shot run seconds slower on two cores, and the user reads the
  // source for longer than the service takes to start.
  StartDecompileService(java, context, portFile);
  return oneShot;
}

}  // namespace

DecompileOutcome DecompileSource(const std::string& classBytes, const DecompileOptions& options,
                                 const BridgeContext& context) {
  // A decompiler that is no Java program (an original Jad) needs no runtime.
  std::string java;
  if (UsesPlaceholder(context.settings.decompiler, "java")) {
    JavaSearch search = SearchJava(context);
    if (search.java.empty()) {
      DecompileOutcome outcome;
      outcome.kind = DecompileOutcome::Kind::NoJava;
      outcome.explanation = {
          "No Java runtime was found. The decompiler needs one (Java 8 or newer).", "",
          "Looked for java.exe, in this order:"};
      for (const std::string& place : search.trail) outcome.explanation.push_back("  " + place);
      outcome.explanation.insert(
          outcome.explanation.end(),
          {"", "Install a Java runtime and set JAVA_HOME or put its bin folder on the PATH,",
           "or name its java.exe in " + Utf8FromWide(context.settingsFile) + ", e.g.",
           "  java=C:\\Program Files\\Java\\jdk-17\\bin\\java.exe"});
      return outcome;
    }
    java = search.java;
  }
  if (context.settings.service && context.settings.decompiler == ProcyonTemplate) {
    return DecompileThroughService(java, classBytes, options, context);
  }
  return RunDecompilerOnce(java, classBytes, options, context);
}
