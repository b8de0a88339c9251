#pragma once
#include "bridge/low/l.h"
