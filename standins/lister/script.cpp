#include "standins/lister/script.h"

#include <errno.h>
#include <wchar.h>
#include <wctype.h>

#include "host/listplug.h"

bool ParseScript(const std::wstring& text, std::vector<ScriptCommand>* commands,
                 std::wstring* error) {
  commands->clear();
  ScriptCommand command;
  std::wstring word;
  bool in_word = false;
  bool quoted = false;
  auto end_word = [&]() {
    if (in_word) command.push_back(word);
    word.clear();
    in_word = false;
  };
  auto end_command = [&]() {
    end_word();
    if (!command.empty()) commands->push_back(command);
    command.clear();
  };
  for (size_t i = 0; i < text.size(); ++i) {
    wchar_t c = text[i];
    if (quoted) {
      if (c == L'\\' && i + 1 < text.size() && (text[i + 1] == L'"' || text[i + 1] == L'\\')) {
        word += text[++i];
      } else if (c == L'"') {
        quoted = false;
      } else {
        word += c;
      }
    } else if (c == L'"') {
      quoted = true;
      in_word = true;
    } else if (c == L';') {
      end_command();
    } else if (iswspace(c)) {
      end_word();
    } else {
      word += c;
      in_word = true;
    }
  }
  if (quoted) {
    *error = L"unterminated quote";
    commands->clear();
    return false;
  }
  end_command();
  return true;
}

bool ParseInteger(const std::wstring& word, long long* value) {
  if (word.empty()) return false;
  // Base 16 only with 0x: a leading zero is not octal here.
  size_t digits = word[0] == L'-' ? 1 : 0;
  bool hex = word.compare(digits, 2, L"0x") == 0 || word.compare(digits, 2, L"0X") == 0;
  wchar_t* end = nullptr;
  errno = 0;
  long long n = wcstoll(word.c_str(), &end, hex ? 16 : 10);
  if (errno != 0 || end == word.c_str() || *end != L'\0') return false;
  *value = n;
  return true;
}

bool ParseSearchFlags(const std::wstring& word, int* flags) {
  long long number = 0;
  if (ParseInteger(word, &number)) {
    *flags = static_cast<int>(number);
    return true;
  }
  int result = 0;
  size_t start = 0;
  while (start <= word.size()) {
    size_t plus = word.find(L'+', start);
    std::wstring name = word.substr(start, plus == std::wstring::npos ? plus : plus - start);
    if (name == L"first") {
      result |= lcs_findfirst;
    } else if (name == L"case") {
      result |= lcs_matchcase;
    } else if (name == L"words") {
      result |= lcs_wholewords;
    } else if (name == L"back") {
      result |= lcs_backwards;
    } else {
      return false;
    }
    if (plus == std::wstring::npos) break;
    start = plus + 1;
  }
  *flags = result;
  return true;
}
