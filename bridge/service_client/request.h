// One request to the resident decompile service: the port file read, a
// loopback connection made, the class sent and the answer read, all within the
// bridge's time limit.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "bridge/shown_class/class_family.h"

struct ServiceReply {
  // NoAnswer: no port file, nobody listening, a connection dropped or an
  // answer that makes no sense; the one-shot run stands in.
  enum class Kind { Source, Failed, NoAnswer, TimedOut };
  Kind kind = Kind::NoAnswer;
  std::string text;  // Source: the source file's bytes; Failed: why (UTF-8)
};

// engine and options as the service names them (EngineServiceName, EngineOptions).
ServiceReply AskService(const std::wstring& portFile, const std::string& engine,
                        const std::vector<std::string>& options, const std::string& classBytes,
                        const std::vector<ClassFile>& family, DWORD limitMs);
