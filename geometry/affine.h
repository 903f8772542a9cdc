// Affine maps of world points for the moves, copies and sweeps of selected elements: p' = A p + t,
// computed in extended precision. Turns are right-handed about their axis.
#pragma once

#include "geometry/figure_store.h"

namespace kubrix {

struct Affine {
  long double a[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
  long double t[3] = {0, 0, 0};

  Point3 apply(const Point3& p) const;
  // The map applied to a direction (no translation).
  Point3 applyVector(const Point3& v) const;
  // This map followed by `next`.
  Affine then(const Affine& next) const;

  static Affine translation(const Point3& v);
  // x' = target.x + s.x (x - base.x), and likewise y and z.
  static Affine scaling(const Point3& base, const Point3& target, const Point3& s);
  // A turn by `angle` about the axis parallel to world X (0), Y (1) or Z (2) through `centre`.
  static Affine turnAboutAxis(int axis, const Point3& centre, double angle);
  // A turn by `angle` about the line through `base` with direction `dir` (the identity when dir is
  // shorter than 1e-14).
  static Affine turnAboutLine(const Point3& base, const Point3& dir, double angle);
};

// The coordinates rounded to multiples of 1e-12, as the figure store keeps them.
inline Point3 roundedPoint(const Point3& p) {
  return {roundCoordinate(p.x), roundCoordinate(p.y), roundCoordinate(p.z)};
}

}  // namespace kubrix
