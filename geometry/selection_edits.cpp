// Edits of the selected elements in place, their copies, the plane cut and the chain fill.
#include "geometry/selection_edits.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "geometry/chain.h"
#include "geometry/local_draw.h"
#include "geometry/triangulate.h"

namespace kubrix {

int32_t LayerColour::layerFor(int32_t source) const { return layer == -1 ? source : std::clamp(layer, 0, 255); }

int32_t LayerColour::colourFor(int32_t source) const { return colour == -1 ? source : std::clamp(colour, 1, 255); }

void appendElement(FigureStore& store, int32_t kind, const Point3* p) {
  switch (kind) {
    case kKindLine: store.appendLine(p[0], p[1]); break;
    case kKindPoint: store.appendPoint(p[0]); break;
    case kKindTriangle: store.appendTriangle(p[0], p[1], p[2]); break;
    case kKindQuad: store.appendQuad(p[0], p[1], p[2], p[3]); break;
    default: break;
  }
}

void applyReselect(FigureStore& store, Selection& sel, int reselect, size_t startCount) {
  if (reselect == 1) reselectRange(sel, startCount + 1, store.count());
}

void applyMode(FigureStore& store, Selection& sel, int mode, size_t startCount) {
  if (mode == 2)
    for (int32_t n : sel)
      if (store.inRange(n) && static_cast<size_t>(n) <= startCount) store.at(static_cast<size_t>(n)).live = false;
  if (mode == 1 || mode == 2) reselectRange(sel, startCount + 1, store.count());
}

namespace {

template <class F>
void forEachSelected(FigureStore& store, const Selection& sel, F&& f) {
  for (int32_t n : sel)
    if (store.inRange(n)) f(store.at(static_cast<size_t>(n)));
}

}  // namespace

void setSelectedLive(FigureStore& store, const Selection& sel, bool live) {
  forEachSelected(store, sel, [&](FigureElement& e) { e.live = live; });
}

void setSelectedLayer(FigureStore& store, const Selection& sel, int32_t layer) {
  const int32_t v = std::clamp(layer, 0, 255);
  forEachSelected(store, sel, [&](FigureElement& e) { e.layer = v; });
}

void setSelectedColour(FigureStore& store, const Selection& sel, int32_t colour) {
  const int32_t v = std::clamp(colour, 1, 255);
  forEachSelected(store, sel, [&](FigureElement& e) { e.colour = v; });
}

void reverseSelectedFaces(FigureStore& store, const Selection& sel) {
  forEachSelected(store, sel, [](FigureElement& e) {
    if (e.kind == kKindTriangle) std::swap(e.p[1], e.p[2]);
    if (e.kind == kKindQuad) std::swap(e.p[1], e.p[3]);
  });
}

void moveSelected(FigureStore& store, const Selection& sel, const Affine& map) {
  forEachSelected(store, sel, [&](FigureElement& e) {
    for (int k = 0; k < usedPoints(e.kind); ++k) e.p[k] = roundedPoint(map.apply(e.p[k]));
  });
}

void copySelected(FigureStore& store, const Selection& sel, size_t limit, const Affine& map, const LayerColour& lc) {
  PenScope pen(store);
  for (int32_t n : liveSelected(store, sel, limit)) {
    const FigureElement e = store.at(static_cast<size_t>(n));
    Point3 p[4];
    for (int k = 0; k < usedPoints(e.kind); ++k) p[k] = map.apply(e.p[k]);
    pen.use(lc, e.layer, e.colour);
    appendElement(store, e.kind, p);
  }
}

// ---- plane cut --------------------------------------------------------------------------------------

namespace {

// The point where the segment from a kept local point to a removed one meets the plane z = 0.
Point3 crossing(const Point3& kept, const Point3& removed) {
  const long double t = static_cast<long double>(kept.z) / (static_cast<long double>(kept.z) - removed.z);
  return {static_cast<double>(kept.x + (removed.x - static_cast<long double>(kept.x)) * t),
          static_cast<double>(kept.y + (removed.y - static_cast<long double>(kept.y)) * t), 0};
}

// Appends the kept part of an element whose local points are q[0..k) (removed[i] marks the points on
// the removed side), through the frame.
void appendKeptPart(LocalDraw& draw, int32_t kind, const Point3* q, const bool* removed, int k) {
  if (kind == kKindLine) {
    const int keep = removed[0] ? 1 : 0;
    if (!removed[keep]) draw.line(q[keep], crossing(q[keep], q[1 - keep]));
    return;
  }
  if (kind != kKindTriangle && kind != kKindQuad) return;
  Point3 poly[8];
  int m = 0;
  for (int i = 0; i < k; ++i) {
    const int j = (i + 1) % k;
    if (!removed[i]) poly[m++] = q[i];
    if (removed[i] != removed[j]) poly[m++] = removed[i] ? crossing(q[j], q[i]) : crossing(q[i], q[j]);
  }
  if (m == 3) draw.triangle(poly[0], poly[1], poly[2]);
  if (m == 4) draw.quad(poly[0], poly[1], poly[2], poly[3]);
  // Five points, or six when a twisted quad crosses the plane four times: a fan from the first.
  if (m >= 5)
    for (int i = 1; i + 1 < m; ++i) draw.triangle(poly[0], poly[i], poly[i + 1]);
}

}  // namespace

bool cutSelected(FigureStore& store, const Selection& sel, const Matrix4& frame, int side) {
  Matrix4 inverse;
  if (!invert(frame, inverse)) return false;
  if (side != 0 && side != 1) return true;
  const size_t limit = store.count();
  LocalDraw draw(store, frame);
  PenScope pen(store);
  for (int32_t n : liveSelected(store, sel, limit)) {
    const FigureElement e = store.at(static_cast<size_t>(n));
    const int k = usedPoints(e.kind);
    Point3 q[4];
    bool removed[4] = {};
    int count = 0;
    for (int i = 0; i < k; ++i) {
      q[i] = localToWorld(inverse, e.p[i]);
      removed[i] = side == 0 ? q[i].z > 1e-12 : q[i].z < 1e-12;
      count += removed[i] ? 1 : 0;
    }
    if (count == 0) continue;
    store.at(static_cast<size_t>(n)).live = false;
    if (count == k) continue;
    store.layer = e.layer;
    store.colour = e.colour;
    appendKeptPart(draw, e.kind, q, removed, k);
  }
  return true;
}

// ---- chain fill -------------------------------------------------------------------------------------

bool fillSelectedChain(FigureStore& store, const Selection& sel, const Matrix4& frame, bool ownPlane) {
  std::vector<Point3> chain = orderedChain(store, sel);
  if (chain.size() <= 2) return true;
  if (sameEnd(chain.back(), chain.front(), chainTolerance(store, sel))) chain.pop_back();
  if (chain.size() < 3) return true;
  const Matrix4 plane = ownPlane ? threePointFrame(chain[0], chain[2], chain[1]) : frame;
  Matrix4 inverse;
  if (!invert(plane, inverse)) return false;
  std::vector<Point2> local;
  local.reserve(chain.size());
  for (const Point3& p : chain) {
    const Point3 l = localToWorld(inverse, p);
    local.push_back({l.x, l.y});
  }
  for (const auto& t : triangulatePolygon(local)) store.appendTriangle(chain[t[0]], chain[t[1]], chain[t[2]]);
  return true;
}

}  // namespace kubrix
