#include "bridge/high/h.h"
#include "bridge/low/l.h"
