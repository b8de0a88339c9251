// The bridge with its resident decompile service, jad.exe run directly as the
// plugin runs it: the first class goes through the one-shot run and leaves a
// service behind, the next through the service with the same bytes; a service
// that is gone (killed, or a port file nobody listens at) means the one-shot
// run again and a new service; a service of other settings ends and one of
// the new settings serves; a stopped bridge gives its request up at once.
// Every service here is killed at the end.
// winsock2.h before windows.h's own older socket declarations.
#include <winsock2.h>
// After winsock2.h:
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h:
#include <aclapi.h>
#include <sddl.h>

#include <atomic>
#include <functional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "bridge/class_data_cache/cache_names.h"
#include "bridge/jad/cancel_event.h"
#include "standins/wine/under_wine.h"
#include "tests/windows/bridge/service_processes.h"
#include "tests/windows/decompile/plugin_folder.h"
#include "tests/windows/test_support.h"

namespace {

// Runs a program and waits for it; its exit code, or 999.
DWORD RunProgram(std::wstring line, const std::wstring& directory) {
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                      directory.empty() ? nullptr : directory.c_str(), &startup, &process)) {
    return 999;
  }
  DWORD code = 999;
  WaitForSingleObject(process.hProcess, 120000);
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  return code;
}

// The file names in the user's temporary folder, but the class-data caches and
// the files beside them.
std::set<std::wstring> TempNames() {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  std::set<std::wstring> names;
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((std::wstring(temp) + L"*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::wstring name = found.cFileName;
    ArchiveFileParts parts;
    bool archive = ParseArchiveFileName(ToUtf8(name), &parts);
    if (name != L"." && name != L".." && !archive) names.insert(name);
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return names;
}

// Who the file's access list lets in, and what it lets them do: the user
// running this, and nobody else but the system account (which can read every
// file anyway; Wine, which keeps a file's access list as its Unix mode, shows
// it on every file).
void ExpectOnlyTheUserMayOpen(const std::wstring& file) {
  PACL dacl = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  ASSERT_EQ(GetNamedSecurityInfoW(file.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                                  nullptr, &dacl, nullptr, &descriptor),
            static_cast<DWORD>(ERROR_SUCCESS));
  HANDLE token = nullptr;
  OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token);
  char userBytes[256];
  DWORD size = 0;
  ASSERT_TRUE(GetTokenInformation(token, TokenUser, userBytes, sizeof userBytes, &size));
  CloseHandle(token);
  PSID user = reinterpret_cast<TOKEN_USER*>(userBytes)->User.Sid;
  // A null list would let everybody in.
  ASSERT_NE(dacl, nullptr);
  DWORD userMay = 0;
  for (DWORD i = 0; i < dacl->AceCount; ++i) {
    ACE_HEADER* header = nullptr;
    ASSERT_TRUE(GetAce(dacl, i, reinterpret_cast<void**>(&header)));
    if (header->AceType == ACCESS_DENIED_ACE_TYPE) continue;
    ASSERT_EQ(header->AceType, ACCESS_ALLOWED_ACE_TYPE);
    auto* allowed = reinterpret_cast<ACCESS_ALLOWED_ACE*>(header);
    PSID sid = &allowed->SidStart;
    LPWSTR name = nullptr;
    ConvertSidToStringSidW(sid, &name);
    EXPECT_TRUE(EqualSid(sid, user) || IsWellKnownSid(sid, WinLocalSystemSid))
        << "the port file lets " << (name != nullptr ? ToUtf8(name) : "?") << " in";
    LocalFree(name);
    if (EqualSid(sid, user)) userMay |= allowed->Mask;
  }
  EXPECT_EQ(userMay & (FILE_READ_DATA | FILE_WRITE_DATA), FILE_READ_DATA | FILE_WRITE_DATA);
  LocalFree(descriptor);
}

// Whether a one-shot Java of the bridge in folder ran while view ran: looked
// for every few milliseconds, and a Java runtime takes far longer to start and
// end than that.
bool OneShotRanDuring(const std::wstring& folder, const std::function<void()>& view) {
  std::atomic<bool> done(false), seen(false);
  std::thread watch([&] {
    while (!done && !seen) {
      if (!OneShotRuns(folder).empty()) seen = true;
      Sleep(10);
    }
  });
  view();
  done = true;
  watch.join();
  return seen;
}

class BridgeServiceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!RunningUnderWine()) GTEST_SKIP() << "the stand-in java.exe hands over to Linux: Wine only";
    ASSERT_TRUE(folder_.loaded());
    SetEnvironmentVariableW(L"JAVA_HOME", nullptr);
    // Short-lived services, so that one a test fails to kill ends by itself.
    folder_.InstallBridgeJad("service=on\r\nservice_idle_minutes=0.5\r\n");
    portFile_ = ServicePortFileFor(folder_.directory());
    // Caches other runs left (of other runtimes, which stay) would be counted.
    RemoveCaches();
    work_ = folder_.Path(L"work");
    CreateDirectoryW(work_.c_str(), nullptr);
    CopyFileW((ExeDirectory() + L"bridge_data\\demo\\Modern.class").c_str(),
              (work_ + L"\\Modern.class").c_str(), FALSE);
  }
  void TearDown() override {
    EndServices(portFile_);
    RemoveTree(work_);
  }

  // jad.exe as the plugin runs it; the source it wrote, "" for none.
  std::string Jad() {
    exitCode_ = RunProgram(L"\"" + folder_.Path(L"jad.exe") + L"\" -lnc -o -s java Modern", work_);
    std::string source = ReadFileBytes(work_ + L"\\Modern.java");
    DeleteFileW((work_ + L"\\Modern.java").c_str());
    return source;
  }

  std::string NewPortFile(const std::string& previous) {
    return NewPortFileText(portFile_, previous, 60000);
  }
  std::vector<std::wstring> Services() { return ServiceProcesses(portFile_); }
  // Killed: its port file stays behind, and nobody listens at it.
  void KillServices() {
    std::string text = ReadFileBytes(portFile_);
    EndServices(portFile_);
    WriteFileBytes(portFile_, text);
  }

  PluginFolder folder_;
  std::wstring portFile_, work_;
  DWORD exitCode_ = 999;
};

