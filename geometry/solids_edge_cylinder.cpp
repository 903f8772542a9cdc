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

}  // namespace

void drawEdgeCylinder(LocalDraw& d, const EdgeCylinder& in) {
  EdgeCylinder c = in;
  const auto zeroSmall = [](double& v) { v = v < kSolidZero ? 0 : v; };
  zeroSmall(c.H), zeroSmall(c.cx), zeroSmall(c.cy), zeroSmall(c.s);
  if (!(c.rx >= kSolidZero) || !(c.ry >= kSolidZero)) return;
  if (c.cx > c.rx + kSolidZero || c.cy > c.ry + kSolidZero) return;
  const bool hasWall = c.H >= kSolidZero;
  if (hasWall && c.s > c.H + kSolidZero) return;
  if (!hasWall) c.H = c.s;
  const int n = clampCircleSegments(c.n);
  int m = c.m < 3 ? 3 : c.m > 500 ? 500 : c.m;
  if (n * m > 10000) m = 10000 / n;
  thread_local std::vector<EdgeLevel> levels;
  edgeLevels(c.shape, c.shape == EdgeShape::Chamfer ? 1 : m, false, hasWall ? c.H - c.s : 0, c.s, levels);
  thread_local std::vector<LevelRing> rings;
  if (!levelRings(c, n, levels, rings)) return;
  const bool open = !rings.front().run.full, segment = c.cut == RoundCut::Segment && open;
  // Every level's points in one buffer, rows of n + 1; the local end points for the chord midpoints.
  std::vector<Point3>& all = solidBuffer(0);
  std::vector<Point3>& row = solidBuffer(1);
  const size_t width = static_cast<size_t>(n) + 1, L = rings.size();
  // The fan centre of each level: its chord midpoint (segments) or its centre on the axis.
  std::vector<Point3>& centres = solidBuffer(3);
  all.clear();
  centres.clear();
  for (size_t j = 0; j < L; ++j) {
    Point3 first, last;
    ringPoints(d, rings[j].e, rings[j].z, rings[j].run, row, &first, &last);
    all.insert(all.end(), row.begin(), row.end());
    centres.push_back(d.world(segment ? midpoint(first, last) : Point3{c.ox, c.oy, rings[j].z}));
  }
  const auto ring = [&](size_t j) { return all.data() + j * width; };
  const bool rev = c.reverse;
  if (c.bottom) fanCap(d, ring(0), n, centres.front(), !rev);
  for (size_t j = 0; j + 1 < L; ++j) band(d, ring(j), ring(j + 1), n, rev);
  if (c.top) fanCap(d, ring(L - 1), n, centres.back(), rev);
  if (!open) return;
  if (segment) {
    if (!c.cutStart) return;
    for (size_t j = 0; j + 1 < L; ++j)
      chordFace(d, ring(j)[0], ring(j)[n], ring(j + 1)[0], ring(j + 1)[n], centres[j], centres[j + 1], rev);
    return;
  }
  const Point3 axis0{c.ox, c.oy, 0}, axisTop{c.ox, c.oy, c.H};
  const Point3 w0 = d.world(axis0), wTop = d.world(axisTop);
  std::vector<Point3>& pts = solidBuffer(2);
  for (int side = 0; side < 2; ++side) {
    if (!(side == 0 ? c.cutStart : c.cutEnd)) continue;
    pts.clear();
    for (size_t j = 0; j < L; ++j) pts.push_back(ring(j)[side == 0 ? 0 : n]);
    sectorCut(d, w0, wTop, pts, side == 0 ? rev : !rev);
  }
}

}  // namespace kubrix
