// The decompilers that ship with the bridge, in its decompiler folder: which
// one runs on a Java runtime, its options, its one-shot command line and the
// service's class path.
#pragma once

#include <string>
#include <vector>

enum class Engine { Vineflower, Cfr };

// Vineflower needs Java 17 or newer; CFR runs on any Java from 6 on, so it
// also takes a runtime whose version could not be read (0).
Engine EngineForJavaVersion(int javaVersion);

// "Vineflower" or "CFR", for the user.
const char* EngineDisplayName(Engine engine);
// "vineflower" or "cfr", as the decompile service names them.
const char* EngineServiceName(Engine engine);

// The engine's own options, one token each: what its command line is given
// and what the service is sent with the class. With lineNumbers, Vineflower
// ends each line with a "// 13" comment; CFR has no such option.
std::vector<std::string> EngineOptions(Engine engine, bool lineNumbers);

// One run of an engine on a class file, names in UTF-8.
struct EngineRun {
  std::string java;                      // java.exe
  std::vector<std::string> javaOptions;  // the runtime's own (java_options.h)
  std::string home;                      // the bridge's folder, which holds the decompiler folder
  std::string classFolder;               // the class file and the classes nested in it
  std::string contextFolder;             // the rest of its family, "" when there is none
  std::string classFile;                 // the class file, in classFolder
  std::string internalName;              // the class's internal name, "demo/Outer$Inner"
  std::string outFolder;                 // an empty folder for the source
  bool lineNumbers = false;
};

// The one-shot command line: the engine decompiles the class with its family
// and writes its source file into outFolder. Vineflower writes the classes of
// its source folder that are nested in the class in place, and reads the rest
// of the family as a library: given them as sources, it would leave a
// member's own members out. CFR finds the family in the class file's folder,
// so there it is all in classFolder.
std::string EngineCommandLine(Engine engine, const EngineRun& run);

// The engine's jar in the bridge's folder home.
std::string EngineJar(Engine engine, const std::string& home);

// The decompile service's jars: both engines and its own; and as a class path.
std::vector<std::string> ServiceJars(const std::string& home);
std::string ServiceClassPath(const std::string& home);

// The service's command line: java with javaOptions, UTF-8 as the one-shot
// run's default charset (so that the source is byte for byte its), the
// class path, the port file and the idle seconds ("" for the service's own
// default). Its secret goes on its standard input, never here.
std::string ServiceCommandLine(const std::string& java, const std::vector<std::string>& javaOptions,
                               const std::string& home, const std::string& portFile,
                               const std::string& idleSeconds);
