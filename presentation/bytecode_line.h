// What the bytecode view's highlighting colours on one of its lines, beside
// what the Java highlighting already does (keywords of the declarations,
// comments, strings): an instruction's mnemonic ("  12: invokevirtual #7"),
// and the literal constant its comment names ("// String Hello",
// "// long 3l") or its operand is ("bipush 10"). No Win32 call: built on both
// sides.
#pragma once

#include <wchar.h>

struct BytecodeSpans {
  int mnemonicStart = -1, mnemonicEnd = -1;  // -1: the line holds no instruction
  int literalStart = -1, literalEnd = -1;    // -1: nor a literal
};

BytecodeSpans FindBytecodeSpans(const wchar_t* line, int length);
