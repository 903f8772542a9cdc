// Ear clipping over a ring of the remaining vertices. Tolerances scale with the polygon's extent:
// a turn of less than 1e-12 of the extent squared counts as straight.
#include "geometry/triangulate.h"

#include <algorithm>
#include <cmath>

namespace kubrix {

namespace {

// Twice the signed area of the triangle (a, b, c): positive when it turns counter-clockwise.
double turn(const Point2& a, const Point2& b, const Point2& c) {
  return static_cast<double>((static_cast<long double>(b.x) - a.x) * (static_cast<long double>(c.y) - a.y) -
                             (static_cast<long double>(b.y) - a.y) * (static_cast<long double>(c.x) - a.x));
}

class EarClipper {
 public:
  explicit EarClipper(const std::vector<Point2>& p) : p_(p), prev_(p.size()), next_(p.size()) {
    const size_t n = p.size();
    for (size_t i = 0; i < n; ++i) {
      prev_[i] = static_cast<uint32_t>((i + n - 1) % n);
      next_[i] = static_cast<uint32_t>((i + 1) % n);
    }
    double lo[2] = {p[0].x, p[0].y}, hi[2] = {p[0].x, p[0].y};
    long double area = 0;
    for (size_t i = 0; i < n; ++i) {
      lo[0] = std::min(lo[0], p[i].x), lo[1] = std::min(lo[1], p[i].y);
      hi[0] = std::max(hi[0], p[i].x), hi[1] = std::max(hi[1], p[i].y);
      const Point2& a = p[i];
      const Point2& b = p[(i + 1) % n];
      area += static_cast<long double>(a.x) * b.y - static_cast<long double>(b.x) * a.y;
    }
    const double extent = std::max(hi[0] - lo[0], hi[1] - lo[1]);
    epsTurn_ = 1e-12 * extent * extent;
    epsLength_ = 1e-12 * extent;
    sense_ = area > 0 ? 1 : -1;
    flat_ = !(std::fabs(static_cast<double>(area)) > epsTurn_);
  }

  std::vector<std::array<uint32_t, 3>> run() {
    std::vector<std::array<uint32_t, 3>> out;
    if (flat_) return out;
    size_t left = p_.size();
    uint32_t v = left > 1 ? 1 : 0;
    // Vertices on straight runs go first, so that no ear is cut across them.
    for (size_t run = 0; run < left && left >= 3;) {
      if (std::fabs(turn(p_[prev_[v]], p_[v], p_[next_[v]])) <= epsTurn_) {
        const uint32_t a = prev_[v];
        remove(v);
        --left;
        v = a;
        run = 0;
      } else {
        v = next_[v];
        ++run;
      }
    }
    size_t misses = 0;
    bool relaxed = false;
    while (left >= 3) {
      const uint32_t a = prev_[v], c = next_[v];
      const double t = sense_ * turn(p_[a], p_[v], p_[c]);
      if (std::fabs(t) <= epsTurn_) {  // straight run or spike: drop the vertex
        remove(v);
        --left;
        v = a;
        misses = 0;
        continue;
      }
      if (t > 0 && (relaxed || isEar(a, v, c))) {
        out.push_back({a, v, c});
        remove(v);
        --left;
        v = c;
        misses = 0;
        relaxed = false;
        continue;
      }
      v = c;
      if (++misses > left) {
        // A full round without an ear: the polygon crosses itself; cut the next convex vertex.
        if (relaxed) break;
        relaxed = true;
        misses = 0;
      }
    }
    return out;
  }

 private:
  void remove(uint32_t v) {
    next_[prev_[v]] = next_[v];
    prev_[next_[v]] = prev_[v];
  }

  bool coincides(const Point2& a, const Point2& b) const {
    return std::fabs(a.x - b.x) <= epsLength_ && std::fabs(a.y - b.y) <= epsLength_;
  }

  // No other remaining vertex that bends inward lies in the triangle or on its sides.
  bool isEar(uint32_t a, uint32_t b, uint32_t c) const {
    const Point2 &pa = p_[a], &pb = p_[b], &pc = p_[c];
    for (uint32_t q = next_[c]; q != a; q = next_[q]) {
      const Point2& pq = p_[q];
      if (sense_ * turn(p_[prev_[q]], pq, p_[next_[q]]) > epsTurn_) continue;  // convex vertices cannot be inside
      if (coincides(pq, pa) || coincides(pq, pb) || coincides(pq, pc)) continue;
      if (sense_ * turn(pa, pb, pq) >= -epsTurn_ && sense_ * turn(pb, pc, pq) >= -epsTurn_ &&
          sense_ * turn(pc, pa, pq) >= -epsTurn_)
        return false;
    }
    return true;
  }

  const std::vector<Point2>& p_;
  std::vector<uint32_t> prev_, next_;
  double epsTurn_ = 0, epsLength_ = 0;
  double sense_ = 1;
  bool flat_ = false;
};

}  // namespace

std::vector<std::array<uint32_t, 3>> triangulatePolygon(const std::vector<Point2>& polygon) {
  if (polygon.size() < 3) return {};
  return EarClipper(polygon).run();
}

}  // namespace kubrix
