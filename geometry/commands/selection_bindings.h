// Pieces the binding files of the selection family share: argument readers and the shapes of their
// log lines.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/command_call.h"
#include "engine/number_text.h"
#include "geometry/selection_edits.h"

namespace kubrix::selection_bindings {

// Numeric arguments first .. first + N - 1.
template <size_t N>
std::array<double, N> numbers(const CommandCall& c, size_t first) {
  std::array<double, N> v{};
  for (size_t i = 0; i < N; ++i) v[i] = c.num(first + i);
  return v;
}

// Integer arguments first .. first + N - 1.
template <size_t N>
std::array<int32_t, N> integers(const CommandCall& c, size_t first) {
  std::array<int32_t, N> v{};
  for (size_t i = 0; i < N; ++i) v[i] = c.integer(first + i);
  return v;
}

inline Point3 pointOf(const double* v) { return {v[0], v[1], v[2]}; }

// v[0..n) as number text with `sep` between them.
inline void appendNumbers(std::string& m, const double* v, size_t n, const char* sep) {
  for (size_t i = 0; i < n; ++i) {
    if (i) m += sep;
    appendNumber(m, v[i]);
  }
}

// KEYWORD "(" each integer followed by ":" then the numbers joined by "," ")".
inline void logGenerator(CommandCall& c, const int32_t* ints, size_t ni, const double* nums, size_t nn) {
  if (!c.logging()) return;
  std::string& m = c.message();
  m += c.keyword();
  m += "(";
  for (size_t i = 0; i < ni; ++i) {
    appendInt(m, ints[i]);
    m += ":";
  }
  appendNumbers(m, nums, nn, ",");
  m += ")";
  c.log(m);
}

// The layer and colour arguments at positions 2 and 3.
inline LayerColour layerColour(const CommandCall& c) { return {c.integer(2), c.integer(3)}; }

}  // namespace kubrix::selection_bindings
