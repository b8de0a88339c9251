#pragma once
#include "base/b.h"
#include "bridge/high/h.h"  // up: named
