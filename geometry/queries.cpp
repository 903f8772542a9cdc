// Measuring routines: rounding, divisors, angles, rotations, normals and plane intersections. The
// sums and products run in extended precision, as the script's own arithmetic does.
#include "geometry/queries.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "geometry/matrix.h"

namespace kubrix {

namespace {

using ld = long double;

constexpr double kZero = 1e-14;      // a length or vector counts as zero below it
constexpr double kCoincide = 1e-12;  // coinciding points

// R(a) * (x, y): the vector (x, y) turned by the angle whose cosine and sine are given.
Point2 turned(double x, double y, double ca, double sa) {
  return {static_cast<double>(static_cast<ld>(x) * ca - static_cast<ld>(y) * sa),
          static_cast<double>(static_cast<ld>(x) * sa + static_cast<ld>(y) * ca)};
}

ld length3(ld x, ld y, ld z) { return std::sqrt(x * x + y * y + z * z); }

}  // namespace

double roundToScale(double x, double s) {
  const ld scaled = std::floor(std::fabs(static_cast<ld>(x)) * s + 0.5L + 1e-14L) / s;
  const double v = static_cast<double>(std::signbit(x) ? -scaled : scaled);
  return std::isfinite(v) ? v : x;
}

long long commonDivisor(double a, double b) {
  const double ra = std::nearbyint(a), rb = std::nearbyint(b);
  constexpr double kLimit = 9223372036854775807.0;  // 2^63: rounded values at or above it do not fit
  if (std::min(ra, rb) < 2 || std::max(ra, rb) >= kLimit) return 1;
  // The greatest divisor of both that is at most the smaller value, found by Euclid's algorithm
  // rather than by counting down, which would take minutes for large inputs.
  return std::gcd(static_cast<long long>(ra), static_cast<long long>(rb));
}

double angleBetween(const Point3& a, const Point3& b) {
  const ld la = length3(a.x, a.y, a.z), lb = length3(b.x, b.y, b.z);
  if (!(la >= kZero) || !(lb >= kZero) || !(la * lb >= kZero)) return 0;
  ld c = (static_cast<ld>(a.x) * b.x + static_cast<ld>(a.y) * b.y + static_cast<ld>(a.z) * b.z) / (la * lb);
  if (c < -0.99999999999999L) c = -1;
  if (c > 0.99999999999999L) c = 1;
  const double r = std::acos(static_cast<double>(c));
  return std::isfinite(r) ? r : 0;
}

Bearing bearing(double dx, double dy, double dz) {
  Bearing b;
  b.horizontal = polarAngle(dx, dy);
  const double l = static_cast<double>(std::sqrt(static_cast<ld>(dx) * dx + static_cast<ld>(dy) * dy));
  if (l >= kZero) {
    b.elevation = polarAngle(l, dz);
  } else if (std::fabs(dz) < kZero) {
    b.elevation = 0;
  } else {
    b.elevation = dz > 0 ? kPi / 2 : 3 * kPi / 2;
  }
  return b;
}

Point2 turnPoint(const Point2& p, const Point2& c, double a) {
  const Point2 d = turned(p.x - c.x, p.y - c.y, std::cos(a), std::sin(a));
  return {roundScaled(c.x + d.x, 1e13L), roundScaled(c.y + d.y, 1e13L)};
}

Point3 turnAboutAxis(const Point3& p, const Point3& c, double a, int axis) {
  const ld ca = std::cos(a), sa = std::sin(a);
  const ld dx = static_cast<ld>(p.x) - c.x, dy = static_cast<ld>(p.y) - c.y, dz = static_cast<ld>(p.z) - c.z;
  ld x = dx, y = dy, z = dz;
  switch (axis) {
    case 1:
      y = ca * dy - sa * dz;
      z = sa * dy + ca * dz;
      break;
    case 2:
      x = ca * dx + sa * dz;
      z = -sa * dx + ca * dz;
      break;
    case 3:
      x = ca * dx - sa * dy;
      y = sa * dx + ca * dy;
      break;
    default:
      return p;
  }
  return {static_cast<double>(c.x + x), static_cast<double>(c.y + y), static_cast<double>(c.z + z)};
}

Point3 turnAboutLine(const Point3& p, const Point3& p1, const Point3& p2, double a) {
  const ld ax = static_cast<ld>(p2.x) - p1.x, ay = static_cast<ld>(p2.y) - p1.y, az = static_cast<ld>(p2.z) - p1.z;
  const ld len = length3(ax, ay, az);
  if (!(len >= kZero)) return p;
  const ld ux = ax / len, uy = ay / len, uz = az / len;
  const ld vx = static_cast<ld>(p.x) - p1.x, vy = static_cast<ld>(p.y) - p1.y, vz = static_cast<ld>(p.z) - p1.z;
  const ld ca = std::cos(a), sa = std::sin(a);
  // Rodrigues: v cos a + u (u.v)(1 - cos a) + (u x v) sin a.
  const ld k = (ux * vx + uy * vy + uz * vz) * (1 - ca);
  const ld rx = vx * ca + ux * k + (uy * vz - uz * vy) * sa;
  const ld ry = vy * ca + uy * k + (uz * vx - ux * vz) * sa;
  const ld rz = vz * ca + uz * k + (ux * vy - uy * vx) * sa;
  return {static_cast<double>(p1.x + rx), static_cast<double>(p1.y + ry), static_cast<double>(p1.z + rz)};
}

Point3 planeNormal(const Point3& p1, const Point3& p2, const Point3& p3) {
  const ld ax = static_cast<ld>(p2.x) - p1.x, ay = static_cast<ld>(p2.y) - p1.y, az = static_cast<ld>(p2.z) - p1.z;
  const ld bx = static_cast<ld>(p3.x) - p1.x, by = static_cast<ld>(p3.y) - p1.y, bz = static_cast<ld>(p3.z) - p1.z;
  ld nx = ay * bz - az * by, ny = az * bx - ax * bz, nz = ax * by - ay * bx;
  const ld len = length3(nx, ny, nz);
  if (len > 1e-7L) {
    nx /= len;
    ny /= len;
    nz /= len;
  }
  return {static_cast<double>(nx), static_cast<double>(ny), static_cast<double>(nz)};
}

Foot perpendicularFoot(const Point2& p1, const Point2& p2, const Point2& q) {
  const double t = polarAngle(p2.x - p1.x, p2.y - p1.y);
  const double ct = std::cos(t), st = std::sin(t);
  // q in the frame of the line: along it from p1, and its signed distance to the left.
  const Point2 local = turned(q.x - p1.x, q.y - p1.y, ct, -st);
  const Point2 back = turned(local.x, 0, ct, st);
  Foot f;
  f.p = {p1.x + back.x, p1.y + back.y};
  f.dist = std::fabs(local.y);
  return f;
}

long double roundDiscriminant(long double x) { return std::floor(x / 1e-12L + 0.5L) * 1e-12L; }

PairHit intersectLineCircle(const Point2& a, const Point2& b, const Point2& c, double r) {
  PairHit hit;
  const double t = polarAngle(b.x - a.x, b.y - a.y);
  const double ct = std::cos(t), st = std::sin(t);
  // Signed distance of the line from the centre: the y of a in the frame turned by -t about c.
  const double l = static_cast<double>(-static_cast<ld>(st) * (a.x - c.x) + static_cast<ld>(ct) * (a.y - c.y));
  const ld q = static_cast<ld>(r) * r - static_cast<ld>(l) * l;
  const ld qr = roundDiscriminant(q);
  if (!(qr >= 0)) return hit;
  const double h = qr == 0 ? 0 : static_cast<double>(std::sqrt(q));
  hit.flag = qr == 0 ? 1 : 2;
  const Point2 d1 = turned(h, l, ct, st), d2 = turned(-h, l, ct, st);
  hit.p1 = {c.x + d1.x, c.y + d1.y};
  hit.p2 = {c.x + d2.x, c.y + d2.y};
  return hit;
}

PairHit intersectLineEllipse(const Point2& a, const Point2& b, const Point2& c, double rx, double ry, double rot) {
  if (rx < kZero || std::fabs(ry) < kZero) return {0, a, b};
  const double cr = std::cos(rot), sr = std::sin(rot);
  const double squash = ry / rx;
  const auto toFrame = [&](const Point2& p) {
    const Point2 t = turned(p.x - c.x, p.y - c.y, cr, -sr);
    return Point2{t.x, t.y / squash};
  };
  const auto fromFrame = [&](const Point2& p) {
    const Point2 t = turned(p.x, p.y * squash, cr, sr);
    return Point2{c.x + roundScaled(t.x, 1e13L), c.y + roundScaled(t.y, 1e13L)};
  };
  PairHit hit = intersectLineCircle(toFrame(a), toFrame(b), Point2{}, rx);
  if (hit.flag == 0) return hit;
  hit.p1 = fromFrame(hit.p1);
  hit.p2 = fromFrame(hit.p2);
  return hit;
}

PairHit intersectCircles(const Point2& c1, double r1, const Point2& c2, double r2) {
  PairHit hit;
  const double dx = c2.x - c1.x, dy = c2.y - c1.y;
  if (std::fabs(dx) < kCoincide && std::fabs(dy) < kCoincide) return hit;
  const ld d = std::sqrt(static_cast<ld>(dx) * dx + static_cast<ld>(dy) * dy);
  const ld apart = roundDiscriminant(r1 + static_cast<ld>(r2) - d);
  const ld inside = roundDiscriminant(std::fabs(r1 - static_cast<ld>(r2)) - d);
  if (!(apart >= 0) || !(inside <= 0)) return hit;
  hit.flag = apart == 0 || inside == 0 ? 1 : 2;
  // The triangle c1, c2, meeting point with sides r1, r2, d: its height over the centre line from
  // Heron's formula, then the distance along the line from c1 by Pythagoras, on the side that fits
  // circle 2 better. Touching circles meet on the centre line itself.
  ld h = 0;
  if (hit.flag == 2) {
    const ld s = (r1 + r2 + d) / 2;
    const ld area2 = roundDiscriminant(s * (s - r1) * (s - r2) * (s - d));
    h = area2 > 0 ? 2 * std::sqrt(area2) / d : 0;
  }
  const ld along = std::sqrt(std::max(static_cast<ld>(r1) * r1 - h * h, 0.0L));
  const auto miss = [&](ld x) { return std::fabs((x - d) * (x - d) + h * h - static_cast<ld>(r2) * r2); };
  const ld x = miss(-along) < miss(along) ? -along : along;
  const double t = polarAngle(dx, dy);
  const double ct = std::cos(t), st = std::sin(t);
  const Point2 left = turned(static_cast<double>(x), static_cast<double>(h), ct, st);
  const Point2 right = turned(static_cast<double>(x), static_cast<double>(-h), ct, st);
  hit.p1 = {c1.x + left.x, c1.y + left.y};
  hit.p2 = {c1.x + right.x, c1.y + right.y};
  return hit;
}

}  // namespace kubrix
