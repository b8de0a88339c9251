// The step the bridge exists for: decompiled source for the bytes of one
// class file. Today the decompiler is started for each class (the one-shot
// run); a resident decompiler can stand in front of it here.
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
