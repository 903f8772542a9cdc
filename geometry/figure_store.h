// The figure store: one ordered list of figure elements (lines, points, triangle and quad faces)
// that every drawing command appends to. Elements are numbered from 1 by position; deleting only
// clears the live flag, so numbers stay valid until the store is emptied.
#pragma once

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "geometry/plain_buffer.h"

namespace kubrix {

enum FigureKind : int32_t { kKindLine = 1, kKindPoint = 2, kKindTriangle = 11, kKindQuad = 12 };

struct Point3 {
  double x = 0, y = 0, z = 0;
};

inline Point3 midpoint(const Point3& a, const Point3& b) {
  return {(a.x + b.x) / 2, (a.y + b.y) / 2, (a.z + b.z) / 2};
}

struct FigureElement {
  bool live = true;
  int32_t kind = kKindLine;
  int32_t layer = 0;
  int32_t colour = 1;
  std::array<Point3, 4> p{};
};

// Rounds a coordinate to a multiple of 1e-12, halves away from zero, in extended precision.
// Inline: every appended point passes here three times, and the three x87 chains overlap when the
// compiler sees them together.
inline double roundCoordinate(double v) {
  // Whole numbers below 2^24 come back unchanged (their scaled value and the added half are exact,
  // and a tie rounds to the even scaled value itself), so they skip the extended arithmetic.
  if (std::fabs(v) < 16777216.0 && v == std::trunc(v)) return v;
  const long double scaled = std::fabs(static_cast<long double>(v)) * 1e12L + 0.5L + 1e-14L;
  long double t;
  if (scaled < 18446744073709551616.0L) {
    // Below 2^64 the integer conversion truncates exactly and costs less than truncl.
    t = static_cast<long double>(static_cast<unsigned long long>(scaled));
  } else {
    t = std::trunc(scaled);
  }
  const long double a = t / 1e12L;
  return static_cast<double>(std::signbit(v) ? -a : a);
}

// True when every coordinate differs by less than 1e-12 (compared in extended precision).
bool coincide(const Point3& a, const Point3& b);

class FigureStore {
 public:
  // Appends take the current layer and colour. Degenerate input appends nothing (see each).
  // Coordinates are rounded to 1e-12; onGrid says the caller has rounded them already (the matrix
  // mapping does), so the rounding is not done twice.
  void appendLine(const Point3& p1, const Point3& p2, bool onGrid = false);  // nothing when P1 and P2 coincide
  void appendPoint(const Point3& p1, bool onGrid = false);
  // nothing when two coincide
  void appendTriangle(const Point3& p1, const Point3& p2, const Point3& p3, bool onGrid = false);
  // a triangle when two coincide
  void appendQuad(const Point3& p1, const Point3& p2, const Point3& p3, const Point3& p4, bool onGrid = false);

  size_t count() const { return elements_.size(); }
  size_t liveCount() const;
  bool inRange(long long n) const { return n >= 1 && static_cast<size_t>(n) <= elements_.size(); }
  // Element n (1-based); the caller checks inRange.
  const FigureElement& at(size_t n) const { return elements_[n - 1]; }
  FigureElement& at(size_t n) { return elements_[n - 1]; }
  const PlainBuffer<FigureElement>& elements() const { return elements_; }

  void clear() { elements_.clear(); }

  int32_t layer = 0;   // current layer 0..255
  int32_t colour = 1;  // current colour 1..255

  struct LayerCensus {
    std::array<int, 256> perLayer{};
    int usedLayers = 0;
  };
  struct ColourCensus {
    std::array<int, 256> perColour{};  // index 1..255 used
    int usedColours = 0;
  };
  LayerCensus layerCensus() const;
  // layer -1 for all layers; kindMask -1 or 15 for all kinds, else bits 1 line, 2 point, 4 triangle, 8 quad.
  ColourCensus colourCensus(int layer, int kindMask) const;

 private:
  void push(int32_t kind, const Point3* pts, int n, bool onGrid);
  PlainBuffer<FigureElement> elements_;
};

}  // namespace kubrix
