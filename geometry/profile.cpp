// Fans and bands of faces on an ellipse. Each point is mapped to world coordinates once and reused
// by the two faces that share it; the parameter angle is accumulated step by step.
#include "geometry/profile.h"

#include <cmath>

#include "geometry/intersect.h"

namespace kubrix {

namespace {

constexpr double kZeroTol = 1e-14;  // a length counts as zero below it
constexpr double kTurnTol = 1e-12;  // full-turn and quarter-bound tolerance of a sweep

// Start angle and step of a parameter run of n steps.
struct ParamRun {
  double start = 0, step = 0;
  int n = 0;
};

// The full turn from angle 0, backwards with rev.
ParamRun fullRun(int n, bool rev) {
  const double step = kTwoPi / n;
  return {0, rev ? -step : step, n};
}

// The sweep a1..a2 in [0, 2*pi); with widen, a sweep within 1e-12 of 0 or of 2*pi is a full turn.
double arcSweepOf(double a1, double a2, bool widen) {
  const double s = arcSweep(a1, a2);
  if (widen && (std::fabs(s) <= kTurnTol || std::fabs(s - kTwoPi) <= kTurnTol)) return kTwoPi;
  return s;
}

// From a1 (from a2 backwards with rev) over the sweep in n steps.
ParamRun arcRun(double a1, double a2, double sweep, int n, bool rev) {
  const double step = sweep / n;
  return rev ? ParamRun{a2, -step, n} : ParamRun{a1, step, n};
}

// One triangle per step: (previous arc point, next arc point, centre), or (next, previous, centre)
// with nextFirst.
void fan(LocalDraw& d, const PlaneEllipse& e, double z, const ParamRun& r, const Point3& centre,
         bool nextFirst) {
  const Point3 c = d.world(centre);
  double t = r.start;
  Point3 prev = d.world(e.at(t, z));
  for (int i = 0; i < r.n; ++i) {
    t += r.step;
    const Point3 next = d.world(e.at(t, z));
    if (nextFirst)
      d.worldTriangle(next, prev, c);
    else
      d.worldTriangle(prev, next, c);
    prev = next;
  }
}

// One quad per step: (previous outer, next outer, next inner, previous inner).
void band(LocalDraw& d, const PlaneEllipse& outer, const PlaneEllipse& inner, double z, const ParamRun& r) {
  double t = r.start;
  Point3 po = d.world(outer.at(t, z)), pi = d.world(inner.at(t, z));
  for (int i = 0; i < r.n; ++i) {
    t += r.step;
    const Point3 no = d.world(outer.at(t, z)), ni = d.world(inner.at(t, z));
    d.worldQuad(po, no, ni, pi);
    po = no;
    pi = ni;
  }
}

// One quad per step: (next at h, previous at h, previous at 0, next at 0).
void wall(LocalDraw& d, const PlaneEllipse& e, double h, const ParamRun& r) {
  // One ellipse point per step, mapped at both heights.
  const auto at = [&](double t, Point3& bottom, Point3& top) {
    Point3 q = e.at(t, 0);
    bottom = d.world(q);
    q.z = h;
    top = d.world(q);
  };
  double t = r.start;
  Point3 p0, ph;
  at(t, p0, ph);
  for (int i = 0; i < r.n; ++i) {
    t += r.step;
    Point3 n0, nh;
    at(t, n0, nh);
    d.worldQuad(nh, ph, p0, n0);
    p0 = n0;
    ph = nh;
  }
}

// The inner ellipse of a ring: x semi-axis ri, y semi-axis ri * ry / rx (ri alone for a zero rx).
PlaneEllipse innerEllipse(const PlaneEllipse& e, double ri) {
  PlaneEllipse in = e;
  in.rx = ri;
  in.ry = std::fabs(e.rx) <= kZeroTol ? ri : ri * e.ry / e.rx;
  return in;
}

// Where the tangents of the unturned ellipse at the angles s and e meet, turned and moved to the
// centre. Tangents that do not meet (a flat ellipse) give the centre itself.
Point3 tangentCorner(const PlaneEllipse& el, double s, double e, double z) {
  const double xs = el.rx * std::cos(s), ys = el.ry * std::sin(s);
  const double xe = el.rx * std::cos(e), ye = el.ry * std::sin(e);
  const LineHit hit = intersectLines(xs, ys, xs - el.rx * std::sin(s), ys + el.ry * std::cos(s), xe, ye,
                                     xe - el.rx * std::sin(e), ye + el.ry * std::cos(e));
  if (hit.flag == 0) return {el.cx, el.cy, z};
  const double c = std::cos(el.theta), sn = std::sin(el.theta);
  return {el.cx + hit.x * c - hit.y * sn, el.cy + hit.x * sn + hit.y * c, z};
}

// Corner fillet: k equal pieces, each a fan of n/k triangles (next, previous, tangent corner).
void fillet(LocalDraw& d, const ProfileFigure& f, int n) {
  FilletPiece pieces[4];
  const int k = filletLayout(f.ellipse, f.a1, f.a2, n, f.z, pieces);
  for (int j = 0; j < k; ++j) {
    const FilletPiece& p = pieces[j];
    const ParamRun r = f.rev ? ParamRun{p.e, -p.step, p.n} : ParamRun{p.s, p.step, p.n};
    fan(d, f.ellipse, f.z, r, p.corner, true);
  }
}

}  // namespace

int filletLayout(const PlaneEllipse& e, double a1, double a2, int n, double z, FilletPiece (&pieces)[4]) {
  n = clampCircleSegments(n);
  const double sweep = arcSweepOf(a1, a2, true);
  const int k = filletPieces(sweep);
  const int perPiece = (n + k - 1) / k;
  const double pieceStep = sweep / k;
  const double width = pieceStep - 1e-14;
  for (int j = 0; j < k; ++j) {
    FilletPiece& p = pieces[j];
    p.s = a1 + j * pieceStep;
    p.e = p.s + width;
    p.step = width / perPiece;
    p.n = perPiece;
    p.corner = tangentCorner(e, p.s, p.e, z);
  }
  return k;
}

int filletPieces(double sweep) {
  if (sweep <= kPi / 2 + kTurnTol) return 1;
  if (sweep <= kPi + kTurnTol) return 2;
  if (sweep <= 3 * kPi / 2 + kTurnTol) return 3;
  return 4;
}

void drawProfile(LocalDraw& d, const ProfileFigure& f) {
  const int n = clampCircleSegments(f.n);
  const PlaneEllipse& e = f.ellipse;
  const Point3 centre{e.cx, e.cy, f.z};
  switch (f.shape) {
    case ProfileShape::Disc:
      return fan(d, e, f.z, fullRun(n, f.rev), centre, false);
    case ProfileShape::Sector:
      return fan(d, e, f.z, arcRun(f.a1, f.a2, arcSweepOf(f.a1, f.a2, false), n, f.rev), centre, false);
    case ProfileShape::Segment: {
      const Point3 p1 = e.at(f.a1, f.z), p2 = e.at(f.a2, f.z);
      const Point3 mid{(p1.x + p2.x) / 2, (p1.y + p2.y) / 2, f.z};
      return fan(d, e, f.z, arcRun(f.a1, f.a2, arcSweepOf(f.a1, f.a2, false), n, f.rev), mid, false);
    }
    case ProfileShape::Fillet:
      return fillet(d, f, n);
    case ProfileShape::Ring:
      return band(d, e, innerEllipse(e, f.ri), f.z, fullRun(n, f.rev));
    case ProfileShape::RingSector:
      return band(d, e, innerEllipse(e, f.ri), f.z, arcRun(f.a1, f.a2, arcSweepOf(f.a1, f.a2, false), n, f.rev));
    case ProfileShape::Wall:
      return wall(d, e, f.z, arcRun(f.a1, f.a2, arcSweepOf(f.a1, f.a2, true), n, f.rev));
  }
}

void drawWallUnder(LocalDraw& d, const Point3& p1, const Point3& p2) {
  d.quad(p1, p2, {p2.x, p2.y, 0}, {p1.x, p1.y, 0});
}

}  // namespace kubrix
