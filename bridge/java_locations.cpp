#include "bridge/java_locations.h"

#include <windows.h>

#include "bridge/file_access.h"
#include "bridge/system_text.h"

namespace {

std::wstring Environment(const wchar_t* name) {
  DWORD n = GetEnvironmentVariableW(name, nullptr, 0);
  if (n == 0) return L"";
  std::wstring value(n, L'\0');
  n = GetEnvironmentVariableW(name, &value[0], n);
  value.resize(n < value.size() ? n : 0);
  return value;
}

std::wstring Expanded(const std::wstring& text) {
  DWORD n = ExpandEnvironmentStringsW(text.c_str(), nullptr, 0);
  if (n == 0) return text;
  std::wstring expanded(n, L'\0');
  n = ExpandEnvironmentStringsW(text.c_str(), &expanded[0], n);
  if (n == 0 || n > expanded.size()) return text;
  expanded.resize(n - 1);
  return expanded;
}

std::wstring WithoutQuotes(const std::wstring& text) {
  size_t first = text.find_first_not_of(L" \t\"");
  if (first == std::wstring::npos) return L"";
  size_t last = text.find_last_not_of(L" \t\"");
  return text.substr(first, last - first + 1);
}

// java= as a full name: environment references expanded, a relative name
// taken from the bridge's folder (a runtime shipped beside it).
std::wstring SettingsJava(const BridgeContext& context) {
  std::wstring java = WithoutQuotes(Expanded(WideFromUtf8(context.settings.java)));
  bool absolute = (java.size() >= 2 && java[1] == L':') || (java.size() >= 1 && java[0] == L'\\');
  return java.empty() || absolute ? java : context.home + L"\\" + java;
}

std::wstring RegistryString(const std::wstring& key, const wchar_t* value) {
  wchar_t data[1024];
  DWORD size = sizeof data;
  if (RegGetValueW(HKEY_LOCAL_MACHINE, key.c_str(), value, RRF_RT_REG_SZ, nullptr, data, &size) !=
      ERROR_SUCCESS) {
    return L"";
  }
  return data;
}

// JavaHome of the current version under each of the JavaSoft keys that
// Oracle's and other installers write.
std::vector<std::string> RegistryHomes() {
  static const wchar_t* const kinds[] = {L"JDK", L"JRE", L"Java Runtime Environment",
                                         L"Java Development Kit"};
  std::vector<std::string> homes;
  for (const wchar_t* kind : kinds) {
    std::wstring key = std::wstring(L"SOFTWARE\\JavaSoft\\") + kind;
    std::wstring version = RegistryString(key, L"CurrentVersion");
    if (version.empty()) continue;
    std::wstring home = RegistryString(key + L"\\" + version, L"JavaHome");
    if (!home.empty()) homes.push_back(Utf8FromWide(home));
  }
  return homes;
}

}  // namespace

JavaSearch SearchJava(const BridgeContext& context) {
  JavaPlaces places;
  places.settingsFile = Utf8FromWide(context.settingsFile);
  places.settingsJava = Utf8FromWide(SettingsJava(context));
  places.javaHome = Utf8FromWide(WithoutQuotes(Environment(L"JAVA_HOME")));
  places.path = Utf8FromWide(Environment(L"PATH"));
  places.registryHomes = RegistryHomes();
  return FindJava(places, [](const std::string& name) { return IsFile(WideFromUtf8(name)); });
}
