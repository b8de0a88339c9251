#include "bridge/java_runtime/search_order.h"

namespace {

std::string Joined(std::string folder, const char* name) {
  if (!folder.empty() && folder.back() != '\\' && folder.back() != '/') folder += '\\';
  return folder + name;
}

// The PATH's folders: split at ';', blanks and enclosing quotes removed.
std::vector<std::string> PathFolders(const std::string& path) {
  std::vector<std::string> folders;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find(';', start);
    if (end == std::string::npos) end = path.size();
    std::string folder = path.substr(start, end - start);
    size_t first = folder.find_first_not_of(" \t\"");
    size_t last = folder.find_last_not_of(" \t\"");
    if (first != std::string::npos) folders.push_back(folder.substr(first, last - first + 1));
    start = end + 1;
  }
  return folders;
}

}  // namespace

JavaSearch FindJava(const JavaPlaces& places,
                    const std::function<bool(const std::string&)>& isFile) {
  JavaSearch search;
  auto tryCandidate = [&](const std::string& candidate, const std::string& place) {
    if (isFile(candidate)) {
      search.java = candidate;
      search.trail.push_back(place + ": " + candidate);
      return true;
    }
    search.trail.push_back(place + ": " + candidate + " does not exist");
    return false;
  };

  const std::string settingsPlace = "java= in " + places.settingsFile;
  if (places.settingsJava.empty()) {
    search.trail.push_back(settingsPlace + ": not set");
  } else if (tryCandidate(places.settingsJava, settingsPlace)) {
    return search;
  }

  if (places.javaHome.empty()) {
    search.trail.push_back("JAVA_HOME: not set");
  } else if (tryCandidate(Joined(Joined(places.javaHome, "bin"), "java.exe"), "JAVA_HOME")) {
    return search;
  }

  std::vector<std::string> folders = PathFolders(places.path);
  for (const std::string& folder : folders) {
    std::string candidate = Joined(folder, "java.exe");
    if (isFile(candidate)) {
      search.java = candidate;
      search.trail.push_back("PATH: " + candidate);
      return search;
    }
  }
  search.trail.push_back("PATH: no java.exe in its " + std::to_string(folders.size()) + " folders");

  const std::string registryPlace = "registry (SOFTWARE\\JavaSoft)";
  if (places.registryHomes.empty()) {
    search.trail.push_back(registryPlace + ": no Java runtime registered");
  }
  for (const std::string& home : places.registryHomes) {
    if (tryCandidate(Joined(Joined(home, "bin"), "java.exe"), registryPlace)) return search;
  }
  return search;
}
