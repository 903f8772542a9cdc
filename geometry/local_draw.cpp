// Chains through the current matrix, arc sweeps and turned ellipse points.
#include "geometry/local_draw.h"

#include <cmath>

namespace kubrix {

void LocalDraw::chain(const Point3* q, size_t n) {
  if (n < 2) return;
  Point3 prev = world(q[0]);
  for (size_t i = 1; i < n; ++i) {
    const Point3 next = world(q[i]);
    store_.appendLine(prev, next, true);
    prev = next;
  }
}

double arcSweep(double a1, double a2) {
  double s = a2 - a1;
  if (!std::isfinite(s)) return s;
  // Adding or subtracting one turn at a time, as a user would; a sweep of very many turns is
  // reduced with fmod first so the loop stays short.
  if (std::fabs(s) > 64 * kTwoPi) s = std::fmod(s, kTwoPi);
  while (s < 0) s += kTwoPi;
  while (s >= kTwoPi) s -= kTwoPi;
  return s;
}

Offset2 ellipseOffset(double rx, double ry, double theta, double t) {
  // Sines and cosines in double precision (the extended functions cost several times more), the
  // products and sums in extended precision.
  const long double ct = std::cos(t), st = std::sin(t);
  // An unturned ellipse (the usual case) needs no second sine and cosine.
  const long double cq = theta == 0 ? 1.0L : std::cos(theta), sq = theta == 0 ? 0.0L : std::sin(theta);
  const long double x = rx * ct * cq - ry * st * sq;
  const long double y = rx * ct * sq + ry * st * cq;
  return {roundScaled(static_cast<double>(x), 1e13L), roundScaled(static_cast<double>(y), 1e13L)};
}

}  // namespace kubrix
