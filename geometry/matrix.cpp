// Matrix arithmetic of the current matrix. Products are summed in extended precision and stored as
// 64-bit floats, so a chain of turns rounds once per stored entry.
#include "geometry/matrix.h"

#include <cmath>
#include <utility>

namespace kubrix {

Matrix4 Matrix4::identity() {
  Matrix4 r = zero();
  for (int i = 0; i < 4; ++i) r.m[i][i] = 1;
  return r;
}

Matrix4 Matrix4::zero() {
  Matrix4 r;
  for (auto& row : r.m)
    for (double& v : row) v = 0;
  return r;
}

Matrix4 Matrix4::rotX(double a) {
  Matrix4 r = identity();
  const double c = std::cos(a), s = std::sin(a);
  r.m[1][1] = c;
  r.m[1][2] = s;
  r.m[2][1] = -s;
  r.m[2][2] = c;
  return r;
}

Matrix4 Matrix4::rotY(double a) {
  Matrix4 r = identity();
  const double c = std::cos(a), s = std::sin(a);
  r.m[0][0] = c;
  r.m[0][2] = -s;
  r.m[2][0] = s;
  r.m[2][2] = c;
  return r;
}

Matrix4 Matrix4::rotZ(double a) {
  Matrix4 r = identity();
  const double c = std::cos(a), s = std::sin(a);
  r.m[0][0] = c;
  r.m[0][1] = s;
  r.m[1][0] = -s;
  r.m[1][1] = c;
  return r;
}

bool Matrix4::isIdentity() const {
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j)
      if (m[i][j] != (i == j ? 1.0 : 0.0)) return false;
  return true;
}

namespace {

// The upper-left 3 x 3 product a * b.
void multiplyAxes(const double a[4][4], const double b[4][4], double out[3][3]) {
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) {
      long double s = 0;
      for (int k = 0; k < 3; ++k) s += static_cast<long double>(a[i][k]) * b[k][j];
      out[i][j] = static_cast<double>(s);
    }
}

}  // namespace

void Matrix4::postMultiplyAxes(const Matrix4& a) {
  double r[3][3];
  multiplyAxes(m, a.m, r);
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) m[i][j] = r[i][j];
}

void Matrix4::preMultiplyAxes(const Matrix4& a) {
  double r[3][3];
  multiplyAxes(a.m, m, r);
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) m[i][j] = r[i][j];
}

Point3 transformPoint(const Matrix4& m, const Point3& p) {
  const long double x = p.x, y = p.y, z = p.z;
  return {static_cast<double>(x * m.m[0][0] + y * m.m[1][0] + z * m.m[2][0] + m.m[3][0]),
          static_cast<double>(x * m.m[0][1] + y * m.m[1][1] + z * m.m[2][1] + m.m[3][1]),
          static_cast<double>(x * m.m[0][2] + y * m.m[1][2] + z * m.m[2][2] + m.m[3][2])};
}

Point3 localToWorld(const Matrix4& m, const Point3& local) {
  const Point3 w = transformPoint(m, local);
  return {roundCoordinate(w.x), roundCoordinate(w.y), roundCoordinate(w.z)};
}

bool invert(const Matrix4& source, Matrix4& inverse) {
  double a[4][4];
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) a[i][j] = source.m[i][j];
  inverse = Matrix4::identity();
  double(&b)[4][4] = inverse.m;
  for (int col = 0; col < 4; ++col) {
    int pivot = col;
    for (int r = col + 1; r < 4; ++r)
      if (std::fabs(a[r][col]) > std::fabs(a[pivot][col])) pivot = r;
    const double p = a[pivot][col];
    if (p == 0 || !std::isfinite(p)) return false;
    if (pivot != col) {
      std::swap(a[pivot], a[col]);
      std::swap(b[pivot], b[col]);
    }
    for (int j = 0; j < 4; ++j) {
      a[col][j] = static_cast<double>(static_cast<long double>(a[col][j]) / p);
      b[col][j] = static_cast<double>(static_cast<long double>(b[col][j]) / p);
    }
    for (int r = 0; r < 4; ++r) {
      if (r == col) continue;
      const double f = a[r][col];
      if (f == 0) continue;
      for (int j = 0; j < 4; ++j) {
        a[r][j] = static_cast<double>(a[r][j] - static_cast<long double>(f) * a[col][j]);
        b[r][j] = static_cast<double>(b[r][j] - static_cast<long double>(f) * b[col][j]);
      }
    }
  }
  return true;
}

bool worldToLocal(const Matrix4& m, const Point3& world, Point3& local) {
  Matrix4 inv;
  if (!invert(m, inv)) return false;
  local = localToWorld(inv, world);
  return true;
}

double polarAngle(double x, double y) {
  if (std::fabs(x) < 1e-14 && std::fabs(y) < 1e-14) return 0;
  double a = std::atan2(y, x);
  if (a < 0) a += kTwoPi;
  if (a >= kTwoPi) a -= kTwoPi;
  return a;
}

Matrix4 threePointFrame(const Point3& p1, const Point3& p2, const Point3& p3) {
  const long double dx = static_cast<long double>(p2.x) - p1.x, dy = static_cast<long double>(p2.y) - p1.y,
                    dz = static_cast<long double>(p2.z) - p1.z;
  const double az = polarAngle(static_cast<double>(dx), static_cast<double>(dy));
  const long double r = std::sqrt(dx * dx + dy * dy);
  double el;
  if (r < 1e-14L) {
    el = std::fabs(dz) < 1e-14L ? 0.0 : (dz > 0 ? kPi / 2 : 3 * kPi / 2);
  } else {
    el = polarAngle(static_cast<double>(r), static_cast<double>(dz));
  }
  const long double ex = static_cast<long double>(p3.x) - p1.x, ey = static_cast<long double>(p3.y) - p1.y,
                    ez = static_cast<long double>(p3.z) - p1.z;
  const long double ca = std::cos(static_cast<long double>(az)), sa = std::sin(static_cast<long double>(az));
  const long double x1 = ex * ca + ey * sa, y1 = -ex * sa + ey * ca, z1 = ez;
  const long double ce = std::cos(static_cast<long double>(el)), se = std::sin(static_cast<long double>(el));
  const long double v = y1, w = -x1 * se + z1 * ce;
  const double roll = polarAngle(static_cast<double>(v), static_cast<double>(w));

  Matrix4 m = Matrix4::identity();
  m.postMultiplyAxes(Matrix4::rotX(roll));
  m.postMultiplyAxes(Matrix4::rotY(-el));
  m.postMultiplyAxes(Matrix4::rotZ(az));
  m.setOrigin(p1);
  return m;
}

}  // namespace kubrix
