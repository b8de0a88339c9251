// How much of a class's family goes with it to the decompiler, the shown
// class file included: the plugin copies no more into the run folder, the
// bridge reads and sends the decompile service no more, and the service
// takes no more. Past either bound the shown file goes alone.
#pragma once

#include <stddef.h>

const size_t MostFamilyFiles = 4096;
const size_t MostFamilyBytes = 64u << 20;
