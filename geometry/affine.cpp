// Affine maps: products and turns in extended precision; turns about a world axis are built entry by
// entry, so the coordinate along the axis stays exactly as it was.
#include "geometry/affine.h"

#include <cmath>

namespace kubrix {

Point3 Affine::apply(const Point3& p) const {
  const long double x = p.x, y = p.y, z = p.z;
  return {static_cast<double>(a[0][0] * x + a[0][1] * y + a[0][2] * z + t[0]),
          static_cast<double>(a[1][0] * x + a[1][1] * y + a[1][2] * z + t[1]),
          static_cast<double>(a[2][0] * x + a[2][1] * y + a[2][2] * z + t[2])};
}

Point3 Affine::applyVector(const Point3& v) const {
  const long double x = v.x, y = v.y, z = v.z;
  return {static_cast<double>(a[0][0] * x + a[0][1] * y + a[0][2] * z),
          static_cast<double>(a[1][0] * x + a[1][1] * y + a[1][2] * z),
          static_cast<double>(a[2][0] * x + a[2][1] * y + a[2][2] * z)};
}

Affine Affine::then(const Affine& next) const {
  Affine r;
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) {
      long double s = 0;
      for (int k = 0; k < 3; ++k) s += next.a[i][k] * a[k][j];
      r.a[i][j] = s;
    }
    long double s = next.t[i];
    for (int k = 0; k < 3; ++k) s += next.a[i][k] * t[k];
    r.t[i] = s;
  }
  return r;
}

Affine Affine::translation(const Point3& v) {
  Affine r;
  r.t[0] = v.x;
  r.t[1] = v.y;
  r.t[2] = v.z;
  return r;
}

Affine Affine::scaling(const Point3& base, const Point3& target, const Point3& s) {
  Affine r;
  const double sv[3] = {s.x, s.y, s.z}, bv[3] = {base.x, base.y, base.z}, tv[3] = {target.x, target.y, target.z};
  for (int i = 0; i < 3; ++i) {
    r.a[i][i] = sv[i];
    r.t[i] = tv[i] - static_cast<long double>(sv[i]) * bv[i];
  }
  return r;
}

namespace {

// The same linear part about a line through `centre`: p' = A (p - c) + c.
Affine aboutCentre(Affine r, const Point3& centre) {
  const long double c[3] = {centre.x, centre.y, centre.z};
  for (int i = 0; i < 3; ++i) {
    long double s = c[i];
    for (int k = 0; k < 3; ++k) s -= r.a[i][k] * c[k];
    r.t[i] = s;
  }
  return r;
}

}  // namespace

Affine Affine::turnAboutAxis(int axis, const Point3& centre, double angle) {
  Affine r;
  const long double c = std::cos(static_cast<long double>(angle)), s = std::sin(static_cast<long double>(angle));
  const int i = (axis + 1) % 3, j = (axis + 2) % 3;  // X: (y, z), Y: (z, x), Z: (x, y)
  r.a[i][i] = c;
  r.a[i][j] = -s;
  r.a[j][i] = s;
  r.a[j][j] = c;
  return aboutCentre(r, centre);
}

Affine Affine::turnAboutLine(const Point3& base, const Point3& dir, double angle) {
  const long double len = std::sqrt(static_cast<long double>(dir.x) * dir.x + static_cast<long double>(dir.y) * dir.y +
                                    static_cast<long double>(dir.z) * dir.z);
  Affine r;
  if (!(len >= 1e-14L)) return r;
  const long double u[3] = {dir.x / len, dir.y / len, dir.z / len};
  const long double c = std::cos(static_cast<long double>(angle)), s = std::sin(static_cast<long double>(angle));
  // Rodrigues: R = c I + s [u]x + (1 - c) u u^T.
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) r.a[i][j] = (i == j ? c : 0) + (1 - c) * u[i] * u[j];
  r.a[0][1] -= s * u[2];
  r.a[0][2] += s * u[1];
  r.a[1][0] += s * u[2];
  r.a[1][2] -= s * u[0];
  r.a[2][0] -= s * u[1];
  r.a[2][1] += s * u[0];
  return aboutCentre(r, base);
}

}  // namespace kubrix
