// Parameter runs, rings and the faces built from them.
#include "geometry/solid_builders.h"

#include <array>
#include <cmath>

namespace kubrix {

SweepRun fullRun(int n) { return {0, kTwoPi / n, n, true}; }

SweepRun sweepRun(double s, double e, int n) {
  const double sweep = arcSweep(s, e);
  if (!(std::fabs(sweep) > kSolidTurn) || std::fabs(sweep - kTwoPi) <= kSolidTurn) return {s, kTwoPi / n, n, true};
  return {s, sweep / n, n, false};
}

void ringPoints(LocalDraw& d, const PlaneEllipse& e, double z, const SweepRun& r, std::vector<Point3>& out,
                Point3* first, Point3* last) {
  out.resize(static_cast<size_t>(r.n) + 1);
  const Point3 start = e.at(r.start, z);
  Point3 local = start;
  out[0] = d.world(start);
  double t = r.start;
  for (size_t i = 1; i <= static_cast<size_t>(r.n); ++i) {
    t += r.step;
    // A full turn ends on its first point exactly, so the faces on both sides of the seam share it.
    local = (r.full && i == static_cast<size_t>(r.n)) ? start : e.at(t, z);
    out[i] = (r.full && i == static_cast<size_t>(r.n)) ? out[0] : d.world(local);
  }
  if (first) *first = start;
  if (last) *last = local;
}

void solidTriangle(LocalDraw& d, const Point3& a, const Point3& b, const Point3& c, bool rev) {
  if (rev)
    d.worldTriangle(b, a, c);
  else
    d.worldTriangle(a, b, c);
}

void solidQuad(LocalDraw& d, const Point3& a, const Point3& b, const Point3& c, const Point3& e, bool rev) {
  if (rev)
    d.worldQuad(b, a, e, c);
  else
    d.worldQuad(a, b, c, e);
}

void fanCap(LocalDraw& d, const Point3* ring, int n, const Point3& centre, bool flag) {
  for (int i = 0; i < n; ++i) solidTriangle(d, ring[i], ring[i + 1], centre, flag);
}

void band(LocalDraw& d, const Point3* lower, const Point3* upper, int n, bool rev) {
  for (size_t i = 0; i < static_cast<size_t>(n); ++i) solidQuad(d, lower[i], lower[i + 1], upper[i + 1], upper[i], rev);
}

void skirt(LocalDraw& d, const Point3* ring, int n, const Point3& apex, bool rev) {
  for (size_t i = 0; i < static_cast<size_t>(n); ++i) solidTriangle(d, ring[i], ring[i + 1], apex, rev);
}

void sectorCuts(LocalDraw& d, const Point3& axis0, const Point3& axisTop, const Point3& baseStart,
                const Point3& topStart, const Point3& baseEnd, const Point3& topEnd, bool rev) {
  solidQuad(d, axis0, baseStart, topStart, axisTop, rev);
  solidQuad(d, baseEnd, axis0, axisTop, topEnd, rev);
}

void coneCuts(LocalDraw& d, const Point3& centre, const Point3& ringStart, const Point3& ringEnd, const Point3& apex,
              bool rev) {
  solidTriangle(d, centre, ringStart, apex, rev);
  solidTriangle(d, ringEnd, centre, apex, rev);
}

void chordFace(LocalDraw& d, const Point3& baseStart, const Point3& baseEnd, const Point3& topStart,
               const Point3& topEnd, bool rev) {
  solidQuad(d, baseEnd, baseStart, topStart, topEnd, rev);
}

void splitChordFace(LocalDraw& d, const Point3& baseStart, const Point3& baseEnd, const Point3& topStart,
                    const Point3& topEnd, const Point3& baseMid, const Point3& topMid, bool rev) {
  solidQuad(d, baseEnd, baseMid, topMid, topEnd, rev);
  solidQuad(d, baseMid, baseStart, topStart, topMid, rev);
}

std::vector<Point3>& solidBuffer(int slot) {
  thread_local std::array<std::vector<Point3>, 8> buffers;
  return buffers[static_cast<size_t>(slot)];
}

}  // namespace kubrix
