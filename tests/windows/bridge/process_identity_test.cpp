// The record of a process that makes the class-data cache: an id alone would
// name whichever process has it next once the run is over.
#include "bridge/windows/process_identity.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace {

TEST(ProcessIdentityTest, NamesThatVeryProcessAndNoLaterOneOfItsId) {
  const ProcessIdentity self = IdentityOfProcess(GetCurrentProcessId());
  ASSERT_NE(self.started, 0u);
  EXPECT_TRUE(ProcessStillRuns(self));
  EXPECT_TRUE(ProcessStillRuns(ParseProcessIdentity(ProcessIdentityText(self) + "\n")));
  // The same id with another start: a process that had it before.
  ProcessIdentity earlier = self;
  earlier.started -= 10000000;
  EXPECT_FALSE(ProcessStillRuns(earlier));
  // A record of the id alone, as older bridges wrote it, trusts the id.
  EXPECT_TRUE(ProcessStillRuns(ParseProcessIdentity(std::to_string(self.id) + "\n")));
  EXPECT_FALSE(ProcessStillRuns(ParseProcessIdentity("")));
  EXPECT_FALSE(ProcessStillRuns(ParseProcessIdentity("junk")));
}

TEST(ProcessIdentityTest, AProcessThatEndedNoLongerRuns) {
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  wchar_t line[] = L"cmd.exe /c exit 0";
  ASSERT_TRUE(CreateProcessW(nullptr, line, nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                             nullptr, &startup, &process));
  const ProcessIdentity child = IdentityOfProcess(process.dwProcessId);
  WaitForSingleObject(process.hProcess, 30000);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  EXPECT_FALSE(ProcessStillRuns(child));
}

}  // namespace
