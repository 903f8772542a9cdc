// Chains of selected lines and traced chains. End points are found through a grid index, with the
// same result as a scan of the lines in order: among the lines that match, the earliest one wins.
#include "geometry/chain.h"

#include <cmath>
#include <limits>

#include "geometry/point_index.h"

namespace kubrix {

namespace {

constexpr size_t kNone = std::numeric_limits<size_t>::max();

// The end points of the selected live lines, two per line in set order (with their elements).
struct SelectedLines {
  std::vector<Point3> ends;
  std::vector<const FigureElement*> elements;
  size_t count() const { return elements.size(); }
};

SelectedLines selectedLines(const FigureStore& store, const Selection& sel) {
  SelectedLines s;
  for (int32_t n : sel) {
    if (!store.inRange(n)) continue;
    const FigureElement& e = store.at(static_cast<size_t>(n));
    if (!e.live || e.kind != kKindLine) continue;
    s.ends.push_back(e.p[0]);
    s.ends.push_back(e.p[1]);
    s.elements.push_back(&e);
  }
  return s;
}

long double dot(const Point3& a, const Point3& b) {
  return static_cast<long double>(a.x) * b.x + static_cast<long double>(a.y) * b.y + static_cast<long double>(a.z) * b.z;
}

Point3 minus(const Point3& a, const Point3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }

// The angle between two directions, 0..pi (0 when either has no length).
double angleBetween(const Point3& u, const Point3& v) {
  const long double cx = static_cast<long double>(u.y) * v.z - static_cast<long double>(u.z) * v.y;
  const long double cy = static_cast<long double>(u.z) * v.x - static_cast<long double>(u.x) * v.z;
  const long double cz = static_cast<long double>(u.x) * v.y - static_cast<long double>(u.y) * v.x;
  return static_cast<double>(std::atan2(std::sqrt(cx * cx + cy * cy + cz * cz), dot(u, v)));
}

// Appends p to the chain, or moves the end point to p when p continues the last segment straight on
// (or straight back).
void extendChain(std::vector<Point3>& chain, const Point3& p) {
  const size_t n = chain.size();
  if (n >= 2) {
    const double a = angleBetween(minus(chain[n - 1], chain[n - 2]), minus(p, chain[n - 1]));
    if (a <= 1e-8 || a >= kPi - 1e-8) {
      chain.back() = p;
      return;
    }
  }
  chain.push_back(p);
}

}  // namespace

double chainTolerance(double m) {
  if (!(m >= 1)) return 1e-12;
  double tol = 1e-9;
  for (double bound = 10; m >= bound && tol < 1.0; bound *= 10) tol *= 10;
  return tol > 1.0 ? 1.0 : tol;
}

double chainTolerance(const FigureStore& store, const Selection& sel) {
  double m = 0;
  for (int32_t n : sel) {
    if (!store.inRange(n)) continue;
    const FigureElement& e = store.at(static_cast<size_t>(n));
    if (!e.live || e.kind != kKindLine) continue;
    for (int k = 0; k < 2; ++k)
      for (double v : {e.p[k].x, e.p[k].y, e.p[k].z}) m = std::fmax(m, std::fabs(v));
  }
  return chainTolerance(m);
}

bool sameEnd(const Point3& a, const Point3& b, double tol) {
  return std::fabs(a.x - b.x) < tol && std::fabs(a.y - b.y) < tol && std::fabs(a.z - b.z) < tol;
}

std::vector<Point3> orderedChain(const FigureStore& store, const Selection& sel) {
  const double tol = chainTolerance(store, sel);
  const SelectedLines lines = selectedLines(store, sel);
  if (lines.count() == 0) return {};
  const std::vector<Point3>& ends = lines.ends;
  std::vector<Point3> chain{ends[0], ends[1]};
  std::vector<uint8_t> used(lines.count(), 0);
  used[0] = 1;
  PointIndex index;
  index.build(ends, tol);
  index.remove(0);
  index.remove(1);
  // Passes over the set in order: `from` is where the current pass goes on; a pass that added
  // nothing ends the search. Each line joins the chain at most once.
  size_t from = 0;
  bool added = false;
  for (;;) {
    const Point3 end = chain.back();
    size_t best = kNone;
    index.near(end, [&](uint32_t i) {
      const size_t q = i / 2;
      if (q < best && q >= from && !used[q] && sameEnd(ends[i], end, tol)) best = q;
    });
    if (best == kNone) {
      if (!added) break;
      added = false;
      from = 0;
      continue;
    }
    used[best] = 1;
    index.remove(static_cast<uint32_t>(2 * best));
    index.remove(static_cast<uint32_t>(2 * best + 1));
    added = true;
    from = best + 1;
    extendChain(chain, sameEnd(ends[2 * best], end, tol) ? ends[2 * best + 1] : ends[2 * best]);
    if (sameEnd(chain.back(), chain.front(), tol)) break;
  }
  if (chain.size() > 2) {
    for (size_t j = chain.size() - 1; j >= 1; --j)
      if (sameEnd(chain[j], chain[0], tol)) {
        chain.resize(j + 1);
        break;
      }
  }
  return chain;
}

std::vector<Segment> segmentSet(const FigureStore& store, const Selection& sel) {
  const double tol = chainTolerance(store, sel);
  const SelectedLines lines = selectedLines(store, sel);
  // Two lines with the same ends in either order have their midpoints within the tolerance, so the
  // midpoints are indexed: many lines from one common point (a fan, a sweep of copies) do not make
  // every line look at every other.
  std::vector<Point3> middles;
  middles.reserve(lines.count());
  for (size_t i = 0; i < lines.count(); ++i) middles.push_back(midpoint(lines.ends[2 * i], lines.ends[2 * i + 1]));
  PointIndex index;
  index.build(middles, tol);
  std::vector<uint8_t> kept(lines.count(), 0);
  std::vector<Segment> out;
  for (size_t i = 0; i < lines.count(); ++i) {
    const Point3& a = lines.ends[2 * i];
    const Point3& b = lines.ends[2 * i + 1];
    bool repeated = false;
    // An earlier kept entry with the same two points in the same or the reverse order. Entries come
    // in increasing order, so of many copies of one line the kept first one is met first.
    index.near(middles[i], [&](uint32_t j) {
      if (repeated) return true;
      if (j >= i || !kept[j]) return false;
      const Point3& p = lines.ends[2 * j];
      const Point3& q = lines.ends[2 * j + 1];
      repeated = (sameEnd(p, a, tol) && sameEnd(q, b, tol)) || (sameEnd(p, b, tol) && sameEnd(q, a, tol));
      return repeated;
    });
    if (repeated) continue;
    kept[i] = 1;
    out.push_back({a, b, lines.elements[i]->layer, lines.elements[i]->colour});
  }
  return out;
}

void appendSelectedLines(std::vector<Point3>& chain, const FigureStore& store, const Selection& sel) {
  const double tol = chainTolerance(store, sel);
  const SelectedLines lines = selectedLines(store, sel);
  for (size_t i = 0; i < lines.count(); ++i) {
    const Point3& a = lines.ends[2 * i];
    const Point3& b = lines.ends[2 * i + 1];
    if (!chain.empty() && sameEnd(a, chain.back(), tol)) {
      chain.push_back(b);
    } else if (!chain.empty() && sameEnd(b, chain.back(), tol)) {
      chain.push_back(a);
    } else {
      chain.push_back(a);
      chain.push_back(b);
    }
  }
}

double chainLength(const std::vector<Point3>& chain) {
  long double sum = 0;
  for (size_t i = 1; i < chain.size(); ++i) {
    const Point3 d = minus(chain[i], chain[i - 1]);
    sum += std::sqrt(dot(d, d));
  }
  return roundScaled(static_cast<double>(sum), 1e13L);
}

namespace {

// The score of turning from direction `in` to `out` under a rule (higher is better).
double turnScore(TraceRule rule, const Point3& in, const Point3& out, const Matrix4* toLocal) {
  if (rule == TraceRule::First) return 0;
  if (rule == TraceRule::Straightest) return -angleBetween(in, out);
  // Signed turn seen from local +Z; the way straight back is the last resort either way.
  Point3 u = in, v = out;
  if (toLocal) {
    const auto& m = toLocal->m;
    const auto local = [&](const Point3& w) {
      return Point3{w.x * m[0][0] + w.y * m[1][0] + w.z * m[2][0], w.x * m[0][1] + w.y * m[1][1] + w.z * m[2][1], 0};
    };
    u = local(in);
    v = local(out);
  }
  const double turn = std::atan2(u.x * v.y - u.y * v.x, u.x * v.x + u.y * v.y);
  if (std::fabs(turn) >= kPi - 1e-9) return -10;
  return rule == TraceRule::Leftmost ? turn : -turn;
}

}  // namespace

std::vector<Point3> traceChain(const FigureStore& store, const Point3& start, double tol, const ElementFilter& f,
                               TraceRule rule, const Matrix4& frame) {
  tol = matchTolerance(tol);
  std::vector<Point3> ends;
  std::vector<uint32_t> numbers;
  for (size_t n = 1; n <= store.count(); ++n) {
    const FigureElement& e = store.at(n);
    if (e.kind != kKindLine || !f.passes(e)) continue;
    ends.push_back(e.p[0]);
    ends.push_back(e.p[1]);
    numbers.push_back(static_cast<uint32_t>(n));
  }
  PointIndex index;
  index.build(ends, tol);
  Matrix4 inverse;
  const Matrix4* toLocal = invert(frame, inverse) ? &inverse : nullptr;
  std::vector<uint8_t> used(numbers.size(), 0);
  std::vector<Point3> chain;
  Point3 end = start;
  for (;;) {
    size_t best = kNone;
    double bestScore = 0;
    const bool turning = chain.size() >= 2;
    const Point3 in = turning ? minus(chain.back(), chain[chain.size() - 2]) : Point3{};
    index.near(end, [&](uint32_t i) {
      const size_t q = i / 2;
      if (used[q] || !within(ends[i], end, tol)) return;
      const bool firstMatches = within(ends[2 * q], end, tol);
      const Point3 out = firstMatches ? minus(ends[2 * q + 1], ends[2 * q]) : minus(ends[2 * q], ends[2 * q + 1]);
      const double s = turning ? turnScore(rule, in, out, toLocal) : 0;
      if (best == kNone || s > bestScore + 1e-12 || (s >= bestScore - 1e-12 && numbers[q] < numbers[best])) {
        best = q;
        bestScore = s;
      }
    });
    if (best == kNone) break;
    used[best] = 1;
    index.remove(static_cast<uint32_t>(2 * best));
    index.remove(static_cast<uint32_t>(2 * best + 1));
    const bool firstMatches = within(ends[2 * best], end, tol);
    if (chain.empty()) chain.push_back(firstMatches ? ends[2 * best] : ends[2 * best + 1]);
    end = firstMatches ? ends[2 * best + 1] : ends[2 * best];
    chain.push_back(end);
    if (within(end, chain.front(), tol)) break;
  }
  return chain;
}

}  // namespace kubrix
