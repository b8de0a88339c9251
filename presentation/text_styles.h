// The five character formats the viewer ever applies: filled with constant
// values by InitTextStyles, passed unchanged to EM_SETCHARFORMAT.
#pragma once

#include <richedit.h>
#include <windows.h>

extern CHARFORMAT2A StyleBase;
extern CHARFORMAT2A StyleKeyword;
extern CHARFORMAT2A StyleString;
extern CHARFORMAT2A StyleComment;
extern CHARFORMAT2A StyleBanner;

void InitTextStyles();
