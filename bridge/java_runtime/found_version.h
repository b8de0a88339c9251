// The feature version of the java.exe the bridge found: from the release file
// of its runtime (beside its bin folder) where there is one, so that no Java
// starts for it; else from what "java -version" prints.
#pragma once

#include <windows.h>

#include <string>

// 0 when neither tells (the engine that runs on any Java is chosen then).
int JavaRuntimeVersion(const std::string& java, DWORD limitMs);
