// Circles through points, chamfers and fillets, built on the line and circle intersections.
#include "geometry/tangents.h"

#include <cmath>

#include "geometry/intersect.h"
#include "geometry/matrix.h"

namespace kubrix {

namespace {

using ld = long double;

constexpr double kCoincide = 1e-12;  // coinciding points, zero radii

bool coincide(const Point2& a, const Point2& b) {
  return std::fabs(b.x - a.x) < kCoincide && std::fabs(b.y - a.y) < kCoincide;
}

double direction(const Point2& from, const Point2& to) { return polarAngle(to.x - from.x, to.y - from.y); }

Point2 plus(const Point2& a, const Point2& d) { return {a.x + d.x, a.y + d.y}; }
Point2 minus(const Point2& a, const Point2& d) { return {a.x - d.x, a.y - d.y}; }

// The offset by R to the left (side 0) or right (any other side) of the line from a1 to a2.
Point2 sideOffset(double R, int side, const Point2& a1, const Point2& a2) {
  const double o = direction(a1, a2) + (side == 0 ? kPi / 2 : -kPi / 2);
  return {R * std::cos(o), R * std::sin(o)};
}

// The point of the circle (c, r) in the direction of p.
Point2 towards(const Point2& c, double r, const Point2& p) { return polarPoint(c, r, direction(c, p)); }

// The two points of the circle (c, r) at angle -delta and +delta from the direction of x.
void chordPoints(Point2* out, const Point2& c, double r, const Point2& x, double delta) {
  const double a = direction(c, x);
  out[0] = polarPoint(c, r, a - delta);
  out[1] = polarPoint(c, r, a + delta);
}

// Half the angle a chord of length len spans on a circle of radius r, doubled; 0 when the chord does
// not fit (len above the diameter) or is empty.
bool chordFits(double len, double r) { return len >= kCoincide && len <= 2 * r; }
double chordAngle(double len, double r) { return chordFits(len, r) ? 2 * std::asin(len / (2 * r)) : 0; }

}  // namespace

CircleFit circleThrough(const Point2& p1, const Point2& p2, const Point2& p3) {
  CircleFit f;
  // Relative to p1: 2 u.c = |u|^2 and 2 v.c = |v|^2 for u = p2 - p1, v = p3 - p1. Its determinant
  // equals that of the bisectors of p1p2 and p2p3.
  const ld ux = static_cast<ld>(p2.x) - p1.x, uy = static_cast<ld>(p2.y) - p1.y;
  const ld vx = static_cast<ld>(p3.x) - p1.x, vy = static_cast<ld>(p3.y) - p1.y;
  const ld cross = ux * vy - uy * vx;
  const ld chord = std::sqrt(ux * ux + uy * uy);
  if (!(chord >= kCoincide) || !(std::fabs(cross) / chord >= 0.1L)) return f;
  const ld det = 4 * cross;
  if (!(std::fabs(det) >= kCoincide)) return f;
  const ld c1 = ux * ux + uy * uy, c2 = vx * vx + vy * vy;
  const ld cx = (c1 * 2 * vy - c2 * 2 * uy) / det, cy = (2 * ux * c2 - 2 * vx * c1) / det;
  f.centre = {static_cast<double>(p1.x + cx), static_cast<double>(p1.y + cy)};
  f.r = static_cast<double>(std::sqrt(cx * cx + cy * cy));
  f.flag = f.r >= kCoincide ? 1 : 0;
  return f;
}

ArcFit arcThroughTwo(double r, const Point2& p1, const Point2& p2, const Point2& q) {
  ArcFit a;
  if (coincide(p1, p2)) return a;
  double phi = direction(p1, p2);
  if (phi >= kPi) phi -= kPi;
  phi += kPi / 2;
  const Point2 n{std::cos(phi), std::sin(phi)};
  const Point2 m{(p1.x + p2.x) / 2, (p1.y + p2.y) / 2};
  const double s = (q.x - m.x) * n.x + (q.y - m.y) * n.y;
  const Point2 side{s * n.x, s * n.y};  // q's projection onto the normal, relative to m
  if ((std::fabs(side.x) < kCoincide && std::fabs(side.y) < kCoincide) || !(std::hypot(side.x, side.y) >= 0.1))
    return a;
  const ld dx = static_cast<ld>(p2.x) - p1.x, dy = static_cast<ld>(p2.y) - p1.y;
  const ld q2 = static_cast<ld>(r) * r - (dx * dx + dy * dy) / 4;
  if (!(roundDiscriminant(q2) >= 0)) return a;
  const double h = q2 > 0 ? static_cast<double>(std::sqrt(q2)) : 0;
  a.centre = polarPoint(m, h, polarAngle(side.x, side.y));
  a.r = r;
  a.start = direction(a.centre, p1);
  a.end = direction(a.centre, p2);
  a.flag = 1;
  return a;
}

ArcFit arcThroughThree(const Point2& p1, const Point2& p2, const Point2& p3) {
  ArcFit a;
  const CircleFit c = circleThrough(p1, p2, p3);
  a.centre = c.centre;
  a.r = c.r;
  if (c.flag == 0) return a;
  const double a1 = direction(c.centre, p1), a2 = direction(c.centre, p2), a3 = direction(c.centre, p3);
  const double lo = std::fmin(a1, a3), hi = std::fmax(a1, a3);
  const bool between = a2 >= lo && a2 <= hi;
  // Through p2 the arc either stays within [lo, hi] or passes angle 0 going from hi to lo.
  a.start = between ? lo : hi;
  a.end = between ? hi : lo;
  a.dir = (a1 <= a3) == between ? 1 : 0;
  a.flag = 1;
  return a;
}

LineChamfer chamferLines(double d, const Point2& a1, const Point2& a2, const Point2& b1, const Point2& b2) {
  LineChamfer c;
  if (coincide(a1, a2) || coincide(b1, b2)) return c;
  const LineHit hit = intersectLines(a1.x, a1.y, a2.x, a2.y, b1.x, b1.y, b2.x, b2.y);
  if (hit.flag == 0) return c;
  const Point2 x{hit.x, hit.y};
  const Point2 da = polarPoint({}, d, direction(a1, a2)), db = polarPoint({}, d, direction(b1, b2));
  c.p = {minus(x, da), plus(x, da), minus(x, db), plus(x, db)};
  c.flag = 1;
  return c;
}

CornerPoints chamferLineCircle(double len, const Point2& a1, const Point2& a2, const Point2& c, double r) {
  CornerPoints out;
  if (coincide(a1, a2) || !(r >= kCoincide)) return out;
  const PairHit hit = intersectLineCircle(a1, a2, c, r);
  if (hit.flag == 0) return out;
  const Point2 step = polarPoint({}, len, direction(a1, a2));
  const double delta = chordAngle(len, r);
  const Point2 x[2] = {hit.p1, hit.p2};
  out.p[0] = x[0];
  out.p[1] = x[1];
  for (int k = 0; k < 2; ++k) {
    Point2* q = &out.p[static_cast<size_t>(2 + 4 * k)];
    q[0] = minus(x[k], step);
    q[1] = plus(x[k], step);
    chordPoints(q + 2, c, r, x[k], delta);
  }
  out.count = chordFits(len, r) ? hit.flag : -hit.flag;
  return out;
}

CornerPoints chamferCircles(double len, const Point2& c1, double r1, const Point2& c2, double r2) {
  CornerPoints out;
  if (!(r1 >= kCoincide) || !(r2 >= kCoincide)) return out;
  const PairHit hit = intersectCircles(c1, r1, c2, r2);
  if (hit.flag == 0) return out;
  const double d1 = chordAngle(len, r1), d2 = chordAngle(len, r2);
  const Point2 x[2] = {hit.p1, hit.p2};
  out.p[0] = x[0];
  out.p[1] = x[1];
  for (int k = 0; k < 2; ++k) {
    Point2* q = &out.p[static_cast<size_t>(2 + 4 * k)];
    chordPoints(q, c1, r1, x[k], d1);
    chordPoints(q + 2, c2, r2, x[k], d2);
  }
  out.count = chordFits(len, r1) && chordFits(len, r2) ? hit.flag : -hit.flag;
  return out;
}

LineFillet filletLines(double R, int sideA, int sideB, const Point2& a1, const Point2& a2, const Point2& b1,
                       const Point2& b2) {
  LineFillet f;
  if (coincide(a1, a2) || coincide(b1, b2)) return f;
  const Point2 oa = sideOffset(R, sideA, a1, a2), ob = sideOffset(R, sideB, b1, b2);
  const Point2 pa1 = plus(a1, oa), pa2 = plus(a2, oa), pb1 = plus(b1, ob), pb2 = plus(b2, ob);
  const LineHit hit = intersectLines(pa1.x, pa1.y, pa2.x, pa2.y, pb1.x, pb1.y, pb2.x, pb2.y);
  if (hit.flag == 0) return f;
  f.centre = {hit.x, hit.y};
  f.onA = minus(f.centre, oa);
  f.onB = minus(f.centre, ob);
  f.flag = 1;
  return f;
}

CornerPoints filletLineCircle(double R, int sideL, int sideC, const Point2& a1, const Point2& a2, const Point2& c,
                              double r) {
  CornerPoints out;
  if (coincide(a1, a2) || !(R >= kCoincide) || !(r >= kCoincide)) return out;
  const double offsetR = sideC == 0 ? r + R : r - R;
  if (!(offsetR >= kCoincide)) return out;
  const Point2 o = sideOffset(R, sideL, a1, a2);
  const PairHit hit = intersectLineCircle(plus(a1, o), plus(a2, o), c, offsetR);
  if (hit.flag == 0) return out;
  out.p[0] = hit.p1;
  out.p[1] = hit.p2;
  out.p[2] = minus(hit.p1, o);
  out.p[3] = towards(c, r, hit.p1);
  out.p[4] = minus(hit.p2, o);
  out.p[5] = towards(c, r, hit.p2);
  out.count = hit.flag;
  return out;
}

CornerPoints filletCircles(double R, int side1, int side2, const Point2& c1, double r1, const Point2& c2, double r2) {
  CornerPoints out;
  if (!(r1 >= kCoincide) || !(r2 >= kCoincide) || !(R >= kCoincide)) return out;
  const double o1 = side1 == 0 ? r1 + R : r1 - R, o2 = side2 == 0 ? r2 + R : r2 - R;
  if (!(o1 >= kCoincide) || !(o2 >= kCoincide)) return out;
  const PairHit hit = intersectCircles(c1, o1, c2, o2);
  if (hit.flag == 0) return out;
  out.p[0] = hit.p1;
  out.p[1] = hit.p2;
  out.p[2] = towards(c1, r1, hit.p1);
  out.p[3] = towards(c2, r2, hit.p1);
  out.p[4] = towards(c1, r1, hit.p2);
  out.p[5] = towards(c2, r2, hit.p2);
  out.count = hit.flag;
  return out;
}

}  // namespace kubrix
