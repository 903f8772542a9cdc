// Line-line intersection in slope form, with the vertical and parallel cases first.
#include "geometry/intersect.h"

#include <algorithm>
#include <cmath>

namespace kubrix {

namespace {

constexpr double kLineTol = 1e-12;

// v within the range of a and b, widened by the tolerance on both sides.
bool within(double v, double a, double b) {
  return v >= std::min(a, b) - kLineTol && v <= std::max(a, b) + kLineTol;
}

}  // namespace

LineHit intersectLines(double x1, double y1, double x2, double y2, double x3, double y3, double x4, double y4) {
  const bool vertical1 = std::fabs(x2 - x1) <= kLineTol;
  const bool vertical2 = std::fabs(x4 - x3) <= kLineTol;
  LineHit hit;
  if (vertical1 && vertical2) return hit;
  if (vertical2) {
    const double m1 = (y2 - y1) / (x2 - x1);
    hit.x = x3;
    hit.y = y1 + m1 * (x3 - x1);
  } else if (vertical1) {
    const double m2 = (y4 - y3) / (x4 - x3);
    hit.x = x1;
    hit.y = y3 + m2 * (x1 - x3);
  } else {
    const double m1 = (y2 - y1) / (x2 - x1);
    const double m2 = (y4 - y3) / (x4 - x3);
    // NaN slopes (from non-finite input) fail this test too and end here: no point.
    if (!(std::fabs(m1 - m2) > kLineTol)) return hit;
    // y1 + m1 (x - x1) = y3 + m2 (x - x3)
    hit.x = (y3 - y1 + m1 * x1 - m2 * x3) / (m1 - m2);
    hit.y = y1 + m1 * (hit.x - x1);
  }
  const bool onBoth = within(hit.x, x1, x2) && within(hit.y, y1, y2) && within(hit.x, x3, x4) &&
                      within(hit.y, y3, y4);
  hit.flag = onBoth ? 1 : 2;
  return hit;
}

}  // namespace kubrix
