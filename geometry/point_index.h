// A static grid index of 3D points for the end-point searches of selection and chain tracing: the
// candidates near a query point come from the 27 grid cells around it instead of a scan of the store,
// so a walk along a long chain stays linear. Callers still make the exact comparison themselves.
#pragma once

#include <cstdint>
#include <utility>
#include <type_traits>
#include <vector>

#include "geometry/figure_store.h"

namespace kubrix {

class PointIndex {
 public:
  // Indexes points[i] as entry i. Every pair of points within `tolerance` of each other in every
  // coordinate is guaranteed to be reported by near(); more distant entries may be reported too.
  void build(const std::vector<Point3>& points, double tolerance);

  // Calls f(entry) for every entry not removed in the cells that points within the tolerance of p can
  // lie in (one to eight cells; an entry may be reported more than once). Within a cell the entries
  // come in increasing order; when f returns bool, true skips the rest of that cell.
  template <class F>
  void near(const Point3& p, F&& f) const {
    if (cells_.empty()) return;
    // The margin covers the rounding of p -/+ tolerance.
    const double m = tolerance_ + 1e-6 * cell_;
    const long long x0 = cellOf(p.x - m), x1 = cellOf(p.x + m), y0 = cellOf(p.y - m), y1 = cellOf(p.y + m);
    const long long z0 = cellOf(p.z - m), z1 = cellOf(p.z + m);
    for (long long x = x0; x <= x1; ++x)
      for (long long y = y0; y <= y1; ++y)
        for (long long z = z0; z <= z1; ++z) {
          const auto [first, last] = range(key(x, y, z));
          for (size_t i = nextLive(first); i < last; i = nextLive(i + 1)) {
            if constexpr (std::is_same_v<decltype(f(uint32_t{})), bool>) {
              if (f(cells_[i].second)) break;
            } else {
              f(cells_[i].second);
            }
          }
        }
  }

  // Leaves an entry out of every later search. A walk that removes what it has used does not look at
  // it again, however many entries share its cell.
  void remove(uint32_t entry);

 private:
  long long cellOf(double v) const;
  // The first position at or after pos whose entry is not removed.
  size_t nextLive(size_t pos) const {
    if (skip_.empty()) return pos;
    size_t root = pos;
    while (skip_[root] != root) root = skip_[root];
    while (skip_[pos] != root) {  // shorten the path for the next search
      const size_t next = skip_[pos];
      skip_[pos] = static_cast<uint32_t>(root);
      pos = next;
    }
    return root;
  }
  static uint64_t key(long long x, long long y, long long z);
  // The run of cells_ with this key.
  std::pair<size_t, size_t> range(uint64_t k) const;

  double cell_ = 1, tolerance_ = 0;
  std::vector<std::pair<uint64_t, uint32_t>> cells_;  // (cell key, entry), sorted by key
  // Open-addressed table from a key to the start of its run in cells_ (end = next run's start).
  std::vector<uint64_t> slotKeys_;
  std::vector<uint32_t> slotStart_, slotEnd_;
  uint64_t slotMask_ = 0;
  // Made at the first remove: the position of each entry in cells_, and for each position one that
  // lies at or before the next live position (itself when live; one past the end as the last).
  std::vector<uint32_t> positionOf_;
  mutable std::vector<uint32_t> skip_;
};

}  // namespace kubrix
