#include "standins/lister/host_log.h"

#include <stdarg.h>
#include <stdio.h>

namespace {

struct LogState {
  LogState() { InitializeCriticalSection(&lock); }
  CRITICAL_SECTION lock;
  FILE* file = nullptr;
  bool keep = false;
  std::vector<std::string> kept;
};

LogState& State() {
  static LogState state;
  return state;
}

std::string Escape(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\n':
        out += "\\n";
        break;
      default:
        out += c;
    }
  }
  return out + "\"";
}

}  // namespace

bool OpenHostLog(const std::wstring& path) {
  LogState& state = State();
  EnterCriticalSection(&state.lock);
  if (state.file != nullptr && state.file != stdout) fclose(state.file);
  state.file = path.empty() ? stdout : _wfopen(path.c_str(), L"wb");
  bool opened = state.file != nullptr;
  LeaveCriticalSection(&state.lock);
  return opened;
}

void CloseHostLog() {
  LogState& state = State();
  EnterCriticalSection(&state.lock);
  if (state.file != nullptr && state.file != stdout) fclose(state.file);
  state.file = nullptr;
  LeaveCriticalSection(&state.lock);
}

void LogLine(const char* format, ...) {
  char buffer[4096];
  va_list args;
  va_start(args, format);
  int n = vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  std::string line;
  if (n >= static_cast<int>(sizeof buffer)) {
    line.resize(static_cast<size_t>(n) + 1);
    va_start(args, format);
    vsnprintf(&line[0], line.size(), format, args);
    va_end(args);
    line.resize(static_cast<size_t>(n));
  } else if (n > 0) {
    line.assign(buffer, static_cast<size_t>(n));
  }
  LogState& state = State();
  EnterCriticalSection(&state.lock);
  if (state.file != nullptr) {
    fwrite(line.data(), 1, line.size(), state.file);
    fputc('\n', state.file);
    fflush(state.file);
  }
  if (state.keep) state.kept.push_back(line);
  LeaveCriticalSection(&state.lock);
}

void KeepLogLines() {
  LogState& state = State();
  EnterCriticalSection(&state.lock);
  state.keep = true;
  LeaveCriticalSection(&state.lock);
}

std::vector<std::string> KeptLogLines() {
  LogState& state = State();
  EnterCriticalSection(&state.lock);
  std::vector<std::string> lines = state.kept;
  LeaveCriticalSection(&state.lock);
  return lines;
}

std::string Utf8(const std::wstring& text) {
  int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  if (n <= 1) return std::string();
  std::string s(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &s[0], n, nullptr, nullptr);
  s.resize(static_cast<size_t>(n - 1));
  return s;
}

std::string Quoted(const std::wstring& text) { return Escape(Utf8(text)); }

std::string QuotedAnsi(const char* text) {
  if (text == nullptr) return "null";
  int n = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  if (n <= 1) return "\"\"";
  std::wstring wide(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text, -1, &wide[0], n);
  wide.resize(static_cast<size_t>(n - 1));
  return Quoted(wide);
}

std::string Ansi(const std::wstring& text) {
  int n = WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  if (n <= 1) return std::string();
  std::string s(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, &s[0], n, nullptr, nullptr);
  s.resize(static_cast<size_t>(n - 1));
  return s;
}

std::string Hex(unsigned long long value) {
  char text[24];
  snprintf(text, sizeof text, "0x%llx", value);
  return text;
}
