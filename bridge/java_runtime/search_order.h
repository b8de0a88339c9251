// Where the bridge looks for java.exe, in this order: java= in its settings
// file, JAVA_HOME\bin\java.exe, java.exe in the folders of the PATH, and the
// runtimes that the registry names under SOFTWARE\JavaSoft. The places come
// from the system; this part only decides, so the order is tested natively.
#pragma once

#include <functional>
#include <string>
#include <vector>

struct JavaPlaces {
  std::string settingsFile;                // the settings file's full name, for the trail
  std::string settingsJava;                // java= as a full name, "" when not set
  std::string javaHome;                    // JAVA_HOME, "" when not set
  std::string path;                        // PATH, folders separated by ';'
  std::vector<std::string> registryHomes;  // JavaHome of each registered runtime, in order
};

struct JavaSearch {
  std::string java;                // the java.exe found, "" when none
  std::vector<std::string> trail;  // one line for each place looked at, in order
};

// The first java.exe that isFile accepts; names are UTF-8.
JavaSearch FindJava(const JavaPlaces& places,
                    const std::function<bool(const std::string&)>& isFile);
