#include "bridge/decompile_source.h"

#include "bridge/class_data_cache/cache_store.h"
#include "bridge/class_data_cache/training_run.h"
#include "bridge/engines/engine.h"
#include "bridge/engines/jvm_flags.h"
#include "bridge/java_runtime/found_version.h"
#include "bridge/java_runtime/places_on_system.h"
#include "bridge/one_shot_run.h"
#include "bridge/service_client/protocol.h"
#include "bridge/service_client/request.h"
#include "bridge/service_client/start_service.h"
#include "bridge/windows/wide_text.h"

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

// Kotlin asked for where only Java can come: from a command of the settings'
// own, or from CFR, on a runtime older than Vineflower needs.
DecompileOutcome NoKotlin(const std::string& who, const BridgeContext& context) {
  DecompileOutcome outcome;
  outcome.kind = DecompileOutcome::Kind::Failed;
  outcome.explanation = {
      "Kotlin comes from Vineflower's Kotlin plugin, on Java 17 or newer; " + who + ".", "",
      "The Java source shows the class as Java. For Kotlin, name a Java runtime",
      "of version 17 or newer (java= in " + Utf8FromWide(context.settingsFile) +
          ") and no decompiler= line."};
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

// An engine that ships with the bridge, on the runtime found, with the
// class-data cache it maps (found only when a run is to start).
struct EngineChoice {
  Engine engine;
  int javaVersion;
  std::string java;
  SharedArchive archive;
};

// How the comments name it: "Vineflower on Java 17".
std::string EngineWho(const EngineChoice& run) {
  return std::string(EngineDisplayName(run.engine)) + " on " +
         (run.javaVersion > 0 ? "Java " + std::to_string(run.javaVersion)
                              : "a Java runtime of unknown version");
}

OneShotCommand EngineCommand(const EngineChoice& run, const DecompileOptions& options,
                             const BridgeContext& context) {
  OneShotCommand command;
  command.who = EngineWho(run);
  command.fix = "Check the Java runtime " + run.java + " (java= in " +
                Utf8FromWide(context.settingsFile) + ").";
  const bool lineNumbers = options.lineNumbers;
  const bool kotlin = options.kotlin;
  const std::string archive = Utf8FromWide(run.archive.file);
  command.compose = [run, archive, lineNumbers, kotlin](const OneShotNames& names) {
    EngineRun engineRun;
    engineRun.java = run.java;
    engineRun.javaOptions = OneShotJavaOptions(run.javaVersion, archive, names.crashReport);
    engineRun.home = names.home;
    engineRun.classFile = names.classFile;
    engineRun.outFolder = names.outFolder;
    engineRun.lineNumbers = lineNumbers;
    engineRun.kotlin = kotlin;
    return EngineCommandLine(run.engine, engineRun);
  };
  return command;
}

// The one-shot run. A Java runtime that crashed with the cache mapped runs
// once more without it (dropped), so that this view shows the source.
DecompileOutcome RunEngineOnce(EngineChoice* run, const std::string& classBytes,
                               const DecompileOptions& options, const BridgeContext& context) {
  if (context.settings.cache) {
    run->archive = FindSharedArchive(run->java, ServiceJars(Utf8FromWide(context.home)));
  }
  DecompileOutcome outcome =
      RunDecompilerOnce(EngineCommand(*run, options, context), classBytes, options, context);
  if (outcome.crashed && !run->archive.file.empty()) {
    DropSharedArchive(&run->archive);
    outcome =
        RunDecompilerOnce(EngineCommand(*run, options, context), classBytes, options, context);
  }
  return outcome;
}

// After a view that found no cache: one is made off the user's way.
void TrainArchiveAfter(const DecompileOutcome& outcome, const EngineChoice& run,
                       const BridgeContext& context) {
  if (outcome.kind == DecompileOutcome::Kind::Source) {
    StartArchiveTraining(run.archive, run.engine, run.java, run.javaVersion, context);
  }
}

// The resident service's answer, or, when no service answers, a new service
// started and the one-shot run for this class within what is left of the
// time limit.
DecompileOutcome DecompileThroughService(EngineChoice* run, const std::string& classBytes,
                                         const DecompileOptions& options,
                                         const BridgeContext& context) {
  const DWORD limitMs = context.settings.timeoutSeconds * 1000;
  const ULONGLONG start = GetTickCount64();
  const std::wstring portFile = ServicePortFile(context);
  const std::string settingsKey = ServiceSettingsKeyFor(run->java, run->javaVersion, context);
  ServiceReply reply = AskService(portFile, settingsKey, EngineServiceName(run->engine),
                                  EngineOptions(run->engine, options.lineNumbers, options.kotlin),
                                  classBytes, options.family, limitMs, context.stopRequest);
  DecompileOutcome outcome;
  switch (reply.kind) {
    case ServiceReply::Kind::Source:
      outcome.kind = DecompileOutcome::Kind::Source;
      outcome.source = std::move(reply.text);
      return outcome;
    case ServiceReply::Kind::Failed:
      outcome.kind = DecompileOutcome::Kind::Failed;
      outcome.explanation = {EngineWho(*run) + " failed (in the decompile service):",
                             "  " + Utf8FromUtf8OrAnsi(reply.text)};
      return outcome;
    case ServiceReply::Kind::TimedOut:
      outcome.kind = DecompileOutcome::Kind::TimedOut;
      outcome.explanation = {"The decompile service (" + EngineWho(*run) +
                                 ") had not answered after " +
                                 std::to_string(context.settings.timeoutSeconds) + " seconds.",
                             "",
                             "A very large class may need more time: raise timeout= in " +
                                 Utf8FromWide(context.settingsFile) + "."};
      return outcome;
    case ServiceReply::Kind::Stopped:
      outcome.kind = DecompileOutcome::Kind::Stopped;
      outcome.explanation = {"The plugin stopped the run."};
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
  if (oneShotOutcome.kind == DecompileOutcome::Kind::Stopped) return oneShotOutcome;
  // Started once this class is done: two Java runtimes starting side by side
  // made the one-shot run seconds slower on two cores, and the user reads the
  // source for longer than the service takes to start. It gets this class to
  // decompile first, for when the user opens it again, if it gave source.
  const bool gaveSource = oneShotOutcome.kind == DecompileOutcome::Kind::Source;
  StartDecompileService(run->java, run->javaVersion, context, portFile, &run->archive,
                        [&](const std::string& secret) -> std::string {
                          if (!gaveSource) return "";
                          return EncodeServiceRequest(
                              secret, settingsKey, EngineServiceName(run->engine),
                              EngineOptions(run->engine, options.lineNumbers, options.kotlin),
                              classBytes, options.family);
                        });
  TrainArchiveAfter(oneShotOutcome, *run, context);
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
    if (options.kotlin) {
      return NoKotlin("decompiler= in " + Utf8FromWide(context.settingsFile) +
                          " names a decompiler of its own, which writes Java",
                      context);
    }
    return RunDecompilerOnce(TemplateCommand(java, options, context), classBytes, options, context);
  }
  EngineChoice run;
  run.java = java;
  run.javaVersion = JavaRuntimeVersion(java, context.settings.timeoutSeconds * 1000);
  run.engine = EngineForJavaVersion(run.javaVersion);
  if (options.kotlin && run.engine != Engine::Vineflower) {
    return NoKotlin("the Java runtime found, " + java + ", is " +
                        (run.javaVersion > 0 ? "Java " + std::to_string(run.javaVersion)
                                             : "of a version that could not be read") +
                        ", for which the bridge runs CFR, which writes Java only",
                    context);
  }
  if (context.settings.service) return DecompileThroughService(&run, classBytes, options, context);
  DecompileOutcome outcome = RunEngineOnce(&run, classBytes, options, context);
  TrainArchiveAfter(outcome, run, context);
  return outcome;
}
