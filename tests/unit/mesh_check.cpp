// Closed-surface check: merge coincident points, then count directed edges against their reverses.
#include "mesh_check.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <map>
#include <tuple>
#include <unordered_map>
#include <vector>

namespace kubrix::test {

namespace {

struct Cell {
  int64_t x, y, z;
  bool operator==(const Cell&) const = default;
};
struct CellHash {
  size_t operator()(const Cell& c) const {
    return std::hash<int64_t>()(c.x * 73856093 ^ c.y * 19349663 ^ c.z * 83492791);
  }
};

// Gives every distinct point (within the tolerance) one id.
class PointIds {
 public:
  explicit PointIds(double tolerance) : tol_(tolerance > 0 ? tolerance : 1e-12) {}
  int id(const Point3& p) {
    const Cell c{cell(p.x), cell(p.y), cell(p.z)};
    for (int64_t dx = -1; dx <= 1; ++dx)
      for (int64_t dy = -1; dy <= 1; ++dy)
        for (int64_t dz = -1; dz <= 1; ++dz) {
          auto it = cells_.find(Cell{c.x + dx, c.y + dy, c.z + dz});
          if (it == cells_.end()) continue;
          for (int k : it->second) {
            const Point3& q = points_[static_cast<size_t>(k)];
            if (std::fabs(q.x - p.x) < tol_ && std::fabs(q.y - p.y) < tol_ && std::fabs(q.z - p.z) < tol_) return k;
          }
        }
    const int k = static_cast<int>(points_.size());
    points_.push_back(p);
    cells_[c].push_back(k);
    return k;
  }
  const Point3& point(int k) const { return points_[static_cast<size_t>(k)]; }

 private:
  int64_t cell(double v) const { return static_cast<int64_t>(std::floor(v / tol_)); }
  double tol_;
  std::vector<Point3> points_;
  std::unordered_map<Cell, std::vector<int>, CellHash> cells_;
};

double tripleProduct(const Point3& a, const Point3& b, const Point3& c) {
  return a.x * (b.y * c.z - b.z * c.y) - a.y * (b.x * c.z - b.z * c.x) + a.z * (b.x * c.y - b.y * c.x);
}

}  // namespace

Point3 faceNormal(const FigureElement& f) {
  const int n = f.kind == kKindQuad ? 4 : 3;
  Point3 s;
  for (int i = 0; i < n; ++i) {
    const Point3& a = f.p[static_cast<size_t>(i)];
    const Point3& b = f.p[static_cast<size_t>((i + 1) % n)];
    s.x += (a.y - b.y) * (a.z + b.z);
    s.y += (a.z - b.z) * (a.x + b.x);
    s.z += (a.x - b.x) * (a.y + b.y);
  }
  return s;
}

MeshReport checkMesh(const FigureStore& store, size_t first, size_t last, double tolerance) {
  MeshReport r;
  if (last == 0 || last > store.count()) last = store.count();
  PointIds ids(tolerance);
  std::map<std::pair<int, int>, int> directed;
  for (size_t n = first; n <= last && n >= 1; ++n) {
    const FigureElement& e = store.at(n);
    if (!e.live || (e.kind != kKindTriangle && e.kind != kKindQuad)) continue;
    const int corners = e.kind == kKindQuad ? 4 : 3;
    ++r.faces;
    int v[4];
    for (int i = 0; i < corners; ++i) v[i] = ids.id(e.p[static_cast<size_t>(i)]);
    for (int i = 0; i < corners; ++i) {
      const int a = v[i], b = v[(i + 1) % corners];
      if (a != b) ++directed[{a, b}];
    }
    r.volume += tripleProduct(e.p[0], e.p[1], e.p[2]) / 6.0;
    if (corners == 4) r.volume += tripleProduct(e.p[0], e.p[2], e.p[3]) / 6.0;
  }
  r.edges = directed.size();
  for (const auto& [edge, uses] : directed) {
    if (uses > 1) ++r.repeated;
    auto back = directed.find({edge.second, edge.first});
    const bool matched = back != directed.end() && back->second == uses;
    if (!matched) ++r.unmatched;
    if ((uses > 1 || !matched) && r.firstProblem.empty()) {
      const Point3& a = ids.point(edge.first);
      const Point3& b = ids.point(edge.second);
      char buf[256];
      snprintf(buf, sizeof buf, "edge (%.9g,%.9g,%.9g)-(%.9g,%.9g,%.9g) used %d times, reverse %d times", a.x, a.y,
               a.z, b.x, b.y, b.z, uses, back == directed.end() ? 0 : back->second);
      r.firstProblem = buf;
    }
  }
  return r;
}

}  // namespace kubrix::test
