// Whether this process runs under Wine rather than on Windows: what only Wine
// needs or offers (Unix paths, a Unix decompiler, a share served from the
// prefix) is used only then.
#pragma once

bool RunningUnderWine();
