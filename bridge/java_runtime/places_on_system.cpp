#include "bridge/java_runtime/places_on_system.h"

#include <windows.h>

#include "bridge/windows/file_access.h"
#include "bridge/windows/wide_text.h"

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

// view: KEY_WOW64_64KEY or KEY_WOW64_32KEY, so that a 32-bit and a 64-bit
// bridge both see the runtimes of either width.
std::wstring RegistryString(const std::wstring& key, const wchar_t* value, REGSAM view) {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_QUERY_VALUE | view, &opened) !=
      ERROR_SUCCESS) {
    return L"";
  }
  wchar_t data[1024];
  DWORD size = sizeof data;
  LSTATUS status = RegGetValueW(opened, nullptr, value, RRF_RT_REG_SZ, nullptr, data, &size);
  RegCloseKey(opened);
  return status == ERROR_SUCCESS ? std::wstring(data) : std::wstring();
}

// JavaHome of the current version under each of the JavaSoft keys that
// Oracle's and other installers write, the 64-bit registry view first.
std::vector<std::string> RegistryHomes() {
  static const wchar_t* const kinds[] = {L"JDK", L"JRE", L"Java Runtime Environment",
                                         L"Java Development Kit"};
  static const REGSAM views[] = {KEY_WOW64_64KEY, KEY_WOW64_32KEY};
  std::vector<std::string> homes;
  for (REGSAM view : views) {
    for (const wchar_t* kind : kinds) {
      std::wstring key = std::wstring(L"SOFTWARE\\JavaSoft\\") + kind;
      std::wstring version = RegistryString(key, L"CurrentVersion", view);
      if (version.empty()) continue;
      std::wstring home = RegistryString(key + L"\\" + version, L"JavaHome", view);
      if (!home.empty()) homes.push_back(Utf8FromWide(home));
    }
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
