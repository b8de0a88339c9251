// The step the bridge exists for: decompiled source for the bytes of one
// class file and its family. The engine is chosen by the Java runtime found
// (Vineflower on 17 and newer, else CFR), unless the settings name a command
// of their own; the resident decompile service answers for the engines where
// it runs; otherwise, and when it does not answer, the decompiler is started
// for this class alone (the one-shot run).
#pragma once

#include <string>
#include <vector>

#include "bridge/settings/run_context.h"
#include "bridge/shown_class/class_family.h"

struct DecompileOptions {
  bool lineNumbers = false;       // original line numbers as comments
  // Kotlin rather than Java, for a class compiled from Kotlin: Vineflower's
  // Kotlin plugin writes it; CFR and a command of the settings' own cannot.
  bool kotlin = false;
  std::string className;          // the simple binary name, for finding the output
  std::string internalName;       // "demo/Outer$Inner", for the engine
  std::vector<ClassFile> family;  // the other class files of its family
};

struct DecompileOutcome {
  // Stopped: the plugin asked the bridge to stop (the user closed the view).
  enum class Kind { Source, NoJava, Failed, TimedOut, Stopped };
  Kind kind = Kind::Failed;
  std::string source;                    // Kind::Source: the decompiler's output as it wrote it
  std::vector<std::string> explanation;  // otherwise: what went wrong and what to do (UTF-8)
  bool crashed = false;  // the decompiler's Java runtime crashed (it wrote a crash report)
};

DecompileOutcome DecompileSource(const std::string& classBytes, const DecompileOptions& options,
                                 const BridgeContext& context);