TEST_F(BridgeServiceTest, TheFirstClassStartsTheServiceAndTheNextGoesThroughItByteForByte) {
  const std::string oneShot = Jad();
  ASSERT_EQ(exitCode_, 0u);
  ASSERT_NE(oneShot.find("record Modern("), std::string::npos) << oneShot;
  ASSERT_NE(NewPortFile(""), "");
  EXPECT_EQ(Services().size(), 1u);

  // No one-shot Java runs for these: what comes, comes from the service.
  for (int view = 0; view < 2; ++view) {
    EXPECT_FALSE(OneShotRanDuring(folder_.directory(), [&] { EXPECT_EQ(Jad(), oneShot); }));
    EXPECT_EQ(exitCode_, 0u);
  }
  EXPECT_EQ(Services().size(), 1u);
}

// A service serves only the settings it was started with: after another heap
// in jad.ini it refuses the next request and ends, the one-shot run answers,
// and the service started then, with the new heap, serves the view after.
TEST_F(BridgeServiceTest, AServiceOfOtherSettingsEndsAndOneOfTheNewSettingsServes) {
  const std::string oneShot = Jad();
  const std::string portText = NewPortFile("");
  ASSERT_NE(portText, "");
  const std::vector<std::wstring> old = Services();
  ASSERT_EQ(old.size(), 1u);

  folder_.InstallBridgeJad("service=on\r\nservice_idle_minutes=0.5\r\nservice_heap=300m\r\n");
  EXPECT_EQ(Jad(), oneShot);
  EXPECT_NE(NewPortFile(portText), "");
  std::vector<std::wstring> services;
  for (DWORD start = GetTickCount(); GetTickCount() - start < 60000; Sleep(250)) {
    services = Services();
    if (services.size() == 1 && services[0] != old[0]) break;
  }
  ASSERT_EQ(services.size(), 1u);
  EXPECT_NE(services[0], old[0]);
  const std::string line = ReadFileBytes(L"Z:\\proc\\" + services[0] + L"\\cmdline");
  EXPECT_NE(line.find("-Xmx300m"), std::string::npos) << line;
  EXPECT_FALSE(OneShotRanDuring(folder_.directory(), [&] { EXPECT_EQ(Jad(), oneShot); }));
}

