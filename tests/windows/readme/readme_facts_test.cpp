// The readme in the package and the shipped jad.ini against the code: the
// keys and settings they name are the ones the code knows, every key of the
// class window and every setting is there, and the numbers they state are the
// code's.
#include <gtest/gtest.h>

#include <string>

#include "bridge/class_data_cache/cache_store.h"
#include "bridge/class_data_cache/training_run.h"
#include "bridge/jad/family_bounds.h"
#include "bridge/service_client/start_backoff.h"
#include "bridge/settings/jad_ini.h"
#include "decompile/decompile_run.h"
#include "plugin/class_views.h"
#include "plugin/view_keys.h"
#include "standins/lister/lister_keys.h"
#include "tests/windows/readme/readme_text.h"
#include "tests/windows/test_support.h"

namespace {

const char kReadme[] = "plugin/install/readme.txt";
const char kJadIni[] = "bridge/jad.ini";
const char kKeysHeading[] = "Keys in the Lister";

std::string Minutes(uint64_t milliseconds) { return std::to_string(milliseconds / 60000); }

// A setting's default as jad.ini writes it.
std::string DefaultOf(const std::string& name) {
  for (size_t i = 0; i < BridgeSettingKeyCount; ++i) {
    if (name == BridgeSettingKeys[i].name) return BridgeSettingKeys[i].write(BridgeSettings());
  }
  return "(no setting " + name + ")";
}

// The class window's own keys, and the Lister's as the stand-in plays them.
std::set<std::string> CodeKeys() {
  std::set<std::string> keys;
  for (size_t i = 0; i < ViewKeyCount; ++i) keys.insert(ToUtf8(ViewKeys[i].name));
  for (size_t i = 0; i < ListerKeyCount; ++i) keys.insert(ToUtf8(ListerKeys[i].name));
  return keys;
}

TEST(UserReadmeTest, NamesOnlyKeysTheCodeKnowsAndEveryKeyOfTheClassWindow) {
  const std::string readme = SourceFile(kReadme);
  ASSERT_FALSE(readme.empty()) << kReadme;
  const std::vector<std::string> table = KeyTableKeys(readme, kKeysHeading);
  ASSERT_GE(table.size(), 8u) << "no key table under \"" << kKeysHeading << "\"";
  const std::set<std::string> known = CodeKeys();
  EXPECT_EQ(Unknown(table, known), std::vector<std::string>{}) << "in the key table";
  EXPECT_EQ(Unknown(NamedKeys(readme), known), std::vector<std::string>{}) << "in the text";
  const std::set<std::string> listed(table.begin(), table.end());
  for (size_t i = 0; i < ViewKeyCount; ++i) {
    EXPECT_EQ(listed.count(ToUtf8(ViewKeys[i].name)), 1u) << "not in the key table";
  }
}

TEST(UserReadmeTest, NamesOnlySettingsTheBridgeReadsAndJadIniShowsEachWithItsDefault) {
  std::set<std::string> known;
  for (size_t i = 0; i < BridgeSettingKeyCount; ++i) known.insert(BridgeSettingKeys[i].name);
  const std::string jadIni = SourceFile(kJadIni);
  ASSERT_FALSE(jadIni.empty()) << kJadIni;
  for (const char* document : {kReadme, kJadIni}) {
    const std::string text = SourceFile(document);
    EXPECT_EQ(Unknown(NamedSettings(text), known), std::vector<std::string>{}) << document;
  }
  // Each as a line to take in, with the value a file without it has.
  const BridgeSettings defaults = ParseBridgeSettings("");
  for (size_t i = 0; i < BridgeSettingKeyCount; ++i) {
    const BridgeSettingKey& key = BridgeSettingKeys[i];
    const std::string value = key.write(defaults);
    EXPECT_NE(
        jadIni.find("\n;" + std::string(key.name) + "=" + value + (value.empty() ? "" : "\n")),
        std::string::npos)
        << kJadIni << " has no line ;" << key.name << "=" << value;
  }
}

// The numbers each document states, by the sentence that states them.
struct Statement {
  const char* document;
  const char* pattern;
  std::vector<std::string> code;
};

TEST(UserReadmeTest, StatesTheTimesAndBoundsTheCodeHolds) {
  const std::string timeout = DefaultOf("timeout");
  const std::string idleMinutes = DefaultOf("service_idle_minutes");
  const std::string heap = DefaultOf("service_heap");
  const std::string pluginWait = std::to_string(DecompileWaitLimitMs / 1000);
  const Statement statements[] = {
      {kReadme, R"(not there within (\d+) ms)", {std::to_string(DefaultLoadWaitMs)}},
      {kReadme, R"(\(timeout=, (\d+) by default\))", {timeout}},
      {kReadme,
       R"(may run for (\d+) seconds \(timeout= in jad.ini\); the plugin waits (\d+) seconds)",
       {timeout, pluginWait}},
      {kReadme, R"(after (\d+) minutes without a class)", {idleMinutes}},
      {kReadme, R"(its Java heap is at most (\d+) MB)", {heap.substr(0, heap.size() - 1)}},
      {kReadme,
       R"(waits (\d+) minute before it tries again, then (\d+), (\d+) and so on up to (\d+) minutes)",
       {Minutes(ServiceBackoffMs(1)), Minutes(ServiceBackoffMs(2)), Minutes(ServiceBackoffMs(3)),
        Minutes(ServiceBackoffMs(1000))}},
      {kReadme, R"(after (\d+) tries \(each making)", {std::to_string(MostArchiveTries)}},
      {kReadme, R"(the newest (\d+), each)", {std::to_string(RuntimesWithCaches)}},
      {kReadme,
       R"(up to (\d+) files and (\d+) MB)",
       {std::to_string(MostFamilyFiles), std::to_string(MostFamilyBytes >> 20)}},
      {kReadme, R"(until it ends, (\d+) minutes after the last class)", {idleMinutes}},
      {kJadIni,
       R"(The plugin itself waits (\d+) seconds for jad.exe, so keep this below (\d+)\.)",
       {pluginWait, pluginWait}},
  };
  for (const Statement& statement : statements) {
    EXPECT_EQ(StatedNumbers(SourceFile(statement.document), statement.pattern), statement.code)
        << statement.document << " does not say, as the code holds: " << statement.pattern;
  }
}

}  // namespace
