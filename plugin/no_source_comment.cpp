#include "plugin/no_source_comment.h"

#include <wchar.h>

namespace {

std::wstring Comment(const std::wstring& lines) { return L"/*\r\n" + lines + L" */\r\n"; }

// The places a run folder was asked of, one line each.
std::wstring PlaceLines(const std::vector<std::wstring>& places) {
  std::wstring lines;
  for (const std::wstring& place : places) lines += L" *   " + place + L"\r\n";
  return lines;
}

}  // namespace

std::wstring NoSourceComment(const DecompileResult& result) {
  const std::wstring notRun = L" * Jad could not be run for this class: ";
  switch (result.end) {
    case DecompileEnd::TimedOut: {
      wchar_t line[128];
      swprintf(line, sizeof line / sizeof line[0],
               L" * Jad was still running after %lu seconds and was ended: there is no source.\r\n",
               static_cast<unsigned long>(DecompileWaitLimitMs / 1000));
      return Comment(line);
    }
    case DecompileEnd::NoRunFolder:
      return Comment(notRun + L"no folder for its run (the class is copied\r\n" +
                     L" * there for it) could be made in any of\r\n" + PlaceLines(result.places));
    case DecompileEnd::NoInput:
      return Comment(notRun + L"the class file could not be copied into its run\r\n" +
                     L" * folder, in\r\n" +
                     PlaceLines({result.places.empty() ? L"" : result.places.back()}));
    case DecompileEnd::NotStarted:
      return Comment(notRun + L"jad.exe must be beside the plugin\r\n * or on the PATH.\r\n");
    default:
      return Comment(L" * Jad ended without writing any source for this class.\r\n");
  }
}
