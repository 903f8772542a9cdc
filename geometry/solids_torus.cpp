// Tori: an elliptic tube section (turned by sigma) swept along an elliptic path (turned by rho), both
// over full or partial sweeps, with the faces that close the cuts of each sweep.
#include <cmath>

#include "geometry/solid_builders.h"
#include "geometry/solids.h"

namespace kubrix {

namespace {

// One turning step of the tube: the m + 1 section points and the path point, world coordinates.
struct Section {
  double cs = 1, ss = 0;  // cos and sin of sigma
  double p = 0, q = 0;
  SweepRun tube;
};

void sectionPoints(LocalDraw& d, const Torus& t, const Section& sec, double th, std::vector<Point3>& out,
                   Point3& centre) {
  const double ct = std::cos(th), st = std::sin(th);
  const double cr = std::cos(t.rho), sr = std::sin(t.rho);
  const double px = t.u * ct * cr - t.v * st * sr, py = t.u * ct * sr + t.v * st * cr;
  const double dx = std::cos(t.rho + th), dy = std::sin(t.rho + th);
  centre = d.world({px, py, 0});
  out.resize(static_cast<size_t>(sec.tube.n) + 1);
  double phi = sec.tube.start;
  for (size_t j = 0; j <= static_cast<size_t>(sec.tube.n); ++j, phi += sec.tube.step) {
    if (sec.tube.full && j == static_cast<size_t>(sec.tube.n)) {
      out[j] = out[0];
      break;
    }
    const double cp = std::cos(phi), sp = std::sin(phi);
    const double r = sec.cs * sec.p * cp - sec.ss * sec.q * sp;
    const double z = sec.ss * sec.p * cp + sec.cs * sec.q * sp;
    out[j] = d.world({px + r * dx, py + r * dy, z});
  }
}

// The faces closing a turn cut: a fan from the path point over the section (flag `atEnd` turns it to
// face forward along the turn), and with the chord closing one more triangle.
void turnCap(LocalDraw& d, const std::vector<Point3>& sec, int m, const Point3& c, bool atEnd, bool chord, bool rev) {
  const bool flip = atEnd != rev;
  for (size_t j = 0; j < static_cast<size_t>(m); ++j) solidTriangle(d, sec[j], sec[j + 1], c, flip);
  if (chord) solidTriangle(d, sec[static_cast<size_t>(m)], sec[0], c, flip);
}

// The quads of one turning step between the sections `prev` and `next`.
void stepFaces(LocalDraw& d, const std::vector<Point3>& prev, const std::vector<Point3>& next, bool rev) {
  const size_t last = prev.size() - 1;
  for (size_t j = 0; j < last; ++j) solidQuad(d, prev[j], next[j], next[j + 1], prev[j + 1], rev);
}

// The faces closing an open section along the turn, from the path points and each section's first
// and last points: k1 = 1 from the path line to the start edge, k2 = 1 to the end edge; both 2: the
// chord from the end edge back to the start edge.
void sectionCuts(LocalDraw& d, const std::vector<Point3>& path, const std::vector<Point3>& starts,
                 const std::vector<Point3>& ends, int k1, int k2, bool rev) {
  const size_t n = path.size() - 1;
  if (k1 == 1)
    for (size_t i = 0; i < n; ++i) solidQuad(d, path[i], path[i + 1], starts[i + 1], starts[i], rev);
  if (k2 == 1)
    for (size_t i = 0; i < n; ++i) solidQuad(d, ends[i], ends[i + 1], path[i + 1], path[i], rev);
  if (k1 == 2 && k2 == 2)
    for (size_t i = 0; i < n; ++i) solidQuad(d, ends[i], ends[i + 1], starts[i + 1], starts[i], rev);
}

}  // namespace

void drawTorus(LocalDraw& d, const Torus& t) {
  if (!(t.p >= kSolidZero) || !(t.q >= kSolidZero) || !(t.u >= kSolidZero) || !(t.v >= kSolidZero)) return;
  const int m = clampCircleSegments(t.m);
  int n = clampCircleSegments(t.n);
  if (m * n > 10000) n = 10000 / m;
  Section sec{std::cos(t.sigma), std::sin(t.sigma), t.p, t.q, sweepRun(t.phi1, t.phi2, m)};
  const SweepRun turn = sweepRun(t.th1, t.th2, n);
  const bool open = !sec.tube.full;
  const int k1 = open ? t.k1 : 0, k2 = open ? t.k2 : 0;
  const bool chord = k1 == 2 && k2 == 2;
  const bool rev = t.reverse;
  std::vector<Point3>& first = solidBuffer(0);
  std::vector<Point3>& prev = solidBuffer(1);
  std::vector<Point3>& next = solidBuffer(2);
  // The path point and each section's first and last point along the turn, for the cut faces.
  std::vector<Point3>& path = solidBuffer(5);
  std::vector<Point3>& starts = solidBuffer(6);
  std::vector<Point3>& ends = solidBuffer(7);
  Point3 c0, cNext;
  sectionPoints(d, t, sec, turn.start, first, c0);
  prev = first;
  path.assign(1, c0);
  starts.assign(1, first.front());
  ends.assign(1, first.back());
  double th = turn.start;
  for (int i = 0; i < n; ++i) {
    th += turn.step;
    if (turn.full && i + 1 == n) {
      next = first;
      cNext = c0;
    } else {
      sectionPoints(d, t, sec, th, next, cNext);
    }
    stepFaces(d, prev, next, rev);
    path.push_back(cNext);
    starts.push_back(next.front());
    ends.push_back(next.back());
    prev.swap(next);
  }
  sectionCuts(d, path, starts, ends, k1, k2, rev);
  if (turn.full) return;
  if (t.c1 == 1) turnCap(d, first, m, c0, false, chord, rev);
  if (t.c2 == 1) turnCap(d, prev, m, path.back(), true, chord, rev);
}

}  // namespace kubrix
