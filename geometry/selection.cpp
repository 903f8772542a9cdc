// Building the selection set: filters, number ranges, boxes and the connected walk.
#include "geometry/selection.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "geometry/point_index.h"

namespace kubrix {

bool ElementFilter::passes(const FigureElement& e) const {
  if (state != kAny && (state & 3) != 3) {
    if (e.live && (state & 2)) return false;
    if (!e.live && (state & 1)) return false;
  }
  if (kind != kAny && (kind & 15) != 15) {
    int bit = 0;
    switch (e.kind) {
      case kKindLine: bit = 1; break;
      case kKindTriangle: bit = 2; break;
      case kKindQuad: bit = 4; break;
      case kKindPoint: bit = 8; break;
      default: break;
    }
    if (bit != 0 && (kind & bit) == 0) return false;
  }
  if (layer != kAny && e.layer != layer) return false;
  if (colour != kAny && e.colour != colour) return false;
  return true;
}

int usedPoints(int32_t kind) {
  switch (kind) {
    case kKindLine: return 2;
    case kKindPoint: return 1;
    case kKindTriangle: return 3;
    case kKindQuad: return 4;
    default: return 0;
  }
}

std::vector<uint8_t> membership(const FigureStore& store, const Selection& sel) {
  std::vector<uint8_t> in(store.count() + 1, 0);
  for (int32_t n : sel)
    if (store.inRange(n)) in[static_cast<size_t>(n)] = 1;
  return in;
}

void selectAll(const FigureStore& store, Selection& sel, const ElementFilter& f) {
  sel.clear();
  const auto& all = store.elements();
  for (size_t i = 0; i < all.size(); ++i)
    if (f.passes(all[i])) sel.push_back(static_cast<int32_t>(i + 1));
}

void addRange(const FigureStore& store, Selection& sel, long long from, long long to, const ElementFilter& f) {
  from = std::max(from, 1LL);
  to = std::min(to, static_cast<long long>(store.count()));
  if (to < from) return;
  std::vector<uint8_t> in = membership(store, sel);
  for (long long n = from; n <= to; ++n) {
    const size_t i = static_cast<size_t>(n);
    if (in[i] || !f.passes(store.at(i))) continue;
    sel.push_back(static_cast<int32_t>(n));
    in[i] = 1;
  }
}

void removeRange(const FigureStore& store, Selection& sel, long long from, long long to, const ElementFilter& f) {
  from = std::max(from, 1LL);
  to = std::min(to, static_cast<long long>(store.count()));
  if (to < from) return;
  std::erase_if(sel, [&](int32_t n) { return n >= from && n <= to && f.passes(store.at(static_cast<size_t>(n))); });
}

void addInBox(const FigureStore& store, Selection& sel, const Point3& c1, const Point3& c2, const ElementFilter& f,
              bool inside) {
  const double w = inside ? 1e-14 : -1e-14;
  const double lo[3] = {std::min(c1.x, c2.x) - w, std::min(c1.y, c2.y) - w, std::min(c1.z, c2.z) - w};
  const double hi[3] = {std::max(c1.x, c2.x) + w, std::max(c1.y, c2.y) + w, std::max(c1.z, c2.z) + w};
  const auto pointIn = [&](const Point3& p) {
    const double v[3] = {p.x, p.y, p.z};
    for (int a = 0; a < 3; ++a)
      if (!(lo[a] <= v[a] && v[a] <= hi[a])) return false;
    return true;
  };
  const auto pointOut = [&](const Point3& p) {
    const double v[3] = {p.x, p.y, p.z};
    for (int a = 0; a < 3; ++a)
      if (!(v[a] <= lo[a] || v[a] >= hi[a])) return false;
    return true;
  };
  std::vector<uint8_t> in = membership(store, sel);
  for (size_t n = 1; n <= store.count(); ++n) {
    const FigureElement& e = store.at(n);
    if (in[n] || !f.passes(e)) continue;
    bool all = true;
    for (int k = 0; k < usedPoints(e.kind) && all; ++k) all = inside ? pointIn(e.p[k]) : pointOut(e.p[k]);
    if (all) sel.push_back(static_cast<int32_t>(n));
  }
}

double matchTolerance(double tol) {
  const double t = std::fabs(tol);
  return t <= 1e-12 || std::isnan(t) ? 1e-12 : t;
}

bool within(const Point3& a, const Point3& b, double tol) {
  return std::fabs(a.x - b.x) <= tol && std::fabs(a.y - b.y) <= tol && std::fabs(a.z - b.z) <= tol;
}

void addConnected(const FigureStore& store, Selection& sel, const Point3& start, double tol, const ElementFilter& f) {
  tol = matchTolerance(tol);
  std::vector<uint8_t> in = membership(store, sel);
  // Every point of every candidate element, with the element it belongs to.
  std::vector<Point3> points;
  std::vector<uint32_t> owner, firstEntry(store.count() + 1, 0);
  for (size_t n = 1; n <= store.count(); ++n) {
    const FigureElement& e = store.at(n);
    if (e.kind == kKindPoint || in[n] || !f.passes(e)) continue;
    firstEntry[n] = static_cast<uint32_t>(points.size());
    for (int k = 0; k < usedPoints(e.kind); ++k) {
      points.push_back(e.p[k]);
      owner.push_back(static_cast<uint32_t>(n));
    }
  }
  PointIndex index;
  index.build(points, tol);
  std::vector<Point3> frontier{start}, next;
  while (!frontier.empty()) {
    // The lowest-numbered element touching the frontier: what a scan from element 1 would find. The
    // entries of a cell come in element order, so the first match ends that cell's search, and the
    // points of elements already taken are removed from the index.
    uint32_t best = std::numeric_limits<uint32_t>::max();
    for (const Point3& q : frontier)
      index.near(q, [&](uint32_t i) {
        if (owner[i] >= best) return true;
        if (in[owner[i]] || !within(points[i], q, tol)) return false;
        best = owner[i];
        return true;
      });
    if (best == std::numeric_limits<uint32_t>::max()) return;
    sel.push_back(static_cast<int32_t>(best));
    in[best] = 1;
    const FigureElement& e = store.at(best);
    for (int k = 0; k < usedPoints(e.kind); ++k) index.remove(firstEntry[best] + static_cast<uint32_t>(k));
    // The walk enters the element at its first point that touches the frontier and goes on from all
    // its other points (those may touch the old frontier too: a fan of faces around it stays reachable).
    int entry = 0;
    for (int k = 0; k < usedPoints(e.kind); ++k) {
      bool touches = false;
      for (const Point3& q : frontier) touches = touches || within(e.p[k], q, tol);
      if (touches) {
        entry = k;
        break;
      }
    }
    next.clear();
    for (int k = 0; k < usedPoints(e.kind); ++k)
      if (k != entry) next.push_back(e.p[k]);
    frontier.swap(next);
  }
}

std::vector<int32_t> liveSelected(const FigureStore& store, const Selection& sel, size_t limit) {
  std::vector<int32_t> out;
  out.reserve(sel.size());
  for (int32_t n : sel)
    if (store.inRange(n) && static_cast<size_t>(n) <= limit && store.at(static_cast<size_t>(n)).live) out.push_back(n);
  return out;
}

void reselectRange(Selection& sel, size_t first, size_t last) {
  sel.clear();
  for (size_t n = first; n <= last && n >= 1; ++n) sel.push_back(static_cast<int32_t>(n));
}

}  // namespace kubrix
