// java.exe for this machine: hands its arguments to Linux's java and waits for
// it, as a Windows java.exe would run. Windows names among the arguments
// (X:\..., \\server\...) become Unix names, and so does each entry of a
// -cp/-classpath value, ';' becoming ':'. What Linux's java writes to its
// standard output and error comes out of this program's, and its exit code is
// this program's; what this program's standard input holds when it is a pipe
// or a file (read to its end first) is java's.
//
// Wine cannot wait for a Unix process and does not hand a Unix process the
// standard handles it is given, so the run goes through a shell script in a
// temporary folder: java's input and output go through files there (the
// input file is removed as soon as java has it open), and the script writes
// a marker with java's exit code when java has ended; this program waits for
// the marker. When this program is ended from outside (the bridge's job
// object), Wine runs none of its code, so nothing can tell Linux's java at that
// moment; instead this program rewrites a heartbeat file while it waits, and
// the script ends java (kill -9) once the heartbeat has stood still for about
// three seconds.
#include <stdio.h>
#include <stdlib.h>
#include <windows.h>

#include <string>

namespace {

std::string Utf8(const std::wstring& text) {
  int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string out(n > 0 ? n - 1 : 0, '\0');
  if (n > 1) WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &out[0], n, nullptr, nullptr);
  return out;
}

std::wstring Wide(const std::string& utf8) {
  int n = MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, nullptr, 0);
  std::wstring out(n > 0 ? n - 1 : 0, L'\0');
  if (n > 1) MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, &out[0], n);
  return out;
}

// Wine's own conversion of a Windows name to the Unix one; "" outside Wine.
std::string UnixName(const std::wstring& windowsName) {
  typedef char*(CDECL * ToUnixName)(const WCHAR*);
  auto toUnix = reinterpret_cast<ToUnixName>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  if (toUnix == nullptr) return "";
  char* name = toUnix(windowsName.c_str());
  if (name == nullptr) return "";
  std::string unix(name);
  HeapFree(GetProcessHeap(), 0, name);
  return unix;
}

bool LooksLikeWindowsName(const std::wstring& text) {
  return (text.size() >= 3 && text[1] == L':' && (text[2] == L'\\' || text[2] == L'/')) ||
         (text.size() >= 2 && text[0] == L'\\' && text[1] == L'\\');
}

