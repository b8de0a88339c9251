// The records that cross the plugin's interfaces (the host's, the control's,
// the printing dialog's, the process and file calls') have the sizes the
// platform expects of a 64-bit and of a 32-bit module. Checked when this test
// program compiles, which both builds do.
#include <windows.h>
// windows.h first: the dialog and rich-edit declarations build on it.
#include <commdlg.h>
#include <richedit.h>

#include "host/listplug.h"

namespace {

#ifdef _WIN64
constexpr bool kWide = true;
#else
constexpr bool kWide = false;
#endif

constexpr size_t ByArchitecture(size_t sixtyFourBit, size_t thirtyTwoBit) {
  return kWide ? sixtyFourBit : thirtyTwoBit;
}

static_assert(sizeof(ListDefaultParamStruct) == 272, "ListDefaultParamStruct");
static_assert(sizeof(CHARFORMAT2A) == 84, "CHARFORMAT2A");
static_assert(sizeof(OSVERSIONINFOA) == 148, "OSVERSIONINFOA");
static_assert(sizeof(WIN32_FIND_DATAW) == 592, "WIN32_FIND_DATAW");
static_assert(sizeof(FINDTEXTA) == ByArchitecture(16, 12), "FINDTEXTA");
static_assert(sizeof(TEXTRANGEA) == ByArchitecture(16, 12), "TEXTRANGEA");
static_assert(sizeof(FORMATRANGE) == ByArchitecture(56, 48), "FORMATRANGE");
static_assert(sizeof(PRINTDLGA) == ByArchitecture(120, 66), "PRINTDLGA");
static_assert(sizeof(DOCINFOA) == ByArchitecture(40, 20), "DOCINFOA");
static_assert(sizeof(STARTUPINFOW) == ByArchitecture(104, 68), "STARTUPINFOW");

}  // namespace
