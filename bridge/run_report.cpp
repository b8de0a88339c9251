#include "bridge/run_report.h"

#include "bridge/engines/engine.h"
#include "bridge/java_runtime/found_version.h"
#include "bridge/java_runtime/places_on_system.h"
#include "bridge/service_client/start_service.h"
#include "bridge/windows/file_access.h"
#include "bridge/windows/wide_text.h"

namespace {

void AddSettings(const BridgeContext& context, std::vector<std::string>* lines) {
  lines->push_back("Settings: " + Utf8FromWide(context.settingsFile) +
                   (IsFile(context.settingsFile) ? "" : " (not there: the defaults below)"));
  for (size_t i = 0; i < BridgeSettingKeyCount; ++i) {
    const BridgeSettingKey& key = BridgeSettingKeys[i];
    lines->push_back("  " + std::string(key.name) + "=" + key.write(context.settings));
  }
}

// The service's files for this folder's bridge, and a crash report its last
// start left.
void AddService(const BridgeContext& context, std::vector<std::string>* lines) {
  const std::wstring portFile = ServicePortFile(context);
  if (portFile.empty()) {
    lines->push_back("The decompile service cannot run: there is no temporary folder.");
    return;
  }
  lines->push_back("The decompile service's port file: " + Utf8FromWide(portFile) +
                   (IsFile(portFile) ? " (a service is running or ended abruptly)"
                                     : " (no service is running)"));
  const std::wstring crash = portFile + L".crash";
  if (IsFile(crash)) {
    lines->push_back("The last service start crashed; its report: " + Utf8FromWide(crash));
  }
}

}  // namespace

std::vector<std::string> RunReport(const BridgeContext& context) {
  std::vector<std::string> lines = {"jad.exe: the bridge of dravik, in " +
                                    Utf8FromWide(context.home)};
  AddSettings(context, &lines);
  const bool ownCommand = !context.settings.decompiler.empty();
  if (ownCommand && !UsesPlaceholder(context.settings.decompiler, "java")) {
    lines.push_back("Decompiler: the command of decompiler=, which needs no Java.");
    return lines;
  }
  const JavaSearch search = SearchJava(context);
  if (search.java.empty()) {
    lines.push_back("Java: none found. Looked for java.exe, in this order:");
    for (const std::string& place : search.trail) lines.push_back("  " + place);
    return lines;
  }
  const int version = JavaRuntimeVersion(search.java, context.settings.timeoutSeconds * 1000);
  // The trail's last line: where it was found, then the name.
  const std::string& found = search.trail.back();
  lines.push_back((version > 0 ? "Java " + std::to_string(version) : "Java of unknown version") +
                  ": " + search.java + " (" + found.substr(0, found.find(": ")) + ")");
  if (ownCommand) {
    lines.push_back("Decompiler: the command of decompiler=, on that Java.");
    return lines;
  }
  const Engine engine = EngineForJavaVersion(version);
  lines.push_back("Decompiler: " + std::string(EngineDisplayName(engine)) + " " +
                  EngineVersion(engine) +
                  (context.settings.service ? ", in the decompile service (service=on)"
                                            : ", started for each class (service=off)"));
  if (context.settings.service) AddService(context, &lines);
  return lines;
}
