// Curve generators: clothoids, cubic Bezier curves and quadratic and cubic B-splines as polylines in
// local coordinates. Each generator fills a reused point buffer that thins straight runs as it grows;
// the callers map the points through the current matrix and draw chains or walls from them.
#pragma once

#include <cstddef>
#include <vector>

#include "geometry/figure_store.h"

namespace kubrix {

inline constexpr int kCurveSegmentsMax = 1000;
// Two directions count as the same when their polar angles differ by less than this (radians).
inline constexpr double kThinAngle = 1e-6;

// Segment count of a curve: n <= 0 becomes 1, n > 1000 becomes 1000.
int clampCurveSegments(int n);
// Cubic spline type: clamped to 0..3.
int clampSplineType(int type);

// A polyline under construction. Every add() looks at the last three points A, B, C and drops B when
// the direction from A to C equals the direction from A to B (polar angles within 1e-6 rad, or 2*pi
// apart within 1e-6), so collinear runs collapse into single segments. A planar buffer compares the
// XY angles only; a space buffer requires the XY, XZ and YZ angles to agree.
class CurveBuffer {
 public:
  // Empties the buffer for a new curve of about `capacity` points; the storage is kept between curves.
  void start(size_t capacity, bool space);
  void add(const Point3& p);
  size_t size() const { return points_.size(); }
  const Point3* data() const { return points_.data(); }
  const Point3& operator[](size_t i) const { return points_[i]; }

 private:
  std::vector<Point3> points_;
  bool space_ = false;
};

struct ClothoidSpec {
  int n = 1;              // segment count, clamped by the generator
  bool mirror = false;    // flag != 0: y := -y, the curve bends toward -Y
  double x0 = 0, y0 = 0;  // origin: the point where L = 0 and the curvature is zero
  double l1 = 0, l2 = 0;  // arc lengths from the origin of the first and last point
  double a = 0;           // clothoid parameter A (radius * length = A^2)
  double theta = 0;       // direction of the tangent at the origin
};

// The unturned clothoid point at arc length L: x = integral of cos(s^2 / 2A^2), y = of sin, as power
// series in tau = L^2 / (2 A^2), each summed until two successive partial results differ by less
// than 1e-8. Returns false when a series does not settle within a bounded number of terms or gives
// a value that is not finite (huge tau, infinite or undefined input).
bool clothoidPoint(double length, double a, double& x, double& y);

// Clothoid from L1 to L2 in n steps of |L2 - L1| / n, in the XY plane (z = 0). Appends nothing when
// A < 1e-14, |L2 - L1| < 1e-14 or L2 < L1. Generation stops, without the current point, when the
// summed distances between successive points exceed the arc length covered by the next step (the
// series has left its useful range) or when a point cannot be computed.
void generateClothoid(const ClothoidSpec& clothoid, CurveBuffer& out);

// Blending weights of the curves, shared with the surface patches built on them.
// Cubic Bernstein weights (1-t)^3, 3t(1-t)^2, 3t^2(1-t), t^3.
void bezierWeights(double t, double (&w)[4]);
// Quadratic weights (1-t)^2, 2t(1-t), t^2.
void quadraticWeights(double t, double (&w)[3]);
// Uniform cubic B-spline basis: (3|s|^3 - 6|s|^2 + 4) / 6 below 1, (2 - |s|)^3 / 6 below 2, else 0.
double splineBasis(double s);
// Parameter range of a cubic spline type (clamped to 0..3): t runs from `from` to `to` in
// pointsPerSegment * n steps of 1 / n.
struct SplineRange {
  double from, to;
  int pointsPerSegment;
};
const SplineRange& splineRange(int type);

// The generators below clamp n, start `out` (a space buffer when `space`) and fill it. Planar callers
// pass control points with z = 0.

// Cubic Bezier through P1..P4: n + 1 points at u = 0, 1/n, 2/n, .. (accumulated), from P1 to P4.
void generateBezier(int n, const Point3 (&p)[4], bool space, CurveBuffer& out);

// Quadratic curve from P1 to P3 pulled toward P2 ((1-u)^2 P1 + 2u(1-u) P2 + u^2 P3), n + 1 points.
// Appends nothing when P3 coincides with P1 (within 1e-14 in x and y, and in z when `space`).
void generateQuadratic(int n, const Point3 (&p)[3], bool space, CurveBuffer& out);

// Uniform cubic B-spline over P1, P1, P1, P2, P3, P4, P4, P4. The type picks the parameter range:
// 0 runs from (P1 + 4 P2 + P3) / 6 to (P2 + 4 P3 + P4) / 6 (n + 1 points), 1 from P1 to the latter and
// 2 from the former to P4 (3n + 1 points each), 3 from P1 to P4 (5n + 1 points).
void generateCubicSpline(int n, int type, const Point3 (&p)[4], bool space, CurveBuffer& out);

}  // namespace kubrix
