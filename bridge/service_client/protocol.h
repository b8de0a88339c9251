// The bridge's side of the decompile service's protocol (bridge/service/README.md):
// its port file's name and content, the request's bytes, and the answer read
// back. Pure, so it is tested natively and fuzzed.
#pragma once

#include <string>
#include <vector>

#include "bridge/shown_class/class_family.h"

// The port file's name in the user's temporary folder for a bridge in home:
// one service for each installed copy, since each runs its own jars.
std::string ServicePortFileName(const std::string& homeUtf8);

struct ServiceAddress {
  bool valid = false;
  unsigned short port = 0;
  std::string secret;  // hex digits
};

// "<port> <secret>\n" as the service writes it; anything else is not valid.
ServiceAddress ParsePortFile(const std::string& text);

// The settings a service serves, as 16 hex digits: the runtime (its java.exe,
// in any case, and its version), its heap and its idle time. A service started
// with other settings refuses a request and ends, so that the start after
// takes up the new ones.
std::string ServiceSettingsKey(const std::string& java, int javaVersion, const std::string& heap,
                               const std::string& idleSeconds);

// The request: magic, version, secret, the settings key, the engine's name and
// options, the class's bytes and its family's files.
std::string EncodeServiceRequest(const std::string& secret, const std::string& settingsKey,
                                 const std::string& engine, const std::vector<std::string>& options,
                                 const std::string& classBytes,
                                 const std::vector<ClassFile>& family);

struct ServiceAnswer {
  enum class Kind { Incomplete, Source, Failed, Refused, Malformed };
  Kind kind = Kind::Incomplete;
  std::string text;  // Source: the source file's bytes; Failed, Refused: why (UTF-8)
};

// The answer in bytes as far as they have come: Incomplete until it is whole;
// Malformed for an unknown status, a size over its limit or bytes beyond it.
ServiceAnswer ParseServiceAnswer(const std::string& bytes);
