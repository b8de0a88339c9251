#include "classfile/java_numbers.h"

#include <math.h>
#include <stdio.h>
#include <stdlib.h>

namespace {

// The significant digits and the decimal exponent of the first one.
struct Decimal {
  std::string digits;
  int exponent = 0;
};

// From "%.Ne" text ("1.2345e-05").
Decimal FromScientific(const char* text) {
  Decimal d;
  const char* p = text;
  for (; *p != 'e'; ++p) {
    if (*p >= '0' && *p <= '9') d.digits.push_back(*p);
  }
  d.exponent = atoi(p + 1);
  while (d.digits.size() > 1 && d.digits.back() == '0') d.digits.pop_back();
  return d;
}

// Java writes at least two significant digits ("4.9E-324", not "5.0E-324"
// for the smallest double): the nearest two-digit value when one digit would
// do, and the fewest digits that read back as value beyond that.
template <typename Float>
Decimal Shortest(Float value, int maxDigits) {
  char text[64];
  for (int digits = 2; digits < maxDigits; ++digits) {
    snprintf(text, sizeof text, "%.*e", digits - 1, static_cast<double>(value));
    Float back = sizeof(Float) == sizeof(float) ? static_cast<Float>(strtof(text, nullptr))
                                                : static_cast<Float>(strtod(text, nullptr));
    if (back == value) return FromScientific(text);
  }
  snprintf(text, sizeof text, "%.*e", maxDigits - 1, static_cast<double>(value));
  return FromScientific(text);
}

std::string Layout(bool negative, const Decimal& d) {
  std::string out = negative ? "-" : "";
  if (d.exponent >= -3 && d.exponent < 7) {
    if (d.exponent < 0) {
      out += "0." + std::string(static_cast<size_t>(-d.exponent - 1), '0') + d.digits;
    } else {
      size_t whole = static_cast<size_t>(d.exponent) + 1;
      std::string digits = d.digits;
      if (digits.size() < whole) digits.append(whole - digits.size(), '0');
      out += digits.substr(0, whole) + "." + (digits.size() > whole ? digits.substr(whole) : "0");
    }
  } else {
    out += d.digits.substr(0, 1) + "." + (d.digits.size() > 1 ? d.digits.substr(1) : "0") + "E" +
           std::to_string(d.exponent);
  }
  return out;
}

template <typename Float>
std::string JavaText(Float value, int maxDigits) {
  if (isnan(value)) return "NaN";
  if (isinf(value)) return value < 0 ? "-Infinity" : "Infinity";
  if (value == 0) return signbit(value) ? "-0.0" : "0.0";
  return Layout(value < 0, Shortest(value < 0 ? -value : value, maxDigits));
}

}  // namespace

std::string JavaDoubleText(double value) { return JavaText(value, 17); }

std::string JavaFloatText(float value) { return JavaText(value, 9); }
