// The bridge's settings file, jad.ini beside it: which java.exe to run, which
// decompiler (the engines it ships, or a command template of the user's), how
// long it may run, and the resident decompile service that answers in place of
// a new Java runtime.
#pragma once

#include <string>
#include <utility>
#include <vector>

struct BridgeSettings {
  std::string java;                  // java=: a java.exe to run; "" to search
  std::string decompiler;            // decompiler=: a command template; "" for the engines
  std::string lines;                 // lines=: what {lines} stands for with -lnc
  unsigned timeoutSeconds = 45;      // timeout=: 1 to 86,400
  bool service = true;               // service=on|off: the resident service for the engines
  double serviceIdleMinutes = 10;    // service_idle_minutes=: 0.01 to 1,440, fractions too
  std::string serviceHeap = "256m";  // service_heap=: Java's -Xmx, digits then k, m or g
  bool cache = true;                 // cache=on|off: the runtime's class-data cache
};

// One key of the file: how a value of it is read into the settings (false for
// a value it does not take, which leaves the setting as it was) and how the
// settings write it back, as a line of the file would give it.
struct BridgeSettingKey {
  const char* name;  // "timeout"
  bool (*read)(const std::string& value, BridgeSettings* settings);
  std::string (*write)(const BridgeSettings& settings);
};

// Every key the file knows, in the order the shipped jad.ini describes them.
extern const BridgeSettingKey BridgeSettingKeys[];
extern const size_t BridgeSettingKeyCount;

// Settings from the file's text (UTF-8): "key=value" lines, blanks around both
// trimmed; lines starting with ';' or '#' and "[section]" lines are skipped; a
// later line wins; an unknown key or a value the key does not take (a timeout
// that is no whole number in range) is passed over, so the default stays. An
// empty decompiler= keeps the engines. service= and cache= take on/off (also
// yes/no, true/false, 1/0).
BridgeSettings ParseBridgeSettings(const std::string& text);

// The template with every "{name}" of values replaced by its value; a brace
// that names nothing known stays as it is.
std::string ExpandTemplate(const std::string& pattern,
                           const std::vector<std::pair<std::string, std::string>>& values);

// Whether the template uses "{name}".
bool UsesPlaceholder(const std::string& pattern, const std::string& name);
