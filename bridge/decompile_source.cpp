#include "bridge/decompile_source.h"

#include "bridge/engine.h"
#include "bridge/java_locations.h"
#include "bridge/one_shot_run.h"
#include "bridge/runtime_version.h"
#include "bridge/service_client.h"
#include "bridge/service_protocol.h"
#include "bridge/service_start.h"
#include "bridge/shared_archive.h"
#include "bridge/system_text.h"

namespace {

DecompileOutcome NoJava(const JavaSearch& search, const BridgeContext& context) {
  DecompileOutcome outcome;
  outcome.kind = DecompileOutcome::Kind::NoJava;
  outcome.explanation = {"No Java runtime was found. The decompiler needs one: Java 17 or newer",
                         "for Vineflower, or Java 8 or newer for CFR.", "",
                         "Looked for java.exe, in this order:"};
  for (const std::string& place : search.trail) outcome.explanation.push_back("  " + place);
  outcome.explanation.insert(
      outcome.explanation.end(),
      {"", "Install a Java runtime and set JAVA_HOME or put its bin folder on the PATH,",
       "or name its java.exe in " + Utf8FromWide(context.settingsFile) + ", e.g.",
       "  java=C:\\Program Files\\Java\\jdk-17\\bin\\java.exe"});
  return outcome;
}

// The user's own command from decompiler=.
OneShotCommand TemplateCommand(const std::string& java, const DecompileOptions& options,
                               const BridgeContext& context) {
  OneShotCommand command;
  command.who = "The decompiler";
  command.sourceInOut = UsesPlaceholder(context.settings.decompiler, "out");
  command.fix = "Check decompiler= in " + Utf8FromWide(context.settingsFile) + ".";
  const std::string pattern = context.settings.decompiler;
  const std::string lines = options.lineNumbers ? context.settings.lines : "";
  command.compose = [pattern, java, lines](const OneShotNames& names) {
    return ExpandTemplate(pattern, {{"java", java},
                                    {"home", names.home},
                                    {"class", names.classFile},
                                    {"out", names.outFolder},
                                    {"lines", lines}});
  };
  return command;
}

// An engine that ships with the bridge, on the runtime found.
OneShotCommand EngineCommand(Engine engine, int javaVersion, const std::string& java,
                             const std::vector<std::string>& javaOptions,
                             const DecompileOptions& options, const BridgeContext& context) {
  OneShotCommand command;
  command.who = std::string(EngineDisplayName(engine)) + " on " +
                (javaVersion > 0 ? "Java " + std::to_string(javaVersion)
                                 : "a Java runtime of unknown version");
  command.fix =
      "Check the Java runtime " + java + " (java= in " + Utf8FromWide(context.settingsFile) + ").";
  const bool lineNumbers = options.lineNumbers;
  command.compose = [engine, java, javaOptions, lineNumbers](const OneShotNames& names) {
    EngineRun run;
    run.java = java;
    run.javaOptions = javaOptions;
    run.home = names.home;
    run.classFile = names.classFile;
    run.outFolder = names.outFolder;
    run.lineNumbers = lineNumbers;
    return EngineCommandLine(engine, run);
  };
  return command;
}

// An engine on the runtime found, with the one-shot run's command and the
// class-data archive that run maps or makes.
struct EngineChoice {
  Engine engine;
  int javaVersion;
  std::string java;
  std::string archiveUse;
  SharedArchive archive;
  OneShotCommand oneShot;
};

// The one-shot run; the archive it made kept, or one it failed with dropped.
DecompileOutcome RunEngineOnce(const EngineChoice& run, const std::string& classBytes,
                               const DecompileOptions& options, const BridgeContext& context) {
  DecompileOutcome outcome = RunDecompilerOnce(run.oneShot, classBytes, options, context);
  KeepSharedArchive(run.archiveUse, run.archive, outcome.kind == DecompileOutcome::Kind::Source);
  return outcome;
}

// The resident service's answer, or, when no service answers, a new service
// started and the one-shot run for this class within what is left of the
// time limit.
DecompileOutcome DecompileThroughService(const EngineChoice& run, const std::string& classBytes,
                                         const DecompileOptions& options,
                                         const BridgeContext& context) {
  const DWORD limitMs = context.settings.timeoutSeconds * 1000;
  const ULONGLONG start = GetTickCount64();
  const std::wstring portFile = ServicePortFile(context);
  ServiceReply reply = AskService(portFile, EngineServiceName(run.engine),
                                  EngineOptions(run.engine, options.lineNumbers), classBytes,
                                  options.family, limitMs);
  DecompileOutcome outcome;
  switch (reply.kind) {
    case ServiceReply::Kind::Source:
      outcome.kind = DecompileOutcome::Kind::Source;
      outcome.source = std::move(reply.text);
      return outcome;
    case ServiceReply::Kind::Failed:
      outcome.kind = DecompileOutcome::Kind::Failed;
      outcome.explanation = {run.oneShot.who + " failed (in the decompile service):",
                             "  " + Utf8FromUtf8OrAnsi(reply.text)};
      return outcome;
    case ServiceReply::Kind::TimedOut:
      outcome.kind = DecompileOutcome::Kind::TimedOut;
      outcome.explanation = {"The decompile service (" + run.oneShot.who +
                                 ") had not answered after " +
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
  DecompileOutcome oneShotOutcome = RunEngineOnce(run, classBytes, options, rest);
  // Started once this class is done: two Java runtimes starting side by side
  // made the one-shot run seconds slower on two cores, and the user reads the
  // source for longer than the service takes to start. It gets this class to
  // decompile first, for when the user opens it again, if it gave source.
  const bool gaveSource = oneShotOutcome.kind == DecompileOutcome::Kind::Source;
  StartDecompileService(
      run.java, run.javaVersion, context, portFile, [&](const std::string& secret) -> std::string {
        if (!gaveSource) return "";
        return EncodeServiceRequest(secret, EngineServiceName(run.engine),
                                    EngineOptions(run.engine, options.lineNumbers), classBytes,
                                    options.family);
      });
  return oneShotOutcome;
}

}  // namespace

DecompileOutcome DecompileSource(const std::string& classBytes, const DecompileOptions& options,
                                 const BridgeContext& context) {
  const bool ownCommand = !context.settings.decompiler.empty();
  // A command that is no Java program (an original Jad) needs no runtime.
  std::string java;
  if (!ownCommand || UsesPlaceholder(context.settings.decompiler, "java")) {
    JavaSearch search = SearchJava(context);
    if (search.java.empty()) return NoJava(search, context);
    java = search.java;
  }
  if (ownCommand) {
    return RunDecompilerOnce(TemplateCommand(java, options, context), classBytes, options, context);
  }
  EngineChoice run;
  run.java = java;
  run.javaVersion = JavaRuntimeVersion(java, context.settings.timeoutSeconds * 1000);
  run.engine = EngineForJavaVersion(run.javaVersion);
  run.archiveUse = std::string("oneshot-") + EngineServiceName(run.engine);
  run.archive = FindSharedArchive(run.archiveUse, java, ServiceJars(Utf8FromWide(context.home)));
  run.oneShot = EngineCommand(run.engine, run.javaVersion, java,
                              OneShotJavaOptions(run.javaVersion, run.archive), options, context);
  return context.settings.service ? DecompileThroughService(run, classBytes, options, context)
                                  : RunEngineOnce(run, classBytes, options, context);
}
