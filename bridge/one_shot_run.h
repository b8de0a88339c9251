// The one-shot run: a decompiler started for one class in a temporary folder
// of its own (the class with its family in "classes", an empty "out"), its
// output read back.
#pragma once

#include <functional>
#include <string>

#include "bridge/decompile_source.h"
#include "bridge/settings/run_context.h"

// The temporary folder's names as the command line gives them (UTF-8; a name
// beyond ASCII in its short form where it has one).
struct OneShotNames {
  std::string home;         // the bridge's folder
  std::string classFile;    // its family beside it
  std::string outFolder;    // empty until the decompiler writes into it
  std::string crashReport;  // where a Java runtime writes its crash report
};

struct OneShotCommand {
  std::string who;  // how the comments name it: "The decompiler", "Vineflower on Java 17"
  std::function<std::string(const OneShotNames&)> compose;  // the command line
  bool sourceInOut = true;  // the source is a file under outFolder, else the standard output
  std::string fix;          // what to check when it cannot be started
};

DecompileOutcome RunDecompilerOnce(const OneShotCommand& command, const std::string& classBytes,
                                   const DecompileOptions& options, const BridgeContext& context);