// The plugin's stop request while the bridge waits for the service's answer:
// the bridge closes the connection at once (which is how the service learns
// that nobody waits) and ends, stopped. The service here is the test's own,
// one that takes the request and never answers.
TEST_F(BridgeServiceTest, AStoppedBridgeGivesItsRequestUpAtOnce) {
  WSADATA data;
  ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &data), 0);
  SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address = {};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  int size = sizeof address;
  ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ASSERT_EQ(listen(listener, 1), 0);
  ASSERT_EQ(getsockname(listener, reinterpret_cast<sockaddr*>(&address), &size), 0);
  WriteFileBytes(portFile_,
                 std::to_string(ntohs(address.sin_port)) + " 0123456789abcdef0123456789abcdef\n");

  std::wstring line = L"\"" + folder_.Path(L"jad.exe") + L"\" -lnc -o -s java Modern";
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  ASSERT_TRUE(CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE,
                             CREATE_NO_WINDOW | CREATE_SUSPENDED, nullptr, work_.c_str(), &startup,
                             &process));
  HANDLE stop = CreateEventW(nullptr, TRUE, FALSE, CancelEventName(process.dwProcessId).c_str());
  ResumeThread(process.hThread);
  SOCKET taken = accept(listener, nullptr, nullptr);
  ASSERT_NE(taken, INVALID_SOCKET);
  // The request in full: then the bridge waits for the answer.
  DWORD timeout = 60000;
  setsockopt(taken, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<char*>(&timeout), sizeof timeout);
  std::string request;
  char buffer[65536];
  for (int n; request.size() < 12 || request.find("Modern") == std::string::npos;) {
    n = recv(taken, buffer, sizeof buffer, 0);
    if (n <= 0) break;
    request.append(buffer, n);
  }
  EXPECT_EQ(request.substr(0, 4), "DRVK");
  SetEvent(stop);
  // What the bridge sent, then its end of the connection: the end comes well
  // before its time limit (45 s), and it ends stopped.
  int n = 0;
  do {
    n = recv(taken, buffer, sizeof buffer, 0);
  } while (n > 0);
  EXPECT_EQ(n, 0) << "no orderly end of the connection, " << WSAGetLastError();
  EXPECT_EQ(WaitForSingleObject(process.hProcess, 30000), WAIT_OBJECT_0);
  DWORD code = 999;
  GetExitCodeProcess(process.hProcess, &code);
  EXPECT_EQ(code, 7u);
  closesocket(taken);
  closesocket(listener);
  WSACleanup();
  CloseHandle(stop);
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  DeleteFileW(portFile_.c_str());
}

TEST_F(BridgeServiceTest, AServiceThatIsGoneMeansTheOneShotRunAndANewService) {
  const std::string oneShot = Jad();
  ASSERT_EQ(exitCode_, 0u);
  std::string portText = NewPortFile("");
  ASSERT_NE(portText, "");

  KillServices();
  EXPECT_EQ(Jad(), oneShot);
  EXPECT_EQ(exitCode_, 0u);
  portText = NewPortFile(portText);
  EXPECT_NE(portText, "");
  EXPECT_EQ(Services().size(), 1u);

  // A port file naming a port nobody listens at, as a crashed system leaves it.
  EndServices(portFile_);
  WriteFileBytes(portFile_, "1 00ff00ff00ff00ff00ff00ff00ff00ff\n");
  EXPECT_EQ(Jad(), oneShot);
  EXPECT_EQ(exitCode_, 0u);
  EXPECT_NE(NewPortFile("1 00ff00ff00ff00ff00ff00ff00ff00ff\n"), "");
  EXPECT_EQ(Services().size(), 1u);
}

