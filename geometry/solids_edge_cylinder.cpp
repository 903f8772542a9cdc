// Cylinders with a chamfered, rounded or hollow top edge: full, sector and segment forms. Every level
// of the profile is a ring; the levels are joined by bands and closed by the caps, the sector cuts or
// the chord faces.
#include <cmath>

#include "geometry/edge_levels.h"
#include "geometry/solid_builders.h"

namespace kubrix {

namespace {

struct LevelRing {
  PlaneEllipse e;
  double z = 0;
  SweepRun run;
};

// The rings of every level; false when the segment's inset leaves nothing at some level.
bool levelRings(const EdgeCylinder& c, int n, const std::vector<EdgeLevel>& levels, std::vector<LevelRing>& out) {
  const SweepRun base = c.cut == RoundCut::Full ? fullRun(n) : sweepRun(c.a1, c.a2, n);
  out.clear();
  for (const EdgeLevel& l : levels) {
    LevelRing r{{c.ox, c.oy, c.rx - l.f * c.cx, c.ry - l.f * c.cy, c.rot}, l.z, base};
    if (c.cut == RoundCut::Segment && !base.full && l.f * c.cx > 0) {
      const SegmentInset in = insetSegment(c.ox, c.oy, c.rx, c.a1, c.a2, l.f * c.cx);
      if (in.flag == 0) return false;
      r.run = SweepRun{in.b1, 2 * in.half / n, n, false};
    }
    out.push_back(r);
  }
  return true;
}

// The cut face of a sector at the start (or, flipped, at the end): from the axis bottom across the
// levels' end points to the axis top. `pts` holds each level's point at that angle, bottom first.
void sectorCut(LocalDraw& d, const Point3& axis0, const Point3& axisTop, const std::vector<Point3>& pts, bool rev) {
  const size_t k = pts.size();
  solidQuad(d, axis0, pts[0], pts[1], axisTop, rev);
  for (size_t j = 1; j + 1 < k; ++j) solidTriangle(d, axisTop, pts[j], pts[j + 1], rev);
}

// The checked and normalised input: H, cx, cy, s below 1e-14 as 0, the total height s when there is
// no wall. False when nothing is to be drawn.
bool normalise(EdgeCylinder& c, bool& hasWall) {
  for (double* v : {&c.H, &c.cx, &c.cy, &c.s}) *v = *v < kSolidZero ? 0 : *v;
  if (!(c.rx >= kSolidZero) || !(c.ry >= kSolidZero)) return false;
  if (c.cx > c.rx + kSolidZero || c.cy > c.ry + kSolidZero) return false;
  hasWall = c.H >= kSolidZero;
  if (hasWall && c.s > c.H + kSolidZero) return false;
  if (!hasWall) c.H = c.s;
  return true;
}

// Every level's ring in one buffer (rows of n + 1 world points) and each level's fan centre: its
// chord midpoint for an open segment, else its centre on the axis.
struct LevelPoints {
  std::vector<Point3>& all = solidBuffer(0);
  std::vector<Point3>& centres = solidBuffer(3);
  size_t width = 0;
  const Point3* ring(size_t j) const { return all.data() + j * width; }
};

void levelPoints(LocalDraw& d, const EdgeCylinder& c, int n, bool segment, const std::vector<LevelRing>& rings,
                 LevelPoints& out) {
  std::vector<Point3>& row = solidBuffer(1);
  out.width = static_cast<size_t>(n) + 1;
  out.all.clear();
  out.centres.clear();
  for (const LevelRing& r : rings) {
    Point3 first, last;
    ringPoints(d, r.e, r.z, r.run, row, &first, &last);
    out.all.insert(out.all.end(), row.begin(), row.end());
    out.centres.push_back(d.world(segment ? midpoint(first, last) : Point3{c.ox, c.oy, r.z}));
  }
}

// The faces closing an open sector or segment: the two cut faces or the chord faces.
void closeCut(LocalDraw& d, const EdgeCylinder& c, int n, bool segment, size_t levels, const LevelPoints& p) {
  const bool rev = c.reverse;
  if (segment) {
    if (!c.cutStart) return;
    for (size_t j = 0; j + 1 < levels; ++j)
      splitChordFace(d, p.ring(j)[0], p.ring(j)[n], p.ring(j + 1)[0], p.ring(j + 1)[n], p.centres[j], p.centres[j + 1], rev);
    return;
  }
  const Point3 axis0 = d.world({c.ox, c.oy, 0}), axisTop = d.world({c.ox, c.oy, c.H});
  std::vector<Point3>& pts = solidBuffer(2);
  for (int side = 0; side < 2; ++side) {
    if (!(side == 0 ? c.cutStart : c.cutEnd)) continue;
    pts.clear();
    for (size_t j = 0; j < levels; ++j) pts.push_back(p.ring(j)[side == 0 ? 0 : n]);
    sectorCut(d, axis0, axisTop, pts, side == 0 ? rev : !rev);
  }
}

}  // namespace

void drawEdgeCylinder(LocalDraw& d, const EdgeCylinder& in) {
  EdgeCylinder c = in;
  bool hasWall = false;
  if (!normalise(c, hasWall)) return;
  const int n = clampCircleSegments(c.n);
  int m = c.m < 3 ? 3 : c.m > 500 ? 500 : c.m;
  if (n * m > 10000) m = 10000 / n;
  thread_local std::vector<EdgeLevel> levels;
  edgeLevels(c.shape, c.shape == EdgeShape::Chamfer ? 1 : m, false, hasWall ? c.H - c.s : 0, c.s, levels);
  thread_local std::vector<LevelRing> rings;
  if (!levelRings(c, n, levels, rings)) return;
  const bool open = !rings.front().run.full, segment = c.cut == RoundCut::Segment && open;
  LevelPoints p;
  levelPoints(d, c, n, segment, rings, p);
  const size_t L = rings.size();
  if (c.bottom) fanCap(d, p.ring(0), n, p.centres.front(), !c.reverse);
  for (size_t j = 0; j + 1 < L; ++j) band(d, p.ring(j), p.ring(j + 1), n, c.reverse);
  if (c.top) fanCap(d, p.ring(L - 1), n, p.centres.back(), c.reverse);
  if (open) closeCut(d, c, n, segment, L, p);
}

}  // namespace kubrix
