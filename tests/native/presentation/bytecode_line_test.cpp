// What the bytecode view's highlighting finds on a line: the mnemonic of an
// instruction, and the literal its comment names or its operand holds.
#include "presentation/bytecode_line.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(BytecodeLineTest, MnemonicsAndLiteralsOnJavapsLines) {
  const struct {
    const wchar_t* line;
    const wchar_t* mnemonic;  // "" for none
    const wchar_t* literal;   // "" for none
  } cases[] = {
      {L"       0: aload_0", L"aload_0", L""},
      {L"      16: ldc           #16                 // String Hello, world", L"ldc",
       L"Hello, world"},
      {L"       3: ldc2_w        #7                  // long 3l", L"ldc2_w", L"3l"},
      {L"       5: ldc           #9                  // float 1.5f", L"ldc", L"1.5f"},
      {L"      28: bipush        10", L"bipush", L"10"},
      {L"      31: sipush        -300", L"sipush", L"-300"},
      {L"      18: invokevirtual #18                 // Method java/lang/StringBuilder.append",
       L"invokevirtual", L""},
      {L"     123: tableswitch   { // 0 to 2", L"tableswitch", L""},
      {L"                     0: 28", L"", L""},  // a switch's case: no instruction
      {L"    Code:", L"", L""},
      {L"  public static void main(java.lang.String[]);", L"", L""},
      {L"12:", L"", L""},
      {L"", L"", L""},
  };
  for (const auto& c : cases) {
    const std::wstring line = c.line;
    BytecodeSpans spans = FindBytecodeSpans(line.c_str(), static_cast<int>(line.size()));
    std::wstring mnemonic =
        spans.mnemonicStart < 0
            ? L""
            : line.substr(spans.mnemonicStart, spans.mnemonicEnd - spans.mnemonicStart);
    std::wstring literal =
        spans.literalStart < 0
            ? L""
            : line.substr(spans.literalStart, spans.literalEnd - spans.literalStart);
    EXPECT_EQ(mnemonic, c.mnemonic) << std::string(line.begin(), line.end());
    EXPECT_EQ(literal, c.literal) << std::string(line.begin(), line.end());
  }
}

}  // namespace
