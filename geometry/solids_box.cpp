// Boxes, box frusta, roofs and pyramids on a rectangle, and the prisms, frusta and pyramids on a
// triangle. The reverse flag exchanges the +x and -x corners of every rectangle (and the first two
// corners of every triangle): the same solid with every face wound the other way.
#include <cmath>

#include "geometry/solid_builders.h"
#include "geometry/solids.h"

namespace kubrix {

namespace {

// Corners R1 (X+, Y+), R2 (X+, Y-), R3 (X-, Y-), R4 (X-, Y+) of the rectangle w x d centred at
// (cx, cy) at height z, mapped to world coordinates; reverse exchanges X+ and X-.
struct Rect {
  Point3 c[4];
};
Rect rectangle(LocalDraw& d, double w, double dep, double cx, double cy, double z, bool reverse) {
  double xp = cx + w / 2, xm = cx - w / 2;
  const double yp = cy + dep / 2, ym = cy - dep / 2;
  if (reverse) std::swap(xp, xm);
  return {{d.world({xp, yp, z}), d.world({xp, ym, z}), d.world({xm, ym, z}), d.world({xm, yp, z})}};
}

bool positive(double v) { return v >= kSolidZero; }

}  // namespace

void drawBoxFrustum(LocalDraw& draw, const BoxFrustum& b) {
  if (!positive(b.w) || !positive(b.d) || !positive(b.h) || !positive(b.tw) || !positive(b.td)) return;
  const Rect B = rectangle(draw, b.w, b.d, 0, 0, 0, b.reverse);
  const Rect T = rectangle(draw, b.tw, b.td, b.tx, b.ty, b.h, b.reverse);
  if (b.bottom) draw.worldQuad(B.c[0], B.c[1], B.c[2], B.c[3]);
  draw.worldQuad(B.c[0], T.c[0], T.c[1], B.c[1]);
  draw.worldQuad(B.c[3], T.c[3], T.c[0], B.c[0]);
  draw.worldQuad(B.c[2], T.c[2], T.c[3], B.c[3]);
  draw.worldQuad(B.c[1], T.c[1], T.c[2], B.c[2]);
  if (b.top) draw.worldQuad(T.c[0], T.c[3], T.c[2], T.c[1]);
}

void drawRoof(LocalDraw& draw, const Roof& r) {
  if (!positive(r.w) || !positive(r.d) || !positive(r.h)) return;
  if (r.kind != RoofKind::Apex && !positive(r.len)) return;
  const Rect B = rectangle(draw, r.w, r.d, 0, 0, 0, r.reverse);
  const Point3 *b1 = &B.c[0], *b2 = &B.c[1], *b3 = &B.c[2], *b4 = &B.c[3];
  if (r.bottom) draw.worldQuad(*b1, *b2, *b3, *b4);
  if (r.kind == RoofKind::Apex) {
    const Point3 a = draw.world({r.rx, r.ry, r.h});
    draw.worldTriangle(*b1, a, *b2);
    draw.worldTriangle(*b4, a, *b1);
    draw.worldTriangle(*b3, a, *b4);
    draw.worldTriangle(*b2, a, *b3);
    return;
  }
  if (r.kind == RoofKind::RidgeAlongY) {
    const Point3 rp = draw.world({r.rx, r.ry + r.len / 2, r.h}), rm = draw.world({r.rx, r.ry - r.len / 2, r.h});
    draw.worldQuad(*b1, rp, rm, *b2);
    draw.worldTriangle(*b4, rp, *b1);
    draw.worldQuad(*b3, rm, rp, *b4);
    draw.worldTriangle(*b2, rm, *b3);
    return;
  }
  Point3 rp = draw.world({r.rx + r.len / 2, r.ry, r.h}), rm = draw.world({r.rx - r.len / 2, r.ry, r.h});
  if (r.reverse) std::swap(rp, rm);
  draw.worldTriangle(*b1, rp, *b2);
  draw.worldQuad(*b4, rm, rp, *b1);
  draw.worldTriangle(*b3, rm, *b4);
  draw.worldQuad(*b2, rp, rm, *b3);
}

namespace {

// tan that gives 0 where the cosine is below 1e-14 in magnitude.
double safeTan(double a) { return std::fabs(std::cos(a)) < kSolidZero ? 0 : std::tan(a); }
bool rightAngle(double a) { return std::fabs(a - kPi / 2) <= kSolidZero; }
bool angleInRange(double a) { return a >= kSolidZero && a <= kPi; }

// The apex of the X form (base from (b/2, 0) to (-b/2, 0)) as (x, y), or false.
bool apexAlongX(const TriangleRule& t, double& x, double& y) {
  const double b = t.v[0];
  if (!positive(b)) return false;
  if (t.rule == 1) {
    const double h = t.v[1], a = t.v[2];
    if (!positive(h) || !angleInRange(a)) return false;
    const double tn = safeTan(a);
    // A side that runs along the base (an angle of a half turn) never reaches the height.
    if (!rightAngle(a) && std::fabs(tn) < kSolidZero) return false;
    x = b / 2 - (rightAngle(a) ? 0 : h / tn);
    y = h;
  } else if (t.rule == 2) {
    const double a = t.v[1], be = t.v[2];
    if (!angleInRange(a) || !angleInRange(be) || a + be > kPi) return false;
    if (rightAngle(a) && rightAngle(be)) return false;
    if (rightAngle(a)) {
      x = b / 2, y = b * safeTan(be);
    } else if (rightAngle(be)) {
      x = -b / 2, y = b * safeTan(a);
    } else {
      const double ta = safeTan(a), tb = safeTan(be);
      // Angles that add up to a half turn give parallel sides: no apex.
      if (std::fabs(ta + tb) < kSolidZero) return false;
      const double u = b * tb / (ta + tb);
      x = b / 2 - u, y = u * ta;
    }
  } else {
    const double s1 = t.v[1], s2 = t.v[2];
    if (!positive(s1) || !positive(s2) || s1 + s2 - b < kSolidZero || std::fabs(s1 - s2) - b > -kSolidZero)
      return false;
    const double u = (b * b + s1 * s1 - s2 * s2) / (2 * b);
    x = b / 2 - u, y = std::sqrt(s1 * s1 - u * u);
  }
  return std::isfinite(x) && std::isfinite(y);
}

}  // namespace

bool ruleTriangle(const TriangleRule& t, std::array<Point3, 3>& p) {
  double x = 0, y = 0;
  if (!apexAlongX(t, x, y)) return false;
  const double b = t.v[0];
  if (t.alongY) {
    // The Y form is the X form mirrored in the line x = y: P1 and P2 change places.
    p = {Point3{0, -b / 2, 0}, Point3{0, b / 2, 0}, Point3{y, x, 0}};
  } else {
    p = {Point3{b / 2, 0, 0}, Point3{-b / 2, 0, 0}, Point3{x, y, 0}};
  }
  return true;
}

void drawTriangleBody(LocalDraw& draw, const TriangleBody& t) {
  std::array<Point3, 3> base, top;
  if (!positive(t.h) || !ruleTriangle(t.base, base)) return;
  if (t.kind == TriangleSolid::Frustum && !ruleTriangle(t.top, top)) return;
  if (t.kind == TriangleSolid::Prism) top = base;
  if (t.reverse) {
    std::swap(base[0], base[1]);
    std::swap(top[0], top[1]);
  }
  Point3 P[3], T[3];
  const double dx = t.kind == TriangleSolid::Frustum ? t.ox : 0, dy = t.kind == TriangleSolid::Frustum ? t.oy : 0;
  for (size_t i = 0; i < 3; ++i) {
    P[i] = draw.world(base[i]);
    T[i] = draw.world({top[i].x + dx, top[i].y + dy, t.h});
  }
  if (t.bottom) draw.worldTriangle(P[0], P[1], P[2]);
  if (t.kind == TriangleSolid::Pyramid) {
    const Point3 a = draw.world({t.ox, t.oy, t.h});
    draw.worldTriangle(P[0], a, P[1]);
    draw.worldTriangle(P[2], a, P[0]);
    draw.worldTriangle(P[1], a, P[2]);
    return;
  }
  draw.worldQuad(P[0], T[0], T[1], P[1]);
  draw.worldQuad(P[2], T[2], T[0], P[0]);
  draw.worldQuad(P[1], T[1], T[2], P[2]);
  if (t.topFace) draw.worldTriangle(T[0], T[2], T[1]);
}

}  // namespace kubrix
