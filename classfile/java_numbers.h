// Floating-point numbers as Java's Double.toString and Float.toString write
// them: the fewest digits that read back as the same value, plain between
// 10^-3 and 10^7 ("100.0", "0.001"), in computerized notation outside it
// ("1.0E7", "9.999E-4"), and "NaN", "Infinity", "-0.0".
#pragma once

#include <string>

std::string JavaDoubleText(double value);
std::string JavaFloatText(float value);
