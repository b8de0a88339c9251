// The scripted mode's command language: commands separated by ';', words by
// blanks, double quotes around words with blanks or ';'.
#pragma once

#include <string>
#include <vector>

using ScriptCommand = std::vector<std::wstring>;

// Splits a script into commands of words; empty commands are dropped. False,
// with a description in error, for an unterminated quote.
bool ParseScript(const std::wstring& text, std::vector<ScriptCommand>* commands,
                 std::wstring* error);

// A decimal or 0x-hexadecimal integer, optionally negative, and nothing else.
bool ParseInteger(const std::wstring& word, long long* value);

// Search flags: a number, or names first, case, words, back joined with '+'.
bool ParseSearchFlags(const std::wstring& word, int* flags);
