// Numbers as text: the engine's number-to-text rule and the readers of decimal and integer text.
// Every script value is text; these functions are the only way numbers enter or leave it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kubrix {

// Longest text formatNumber writes ("-1.23456789012345E-4951" and the like).
inline constexpr size_t kNumberTextMax = 32;

// Writes v rounded to 15 significant digits (halves away from zero) in general notation: fixed when
// the rounded integer part has at most 15 digits and |v| >= 0.0001, otherwise d.dddE[-]x; no trailing
// zeros; zero is "0"; infinite and undefined values are "INF" and "NAN", with "-" when the sign bit
// is set. Returns the number of bytes written to buf (buf holds at least kNumberTextMax bytes).
size_t formatNumber(long double v, char* buf);
void appendNumber(std::string& out, long double v);
std::string numberText(long double v);

// The value the 15-digit text of v reads back as (v rounded to 15 significant digits); infinite
// and undefined values are returned as they are.
long double round15(long double v);

// The 15 significant digits of a > 0 as q (10^14 <= q < 10^15) and the decimal exponent e10 with
// a ~ q * 10^(e10 - 14), rounded halves away from zero; false when a is outside the exact integer path.
bool decimal15(long double a, uint64_t& q, int& e10);

// Writes a decimal integer to buf (at least 21 bytes); returns the number of bytes.
size_t formatInt(long long v, char* buf);
// Appends a decimal integer.
void appendInt(std::string& out, long long v);

// Reads text that is completely a decimal number: optional blanks, optional sign, digits with an
// optional point (at least one digit), optional exponent (e or E, optional sign, digits), optional
// blanks. Fails on anything else and on overflow of extended precision.
bool parseDecimal(std::string_view s, long double& out);

// The same, for a 64-bit value: text that overflows a double fails.
bool parseDouble(std::string_view s, double& out);

// Reads a whole number: optional blanks, optional sign, decimal digits or hexadecimal digits after
// "$", "x" or "0x". Fails on anything else and on values outside 32 bits.
bool parseInt32(std::string_view s, int32_t& out);

// Rounding to a multiple of 1/scale, halves away from zero: sign(x) * trunc(|x| * scale + 0.5 + 1e-14) / scale.
long double roundTo(long double x, long double scale);

}  // namespace kubrix
