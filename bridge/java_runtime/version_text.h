// The feature version of a Java runtime (8, 11, 17, ...), which decides the
// engine: read from the runtime's release file where there is one, without
// starting Java, else from what "java -version" prints.
#pragma once

#include <string>

// JAVA_VERSION in a release file ("1.8.0_392", "17.0.15", "21"); 0 when the
// text names none that can be read.
int JavaVersionFromReleaseFile(const std::string& text);

// The version in the first line of "java -version" ('openjdk version
// "17.0.15" 2025-04-15', 'java version "1.8.0_381"'); 0 when none.
int JavaVersionFromVersionOutput(const std::string& output);
