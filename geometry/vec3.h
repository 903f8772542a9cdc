// A 3D vector in extended precision for the sweep and frame arithmetic.
#pragma once

#include <cmath>

#include "geometry/figure_store.h"

namespace kubrix {

struct Vec3 {
  long double x = 0, y = 0, z = 0;
};

inline Vec3 vec(const Point3& p) { return {p.x, p.y, p.z}; }
inline Point3 point(const Vec3& v) {
  return {static_cast<double>(v.x), static_cast<double>(v.y), static_cast<double>(v.z)};
}
inline Vec3 operator-(const Vec3& a, const Vec3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec3 operator+(const Vec3& a, const Vec3& b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vec3 operator*(long double s, const Vec3& a) { return {s * a.x, s * a.y, s * a.z}; }
inline long double dot(const Vec3& a, const Vec3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline Vec3 cross(const Vec3& a, const Vec3& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline long double norm(const Vec3& a) { return std::sqrt(dot(a, a)); }

}  // namespace kubrix
