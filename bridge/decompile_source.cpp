#include "bridge/decompile_source.h"

#include "bridge/java_locations.h"
#include "bridge/one_shot_run.h"
#include "bridge/system_text.h"

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
  return RunDecompilerOnce(java, classBytes, options, context);
}
