// Curve generators (clothoid, cubic Bezier, quadratic and cubic B-spline) and the thinning buffer
// they fill. Everything here is in local coordinates; nothing is drawn.
#include "geometry/curves.h"

#include <cmath>

#include "geometry/matrix.h"

namespace kubrix {

int clampCurveSegments(int n) { return n <= 0 ? 1 : (n > kCurveSegmentsMax ? kCurveSegmentsMax : n); }

int clampSplineType(int type) { return type < 0 ? 0 : (type > 3 ? 3 : type); }

namespace {

bool sameAngle(double a, double b) {
  const double d = std::fabs(a - b);
  return d < kThinAngle || std::fabs(d - kTwoPi) < kThinAngle;
}

// Whether A->C runs in the direction of A->B. The XY and XZ angles alone leave the direction open
// when the x difference vanishes (a curve in a plane x = const would collapse into one line), so a
// space curve also compares the YZ angles.
bool sameDirection(const Point3& a, const Point3& b, const Point3& c, bool space) {
  const double bx = b.x - a.x, by = b.y - a.y, cx = c.x - a.x, cy = c.y - a.y;
  if (!sameAngle(polarAngle(bx, by), polarAngle(cx, cy))) return false;
  if (!space) return true;
  const double bz = b.z - a.z, cz = c.z - a.z;
  return sameAngle(polarAngle(bx, bz), polarAngle(cx, cz)) &&
         sameAngle(polarAngle(by, bz), polarAngle(cy, cz));
}

// The sum of the series first * (1 + r1 + r1 r2 + ...), times scale, where term k is term k-1 times
// ratio(k). Stops when two successive scaled partial results differ by less than 1e-8. The terms of
// the clothoid series first grow like tau^2k / (2k)! before they fall, so for a huge tau they
// overflow and the partial results never settle: the number of terms is therefore bounded.
constexpr int kSeriesTermsMax = 4096;
constexpr double kSeriesSettle = 1e-8;

template <typename Ratio>
bool sumSeries(double scale, double first, Ratio ratio, double& result) {
  double term = first, sum = first;
  double prev = scale * sum;
  for (int k = 1; k <= kSeriesTermsMax; ++k) {
    term *= ratio(k);
    sum += term;
    const double cur = scale * sum;
    if (std::fabs(cur - prev) < kSeriesSettle) {
      result = cur;
      return std::isfinite(cur);
    }
    prev = cur;
  }
  return false;
}

// Point = sum of weights[i] * p[i].
template <size_t N>
Point3 blend(const double (&w)[N], const Point3 (&p)[N]) {
  Point3 r{0, 0, 0};
  for (size_t i = 0; i < N; ++i) {
    r.x += w[i] * p[i].x;
    r.y += w[i] * p[i].y;
    r.z += w[i] * p[i].z;
  }
  return r;
}

}  // namespace

void CurveBuffer::start(size_t capacity, bool space) {
  points_.clear();
  points_.reserve(capacity);
  space_ = space;
}

void CurveBuffer::add(const Point3& p) {
  points_.push_back(p);
  const size_t k = points_.size();
  if (k >= 3 && sameDirection(points_[k - 3], points_[k - 2], points_[k - 1], space_)) {
    points_[k - 2] = points_[k - 1];
    points_.pop_back();
  }
}

bool clothoidPoint(double length, double a, double& x, double& y) {
  const double tau = length * length / (2 * a * a);
  const double tau2 = tau * tau;
  // x = L * sum (-1)^k tau^2k / ((2k)! (4k+1)),  y = L tau * sum (-1)^k tau^2k / ((2k+1)! (4k+3)).
  const auto cosRatio = [tau2](int k) {
    return -tau2 * (4 * k - 3) / (static_cast<double>(2 * k - 1) * (2 * k) * (4 * k + 1));
  };
  const auto sinRatio = [tau2](int k) {
    return -tau2 * (4 * k - 1) / (static_cast<double>(2 * k) * (2 * k + 1) * (4 * k + 3));
  };
  return sumSeries(length, 1.0, cosRatio, x) && sumSeries(length * tau, 1.0 / 3, sinRatio, y);
}

void generateClothoid(const ClothoidSpec& s, CurveBuffer& out) {
  const int n = clampCurveSegments(s.n);
  out.start(static_cast<size_t>(n) + 1, false);
  const double span = s.l2 - s.l1;
  // Written as negations so that undefined input draws nothing as well.
  if (!(s.a >= 1e-14) || !(span >= 1e-14)) return;
  const double step = span / n;
  const long double ct = std::cos(static_cast<long double>(s.theta));
  const long double st = std::sin(static_cast<long double>(s.theta));
  double length = s.l1, travelled = 0, px = 0, py = 0;
  for (int k = 0; k <= n; ++k, length += step) {
    // The accumulated steps may overshoot L2 by a rounding error; the last point is taken at L2.
    const double at = k == n ? s.l2 : length;
    double x, y;
    if (!clothoidPoint(at, s.a, x, y)) break;
    if (k > 0) {
      // A chord longer than the arc it spans means the series has lost its precision.
      travelled += std::hypot(x - px, y - py);
      if (!(travelled <= std::fabs(length + step - s.l1))) break;
    }
    px = x;
    py = y;
    if (s.mirror) y = -y;
    const long double tx = x * ct - y * st, ty = x * st + y * ct;
    out.add({s.x0 + roundScaled(static_cast<double>(tx), 1e13L),
             s.y0 + roundScaled(static_cast<double>(ty), 1e13L), 0});
  }
}

void generateBezier(int n, const Point3 (&p)[4], bool space, CurveBuffer& out) {
  n = clampCurveSegments(n);
  out.start(static_cast<size_t>(n) + 1, space);
  const double step = 1.0 / n;
  double u = 0;
  for (int k = 0; k <= n; ++k, u += step) {
    double w[4];
    bezierWeights(k == n ? 1.0 : u, w);  // the curve ends exactly at P4
    out.add(blend(w, p));
  }
}

void generateQuadratic(int n, const Point3 (&p)[3], bool space, CurveBuffer& out) {
  n = clampCurveSegments(n);
  out.start(static_cast<size_t>(n) + 1, space);
  if (std::fabs(p[2].x - p[0].x) < 1e-14 && std::fabs(p[2].y - p[0].y) < 1e-14 &&
      (!space || std::fabs(p[2].z - p[0].z) < 1e-14))
    return;
  const double step = 1.0 / n;
  double u = 0;
  for (int k = 0; k <= n; ++k, u += step) {
    double w[3];
    quadraticWeights(k == n ? 1.0 : u, w);
    out.add(blend(w, p));
  }
}

void bezierWeights(double t, double (&w)[4]) {
  const double v = 1 - t;
  w[0] = v * v * v;
  w[1] = 3 * t * v * v;
  w[2] = 3 * t * t * v;
  w[3] = t * t * t;
}

void quadraticWeights(double t, double (&w)[3]) {
  const double v = 1 - t;
  w[0] = v * v;
  w[1] = 2 * t * v;
  w[2] = t * t;
}

double splineBasis(double s) {
  s = std::fabs(s);
  if (s < 1) return (3 * s * s * s - 6 * s * s + 4) / 6;
  if (s < 2) {
    const double r = 2 - s;
    return r * r * r / 6;
  }
  return 0;
}

const SplineRange& splineRange(int type) {
  static constexpr SplineRange kRanges[4] = {{1, 2, 1}, {-1, 2, 3}, {1, 4, 3}, {-1, 4, 5}};
  return kRanges[clampSplineType(type)];
}

void generateCubicSpline(int n, int type, const Point3 (&p)[4], bool space, CurveBuffer& out) {
  n = clampCurveSegments(n);
  const SplineRange& r = splineRange(type);
  const int count = r.pointsPerSegment * n + 1;
  out.start(static_cast<size_t>(count), space);
  // The end points are tripled so that the full range starts at P1 and ends at P4.
  const Point3 c[8] = {p[0], p[0], p[0], p[1], p[2], p[3], p[3], p[3]};
  const double step = 1.0 / n;
  double t = r.from;
  for (int k = 0; k < count; ++k, t += step) {
    const double at = k == count - 1 ? r.to : t;
    double w[8];
    for (int i = 0; i < 8; ++i) w[i] = splineBasis(at - (i - 2));
    out.add(blend(w, c));
  }
}

}  // namespace kubrix
