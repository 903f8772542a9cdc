// Spheres, domes, ellipsoids and ellipsoid parts: a meridian (P cos t along the polar axis, radius
// sin t) turned about the polar axis. Columns of meridian points are computed once per turning step
// and shared by the faces on both sides; a full turn ends on its first column.
#include <cmath>

#include "geometry/solid_builders.h"
#include "geometry/solids.h"

namespace kubrix {

namespace {

// The surface between polar angles t1..t2 (m steps) turned over a run of n steps.
struct Meridian {
  int axis = 0;        // 0: polar x; 1: polar y; 2: polar z (cyclic, so the facing is kept)
  double p = 0, q1 = 0, q2 = 0;  // semi-axes along the polar axis and the two turning directions
  double offset = 0;   // along the polar axis
  double t1 = 0, dt = 0;
  int m = 0;
  bool northPole = false, southPole = false;

  // Local point from the polar coordinate and the two turning coordinates.
  Point3 place(double pc, double u, double v) const {
    pc += offset;
    if (axis == 1) return {v, pc, u};
    if (axis == 2) return {u, v, pc};
    return {pc, u, v};
  }
  // The last polar angle, accumulated step by step as the columns are.
  double lastT() const {
    double t = t1;
    for (int i = 0; i < m; ++i) t += dt;
    return t;
  }
  Point3 axisPoint(int i, double t) const {
    if (i == 0 && northPole) return place(p, 0, 0);
    if (i == m && southPole) return place(-p, 0, 0);
    return place(p * std::cos(t), 0, 0);
  }
};

// The meridian once for all columns: each point's polar coordinate p cos t and first turning
// coordinate q1 sin t (x and y of the Point3), the poles exact.
void meridianTable(const Meridian& md, std::vector<Point3>& out) {
  out.resize(static_cast<size_t>(md.m) + 1);
  double t = md.t1;
  for (int i = 0; i <= md.m; ++i, t += md.dt) {
    const bool pole = (i == 0 && md.northPole) || (i == md.m && md.southPole);
    out[static_cast<size_t>(i)] = pole ? Point3{i == 0 ? md.p : -md.p, 0, 0} : Point3{md.p * std::cos(t), md.q1 * std::sin(t), 0};
  }
}

// Meridian points of the turning angle with cosine ca and sine sa, world coordinates, m + 1 of them.
void column(LocalDraw& d, const Meridian& md, const std::vector<Point3>& table, double ca, double sa,
            std::vector<Point3>& out) {
  // The meridian point (x, y, 0) turned by the angle: (x, cos a * y, sin a * y), the second turning
  // coordinate then scaled by q2 / q1 (1 for a sphere).
  out.resize(table.size());
  const double k = md.q2 / md.q1;
  for (size_t i = 0; i < table.size(); ++i) {
    const double y = table[i].y;
    out[i] = d.world(md.place(table[i].x, ca * y, sa * y * k));
  }
}

// Faces between two neighbouring columns: a triangle at a pole, quads elsewhere.
void strip(LocalDraw& d, const Meridian& md, const std::vector<Point3>& c0, const std::vector<Point3>& c1, bool rev) {
  for (size_t i = 0; i < static_cast<size_t>(md.m); ++i) {
    if (i == 0 && md.northPole)
      solidTriangle(d, c0[0], c0[1], c1[1], rev);
    else if (i + 1 == static_cast<size_t>(md.m) && md.southPole)
      solidTriangle(d, c0[i], c0[i + 1], c1[i], rev);
    else
      solidQuad(d, c0[i], c0[i + 1], c1[i + 1], c1[i], rev);
  }
}

// Closing faces of a turning cut: between the axis and the column, facing back along the turn
// (atEnd false) or forward (atEnd true).
void turnCut(LocalDraw& d, const Meridian& md, const std::vector<Point3>& col, bool atEnd, bool rev) {
  double t = md.t1;
  Point3 a0 = d.world(md.axisPoint(0, t));
  for (size_t i = 0; i < static_cast<size_t>(md.m); ++i) {
    t += md.dt;
    const Point3 a1 = d.world(md.axisPoint(static_cast<int>(i) + 1, t));
    if (atEnd)
      solidQuad(d, a0, col[i], col[i + 1], a1, rev);
    else
      solidQuad(d, a0, a1, col[i + 1], col[i], rev);
    a0 = a1;
  }
}

struct Closing {
  bool capT1 = false, capT2 = false, cutS = false, cutE = false;
};

// The turned surface, then its closing faces in the order of their flags: the fans at t1 and t2 and
// the turning cuts at the start and the end.
void drawTurned(LocalDraw& d, const Meridian& md, const SweepRun& run, const Closing& k, bool rev) {
  std::vector<Point3>& first = solidBuffer(0);
  std::vector<Point3>& prev = solidBuffer(1);
  std::vector<Point3>& next = solidBuffer(2);
  std::vector<Point3>& table = solidBuffer(5);
  // Each column's first and last point, for the fans that close the cuts at t1 and t2.
  std::vector<Point3>& tops = solidBuffer(6);
  std::vector<Point3>& bottoms = solidBuffer(7);
  meridianTable(md, table);
  column(d, md, table, std::cos(run.start), std::sin(run.start), first);
  prev = first;
  tops.assign(1, first.front());
  bottoms.assign(1, first.back());
  double a = run.start;
  for (int j = 0; j < run.n; ++j) {
    a += run.step;
    if (run.full && j + 1 == run.n)
      next = first;
    else
      column(d, md, table, std::cos(a), std::sin(a), next);
    strip(d, md, prev, next, rev);
    tops.push_back(next.front());
    bottoms.push_back(next.back());
    prev.swap(next);
  }
  if (k.capT1) {
    const Point3 c1 = d.world(md.axisPoint(0, md.t1));
    for (size_t j = 0; j < static_cast<size_t>(run.n); ++j) solidTriangle(d, c1, tops[j], tops[j + 1], rev);
  }
  if (k.capT2) {
    const Point3 c2 = d.world(md.axisPoint(md.m, md.lastT()));
    for (size_t j = 0; j < static_cast<size_t>(run.n); ++j) solidTriangle(d, c2, bottoms[j + 1], bottoms[j], rev);
  }
  if (run.full) return;
  if (k.cutS) turnCut(d, md, first, false, rev);
  if (k.cutE) turnCut(d, md, prev, true, rev);
}

// Turning steps of the sphere family: clamped to 4..1000 and made even.
int evenSteps(int n) {
  n = n < 4 ? 4 : n > 1000 ? 1000 : n;
  return n % 2 ? n + 1 : n;
}

bool positive(double v) { return v >= kSolidZero; }

}  // namespace

void drawEllipsoid(LocalDraw& d, int n, double a, double b, double c, bool reverse) {
  if (!positive(a) || !positive(b) || !positive(c)) return;
  n = evenSteps(n);
  Meridian md{0, a, b, c, 0, 0, kTwoPi / n, n / 2, true, true};
  drawTurned(d, md, fullRun(n), Closing{}, reverse);
}

void drawDome(LocalDraw& d, int n, double r, bool bottom, bool reverse) {
  if (!positive(r)) return;
  n = clampCircleSegments(n);
  const Meridian md{0, r, r, r, 0, 0, kPi / n, n, true, true};
  const SweepRun run{0, kPi / n, n, false};
  if (bottom) {
    // The base disc: a fan of 2n segments on the rim, which is the first column (turning angle 0)
    // followed by the last one (a half turn) backwards, so the disc meets the dome exactly.
    std::vector<Point3>& ring = solidBuffer(3);
    std::vector<Point3>& back = solidBuffer(4);
    std::vector<Point3>& table = solidBuffer(5);
    meridianTable(md, table);
    column(d, md, table, 1, 0, ring);
    double a = 0;
    for (int j = 0; j < n; ++j) a += run.step;
    column(d, md, table, std::cos(a), std::sin(a), back);
    ring.insert(ring.end(), back.rbegin() + 1, back.rend());
    fanCap(d, ring.data(), 2 * n, d.world({0, 0, 0}), !reverse);
  }
  drawTurned(d, md, run, Closing{}, reverse);
}

void drawEllipsoidPart(LocalDraw& d, const EllipsoidPart& p) {
  const double semi[3] = {p.a, p.b, p.c};
  if (!positive(p.a) || !positive(p.b) || !positive(p.c)) return;
  // Polar angles outside 0..pi would turn the surface over itself: keep them in range, in order.
  double t1 = std::fmin(std::fmax(p.t1, 0.0), kPi), t2 = std::fmin(std::fmax(p.t2, 0.0), kPi);
  if (t1 > t2) std::swap(t1, t2);
  if (!(t2 - t1 >= kSolidZero)) return;
  const int n = evenSteps(p.n);
  const int ax = p.axis < 0 || p.axis > 2 ? 0 : p.axis;
  Meridian md;
  md.axis = ax;
  md.p = semi[ax];
  md.q1 = semi[(ax + 1) % 3];
  md.q2 = semi[(ax + 2) % 3];
  md.offset = p.offset;
  md.t1 = t1;
  md.m = n / 2;
  md.dt = (t2 - t1) / md.m;
  md.northPole = std::fabs(t1) < kSolidTurn;
  md.southPole = std::fabs(t2 - kPi) < kSolidTurn;
  const Closing k{p.capT1 && !md.northPole, p.capT2 && !md.southPole, p.cutS, p.cutE};
  drawTurned(d, md, sweepRun(p.s, p.e, n), k, p.reverse);
}

void drawEllipsoidCap(LocalDraw& d, int n, int axis, double a, double b, double c, double cut, double s,
                      double e, const std::array<int, 4>& flags, bool reverse) {
  const double semi[3] = {a, b, c};
  const int ax = axis < 0 || axis > 2 ? 0 : axis;
  const double polar = semi[ax];
  if (!positive(a) || !positive(b) || !positive(c) || !positive(cut) || !(2 * polar - cut >= kSolidZero)) return;
  EllipsoidPart p;
  p.n = n;
  p.axis = ax;
  p.a = a, p.b = b, p.c = c;
  p.t1 = 0;
  p.t2 = std::acos(std::fmax(-1.0, std::fmin(1.0, (polar - cut) / polar)));
  p.s = s, p.e = e;
  p.offset = flags[0] == 1 ? cut - polar : 0;
  p.capT2 = flags[1] == 1;
  p.cutS = flags[2] == 1;
  p.cutE = flags[3] == 1;
  p.reverse = reverse;
  drawEllipsoidPart(d, p);
}

}  // namespace kubrix
