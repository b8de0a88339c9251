#include "bridge/service_client/protocol.h"

#include <stdint.h>

namespace {

// A source file larger than this is not taken (the one-shot run's limit).
const uint32_t MaxSourceBytes = 256u << 20;
const uint32_t MaxTextBytes = 1u << 20;

void PutU16(std::string* out, size_t value) {
  out->push_back(static_cast<char>((value >> 8) & 0xFF));
  out->push_back(static_cast<char>(value & 0xFF));
}

void PutU32(std::string* out, size_t value) {
  PutU16(out, (value >> 16) & 0xFFFF);
  PutU16(out, value & 0xFFFF);
}

// Reads big-endian numbers and sized byte strings; false once bytes run out.
class Reader {
 public:
  explicit Reader(const std::string& bytes) : bytes_(bytes) {}
  bool Number(size_t width, uint32_t* value) {
    if (bytes_.size() - at_ < width) return false;
    *value = 0;
    for (size_t i = 0; i < width; ++i) {
      *value = (*value << 8) | static_cast<unsigned char>(bytes_[at_++]);
    }
    return true;
  }
  bool Bytes(uint32_t n, std::string* out) {
    if (bytes_.size() - at_ < n) return false;
    out->assign(bytes_, at_, n);
    at_ += n;
    return true;
  }
  bool AtEnd() const { return at_ == bytes_.size(); }

 private:
  const std::string& bytes_;
  size_t at_ = 0;
};

ServiceAnswer Answer(ServiceAnswer::Kind kind, std::string text = "") {
  ServiceAnswer answer;
  answer.kind = kind;
  answer.text = std::move(text);
  return answer;
}

}  // namespace

std::string ServicePortFileName(const std::string& homeUtf8) {
  // FNV-1a of the folder's name in ASCII lower case: Windows names ignore case.
  uint32_t hash = 2166136261u;
  for (char c : homeUtf8) {
    unsigned char byte = static_cast<unsigned char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    hash = (hash ^ byte) * 16777619u;
  }
  const char digits[] = "0123456789abcdef";
  std::string name = "dravik-service-";
  for (int shift = 28; shift >= 0; shift -= 4) name += digits[(hash >> shift) & 0xF];
  return name + ".port";
}

ServiceAddress ParsePortFile(const std::string& text) {
  ServiceAddress address;
  size_t blank = text.find(' ');
  if (blank == std::string::npos || blank == 0 || blank > 5) return address;
  std::string port = text.substr(0, blank);
  std::string secret = text.substr(blank + 1);
  if (!secret.empty() && secret.back() == '\n') secret.pop_back();
  if (!secret.empty() && secret.back() == '\r') secret.pop_back();
  if (port.find_first_not_of("0123456789") != port.npos || secret.empty() || secret.size() > 64 ||
      secret.find_first_not_of("0123456789abcdefABCDEF") != secret.npos) {
    return address;
  }
  unsigned long number = std::stoul(port);
  if (number < 1 || number > 65535) return address;
  address.valid = true;
  address.port = static_cast<unsigned short>(number);
  address.secret = secret;
  return address;
}

std::string ServiceSettingsKey(const std::string& java, int javaVersion, const std::string& heap,
                               const std::string& idleSeconds) {
  // FNV-1a, 64 bits, over the settings one to a line, in ASCII lower case.
  const std::string text =
      java + "\n" + std::to_string(javaVersion) + "\n" + heap + "\n" + idleSeconds + "\n";
  uint64_t hash = 14695981039346656037ull;
  for (char c : text) {
    unsigned char byte = static_cast<unsigned char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    hash = (hash ^ byte) * 1099511628211ull;
  }
  const char digits[] = "0123456789abcdef";
  std::string key;
  for (int shift = 60; shift >= 0; shift -= 4) key += digits[(hash >> shift) & 0xF];
  return key;
}

std::string EncodeServiceRequest(const std::string& secret, const std::string& settingsKey,
                                 const std::string& engine, const std::vector<std::string>& options,
                                 const std::string& classBytes,
                                 const std::vector<ClassFile>& family) {
  std::string out;
  PutU32(&out, 0x4452564Bu);  // "DRVK"
  PutU16(&out, 3);
  PutU16(&out, secret.size());
  out += secret;
  PutU16(&out, settingsKey.size());
  out += settingsKey;
  PutU16(&out, engine.size());
  out += engine;
  PutU16(&out, options.size());
  for (const std::string& option : options) {
    PutU16(&out, option.size());
    out += option;
  }
  PutU32(&out, classBytes.size());
  out += classBytes;
  PutU16(&out, family.size());
  for (const ClassFile& member : family) {
    PutU16(&out, member.name.size());
    out += member.name;
    PutU32(&out, member.bytes.size());
    out += member.bytes;
  }
  return out;
}

ServiceAnswer ParseServiceAnswer(const std::string& bytes) {
  Reader reader(bytes);
  uint32_t status = 0, n = 0;
  if (!reader.Number(1, &status)) return Answer(ServiceAnswer::Kind::Incomplete);
  if (status > 2) return Answer(ServiceAnswer::Kind::Malformed);
  std::string path, text;
  if (status == 0 && !reader.Number(2, &n)) return Answer(ServiceAnswer::Kind::Incomplete);
  if (status == 0 && !reader.Bytes(n, &path)) return Answer(ServiceAnswer::Kind::Incomplete);
  if (!reader.Number(4, &n)) return Answer(ServiceAnswer::Kind::Incomplete);
  if (n > (status == 0 ? MaxSourceBytes : MaxTextBytes)) {
    return Answer(ServiceAnswer::Kind::Malformed);
  }
  if (!reader.Bytes(n, &text)) return Answer(ServiceAnswer::Kind::Incomplete);
  if (!reader.AtEnd()) return Answer(ServiceAnswer::Kind::Malformed);
  const ServiceAnswer::Kind kinds[] = {ServiceAnswer::Kind::Source, ServiceAnswer::Kind::Failed,
                                       ServiceAnswer::Kind::Refused};
  return Answer(kinds[status], std::move(text));
}
