// Figure store appends, counts and censuses.
#include "geometry/figure_store.h"

#include <cmath>
#include <new>

namespace kubrix {

bool coincide(const Point3& a, const Point3& b) {
  constexpr long double kLimit = 1e-12L;
  return std::fabs(static_cast<long double>(a.x) - b.x) < kLimit &&
         std::fabs(static_cast<long double>(a.y) - b.y) < kLimit &&
         std::fabs(static_cast<long double>(a.z) - b.z) < kLimit;
}

void FigureStore::push(int32_t kind, const Point3* pts, int n, bool onGrid) {
  FigureElement e;
  e.live = true;
  e.kind = kind;
  e.layer = layer;
  e.colour = colour;
  for (int i = 0; i < n; ++i)
    e.p[i] = onGrid ? pts[i] : Point3{roundCoordinate(pts[i].x), roundCoordinate(pts[i].y), roundCoordinate(pts[i].z)};
  try {
    elements_.push_back(e);
  } catch (const std::bad_alloc&) {
    // The store cannot grow: the append is dropped and the count stays as it was.
  }
}

void FigureStore::appendLine(const Point3& p1, const Point3& p2, bool onGrid) {
  if (coincide(p1, p2)) return;
  const Point3 pts[2] = {p1, p2};
  push(kKindLine, pts, 2, onGrid);
}

void FigureStore::appendPoint(const Point3& p1, bool onGrid) { push(kKindPoint, &p1, 1, onGrid); }

void FigureStore::appendTriangle(const Point3& p1, const Point3& p2, const Point3& p3, bool onGrid) {
  if (coincide(p1, p2) || coincide(p1, p3) || coincide(p2, p3)) return;
  const Point3 pts[3] = {p1, p2, p3};
  push(kKindTriangle, pts, 3, onGrid);
}

void FigureStore::appendQuad(const Point3& p1, const Point3& p2, const Point3& p3, const Point3& p4, bool onGrid) {
  if (coincide(p4, p1) || coincide(p4, p2) || coincide(p4, p3)) return appendTriangle(p1, p2, p3, onGrid);
  if (coincide(p3, p1) || coincide(p3, p2)) return appendTriangle(p1, p2, p4, onGrid);
  if (coincide(p2, p1)) return appendTriangle(p1, p3, p4, onGrid);
  const Point3 pts[4] = {p1, p2, p3, p4};
  push(kKindQuad, pts, 4, onGrid);
}

size_t FigureStore::liveCount() const {
  size_t n = 0;
  for (const auto& e : elements_) n += e.live ? 1 : 0;
  return n;
}

FigureStore::LayerCensus FigureStore::layerCensus() const {
  LayerCensus c;
  for (const auto& e : elements_) {
    if (!e.live) continue;
    const int l = (e.layer >= 0 && e.layer <= 255) ? e.layer : 0;
    if (c.perLayer[static_cast<size_t>(l)]++ == 0) ++c.usedLayers;
  }
  return c;
}

namespace {
int kindBit(int32_t kind) {
  switch (kind) {
    case kKindLine: return 1;
    case kKindPoint: return 2;
    case kKindTriangle: return 4;
    case kKindQuad: return 8;
    default: return 0;
  }
}
}  // namespace

FigureStore::ColourCensus FigureStore::colourCensus(int layerFilter, int kindMask) const {
  ColourCensus c;
  const bool allKinds = kindMask == -1 || kindMask == 15;
  for (const auto& e : elements_) {
    if (!e.live) continue;
    const int l = (e.layer >= 0 && e.layer <= 255) ? e.layer : 0;
    if (layerFilter != -1 && l != layerFilter) continue;
    if (!allKinds && (kindBit(e.kind) & kindMask) == 0) continue;
    const int col = (e.colour >= 1 && e.colour <= 255) ? e.colour : 1;
    if (c.perColour[static_cast<size_t>(col)]++ == 0) ++c.usedColours;
  }
  return c;
}

}  // namespace kubrix
