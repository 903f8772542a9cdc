// The current matrix: a 4 x 4 matrix used with row vectors. Rows 0..2 are the local X, Y and Z axes
// in world coordinates (fourth column 0), row 3 the local origin (fourth column 1). Axes may be of
// any length and need not be orthogonal.
#pragma once

#include <cmath>

#include "geometry/figure_store.h"

namespace kubrix {

constexpr double kPi = 3.14159265358979323846;
constexpr double kTwoPi = 2 * kPi;

struct Matrix4 {
  double m[4][4];

  static Matrix4 identity();
  static Matrix4 zero();
  // Rotation matrices in row form (only the upper-left 3 x 3 is meaningful, the rest identity).
  static Matrix4 rotX(double a);
  static Matrix4 rotY(double a);
  static Matrix4 rotZ(double a);

  bool isIdentity() const;
  Point3 origin() const { return {m[3][0], m[3][1], m[3][2]}; }
  void setOrigin(const Point3& p) {
    m[3][0] = p.x;
    m[3][1] = p.y;
    m[3][2] = p.z;
    m[3][3] = 1;
  }
  // M3 := M3 * A (turns about axes parallel to the world axes) and M3 := A * M3 (about the own axes);
  // only the upper-left 3 x 3 parts take part, the origin row is kept.
  void postMultiplyAxes(const Matrix4& a);
  void preMultiplyAxes(const Matrix4& a);
};

// (x, y, z, 1) * M, each coordinate rounded to a multiple of 1e-12.
Point3 localToWorld(const Matrix4& m, const Point3& local);
// The same without the final rounding (the plain product in extended precision).
Point3 transformPoint(const Matrix4& m, const Point3& p);

// Gauss-Jordan elimination with partial pivoting over all four rows and columns; false when the
// matrix is singular (a zero pivot).
bool invert(const Matrix4& m, Matrix4& inverse);
// The local point of a world point (rounded to 1e-12); false when M has no inverse.
bool worldToLocal(const Matrix4& m, const Point3& world, Point3& local);

// Polar angle of (x, y) in [0, 2*pi); 0 when both are below 1e-14 in magnitude.
double polarAngle(double x, double y);

// The frame with its origin at P1, its X axis towards P2 and P3 in its XY plane on the +Y side.
Matrix4 threePointFrame(const Point3& p1, const Point3& p2, const Point3& p3);

// v = sign(x) * floor(|x| * scale + 0.5 + 1e-14) / scale, in extended precision.
inline double roundScaled(double x, long double scale) {
  const long double a = std::trunc(std::fabs(static_cast<long double>(x)) * scale + 0.5L + 1e-14L) / scale;
  return static_cast<double>(std::signbit(x) ? -a : a);
}

}  // namespace kubrix
