#include "bridge/engines/engine.h"

#include "bridge/windows/argument_quoting.h"

namespace {

// The jar names and their folder come from the build, which stages the files
// under them (bridge/CMakeLists.txt).
std::string Jar(const std::string& home, const char* name) {
  return home + "\\" DRAVIK_ENGINE_FOLDER "\\" + name;
}

}  // namespace

Engine EngineForJavaVersion(int javaVersion) {
  return javaVersion >= 17 ? Engine::Vineflower : Engine::Cfr;
}

const char* EngineDisplayName(Engine engine) {
  return engine == Engine::Vineflower ? "Vineflower" : "CFR";
}

const char* EngineVersion(Engine engine) {
  return engine == Engine::Vineflower ? DRAVIK_VINEFLOWER_VERSION : DRAVIK_CFR_VERSION;
}

const char* EngineServiceName(Engine engine) {
  return engine == Engine::Vineflower ? "vineflower" : "cfr";
}

std::vector<std::string> EngineOptions(Engine engine, bool lineNumbers, bool kotlin) {
  std::vector<std::string> options;
  if (engine == Engine::Cfr) {
    // Sealed classes as Java 17 has them (its default waits for class files
    // of Java 18), and text beyond ASCII as it is: the bridge writes UTF-8;
    // a Jad-style name for a parameter the class does not name (the
    // service's, as it gives Vineflower's).
    options = {
        "--silent", "true", "--sealed", "true", "--hideutf", "false", "--jad-names-for-unnamed=1"};
  } else {
    // Java source, Kotlin only when asked; four spaces; each local and
    // parameter under the name the class gives it, and a Jad-style name for
    // one it does not name (the service's plugin); char constants as char
    // literals, switch arms in the order of their lines, class names with
    // their '$' (the service's other plugin). Vineflower sees the Java
    // runtime's classes (the service finds each when asked), so that casts,
    // type arguments and @Override are as it writes them with them.
    options = {"--log-level=warn", kotlin ? "--kt-enable=true" : "--kt-enable=false",
               "--indent-string=    ", "--jad-names-for-unnamed=1", "--as-written=1"};
  }
  // Either engine: the Kotlin compiler's @Metadata and @SourceDebugExtension
  // in a line each (the service's). Jad's own: the original line numbers in
  // a column, which the service's jar writes for either engine.
  options.push_back("--kotlin-lines=1");
  if (lineNumbers) options.push_back("-lnc");
  return options;
}

std::string EngineCommandLine(Engine engine, const EngineRun& run) {
  std::string line = QuotedArgument(run.java, true);
  for (const std::string& option : run.javaOptions) line += " " + QuotedArgument(option);
  // UTF-8 as the service runs with, so that both give the same bytes.
  line += " -Dfile.encoding=UTF-8 -cp " + QuotedArgument(ServiceClassPath(run.home), true) +
          " dravik.service.DecompileOnce " + EngineServiceName(engine) + " " +
          QuotedArgument(run.classFile, true) + " " + QuotedArgument(run.outFolder, true);
  for (const std::string& option : EngineOptions(engine, run.lineNumbers, run.kotlin)) {
    line += " " + QuotedArgument(option);
  }
  return line;
}

std::string EngineJar(Engine engine, const std::string& home) {
  return Jar(home, engine == Engine::Vineflower ? DRAVIK_VINEFLOWER_JAR : DRAVIK_CFR_JAR);
}

std::vector<std::string> ServiceJars(const std::string& home) {
  return {Jar(home, DRAVIK_VINEFLOWER_JAR), Jar(home, DRAVIK_CFR_JAR),
          Jar(home, DRAVIK_SERVICE_JAR_NAME)};
}

std::string ServiceClassPath(const std::string& home) {
  std::string path;
  for (const std::string& jar : ServiceJars(home)) path += (path.empty() ? "" : ";") + jar;
  return path;
}

std::string TrainingCommandLine(Engine engine, const std::string& java,
                                const std::vector<std::string>& javaOptions,
                                const std::string& home) {
  std::string line = QuotedArgument(java, true);
  for (const std::string& option : javaOptions) line += " " + QuotedArgument(option);
  line += " -Dfile.encoding=UTF-8 -cp " + QuotedArgument(ServiceClassPath(home), true) +
          " dravik.service.CacheTraining " + EngineServiceName(engine);
  for (const std::string& option : EngineOptions(engine, true))
    line += " " + QuotedArgument(option);
  return line;
}

std::string ServiceCommandLine(const std::string& java, const std::vector<std::string>& javaOptions,
                               const std::string& home, const std::string& portFile,
                               const std::string& idleSeconds, const std::string& settingsKey) {
  std::string command = QuotedArgument(java, true);
  for (const std::string& option : javaOptions) command += " " + QuotedArgument(option);
  command += " -Dfile.encoding=UTF-8 -cp " + QuotedArgument(ServiceClassPath(home), true) +
             " dravik.service.DecompileService --port-file " + QuotedArgument(portFile, true);
  if (!idleSeconds.empty()) command += " --idle-seconds " + idleSeconds;
  if (!settingsKey.empty()) command += " --settings " + settingsKey;
  return command;
}
