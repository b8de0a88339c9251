// The comment that says why a run gave no text at all: Jad ended by its time
// limit, never run (and where its run was tried), or ending without output.
#pragma once

#include <string>

#include "decompile/decompile_job.h"

// A Java block comment with CR LF line ends.
std::wstring NoSourceComment(const DecompileResult& result);
