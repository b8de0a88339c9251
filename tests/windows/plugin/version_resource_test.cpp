// The version resource of the built plugin, read the way Windows' file
// properties read it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/windows/test_support.h"

namespace {

std::wstring QueryString(const std::vector<BYTE>& info, const wchar_t* name) {
  wchar_t* value = nullptr;
  UINT length = 0;
  std::wstring key = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
  if (!VerQueryValueW(info.data(), key.c_str(), reinterpret_cast<void**>(&value), &length)) {
    return L"";
  }
  return std::wstring(value);
}

TEST(VersionResourceTest, CarriesTheProjectVersionAndTheOriginalFileName) {
  std::wstring path = ExeDirectory() + kPluginFile;
  DWORD size = GetFileVersionInfoSizeW(path.c_str(), nullptr);
  ASSERT_GT(size, 0u);
  std::vector<BYTE> info(size);
  ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, info.data()));

  std::string version = DRAVIK_VERSION;
  std::wstring wide_version(version.begin(), version.end());
  EXPECT_EQ(QueryString(info, L"FileVersion"), wide_version);
  EXPECT_EQ(QueryString(info, L"ProductVersion"), wide_version);
  EXPECT_EQ(QueryString(info, L"OriginalFilename"), kPluginFile);
  EXPECT_NE(QueryString(info, L"FileDescription"), L"");

  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  int major = 0, minor = 0, patch = 0;
  sscanf(version.c_str(), "%d.%d.%d", &major, &minor, &patch);
  EXPECT_EQ(HIWORD(fixed->dwFileVersionMS), major);
  EXPECT_EQ(LOWORD(fixed->dwFileVersionMS), minor);
  EXPECT_EQ(HIWORD(fixed->dwFileVersionLS), patch);
}

}  // namespace
