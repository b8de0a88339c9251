// The bridge's other readers of outside input on any bytes: the decompiler's
// output as UTF-8 source (the mark, UTF-8, no zero byte, every line end CR LF), the settings
// file with its command template, Jad's command line, and the error comment
// (one comment, whatever its lines hold), and the decompile service's port
// file and answers.
#include <stdlib.h>

#include <string>
#include <vector>

#include "bridge/jad/command_line.h"
#include "bridge/jad/error_comment.h"
#include "bridge/jad/utf8_source.h"
#include "bridge/service_client/protocol.h"
#include "bridge/settings/jad_ini.h"
#include "tests/fuzz/fuzz_input.h"

namespace {

void CheckUtf8Source(const std::string& text) {
  std::string source = ToUtf8Source(text);
  if (source.compare(0, 3, "\xEF\xBB\xBF") != 0 || !IsUtf8(source)) abort();
  if (source.find('\0') != std::string::npos) abort();
  for (size_t i = 0; i < source.size(); ++i) {
    if (source[i] == '\r' && (i + 1 == source.size() || source[i + 1] != '\n')) abort();
    if (source[i] == '\n' && (i == 0 || source[i - 1] != '\r')) abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string bytes(reinterpret_cast<const char*>(data), size);
  CheckUtf8Source(bytes);

  BridgeSettings settings = ParseBridgeSettings(bytes);
  if (settings.timeoutSeconds < 1 || settings.timeoutSeconds > 86400) abort();
  if (settings.serviceIdleMinutes < 0.01 || settings.serviceIdleMinutes > 1440) abort();
  if (settings.serviceHeap.find_first_of(" \"") != std::string::npos) abort();
  ServiceAddress address = ParsePortFile(bytes);
  if (address.valid && (address.port == 0 || address.secret.size() > 64)) abort();
  ServiceAnswer answer = ParseServiceAnswer(bytes);
  if (answer.kind == ServiceAnswer::Kind::Source && answer.text.size() > bytes.size()) abort();
  ExpandTemplate(settings.decompiler, {{"java", bytes}, {"class", "C"}, {"lines", settings.lines}});

  std::vector<std::string> arguments;
  for (size_t start = 0; start <= bytes.size();) {
    size_t end = bytes.find(' ', start);
    if (end == std::string::npos) end = bytes.size();
    arguments.push_back(bytes.substr(start, end - start));
    start = end + 1;
  }
  JadRequest request = ParseJadCommandLine(arguments);
  if (request.valid) OutputFileName("", request, 60);

  std::string comment = ErrorComment(LastLines(bytes, 8, 40));
  if (comment.find("*/") != comment.size() - 3) abort();
  return 0;
}
