// The scripted mode's commands, each mapped onto what the host does for a
// user (the grammar is in README.md).
#include <windows.h>
// windows.h first: the dialog declarations build on it.
#include <commdlg.h>

#include "standins/lister/host_hooks.h"
#include "standins/lister/host_log.h"
#include "standins/lister/list_pick.h"
#include "standins/lister/lister_host.h"
#include "standins/lister/lister_keys.h"

namespace {

// The words of one command, with checked access to its arguments.
class Arguments {
 public:
  explicit Arguments(const ScriptCommand& command) : command_(command) {}
  size_t count() const { return command_.size() - 1; }
  const std::wstring& Word(size_t i) const { return command_[i + 1]; }
  bool Integer(size_t i, long long* value) {
    if (i >= count() || !ParseInteger(Word(i), value)) {
      Fail(L"argument " + std::to_wstring(i + 1) + L" must be a number");
      return false;
    }
    return true;
  }
  bool Int(size_t i, int* value) {
    long long v = 0;
    if (!Integer(i, &v)) return false;
    *value = static_cast<int>(v);
    return true;
  }
  bool Need(size_t low, size_t high) {
    if (count() >= low && count() <= high) return true;
    Fail(L"wrong number of arguments");
    return false;
  }
  bool Fail(const std::wstring& why) {
    LogLine("error %s", Quoted(command_[0] + L": " + why).c_str());
    return false;
  }

 private:
  const ScriptCommand& command_;
};

}  // namespace

