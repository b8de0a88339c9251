// The host's evaluation of a plugin's detection string: does the plugin get
// offered this file?
#pragma once

#include <windows.h>

#include <string>

// What the detection string may ask about a file.
struct DetectSubject {
  std::string extension;  // after the last dot of the name, without it; "" for none
  long long size = 0;
  std::string head;    // the file's first bytes
  bool force = false;  // the user chose this plugin explicitly
};

struct DetectResult {
  bool valid = false;    // false: a syntax error, described by error at position
  bool offered = false;  // the expression's value when valid
  std::string error;
  size_t position = 0;
};

DetectResult EvaluateDetectString(const std::string& expression, const DetectSubject& subject);

// The subject for a file on disk: its extension, size and first head_bytes bytes.
DetectSubject DescribeFile(const std::wstring& path, bool force, size_t head_bytes);
