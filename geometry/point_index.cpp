// The grid index of points: cells at least twice the matching tolerance (and large enough that the
// rounding of a coordinate divided by the cell stays far below one cell), a sorted list of
// (cell, entry) and a hash table from a cell to its run in that list.
#include "geometry/point_index.h"

#include <algorithm>
#include <cmath>

namespace kubrix {

namespace {
constexpr uint64_t kEmpty = ~uint64_t{0};
// Cell numbers stay far inside 64 bits so that the neighbours of a cell never overflow.
constexpr double kCellLimit = 1e15;

uint64_t mix(uint64_t h) {
  h ^= h >> 33;
  h *= 0xff51afd7ed558ccdULL;
  h ^= h >> 33;
  h *= 0xc4ceb9fe1a85ec53ULL;
  h ^= h >> 33;
  return h;
}
}  // namespace

long long PointIndex::cellOf(double v) const {
  const double c = std::floor(v / cell_);
  if (!(c > -kCellLimit)) return static_cast<long long>(-kCellLimit);  // also NaN
  if (c > kCellLimit) return static_cast<long long>(kCellLimit);
  return static_cast<long long>(c);
}

uint64_t PointIndex::key(long long x, long long y, long long z) {
  uint64_t h = mix(static_cast<uint64_t>(x) + 0x9e3779b97f4a7c15ULL);
  h = mix(h ^ static_cast<uint64_t>(y));
  h = mix(h ^ static_cast<uint64_t>(z));
  return h == kEmpty ? 0 : h;
}

void PointIndex::build(const std::vector<Point3>& points, double tolerance) {
  cells_.clear();
  positionOf_.clear();
  skip_.clear();
  slotKeys_.clear();
  slotStart_.clear();
  slotEnd_.clear();
  if (points.empty()) return;
  // The quotient v / cell carries a relative error of about 1e-16; with cells of at least 1e-9 of the
  // largest coordinate that error stays far below one cell, and cells of twice the tolerance keep two
  // matching points in the same or neighbouring cells.
  double largest = 0;
  for (const Point3& p : points)
    for (double v : {p.x, p.y, p.z})
      if (std::isfinite(v)) largest = std::max(largest, std::fabs(v));
  cell_ = std::max({2 * std::fabs(tolerance), 2e-9 * largest, 1e-300});
  if (!std::isfinite(cell_)) cell_ = 1e300;
  tolerance_ = std::min(std::fabs(tolerance), cell_ / 2);
  cells_.reserve(points.size());
  for (size_t i = 0; i < points.size(); ++i)
    cells_.emplace_back(key(cellOf(points[i].x), cellOf(points[i].y), cellOf(points[i].z)), static_cast<uint32_t>(i));
  std::sort(cells_.begin(), cells_.end());

  size_t runs = 0;
  for (size_t i = 0; i < cells_.size(); ++i) runs += (i == 0 || cells_[i].first != cells_[i - 1].first) ? 1 : 0;
  size_t slots = 16;
  while (slots < 2 * runs) slots *= 2;
  slotMask_ = slots - 1;
  slotKeys_.assign(slots, kEmpty);
  slotStart_.assign(slots, 0);
  slotEnd_.assign(slots, 0);
  for (size_t i = 0; i < cells_.size();) {
    size_t j = i;
    while (j < cells_.size() && cells_[j].first == cells_[i].first) ++j;
    uint64_t s = cells_[i].first & slotMask_;
    while (slotKeys_[s] != kEmpty) s = (s + 1) & slotMask_;
    slotKeys_[s] = cells_[i].first;
    slotStart_[s] = static_cast<uint32_t>(i);
    slotEnd_[s] = static_cast<uint32_t>(j);
    i = j;
  }
}

void PointIndex::remove(uint32_t entry) {
  if (entry >= cells_.size()) return;
  if (skip_.empty()) {
    positionOf_.resize(cells_.size());
    skip_.resize(cells_.size() + 1);
    for (size_t i = 0; i < cells_.size(); ++i) positionOf_[cells_[i].second] = static_cast<uint32_t>(i);
    for (size_t i = 0; i <= cells_.size(); ++i) skip_[i] = static_cast<uint32_t>(i);
  }
  const uint32_t pos = positionOf_[entry];
  if (skip_[pos] == pos) skip_[pos] = pos + 1;
}

std::pair<size_t, size_t> PointIndex::range(uint64_t k) const {
  for (uint64_t s = k & slotMask_;; s = (s + 1) & slotMask_) {
    if (slotKeys_[s] == k) return {slotStart_[s], slotEnd_[s]};
    if (slotKeys_[s] == kEmpty) return {0, 0};
  }
}

}  // namespace kubrix
