// One request to the resident decompile service: the port file read, a
// loopback connection made, the class sent and the answer read, all within the
// bridge's time limit, and given up at once when the plugin asks the bridge to
// stop: the connection closes, and the service stops its work on the class.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "bridge/shown_class/class_family.h"

struct ServiceReply {
  // NoAnswer: no port file, nobody listening, a connection dropped or an
  // answer that makes no sense; the one-shot run stands in. Stopped: the stop
  // request was set.
  enum class Kind { Source, Failed, NoAnswer, TimedOut, Stopped };
  Kind kind = Kind::NoAnswer;
  std::string text;  // Source: the source file's bytes; Failed: why (UTF-8)
};

// settingsKey: ServiceSettingsKey's for the settings this bridge would start a
// service with; engine and options as the service names them
// (EngineServiceName, EngineOptions); stop: the plugin's stop request, or null.
ServiceReply AskService(const std::wstring& portFile, const std::string& settingsKey,
                        const std::string& engine, const std::vector<std::string>& options,
                        const std::string& classBytes, const std::vector<ClassFile>& family,
                        DWORD limitMs, HANDLE stop);
