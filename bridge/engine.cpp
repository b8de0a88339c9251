#include "bridge/engine.h"

#include "bridge/windows_arguments.h"

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

const char* EngineServiceName(Engine engine) {
  return engine == Engine::Vineflower ? "vineflower" : "cfr";
}

std::vector<std::string> EngineOptions(Engine engine, bool lineNumbers) {
  // CFR: sealed classes as Java 17 has them (its default waits for class
  // files of Java 18), and text beyond ASCII as it is: the bridge escapes
  // only what the ANSI code page lacks.
  if (engine == Engine::Cfr) return {"--silent", "true", "--sealed", "true", "--hideutf", "false"};
  // Java source, never Kotlin; four spaces; Jad's names for locals where the
  // class file has none (not for parameters: a record's compact constructor
  // would then read names it no longer has). Not the Java runtime's classes:
  // listing them was half of a small class's start, and with them Vineflower
  // drops casts that javac needs (an overload chosen by a cast, a generic
  // field); without, it keeps them and leaves @Override and <> out.
  std::vector<std::string> options = {"--log-level=warn", "--kt-enable=false",
                                      "--indent-string=    ", "--variable-renaming=jad",
                                      "--include-runtime=0"};
  if (lineNumbers) {
    options.push_back("--bytecode-source-mapping=true");
    options.push_back("--__dump_original_lines__=true");
  }
  return options;
}

std::string EngineCommandLine(Engine engine, const EngineRun& run) {
  std::string line = QuotedArgument(run.java, true);
  for (const std::string& option : run.javaOptions) line += " " + QuotedArgument(option);
  // UTF-8 as the service runs with, so that both give the same bytes.
  line += " -Dfile.encoding=UTF-8 -jar ";
  std::vector<std::string> options = EngineOptions(engine, run.lineNumbers);
  if (engine == Engine::Vineflower) {
    // The folder as the source and the class as the only one written: its
    // members come out in place, and a member file alone as itself.
    line += QuotedArgument(EngineJar(engine, run.home), true);
    for (const std::string& option : options) line += " " + QuotedArgument(option);
    line += " " + QuotedArgument("--only=" + run.internalName);
    if (!run.contextFolder.empty()) line += " " + QuotedArgument("-e=" + run.contextFolder);
    line += " " + QuotedArgument(run.classFolder, true) + " " + QuotedArgument(run.outFolder, true);
  } else {
    // CFR finds the members in the class file's folder itself.
    line += QuotedArgument(EngineJar(engine, run.home), true) + " " +
            QuotedArgument(run.classFile, true) + " --outputdir " +
            QuotedArgument(run.outFolder, true);
    for (const std::string& option : options) line += " " + QuotedArgument(option);
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

std::string ServiceCommandLine(const std::string& java, const std::vector<std::string>& javaOptions,
                               const std::string& home, const std::string& portFile,
                               const std::string& idleSeconds) {
  std::string command = QuotedArgument(java, true);
  for (const std::string& option : javaOptions) command += " " + QuotedArgument(option);
  command += " -Dfile.encoding=UTF-8 -cp " + QuotedArgument(ServiceClassPath(home), true) +
             " dravik.service.DecompileService --port-file " + QuotedArgument(portFile, true);
  if (!idleSeconds.empty()) command += " --idle-seconds " + idleSeconds;
  return command;
}
