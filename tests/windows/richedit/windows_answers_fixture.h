// A rich-edit control made as Wine's conformance tests make theirs (editable,
// multi-line, both scroll bars) for the tests that state Windows' answers, and
// the read-outs they share. Each test names the function of Wine's
// dlls/riched20/tests/editor.c its cases come from; those cases pass on Windows.
#pragma once

#include <string>

#include "tests/windows/richedit/richedit_fixture.h"

class WindowsAnswersTest : public RichEditTest {
 protected:
  void SetUp() override;
  // A fresh control, for cases Wine runs each in a window of its own; with
  // wide a "RichEdit20W".
  void Recreate(bool wide = false);

  // The text by EM_GETTEXTEX in the 8-bit code page, with the given GT_ flags.
  std::string TextEx(DWORD flags) const;
  // WM_GETTEXT into a large buffer.
  std::string WindowText() const;
  // The format of [min, max) by EM_SETSEL and EM_GETCHARFORMAT.
  CHARFORMAT2A ReadFormat(int min, int max) const;
  // EM_SETCHARFORMAT with a record holding only the mask and the effects.
  LRESULT SetFormat(WPARAM scope, DWORD mask, DWORD effects) const;
  bool Modified() const { return Send(EM_GETMODIFY) != 0; }
};
