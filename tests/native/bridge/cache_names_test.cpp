// The caches' names hold their runtime, their jars and the checksum of their
// contents; the checksum tells a changed or cut-short cache, however its
// bytes come in.
#include "bridge/class_data_cache/cache_names.h"

#include <gtest/gtest.h>

#include "bridge/class_data_cache/cache_checksum.h"

namespace {

uint64_t ChecksumInPieces(const std::string& bytes, size_t piece) {
  ArchiveChecksum sum;
  for (size_t at = 0; at < bytes.size(); at += piece) {
    const size_t n = bytes.size() - at < piece ? bytes.size() - at : piece;
    AddToChecksum(&sum, reinterpret_cast<const unsigned char*>(bytes.data()) + at, n);
  }
  return FinishChecksum(sum);
}

TEST(CacheNamesTest, ACacheNameHoldsItsRuntimeJarsAndChecksum) {
  const std::string runtime = HashIdentity({"C:\\jdk\\bin\\java.exe 0:1 2:3", "release 0:9 2:3"});
  const std::string jars = HashIdentity({"vineflower.jar 0:5 6:7"});
  EXPECT_EQ(runtime.size(), 16u);
  EXPECT_NE(HashIdentity({"a", "b"}), HashIdentity({"ab"}));
  const std::string stem = ArchiveStem(runtime, jars);
  const std::string name = ArchiveFileName(stem, 0x0123456789abcdefull);
  EXPECT_EQ(name, "dravik-java-" + runtime + "-" + jars + "-0123456789abcdef.jsa");

  ArchiveFileParts parts;
  ASSERT_TRUE(ParseArchiveFileName(name, &parts));
  EXPECT_TRUE(parts.cache);
  EXPECT_EQ(parts.runtimeHash, runtime);
  EXPECT_EQ(parts.jarsHash, jars);
  EXPECT_EQ(parts.checksum, 0x0123456789abcdefull);
  ASSERT_TRUE(ParseArchiveFileName(stem + ArchiveTrainingOutput, &parts));
  EXPECT_FALSE(parts.cache);
  EXPECT_EQ(parts.suffix, ".tmp");
  for (const std::string& other :
       {std::string("dravik-service-0123456789abcdef.jsa"), stem, stem + "-0123.jsa",
        stem + "-0123456789ABCDEF.jsa", stem + "-0123456789abcdef.jsa.x",
        std::string("dravik-java-xyz")}) {
    EXPECT_FALSE(ParseArchiveFileName(other, &parts)) << other;
  }
}

TEST(CacheNamesTest, TheChecksumTellsAnyChangeOrCutButNotHowTheBytesCame) {
  std::string bytes;
  for (int i = 0; i < 100003; ++i) bytes += static_cast<char>((i * 7919) >> 3);
  const uint64_t whole = ChecksumInPieces(bytes, bytes.size());
  for (size_t piece : {1, 3, 8, 4096, 65537}) EXPECT_EQ(ChecksumInPieces(bytes, piece), whole);

  std::string changed = bytes;
  changed[51234] ^= 0x10;
  EXPECT_NE(ChecksumInPieces(changed, 4096), whole);
  EXPECT_NE(ChecksumInPieces(bytes.substr(0, 65536), 4096), whole);
  // A cut at a word whose missing bytes were zeros.
  const std::string zeros = std::string(64, 'x') + std::string(16, '\0');
  EXPECT_NE(ChecksumInPieces(zeros, 8), ChecksumInPieces(zeros.substr(0, 72), 8));
}

}  // namespace
