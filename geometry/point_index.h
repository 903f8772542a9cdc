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

  // Calls f(entry) for every entry in the cells that points within the tolerance of p can lie in
  // (one to eight cells; an entry may be reported more than once). Within a cell the entries come in
  // increasing order. When f returns bool, true ends the search.
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
          for (size_t i = first; i < last; ++i) {
            if constexpr (std::is_same_v<decltype(f(uint32_t{})), bool>) {
              if (f(cells_[i].second)) return;
            } else {
              f(cells_[i].second);
            }
          }
        }
  }

 private:
  long long cellOf(double v) const;
  static uint64_t key(long long x, long long y, long long z);
  // The run of cells_ with this key.
  std::pair<size_t, size_t> range(uint64_t k) const;

  double cell_ = 1, tolerance_ = 0;
  std::vector<std::pair<uint64_t, uint32_t>> cells_;  // (cell key, entry), sorted by key
  // Open-addressed table from a key to the start of its run in cells_ (end = next run's start).
  std::vector<uint64_t> slotKeys_;
  std::vector<uint32_t> slotStart_, slotEnd_;
  uint64_t slotMask_ = 0;
};

}  // namespace kubrix
