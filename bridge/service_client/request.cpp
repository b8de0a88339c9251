#include "bridge/service_client/request.h"

// winsock2.h before windows.h's own older socket declarations.
#include <winsock2.h>
#include <ws2tcpip.h>

#include "bridge/service_client/protocol.h"
#include "bridge/windows/file_access.h"

namespace {

// Winsock for the life of the object.
class SocketLibrary {
 public:
  SocketLibrary() {
    WSADATA data;
    started_ = WSAStartup(MAKEWORD(2, 2), &data) == 0;
  }
  ~SocketLibrary() {
    if (started_) WSACleanup();
  }
  SocketLibrary(const SocketLibrary&) = delete;
  SocketLibrary& operator=(const SocketLibrary&) = delete;
  bool started() const { return started_; }

 private:
  bool started_ = false;
};

// A socket closed when it goes out of scope.
class ScopedSocket {
 public:
  ScopedSocket() : socket_(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP)) {}
  ~ScopedSocket() {
    if (valid()) closesocket(socket_);
  }
  ScopedSocket(const ScopedSocket&) = delete;
  ScopedSocket& operator=(const ScopedSocket&) = delete;
  SOCKET get() const { return socket_; }
  bool valid() const { return socket_ != INVALID_SOCKET; }

 private:
  SOCKET socket_;
};

enum class Wait { Ready, Failed, TimedOut, Stopped };

// How long one look at the socket lasts before the stop request is looked at
// again: the service learns of a stop by the connection's end, within this.
const ULONGLONG StopCheckMs = 25;

// Waits until the socket can be written (forWrite) or read, the deadline, or
// the stop request. Only a connection under way is also watched for failing:
// on a connection the service has closed, Wine reports that as an exception
// too, and the answer is still to be read.
Wait WaitFor(SOCKET s, bool forWrite, bool connecting, ULONGLONG deadline, HANDLE stop) {
  int n = 0;
  fd_set ready, failed;
  do {
    if (stop != nullptr && WaitForSingleObject(stop, 0) == WAIT_OBJECT_0) return Wait::Stopped;
    ULONGLONG now = GetTickCount64();
    if (now >= deadline) return Wait::TimedOut;
    ULONGLONG left = deadline - now < StopCheckMs ? deadline - now : StopCheckMs;
    timeval timeout = {static_cast<long>(left / 1000), static_cast<long>(left % 1000) * 1000};
    FD_ZERO(&ready);
    FD_ZERO(&failed);
    FD_SET(s, &ready);
    FD_SET(s, &failed);
    n = select(0, forWrite ? nullptr : &ready, forWrite ? &ready : nullptr,
               connecting ? &failed : nullptr, &timeout);
  } while (n == 0);
  if (n < 0 || (connecting && FD_ISSET(s, &failed))) return Wait::Failed;
  if (connecting) {
    int error = 0;
    int size = sizeof error;
    getsockopt(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &size);
    if (error != 0) return Wait::Failed;
  }
  return Wait::Ready;
}

ServiceReply Reply(ServiceReply::Kind kind, std::string text = "") {
  ServiceReply reply;
  reply.kind = kind;
  reply.text = std::move(text);
  return reply;
}

ServiceReply::Kind KindFor(Wait wait) {
  switch (wait) {
    case Wait::TimedOut:
      return ServiceReply::Kind::TimedOut;
    case Wait::Stopped:
      return ServiceReply::Kind::Stopped;
    default:
      return ServiceReply::Kind::NoAnswer;
  }
}

ServiceReply AskConnected(SOCKET s, const std::string& request, ULONGLONG deadline, HANDLE stop) {
  // Non-blocking, so that every step waits at most until the deadline.
  size_t sent = 0;
  while (sent < request.size()) {
    Wait wait = WaitFor(s, true, false, deadline, stop);
    if (wait != Wait::Ready) return Reply(KindFor(wait));
    int chunk = static_cast<int>(request.size() - sent < 65536 ? request.size() - sent : 65536);
    int n = send(s, request.data() + sent, chunk, 0);
    if (n == SOCKET_ERROR && WSAGetLastError() == WSAEWOULDBLOCK) continue;
    if (n <= 0) return Reply(ServiceReply::Kind::NoAnswer);
    sent += static_cast<size_t>(n);
  }
  // One answer a connection: the service closes it once the answer is sent.
  std::string answer;
  char buffer[65536];
  for (;;) {
    Wait wait = WaitFor(s, false, false, deadline, stop);
    if (wait != Wait::Ready) return Reply(KindFor(wait));
    int n = recv(s, buffer, sizeof buffer, 0);
    if (n == SOCKET_ERROR && WSAGetLastError() == WSAEWOULDBLOCK) continue;
    if (n < 0) return Reply(ServiceReply::Kind::NoAnswer);
    if (n == 0) break;
    answer.append(buffer, static_cast<size_t>(n));
  }
  ServiceAnswer parsed = ParseServiceAnswer(answer);
  switch (parsed.kind) {
    case ServiceAnswer::Kind::Source: {
      // Decided before the text moves into the reply.
      ServiceReply::Kind kind =
          parsed.text.empty() ? ServiceReply::Kind::NoAnswer : ServiceReply::Kind::Source;
      return Reply(kind, std::move(parsed.text));
    }
    case ServiceAnswer::Kind::Failed:
      return Reply(ServiceReply::Kind::Failed, std::move(parsed.text));
    default:
      // Refused (a port file of another service) or cut short: no answer.
      return Reply(ServiceReply::Kind::NoAnswer);
  }
}

}  // namespace

ServiceReply AskService(const std::wstring& portFile, const std::string& settingsKey,
                        const std::string& engine, const std::vector<std::string>& options,
                        const std::string& classBytes, const std::vector<ClassFile>& family,
                        DWORD limitMs, HANDLE stop) {
  const ULONGLONG deadline = GetTickCount64() + limitMs;
  std::string text;
  if (!ReadBytes(portFile, 1024, &text)) return Reply(ServiceReply::Kind::NoAnswer);
  ServiceAddress address = ParsePortFile(text);
  if (!address.valid) return Reply(ServiceReply::Kind::NoAnswer);

  SocketLibrary library;
  if (!library.started()) return Reply(ServiceReply::Kind::NoAnswer);
  ScopedSocket s;
  u_long nonBlocking = 1;
  if (!s.valid() || ioctlsocket(s.get(), FIONBIO, &nonBlocking) != 0) {
    return Reply(ServiceReply::Kind::NoAnswer);
  }
  sockaddr_in loopback = {};
  loopback.sin_family = AF_INET;
  loopback.sin_port = htons(address.port);
  loopback.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (connect(s.get(), reinterpret_cast<sockaddr*>(&loopback), sizeof loopback) != 0 &&
      WSAGetLastError() != WSAEWOULDBLOCK) {
    return Reply(ServiceReply::Kind::NoAnswer);
  }
  // A refused connection shows as a failure on select; only a service that
  // takes the connection but says nothing runs into the time limit.
  Wait connected = WaitFor(s.get(), true, true, deadline, stop);
  if (connected == Wait::Stopped) return Reply(ServiceReply::Kind::Stopped);
  if (connected != Wait::Ready) return Reply(ServiceReply::Kind::NoAnswer);
  return AskConnected(
      s.get(),
      EncodeServiceRequest(address.secret, settingsKey, engine, options, classBytes, family),
      deadline, stop);
}
