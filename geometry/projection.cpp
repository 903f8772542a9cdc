// Projections, walls and apex faces over the edges of the selection.
#include "geometry/projection.h"

#include <cmath>
#include <vector>

#include "geometry/chain.h"

namespace kubrix {

bool PlaneProjection::init(const Matrix4& frame, const Point3& d) {
  frame_ = frame;
  if (!invert(frame, inverse_)) return false;
  straight_ = std::fabs(d.x) < 1e-12 && std::fabs(d.y) < 1e-12 && std::fabs(d.z) < 1e-12;
  parallel_ = false;
  if (straight_) return true;
  const auto& m = inverse_.m;
  const long double x = d.x * static_cast<long double>(m[0][0]) + d.y * static_cast<long double>(m[1][0]) +
                        d.z * static_cast<long double>(m[2][0]);
  const long double y = d.x * static_cast<long double>(m[0][1]) + d.y * static_cast<long double>(m[1][1]) +
                        d.z * static_cast<long double>(m[2][1]);
  const long double z = d.x * static_cast<long double>(m[0][2]) + d.y * static_cast<long double>(m[1][2]) +
                        d.z * static_cast<long double>(m[2][2]);
  long double len = std::sqrt(x * x + y * y + z * z);
  if (len <= 1e-14L) len = 1e-14L;
  dir_ = {static_cast<double>(x / len), static_cast<double>(y / len), static_cast<double>(z / len)};
  parallel_ = !(std::fabs(dir_.z) >= 1e-12);
  return true;
}

Point3 PlaneProjection::project(const Point3& p) const {
  const Point3 l = localToWorld(inverse_, p);
  if (straight_) return localToWorld(frame_, {l.x, l.y, 0});
  // Along the line through the point: t = -z / dz reaches z = 0 whichever way the direction points.
  const long double t = -static_cast<long double>(l.z) / dir_.z;
  return localToWorld(frame_, {static_cast<double>(l.x + t * dir_.x), static_cast<double>(l.y + t * dir_.y), 0});
}

namespace {

// Calls edge(P, Pnext) for every edge of the source and dot(P) for every selected point element,
// with the store's layer and colour set for each as the arguments say.
template <class Edge, class Dot>
void walkEdges(FigureStore& store, const Selection& sel, EdgeSource source, const LayerColour& lc, Edge&& edge,
               Dot&& dot) {
  PenScope pen(store);
  if (source == EdgeSource::Elements) {
    for (int32_t n : liveSelected(store, sel, store.count())) {
      const FigureElement e = store.at(static_cast<size_t>(n));
      pen.use(lc, e.layer, e.colour);
      const int k = usedPoints(e.kind);
      if (e.kind == kKindPoint) dot(e.p[0]);
      if (e.kind == kKindLine) edge(e.p[0], e.p[1]);
      if (k >= 3)
        for (int j = 0; j < k; ++j) edge(e.p[j], e.p[(j + 1) % k]);
    }
  } else if (source == EdgeSource::Chain) {
    const std::vector<Point3> chain = orderedChain(store, sel);
    pen.useCurrent(lc);
    for (size_t j = 0; j + 1 < chain.size(); ++j) edge(chain[j], chain[j + 1]);
  } else {
    for (const Segment& s : segmentSet(store, sel)) {
      pen.use(lc, s.layer, s.colour);
      edge(s.a, s.b);
    }
  }
}

}  // namespace

bool projectSelection(FigureStore& store, const Selection& sel, const Matrix4& frame, const Point3& direction,
                      EdgeSource source, const LayerColour& lc) {
  PlaneProjection proj;
  if (!proj.init(frame, direction)) return false;
  if (proj.parallel()) return true;
  if (source != EdgeSource::Elements) {
    walkEdges(store, sel, source, lc,
              [&](const Point3& a, const Point3& b) { store.appendLine(proj.project(a), proj.project(b)); },
              [](const Point3&) {});
    return true;
  }
  PenScope pen(store);
  for (int32_t n : liveSelected(store, sel, store.count())) {
    const FigureElement e = store.at(static_cast<size_t>(n));
    Point3 p[4];
    for (int k = 0; k < usedPoints(e.kind); ++k) p[k] = proj.project(e.p[k]);
    pen.use(lc, e.layer, e.colour);
    appendElement(store, e.kind, p);
  }
  return true;
}

bool wallSelection(FigureStore& store, const Selection& sel, const Matrix4& frame, const Point3& direction,
                   EdgeSource source, const LayerColour& lc) {
  PlaneProjection proj;
  if (!proj.init(frame, direction)) return false;
  if (proj.parallel()) return true;
  walkEdges(
      store, sel, source, lc,
      [&](const Point3& a, const Point3& b) { store.appendQuad(b, a, proj.project(a), proj.project(b)); },
      [&](const Point3& p) { store.appendLine(p, proj.project(p)); });
  return true;
}

void pickSelection(FigureStore& store, const Selection& sel, const Point3& apex, EdgeSource source,
                   const LayerColour& lc) {
  walkEdges(
      store, sel, source, lc, [&](const Point3& a, const Point3& b) { store.appendTriangle(b, a, apex); },
      [&](const Point3& p) { store.appendLine(p, apex); });
}

}  // namespace kubrix
