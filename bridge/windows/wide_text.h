// Text between the bridge's UTF-8 strings and Windows: wide names, and bytes
// that may be UTF-8 or in the ANSI code page.
#pragma once

#include <windows.h>

#include <string>

std::wstring WideFromUtf8(const std::string& utf8);
std::string Utf8FromWide(const std::wstring& wide);

// Bytes from outside (the settings file, a program's error output) as UTF-8:
// as they are when they are UTF-8 already, else read in the ANSI code page.
std::string Utf8FromUtf8OrAnsi(const std::string& bytes);