bool ListerHost::Execute(const ScriptCommand& command) {
  const std::wstring& name = command[0];
  Arguments args(command);
  auto file_or_default = [&](size_t i) {
    return args.count() > i ? FullPath(args.Word(i)) : current_file_;
  };

  if (name == L"load" || name == L"detect") {
    if (!args.Need(0, 1)) return false;
    std::wstring file = args.count() > 0 ? FullPath(args.Word(0)) : options_.file;
    if (name == L"load") {
      Load(file);
    } else {
      Detect(file);
    }
  } else if (name == L"loadnext") {
    if (!args.Need(1, 1)) return false;
    LoadNext(FullPath(args.Word(0)));
  } else if (name == L"next" || name == L"prev") {
    if (!args.Need(0, 0)) return false;
    StepFile(name == L"next" ? 1 : -1);
  } else if (name == L"close") {
    if (!args.Need(0, 0)) return false;
    Close();
  } else if (name == L"force") {
    if (!args.Need(1, 1)) return false;
    if (args.Word(0) != L"on" && args.Word(0) != L"off") return args.Fail(L"on or off");
    force_ = args.Word(0) == L"on";
  } else if (name == L"dark") {
    if (!args.Need(1, 1)) return false;
    if (args.Word(0) != L"on" && args.Word(0) != L"off") return args.Fail(L"on or off");
    dark_ = args.Word(0) == L"on";
  } else if (name == L"copy" || name == L"selectall") {
    if (!args.Need(0, 0)) return false;
    SendCommand(name == L"copy" ? lc_copy : lc_selectall, 0);
  } else if (name == L"setpercent" || name == L"newparams") {
    int value = 0;
    if (!args.Need(1, 1) || !args.Int(0, &value)) return false;
    SendCommand(name == L"setpercent" ? lc_setpercent : lc_newparams, value);
  } else if (name == L"command") {
    int c = 0, p = 0;
    if (!args.Need(2, 2) || !args.Int(0, &c) || !args.Int(1, &p)) return false;
    SendCommand(c, p);
  } else if (name == L"search" || name == L"searchdialog") {
    if (!args.Need(name == L"search" ? 1 : 0, 2)) return false;
    int flags = 0;
    if (args.count() > 1 && !ParseSearchFlags(args.Word(1), &flags)) {
      return args.Fail(L"flags: a number or first+case+words+back");
    }
    std::wstring text = args.count() > 0 ? args.Word(0) : std::wstring();
    if (name == L"search") {
      Search(text, flags);
    } else {
      SearchDialog(args.count() > 0, text, flags);
    }
  } else if (name == L"searchnext" || name == L"searchprev") {
    if (!args.Need(0, 0)) return false;
    SearchAgain(name == L"searchprev");
  } else if (name == L"print") {
    if (!args.Need(0, 0)) return false;
    Print();
  } else if (name == L"margins") {
    RECT m = {};
    if (!args.Need(4, 4)) return false;
    long long v[4];
    for (size_t i = 0; i < 4; ++i) {
      if (!args.Integer(i, &v[i])) return false;
    }
    m = {static_cast<LONG>(v[0]), static_cast<LONG>(v[1]), static_cast<LONG>(v[2]),
         static_cast<LONG>(v[3])};
    margins_ = m;
  } else if (name == L"printdialog") {
    if (!args.Need(1, 4)) return false;
    PrintDialogAnswer answer;
    const std::wstring& mode = args.Word(0);
    if (mode == L"cancel" && args.count() == 1) {
      answer.mode = PrintDialogMode::kCancel;
    } else if (mode == L"real" && args.count() == 2 &&
               (args.Word(1) == L"accept" || args.Word(1) == L"cancel")) {
      answer.mode =
          args.Word(1) == L"accept" ? PrintDialogMode::kRealAccept : PrintDialogMode::kRealCancel;
    } else if (mode == L"accept" && args.count() == 1) {
      answer.mode = PrintDialogMode::kAccept;
    } else if (mode == L"accept" && args.count() == 2 && args.Word(1) == L"selection") {
      answer.mode = PrintDialogMode::kAccept;
      answer.extra_flags = PD_SELECTION;
    } else if (mode == L"accept" && args.count() == 4 && args.Word(1) == L"pages") {
      int from = 0, to = 0;
      if (!args.Int(2, &from) || !args.Int(3, &to)) return false;
      answer.mode = PrintDialogMode::kAccept;
      answer.extra_flags = PD_PAGENUMS;
      answer.from_page = static_cast<WORD>(from);
      answer.to_page = static_cast<WORD>(to);
    } else {
      return args.Fail(L"accept [pages FROM TO | selection] | cancel | real accept|cancel");
    }
    SetPrintDialogAnswer(answer);
  } else if (name == L"printer") {
    int v[4] = {0, 0, 0, 0};
    if (!args.Need(2, 4)) return false;
    for (size_t i = 0; i < args.count(); ++i) {
      if (!args.Int(i, &v[i])) return false;
    }
    if (v[0] <= 0 || v[1] <= 0) return args.Fail(L"the paper needs a size");
    SetTestPrinter(v[0], v[1], v[2], v[3]);
  } else if (name == L"printpages") {
    if (!args.Need(1, 1)) return false;
    SetPrintPagesFolder(FullPath(args.Word(0)));
  } else if (name == L"thumbnail") {
    int width = 0, height = 0;
    if (!args.Need(3, 4) || !args.Int(0, &width) || !args.Int(1, &height)) return false;
    Thumbnail(width, height, FullPath(args.Word(2)), file_or_default(3), false);
  } else if (name == L"notify") {
    long long message = 0, wparam = 0, lparam = 0;
    if (!args.Need(3, 3) || !args.Integer(0, &message) || !args.Integer(1, &wparam)) return false;
    if (args.Word(2) == L"list") {
      lparam = reinterpret_cast<LONG_PTR>(list_);
    } else if (!args.Integer(2, &lparam)) {
      return false;
    }
    Notify(static_cast<UINT>(message), static_cast<WPARAM>(wparam), static_cast<LPARAM>(lparam));
  } else if (name == L"update") {
    if (!args.Need(0, 0)) return false;
    Notify(WM_COMMAND, MAKEWPARAM(0, EN_UPDATE), reinterpret_cast<LPARAM>(list_));
  } else if (name == L"key") {
    if (!args.Need(1, 1)) return false;
    const std::wstring& keyName = args.Word(0);
    ListerKey key;
    if (FindListerKey(keyName, &key)) {
      if (!HandleKey(key.key, key.ctrl, key.shift)) DeliverKey(key.key, key.ctrl, key.shift);
    } else if (keyName.size() == 1 && keyName[0] >= L'0' && keyName[0] <= L'9') {
      HandleKey(keyName[0], false, false);
    } else {
      return args.Fail(L"unknown key " + keyName);
    }
    LogTopLine();
  } else if (name == L"contextmenu") {
    int item = 0;
    if (!args.Need(1, 2) || !args.Int(0, &item)) return false;
    ListerKey key = {};
    if (args.count() == 2 && (!FindListerKey(args.Word(1), &key) || key.ctrl)) {
      return args.Fail(L"the menu opens by a right click or a key such as shift+f10");
    }
    ContextMenu(item, key.key, key.shift);
    LogTopLine();
  } else if (name == L"pick") {
    if (!args.Need(1, 1)) return false;
    SetListPick(args.Word(0));
  } else if (name == L"top") {
    if (!args.Need(0, 0)) return false;
    LogTopLine();
  } else if (name == L"clock") {
    if (!args.Need(1, 2)) return false;
    const std::wstring& value = args.Word(0);
    long long n = 0;
    if (value == L"real" && args.count() == 1) {
      SetScriptedClock(false, 0);
    } else if (value == L"step" && args.count() == 2) {
      if (!args.Integer(1, &n)) return false;
      SetScriptedClockStep(static_cast<DWORD>(n));
    } else if (value[0] == L'+' && args.count() == 1 && ParseInteger(value.substr(1), &n)) {
      AdvanceScriptedClock(static_cast<DWORD>(n));
    } else if (args.count() == 1) {
      // N, or N1,N2,... answered in turn.
      std::vector<DWORD> readings;
      size_t start = 0;
      for (;;) {
        size_t comma = value.find(L',', start);
        std::wstring part =
            value.substr(start, comma == std::wstring::npos ? comma : comma - start);
        if (!ParseInteger(part, &n)) return args.Fail(L"N, N1,N2,..., +N, step N or real");
        readings.push_back(static_cast<DWORD>(n));
        if (comma == std::wstring::npos) break;
        start = comma + 1;
      }
      SetScriptedClock(true, readings.back());
      if (readings.size() > 1) SetScriptedClockReadings(readings);
    } else {
      return args.Fail(L"N, N1,N2,..., +N, step N or real");
    }
  } else if (name == L"platform") {
    if (!args.Need(1, 1)) return false;
    const std::wstring& value = args.Word(0);
    if (value == L"nt") {
      SetReportedPlatform(VER_PLATFORM_WIN32_NT);
    } else if (value == L"other") {
      SetReportedPlatform(VER_PLATFORM_WIN32_WINDOWS);
    } else if (value == L"real") {
      SetReportedPlatform(-1);
    } else {
      return args.Fail(L"nt, other or real");
    }
  } else if (name == L"resize") {
    int width = 0, height = 0;
    if (!args.Need(2, 2) || !args.Int(0, &width) || !args.Int(1, &height)) return false;
    SetWindowPos(frame_, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
    LogSizes();
  } else if (name == L"sleep") {
    int ms = 0;
    if (!args.Need(1, 1) || !args.Int(0, &ms)) return false;
    PumpFor(static_cast<DWORD>(ms > 0 ? ms : 0));
  } else if (name == L"waitsource") {
    int ms = 60000;
    if (!args.Need(0, 1) || (args.count() == 1 && !args.Int(0, &ms))) return false;
    WaitForSource(static_cast<DWORD>(ms > 0 ? ms : 0));
  } else if (name == L"pump") {
    if (!args.Need(0, 0)) return false;
    Pump();
  } else if (name == L"pixel") {
    int x = 0, y = 0;
    if (!args.Need(2, 2) || !args.Int(0, &x) || !args.Int(1, &y)) return false;
    LogPixel(x, y);
  } else if (name == L"screenshot" || name == L"dumptext" || name == L"dumpformats") {
    if (!args.Need(1, 1)) return false;
    std::wstring path = FullPath(args.Word(0));
    if (name == L"screenshot") {
      Screenshot(path);
    } else if (name == L"dumptext") {
      DumpText(path);
    } else {
      DumpFormats(path);
    }
  } else if (name == L"counts") {
    // The first counts are the baseline; with MS, the host waits up to MS
    // until its handles and threads are back at it.
    int ms = 0;
    if (!args.Need(0, 1) || (args.count() == 1 && !args.Int(0, &ms))) return false;
    LogCounts(static_cast<DWORD>(ms > 0 ? ms : 0));
  } else if (name == L"echo") {
    std::wstring text;
    for (size_t i = 0; i < args.count(); ++i) text += (i ? L" " : L"") + args.Word(i);
    LogLine("echo %s", Utf8(text).c_str());
  } else {
    return args.Fail(L"unknown command");
  }
  return true;
}
