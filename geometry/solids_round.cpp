// Round and elliptic cylinders, frusta and cones: full, sector (pie), segment (cut by the chord) and
// corner-fillet forms, built from the shared ring, cap, band, skirt, cut and chord builders.
#include "geometry/solid_builders.h"
#include "geometry/solids.h"

namespace kubrix {

namespace {

bool positive(double v) { return v >= kSolidZero; }

// The corner-fillet form: the caps are corner-fillet profiles; each piece's wall runs along its arc
// (facing the ellipse's centre) and along the two tangents to the piece's corner.
void drawFilletBody(LocalDraw& d, const RoundBody& b, int n) {
  const bool rev = b.reverse;
  FilletPiece lower[4], upper[4];
  const int k = filletLayout(b.base, b.s, b.e, n, 0, lower);
  filletLayout(b.cone ? b.base : b.top, b.s, b.e, n, b.h, upper);
  ProfileFigure cap{ProfileShape::Fillet, b.base, 0, b.s, b.e, 0, n, !rev};
  if (b.bottom) drawProfile(d, cap);
  std::vector<Point3>& B = solidBuffer(0);
  std::vector<Point3>& A = solidBuffer(1);
  const Point3 apex = d.world({b.ax, b.ay, b.h});
  for (int j = 0; j < k; ++j) {
    ringPoints(d, b.base, 0, SweepRun{lower[j].s, lower[j].step, lower[j].n, false}, B);
    const Point3 cb = d.world(lower[j].corner);
    const Point3& bs = B.front();
    const Point3& be = B.back();
    if (b.cone) {
      skirt(d, B.data(), lower[j].n, apex, !rev);
      solidTriangle(d, bs, cb, apex, rev);
      solidTriangle(d, cb, be, apex, rev);
      continue;
    }
    ringPoints(d, b.top, b.h, SweepRun{upper[j].s, upper[j].step, upper[j].n, false}, A);
    const Point3 ct = d.world(upper[j].corner);
    band(d, B.data(), A.data(), lower[j].n, !rev);
    solidQuad(d, bs, cb, ct, A.front(), rev);
    solidQuad(d, cb, be, A.back(), ct, rev);
  }
  if (b.topFace && !b.cone) {
    cap.ellipse = b.top;
    cap.z = b.h;
    cap.rev = rev;
    drawProfile(d, cap);
  }
}

// The fan centre of a cap: the ring's centre, or the chord's midpoint for an open segment.
Point3 capCentre(const RoundBody& b, const PlaneEllipse& e, double z, bool open, const Point3& first,
                 const Point3& last) {
  if (open && b.cut == RoundCut::Segment) return midpoint(first, last);
  return {e.cx, e.cy, z};
}

}  // namespace

void drawRoundBody(LocalDraw& d, const RoundBody& b) {
  if (!positive(b.base.rx) || !positive(b.base.ry) || !positive(b.h)) return;
  if (!b.cone && (!positive(b.top.rx) || !positive(b.top.ry))) return;
  const int n = clampCircleSegments(b.n);
  if (b.cut == RoundCut::Fillet) return drawFilletBody(d, b, n);
  const bool rev = b.reverse;
  const SweepRun run = b.cut == RoundCut::Full ? fullRun(n) : sweepRun(b.s, b.e, n);
  const bool open = !run.full;
  std::vector<Point3>& B = solidBuffer(0);
  Point3 bs, be;
  ringPoints(d, b.base, 0, run, B, &bs, &be);
  const Point3 baseCentre = d.world(capCentre(b, b.base, 0, open, bs, be));
  if (b.bottom) fanCap(d, B.data(), n, baseCentre, !rev);
  const Point3 axis0 = d.world({b.base.cx, b.base.cy, 0});
  if (b.cone) {
    const Point3 apex = d.world({b.ax, b.ay, b.h});
    skirt(d, B.data(), n, apex, rev);
    if (open && b.cut == RoundCut::Sector) coneCuts(d, axis0, B.front(), B.back(), apex, rev);
    if (open && b.cut == RoundCut::Segment) solidTriangle(d, B.back(), B.front(), apex, rev);
    return;
  }
  std::vector<Point3>& A = solidBuffer(1);
  Point3 ts, te;
  ringPoints(d, b.top, b.h, run, A, &ts, &te);
  const Point3 topCentre = d.world(capCentre(b, b.top, b.h, open, ts, te));
  band(d, B.data(), A.data(), n, rev);
  if (b.topFace) fanCap(d, A.data(), n, topCentre, rev);
  if (!open) return;
  if (b.cut == RoundCut::Sector)
    sectorCuts(d, axis0, d.world({b.top.cx, b.top.cy, b.h}), B.front(), A.front(), B.back(), A.back(), rev);
  if (b.cut == RoundCut::Segment) chordFace(d, B.front(), B.back(), A.front(), A.back(), rev);
}

}  // namespace kubrix
