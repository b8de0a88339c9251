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

// The system's sentence for an error, with its number.
std::wstring SystemMessage(DWORD error) {
  wchar_t text[256] = L"";
  DWORD n = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                           error, 0, text, sizeof text / sizeof text[0], nullptr);
  while (n > 0 && (text[n - 1] == L'\r' || text[n - 1] == L'\n' || text[n - 1] == L' ')) --n;
  wchar_t number[32];
  swprintf(number, sizeof number / sizeof number[0], L"(error %lu)",
           static_cast<unsigned long>(error));
  return n > 0 ? std::wstring(text, n) + L" " + number : std::wstring(number);
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
      // A jad.exe that is there but would not start (a sharing violation, a
      // security program, no memory) says so in the system's words.
      if (result.startError != 0 && result.startError != ERROR_FILE_NOT_FOUND &&
          result.startError != ERROR_PATH_NOT_FOUND) {
        return Comment(notRun + L"jad.exe did not start:\r\n * " +
                       SystemMessage(result.startError) + L"\r\n");
      }
      return Comment(notRun + L"jad.exe must be beside the plugin\r\n * or on the PATH.\r\n");
    default:
      return Comment(L" * Jad ended without writing any source for this class.\r\n");
  }
}
