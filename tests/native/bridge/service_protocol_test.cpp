// The bridge's side of the service protocol: the request's bytes, the answer
// read back however it comes, the port file, the options and settings.
#include <gtest/gtest.h>

#include "bridge/service_client/protocol.h"
#include "bridge/settings/jad_ini.h"

namespace {

std::string Bytes(std::initializer_list<int> values) {
  std::string out;
  for (int v : values) out.push_back(static_cast<char>(v));
  return out;
}

TEST(ServiceProtocolTest, EncodesTheRequestAsTheServiceReadsIt) {
  EXPECT_EQ(
      EncodeServiceRequest("ab", "k1", "cfr", {"-x", "y"}, "\xCA\xFE", {{"A$1.class", "Z"}}),
      Bytes({'D', 'R', 'V', 'K', 0,   3,   0, 2, 'a', 'b', 0, 2, 'k', '1',  0,    3, 'c', 'f', 'r',
             0,   2,   0,   2,   '-', 'x', 0, 1, 'y', 0,   0, 0, 2,   0xCA, 0xFE, 0, 1,   0,   9}) +
          "A$1.class" + Bytes({0, 0, 0, 1, 'Z'}));
  EXPECT_EQ(EncodeServiceRequest("s", "", "vineflower", {}, "C", {}),
            Bytes({'D', 'R', 'V', 'K', 0, 3, 0, 1, 's', 0, 0, 0, 10}) + "vineflower" +
                Bytes({0, 0, 0, 0, 0, 1, 'C', 0, 0}));
}

// A service serves one runtime, heap and idle time: any change makes another
// key, a path's case does not.
TEST(ServiceProtocolTest, TheSettingsKeyChangesWithEverySettingButAPathsCase) {
  const std::string key = ServiceSettingsKey("C:\\jdk\\bin\\java.exe", 17, "256m", "600.0");
  EXPECT_EQ(key.size(), 16u);
  EXPECT_EQ(key.find_first_not_of("0123456789abcdef"), std::string::npos);
  EXPECT_EQ(ServiceSettingsKey("C:\\JDK\\bin\\java.exe", 17, "256m", "600.0"), key);
  for (const std::string& other :
       {ServiceSettingsKey("C:\\jdk2\\bin\\java.exe", 17, "256m", "600.0"),
        ServiceSettingsKey("C:\\jdk\\bin\\java.exe", 21, "256m", "600.0"),
        ServiceSettingsKey("C:\\jdk\\bin\\java.exe", 17, "512m", "600.0"),
        ServiceSettingsKey("C:\\jdk\\bin\\java.exe", 17, "256m", "60.0")}) {
    EXPECT_NE(other, key);
  }
}

TEST(ServiceProtocolTest, ReadsEachAnswerOnlyWhenWholeAndExact) {
  const std::string source = Bytes({0, 0, 6}) + "A.java" + Bytes({0, 0, 0, 4}) + "x\r\ny";
  ServiceAnswer whole = ParseServiceAnswer(source);
  EXPECT_EQ(whole.kind, ServiceAnswer::Kind::Source);
  EXPECT_EQ(whole.text, "x\r\ny");
  for (size_t cut = 0; cut < source.size(); ++cut) {
    EXPECT_EQ(ParseServiceAnswer(source.substr(0, cut)).kind, ServiceAnswer::Kind::Incomplete)
        << cut;
  }
  EXPECT_EQ(ParseServiceAnswer(source + "!").kind, ServiceAnswer::Kind::Malformed);

  ServiceAnswer failed = ParseServiceAnswer(Bytes({1, 0, 0, 0, 3}) + "bad");
  EXPECT_EQ(failed.kind, ServiceAnswer::Kind::Failed);
  EXPECT_EQ(failed.text, "bad");
  EXPECT_EQ(ParseServiceAnswer(Bytes({2, 0, 0, 0, 1}) + "s").kind, ServiceAnswer::Kind::Refused);
  EXPECT_EQ(ParseServiceAnswer(Bytes({3})).kind, ServiceAnswer::Kind::Malformed);
  // A size past the limit is not waited for.
  EXPECT_EQ(ParseServiceAnswer(Bytes({1, 0x7F, 0, 0, 0})).kind, ServiceAnswer::Kind::Malformed);
}

TEST(ServiceProtocolTest, TakesOnlyAWellFormedPortFile) {
  ServiceAddress address = ParsePortFile("51234 00ff00ff00ff00ff00ff00ff00ff00ff\n");
  EXPECT_TRUE(address.valid);
  EXPECT_EQ(address.port, 51234);
  EXPECT_EQ(address.secret, "00ff00ff00ff00ff00ff00ff00ff00ff");
  for (const char* bad : {"", "51234", "51234 \n", "0 ab\n", "65536 ab\n", "-1 ab\n", "12 a b\n",
                          " 12 ab\n", "12 xyz\n"}) {
    EXPECT_FALSE(ParsePortFile(bad).valid) << bad;
  }
  // One port file per installed copy, whatever the case of its folder's name.
  EXPECT_EQ(ServicePortFileName("C:\\TC\\Plugins\\dravik"),
            ServicePortFileName("c:\\tc\\plugins\\DRAVIK"));
  EXPECT_NE(ServicePortFileName("C:\\a"), ServicePortFileName("C:\\b"));
}

TEST(ServiceProtocolTest, ServiceSettingsKeepTheirDefaultsForWhatIsWrong) {
  BridgeSettings defaults = ParseBridgeSettings("");
  EXPECT_TRUE(defaults.service);
  EXPECT_EQ(defaults.serviceIdleMinutes, 10);
  EXPECT_EQ(defaults.serviceHeap, "256m");
  EXPECT_TRUE(defaults.cache);
  BridgeSettings read = ParseBridgeSettings(
      "service=OFF\nservice_idle_minutes=0.05\nservice_heap=1g\ncache=no\ncache=later\n"
      "service=maybe\nservice_idle_minutes=1e3\nservice_idle_minutes=0\n"
      "service_heap=256m -Xss1g\nservice_heap=0m\n");
  EXPECT_FALSE(read.service);
  EXPECT_DOUBLE_EQ(read.serviceIdleMinutes, 0.05);
  EXPECT_EQ(read.serviceHeap, "1g");
  EXPECT_FALSE(read.cache);
}

}  // namespace
