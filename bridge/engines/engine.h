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
// The version of the engine's jar that ships ("1.12.0").
const char* EngineVersion(Engine engine);
// "vineflower" or "cfr", as the decompile service names them.
const char* EngineServiceName(Engine engine);

// The engine's options, one token each: what the one-shot run is given and
// what the service is sent with the class. With lineNumbers, -lnc: the
// original line numbers in a column at the left, as Jad's -lnc writes them.
// With kotlin, Vineflower writes a class compiled from Kotlin as Kotlin (its
// Kotlin plugin); CFR writes Java only.
std::vector<std::string> EngineOptions(Engine engine, bool lineNumbers, bool kotlin = false);

// One run of an engine on a class file, names in UTF-8.
struct EngineRun {
  std::string java;                      // java.exe
  std::vector<std::string> javaOptions;  // the runtime's own (jvm_flags.h)
  std::string home;                      // the bridge's folder, which holds the decompiler folder
  std::string classFile;                 // the class file, its family beside it
  std::string outFolder;                 // an empty folder for the source
  bool lineNumbers = false;
  bool kotlin = false;
};

// The one-shot command line: the service's jar runs the engine in-process
// exactly as the service does (DecompileOnce), on the class file with the
// family of its folder, and writes the source file into outFolder.
std::string EngineCommandLine(Engine engine, const EngineRun& run);

// The engine's jar in the bridge's folder home, for its own command line.
std::string EngineJar(Engine engine, const std::string& home);

// The decompile service's jars: both engines and its own; and as a class path.
std::vector<std::string> ServiceJars(const std::string& home);
std::string ServiceClassPath(const std::string& home);

// The service's command line: java with javaOptions, UTF-8 as the one-shot
// run's default charset (so that the source is byte for byte its), the
// class path, the port file, the idle seconds ("" for the service's own
// default) and the key of the settings it serves ("" for none). Its secret
// goes on its standard input, never here.
std::string ServiceCommandLine(const std::string& java, const std::vector<std::string>& javaOptions,
                               const std::string& home, const std::string& portFile,
                               const std::string& idleSeconds, const std::string& settingsKey);

// A training run's command line (class_data_cache/training_run.h): the engine, with the
// options of a view with line numbers, decompiles some of its own classes
// with the service's class path, so that the runtime's cache of them fits the
// runs that map it.
std::string TrainingCommandLine(Engine engine, const std::string& java,
                                const std::vector<std::string>& javaOptions,
                                const std::string& home);