// Sets the file's last write time secondsAgo back from now.
void Backdate(const std::wstring& file, unsigned secondsAgo) {
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  ULARGE_INTEGER time = {{now.dwLowDateTime, now.dwHighDateTime}};
  time.QuadPart -= static_cast<ULONGLONG>(secondsAgo) * 10000000;
  FILETIME then = {time.LowPart, time.HighPart};
  HANDLE opened = CreateFileW(file.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
  SetFileTime(opened, nullptr, nullptr, &then);
  CloseHandle(opened);
}

// A service that cannot start (a heap far too small for Java) is not started
// again at every class: only a minute after its start failed, then two, and
// at once when the settings change.
TEST_F(BridgeServiceTest, AServiceThatCannotStartIsTriedAgainOnlyAfterAWhile) {
  // No cache: one made meanwhile would change the command.
  folder_.InstallBridgeJad("service=on\r\nservice_heap=1k\r\ncache=off\r\n");
  const std::wstring marker = portFile_ + L".start";
  const std::string oneShot = Jad();
  ASSERT_NE(oneShot.find("record Modern("), std::string::npos);
  EXPECT_EQ(ReadFileBytes(marker).substr(0, 2), "0\n");
  DWORD start = GetTickCount();
  while (!Services().empty() && GetTickCount() - start < 30000) Sleep(250);

  // 30 seconds on, the start has plainly failed: the next waits a minute.
  Backdate(marker, 30);
  const std::string markerText = ReadFileBytes(marker);
  EXPECT_EQ(Jad(), oneShot);
  EXPECT_EQ(ReadFileBytes(marker), markerText);
  Backdate(marker, 20 + 61);
  EXPECT_EQ(Jad(), oneShot);
  EXPECT_EQ(ReadFileBytes(marker).substr(0, 2), "1\n");
  // The second failure waits two minutes.
  Backdate(marker, 20 + 61);
  EXPECT_EQ(Jad(), oneShot);
  EXPECT_EQ(ReadFileBytes(marker).substr(0, 2), "1\n");

  folder_.InstallBridgeJad("service=on\r\nservice_heap=2k\r\ncache=off\r\n");
  Backdate(marker, 30);
  EXPECT_EQ(Jad(), oneShot);
  EXPECT_EQ(ReadFileBytes(marker).substr(0, 2), "0\n");
  EXPECT_FALSE(FileExists(portFile_));
}

// The port file is the user's alone, the secret is on no command line, and a
// second service leaves the first's port file alone.
TEST_F(BridgeServiceTest, ThePortFileIsTheUsersAloneAndASecondServiceLeavesItAlone) {
  Jad();
  ASSERT_EQ(exitCode_, 0u);
  const std::string portText = NewPortFile("");
  ASSERT_NE(portText, "");
  ExpectOnlyTheUserMayOpen(portFile_);
  const std::string secret = portText.substr(portText.find(' ') + 1, 32);
  std::vector<std::wstring> services = Services();
  ASSERT_EQ(services.size(), 1u);
  std::string commandLine = ReadFileBytes(L"Z:\\proc\\" + services[0] + L"\\cmdline");
  EXPECT_NE(commandLine.find("DecompileService"), std::string::npos);
  EXPECT_EQ(commandLine.find(secret), std::string::npos) << commandLine;

  EXPECT_EQ(RunServiceUntilItEnds(TestJava(), folder_.directory(), portFile_, 60000), 3u);
  EXPECT_EQ(ReadFileBytes(portFile_), portText);
  EXPECT_EQ(Services().size(), 1u);
}

// A new service takes over a stale port file that a bridge has open for
// reading at that moment (Windows refuses to replace an open file for a
// while), and answers.
TEST_F(BridgeServiceTest, ANewServiceReplacesAPortFileThatABridgeIsReading) {
  const std::string oneShot = Jad();
  std::string portText = NewPortFile("");
  ASSERT_NE(portText, "");
  KillServices();
  HANDLE reading = CreateFileW(portFile_.c_str(), GENERIC_READ,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(reading, INVALID_HANDLE_VALUE);
  EXPECT_EQ(Jad(), oneShot);
  Sleep(2000);
  CloseHandle(reading);
  EXPECT_NE(NewPortFile(portText), "");
  EXPECT_EQ(Jad(), oneShot);
  EXPECT_EQ(Services().size(), 1u);
}

// Ending when idle, the service removes its port file and lock, and leaves
// nothing in the temporary folder but the class-data cache a training run made
// meanwhile: no crash report either. The next service maps that cache, serves
// and ends the same way; the caches of an earlier version go.
TEST_F(BridgeServiceTest, TheServiceEndsByItsIdleTimeAndTheNextMapsTheCacheServesAndEnds) {
  folder_.InstallBridgeJad("service=on\r\nservice_idle_minutes=0.05\r\n");
  const std::set<std::wstring> before = TempNames();
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring older = std::wstring(temp) + L"dravik-service-0123456789abcdef.jsa";
  WriteFileBytes(older, "an archive of an earlier version");
  SetFileAttributesW(older.c_str(), FILE_ATTRIBUTE_READONLY);
  const std::string oneShot = Jad();
  ASSERT_EQ(exitCode_, 0u);
  EXPECT_FALSE(FileExists(older));
  ASSERT_TRUE(WaitForTrainingRuns(folder_.directory(), 120000));
  for (int life = 0; life < 2; ++life) {
    DWORD start = GetTickCount();
    while (!Services().empty() && GetTickCount() - start < 60000) Sleep(250);
    EXPECT_TRUE(Services().empty());
    EXPECT_FALSE(FileExists(portFile_));
    // What the service's Java leaves goes as it ends (the stand-in's own
    // folder a moment after).
    std::set<std::wstring> left;
    for (start = GetTickCount(); GetTickCount() - start < 10000; Sleep(250)) {
      left.clear();
      for (const std::wstring& name : TempNames()) {
        if (before.count(name) == 0) left.insert(name);
      }
      if (left.empty()) break;
    }
    for (const std::wstring& name : left) {
      ADD_FAILURE() << ToUtf8(name) << " was left in the temporary folder";
    }
    if (life == 1) break;

    // A cold view: the one-shot run, then a service that maps the cache.
    EXPECT_EQ(Jad(), oneShot);
    ASSERT_NE(NewPortFile(""), "");
    const std::vector<std::wstring> caches = CacheFiles();
    ASSERT_EQ(caches.size(), 1u);
    const std::vector<std::wstring> services = Services();
    ASSERT_EQ(services.size(), 1u);
    const std::string line = ReadFileBytes(L"Z:\\proc\\" + services[0] + L"\\cmdline");
    const std::wstring cacheName = caches[0].substr(caches[0].find_last_of(L'\\') + 1);
    EXPECT_NE(line.find(ToUtf8(cacheName)), std::string::npos) << line;
    // The next view comes from that service, not from a one-shot run.
    EXPECT_FALSE(OneShotRanDuring(folder_.directory(), [&] { EXPECT_EQ(Jad(), oneShot); }));
    EXPECT_EQ(Services().size(), 1u);
  }
}

// A cache whose bytes were changed or cut short costs no warm path: it is
// dropped before Java sees it, and the service starts without it.
TEST_F(BridgeServiceTest, ADamagedCacheIsDroppedAndTheServiceStartsWithoutIt) {
  Jad();
  ASSERT_TRUE(WaitForTrainingRuns(folder_.directory(), 120000));
  EndServices(portFile_);
  Jad();  // the training run's cache moved into place
  EndServices(portFile_);
  const std::vector<std::wstring> caches = CacheFiles();
  ASSERT_EQ(caches.size(), 1u);
  const std::string good = ReadFileBytes(caches[0]);
  std::string changed = good;
  changed[good.size() / 3] ^= 0x01;
  for (const std::string& damaged : {changed, good.substr(0, good.size() - 4096)}) {
    SetFileAttributesW(caches[0].c_str(), FILE_ATTRIBUTE_NORMAL);
    WriteFileBytes(caches[0], damaged);
    EXPECT_NE(Jad().find("record Modern("), std::string::npos);
    EXPECT_FALSE(FileExists(caches[0]));
    EXPECT_NE(NewPortFile(""), "");
    EndServices(portFile_);
    EndTrainingRuns(folder_.directory());
    // The view without a cache started a training run: one that got its
    // cache written before it was ended would be moved into place by the
    // next view under the good cache's name (the same bytes, the same
    // checksum), over the damaged one this test writes.
    const std::wstring stem =
        caches[0].substr(0, caches[0].size() - std::wstring(L"-0123456789abcdef.jsa").size());
    for (const char* suffix : {ArchiveTrainingOutput, ArchiveTrainingCrash, ArchiveTrainingClaim}) {
      DeleteFileW((stem + FromUtf8(suffix)).c_str());
    }
  }
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((std::wstring(temp) + L"hs_err*").c_str(), &found);
  EXPECT_EQ(search, INVALID_HANDLE_VALUE) << ToUtf8(found.cFileName);
  if (search != INVALID_HANDLE_VALUE) FindClose(search);
}

// A start that crashed with the cache it mapped (its crash report in the
// bridge's file, its marker seconds old): the next view drops that cache and
// starts a service without it at once, not after the back-off, and removes
// the report.
TEST_F(BridgeServiceTest, AStartThatCrashedWithItsCacheIsFollowedAtOnceByOneWithout) {
  Jad();
  ASSERT_TRUE(WaitForTrainingRuns(folder_.directory(), 120000));
  EndServices(portFile_);
  Jad();
  ASSERT_NE(NewPortFile(""), "");
  const std::vector<std::wstring> caches = CacheFiles();
  ASSERT_EQ(caches.size(), 1u);
  const std::wstring marker = portFile_ + L".start";
  EndServices(portFile_);
  WriteFileBytes(marker, "0\n" + ToUtf8(caches[0]) + "\nthe command that crashed");
  WriteFileBytes(portFile_ + L".crash", "# A fatal error has been detected by the Java Runtime");
  EXPECT_NE(Jad().find("record Modern("), std::string::npos);
  EXPECT_FALSE(FileExists(caches[0]));
  EXPECT_FALSE(FileExists(portFile_ + L".crash"));
  ASSERT_NE(NewPortFile(""), "");
  const std::vector<std::wstring> services = Services();
  ASSERT_EQ(services.size(), 1u);
  const std::string line = ReadFileBytes(L"Z:\\proc\\" + services[0] + L"\\cmdline");
  EXPECT_EQ(line.find("dravik-java-"), std::string::npos) << line;
}

// Two runtimes in turn (a user whose settings name one and whose PATH has
// another) keep a cache each.
TEST_F(BridgeServiceTest, TwoRuntimesInTurnKeepBothCaches) {
  // The other runtime: the stand-in beside a real one, or a copy of the
  // stand-in in a folder of its own.
  std::wstring other = ExeDirectory() + L"java.exe";
  if (TestJavaIsStandIn()) {
    const std::wstring home = work_ + L"\\jdk-copy";
    CreateDirectoryW(home.c_str(), nullptr);
    CreateDirectoryW((home + L"\\bin").c_str(), nullptr);
    other = home + L"\\bin\\java.exe";
    CopyFileW((ExeDirectory() + L"java.exe").c_str(), other.c_str(), FALSE);
    CopyFileW((ExeDirectory() + L"..\\release").c_str(), (home + L"\\release").c_str(), FALSE);
  }
  // Each runtime's second view moves its training run's cache into place; the
  // other runtime's stays.
  for (const std::wstring& java : {TestJava(), other, TestJava(), other}) {
    folder_.InstallBridgeJad("java=" + ToUtf8(java) + "\r\n");
    EXPECT_NE(Jad().find("record Modern("), std::string::npos);
    ASSERT_TRUE(WaitForTrainingRuns(folder_.directory(), 120000));
  }
  EXPECT_EQ(CacheFiles().size(), 2u);
}

}  // namespace
