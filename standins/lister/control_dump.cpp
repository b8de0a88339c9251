#include "standins/lister/control_dump.h"

#include <richedit.h>
#include <stdio.h>

#include <string>
#include <vector>

namespace {

struct Format {
  std::string bold, colour, face;
  bool operator==(const Format& other) const {
    return bold == other.bold && colour == other.colour && face == other.face;
  }
};

Format ReadFormat(HWND list, int position) {
  SendMessageA(list, EM_SETSEL, position, position + 1);
  CHARFORMATA format = {};
  format.cbSize = sizeof format;
  SendMessageA(list, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
  Format f;
  f.bold = !(format.dwMask & CFM_BOLD) ? "?" : (format.dwEffects & CFE_BOLD) ? "1" : "0";
  if (!(format.dwMask & CFM_COLOR)) {
    f.colour = "?";
  } else if (format.dwEffects & CFE_AUTOCOLOR) {
    f.colour = "auto";
  } else {
    char text[8];
    snprintf(text, sizeof text, "#%02x%02x%02x", GetRValue(format.crTextColor),
             GetGValue(format.crTextColor), GetBValue(format.crTextColor));
    f.colour = text;
  }
  if (!(format.dwMask & CFM_FACE)) {
    f.face = "?";
  } else {
    format.szFaceName[LF_FACESIZE - 1] = '\0';
    f.face = format.szFaceName;
  }
  return f;
}

bool WriteWholeFile(const std::wstring& path, const std::string& bytes) {
  FILE* file = _wfopen(path.c_str(), L"wb");
  if (file == nullptr) return false;
  bool written = fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return fclose(file) == 0 && written;
}

}  // namespace

bool DumpControlText(HWND list, const std::wstring& path) {
  std::string text;
  if (IsWindow(list)) {
    int length = GetWindowTextLengthW(list);
    std::vector<wchar_t> buffer(static_cast<size_t>(length > 0 ? length : 0) + 1, L'\0');
    int got = GetWindowTextW(list, buffer.data(), static_cast<int>(buffer.size()));
    int bytes =
        got > 0 ? WideCharToMultiByte(CP_UTF8, 0, buffer.data(), got, nullptr, 0, nullptr, nullptr)
                : 0;
    text.assign(static_cast<size_t>(bytes > 0 ? bytes : 0), '\0');
    if (bytes > 0) {
      WideCharToMultiByte(CP_UTF8, 0, buffer.data(), got, &text[0], bytes, nullptr, nullptr);
    }
  }
  return WriteWholeFile(path, text);
}

bool DumpControlFormats(HWND list, const std::wstring& path) {
  std::string lines;
  if (IsWindow(list)) {
    DWORD old_start = 0, old_end = 0;
    SendMessageA(list, EM_GETSEL, reinterpret_cast<WPARAM>(&old_start),
                 reinterpret_cast<LPARAM>(&old_end));
    int old_top = static_cast<int>(SendMessageA(list, EM_GETFIRSTVISIBLELINE, 0, 0));
    // The end of the text in the control's own positions.
    SendMessageA(list, EM_SETSEL, 0, -1);
    DWORD end = 0;
    SendMessageA(list, EM_GETSEL, 0, reinterpret_cast<LPARAM>(&end));
    // A selection of everything may take in the control's final paragraph
    // mark, which is no part of the text.
    GETTEXTLENGTHEX request = {GTL_NUMCHARS | GTL_PRECISE, 1200};
    LRESULT chars = SendMessageA(list, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&request), 0);
    if (chars > 0 && static_cast<DWORD>(chars) < end) end = static_cast<DWORD>(chars);
    int run_start = 0;
    Format run;
    auto end_run = [&](int run_end) {
      lines += std::to_string(run_start) + " " + std::to_string(run_end) + " " + run.bold + " " +
               run.colour + " " + run.face + "\n";
      run_start = run_end;
    };
    for (int i = 0; i < static_cast<int>(end); ++i) {
      Format f = ReadFormat(list, i);
      if (i > 0 && !(f == run)) end_run(i);
      run = f;
    }
    if (end > 0) end_run(static_cast<int>(end));
    SendMessageA(list, EM_SETSEL, old_start, old_end);
    int top = static_cast<int>(SendMessageA(list, EM_GETFIRSTVISIBLELINE, 0, 0));
    SendMessageA(list, EM_LINESCROLL, 0, old_top - top);
  }
  return WriteWholeFile(path, lines);
}