std::string ShellQuoted(const std::string& text) {
  std::string out = "'";
  for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

// An argument as a shell word, a Windows name as the Unix one. Wine names
// drive C: ".../dosdevices/c:/", and that colon would split a class path
// entry (a jar given to -jar is one too), so such a name is resolved by the
// shell (readlink) to its real name.
// An option that ends in a Windows name (-XX:SharedArchiveFile=C:\...) has
// that part converted too.
std::string ShellWord(const std::wstring& argument) {
  size_t equals = argument.find(L'=');
  if (!LooksLikeWindowsName(argument) && equals != std::wstring::npos &&
      LooksLikeWindowsName(argument.substr(equals + 1))) {
    return ShellQuoted(Utf8(argument.substr(0, equals + 1))) +
           ShellWord(argument.substr(equals + 1));
  }
  std::string unix = LooksLikeWindowsName(argument) ? UnixName(argument) : "";
  if (unix.find(':') != std::string::npos) return "\"$(readlink -m " + ShellQuoted(unix) + ")\"";
  return ShellQuoted(unix.empty() ? Utf8(argument) : unix);
}

// A class path as one shell word: each entry converted, joined with ':'.
std::string ClassPathWord(const std::wstring& value) {
  std::string out;
  size_t start = 0;
  while (start <= value.size()) {
    size_t end = value.find(L';', start);
    if (end == std::wstring::npos) end = value.size();
    if (start > 0) out += ':';
    out += ShellWord(value.substr(start, end - start));
    start = end + 1;
  }
  return out;
}

bool WriteWhole(const std::wstring& name, const std::string& bytes) {
  HANDLE file = CreateFileW(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
            written == bytes.size();
  CloseHandle(file);
  return ok;
}

std::string ReadWhole(const std::wstring& name) {
  std::string bytes;
  HANDLE file = CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return bytes;
  char chunk[65536];
  DWORD n = 0;
  while (ReadFile(file, chunk, sizeof chunk, &n, nullptr) && n > 0) bytes.append(chunk, n);
  CloseHandle(file);
  return bytes;
}

void CopyTo(DWORD standardHandle, const std::string& bytes) {
  HANDLE handle = GetStdHandle(standardHandle);
  DWORD written = 0;
  if (handle != nullptr && handle != INVALID_HANDLE_VALUE && !bytes.empty()) {
    WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  }
}

// What this program's standard input holds, when it is a pipe or a file (the
// bridge hands a service its secret through a pipe); "" for a console or NUL.
std::string StandardInput() {
  std::string bytes;
  HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  if (input == nullptr || input == INVALID_HANDLE_VALUE) return bytes;
  DWORD type = GetFileType(input);
  if (type != FILE_TYPE_PIPE && type != FILE_TYPE_DISK) return bytes;
  char chunk[4096];
  DWORD n = 0;
  while (bytes.size() < (1u << 20) && ReadFile(input, chunk, sizeof chunk, &n, nullptr) && n > 0) {
    bytes.append(chunk, n);
  }
  return bytes;
}

void RemoveFolder(const std::wstring& folder) {
  for (const wchar_t* name : {L"run.sh", L"in", L"out", L"err", L"beat", L"code", L"ended"}) {
    DeleteFileW((folder + L"\\" + name).c_str());
  }
  RemoveDirectoryW(folder.c_str());
}

// The script: java in the background with its output in files, a watchdog
// that ends it when the heartbeat stands still (twelve looks a quarter second
// apart), and the marker with java's exit code at the end, after which it
// removes the folder itself should the Windows side not have done so ten
// seconds later. @folder@ is the quoted temporary folder, @java@ the command;
// $1 is the current directory.
const char ScriptTemplate[] = R"(cd "$1" || { echo 127 >@folder@/code; exit; }
exec 3<@folder@/in
rm -f @folder@/in
@java@ >@folder@/out 2>@folder@/err <&3 3<&- &
pid=$!
exec 3<&-
(
  last=; same=0
  while sleep 0.25; do
    now=; read -r now <@folder@/beat 2>/dev/null
    if [ "$now" = "$last" ]; then same=$((same + 1)); else same=0; last=$now; fi
    if [ $same -ge 12 ]; then : >@folder@/ended; kill -9 $pid; exit; fi
  done
) &
watchdog=$!
wait $pid
code=$?
kill $watchdog 2>/dev/null
if [ -e @folder@/ended ]; then rm -rf @folder@; exit; fi
echo $code >@folder@/code.tmp && mv @folder@/code.tmp @folder@/code
# The Windows side reads the marker and removes the folder at once; one that
# was ended meanwhile leaves that to the script, ten seconds on.
waited=0
while [ -d @folder@ ] && sleep 0.25; do
  waited=$((waited + 1))
  if [ $waited -ge 40 ]; then rm -rf @folder@; exit; fi
done
)";

std::string Script(const std::string& javaCommand, const std::string& folder) {
  const std::string quotedFolder = ShellQuoted(folder);
  std::string script = ScriptTemplate;
  for (size_t at = script.find('@'); at != std::string::npos; at = script.find('@', at)) {
    bool isFolder = script.compare(at, 8, "@folder@") == 0;
    const std::string& value = isFolder ? quotedFolder : javaCommand;
    script.replace(at, isFolder ? 8 : 6, value);
    at += value.size();
  }
  return script;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::string command = "java";
  for (int i = 1; i < argc; ++i) {
    std::wstring argument = argv[i];
    bool classPath = i > 1 && (std::wstring(argv[i - 1]) == L"-cp" ||
                               std::wstring(argv[i - 1]) == L"-classpath" ||
                               std::wstring(argv[i - 1]) == L"--class-path");
    command += " " + (classPath ? ClassPathWord(argument) : ShellWord(argument));
  }

  wchar_t temp[MAX_PATH + 1];
  DWORD n = GetTempPathW(MAX_PATH + 1, temp);
  if (n == 0 || n > MAX_PATH) return 127;
  std::wstring folder = std::wstring(temp) + L"dravik-java-" +
                        std::to_wstring(GetCurrentProcessId()) + L"-" +
                        std::to_wstring(GetTickCount());
  if (!CreateDirectoryW(folder.c_str(), nullptr)) return 127;
  std::string unixFolder = UnixName(folder);
  wchar_t current[MAX_PATH];
  DWORD length = GetCurrentDirectoryW(MAX_PATH, current);
  std::string unixCurrent = length > 0 && length < MAX_PATH ? UnixName(current) : "";
  if (unixFolder.empty() || unixCurrent.empty() ||
      !WriteWhole(folder + L"\\run.sh", Script(command, unixFolder)) ||
      !WriteWhole(folder + L"\\in", StandardInput()) || !WriteWhole(folder + L"\\beat", "0\n")) {
    fputs("java (stand-in): not under Wine, or no temporary folder\n", stderr);
    RemoveFolder(folder);
    return 127;
  }

  // The current directory goes as an argument too: the script starts there
  // whatever Wine's idea of a Unix process's directory.
  std::wstring line =
      L"\"Z:\\bin\\sh\" \"" + Wide(unixFolder) + L"/run.sh\" \"" + Wide(unixCurrent) + L"\"";
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                      nullptr, &startup, &process)) {
    RemoveFolder(folder);
    return 127;
  }
  if (process.hProcess != nullptr) CloseHandle(process.hProcess);
  if (process.hThread != nullptr) CloseHandle(process.hThread);

  const std::wstring marker = folder + L"\\code";
  for (unsigned beat = 1; GetFileAttributesW(marker.c_str()) == INVALID_FILE_ATTRIBUTES; ++beat) {
    Sleep(5);
    if (beat % 20 == 0) WriteWhole(folder + L"\\beat", std::to_string(beat) + "\n");
  }
  int code = atoi(ReadWhole(marker).c_str());
  CopyTo(STD_OUTPUT_HANDLE, ReadWhole(folder + L"\\out"));
  CopyTo(STD_ERROR_HANDLE, ReadWhole(folder + L"\\err"));
  RemoveFolder(folder);
  return code;
}
