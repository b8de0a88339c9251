// The step the bridge exists for: decompiled source for the bytes of one
// class file. For Procyon's default command the resident decompile service
// answers where it runs; otherwise, and when it does not answer, the
// decompiler is started for this class alone (the one-shot run).
#pragma once

#include <string>
#include <vector>

#include "bridge/bridge_context.h"

struct DecompileOptions {
  bool lineNumbers = false;  // original line numbers as comments
  std::string className;     // the simple binary name, for finding the output
};

struct DecompileOutcome {
  enum class Kind { Source, NoJava, Failed, TimedOut };
  Kind kind = Kind::Failed;
  std::string source;                    // Kind::Source: the decompiler's output as it wrote it
  std::vector<std::string> explanation;  // otherwise: what went wrong and what to do (UTF-8)
};

DecompileOutcome DecompileSource(const std::string& classBytes, const DecompileOptions& options,
                                 const BridgeContext& context);
