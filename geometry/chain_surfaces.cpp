// The ruled surface, copies along the chain point list and the placements of profile sweeps.
#include "geometry/chain_surfaces.h"

#include <algorithm>
#include <cmath>

#include "geometry/chain.h"
#include "geometry/vec3.h"

namespace kubrix {

void ruledSurface(FigureStore& store, const Selection& sel, const std::vector<Point3>& q, int m, const LayerColour& lc) {
  if (q.size() < 2) return;
  Point3 start;
  for (int32_t n : sel) {
    if (!store.inRange(n)) continue;
    const FigureElement& e = store.at(static_cast<size_t>(n));
    if (e.live && e.kind == kKindLine) {
      start = e.p[0];
      break;
    }
  }
  const ElementFilter liveLines{1, 1, kAny, kAny};
  const std::vector<Point3> t =
      traceChain(store, start, chainTolerance(store, sel), liveLines, TraceRule::Straightest, Matrix4::identity());
  if (t.size() <= 1) return;
  PenScope pen(store);
  pen.useCurrent(lc);
  const size_t k = std::min(q.size(), t.size());
  for (size_t i = 0; i + 1 < k; ++i) {
    if (m == 0)
      store.appendQuad(q[i], q[i + 1], t[i + 1], t[i]);
    else
      store.appendQuad(q[i + 1], q[i], t[i], t[i + 1]);
  }
}

long long copyAlongChain(FigureStore& store, const Selection& sel, const std::vector<Point3>& q, double start,
                         double step, const LayerColour& lc) {
  if (q.size() < 2) return -1;
  const double length = chainLength(q);
  if (!(start >= 0 && start <= length && step > 1e-12 && step <= length)) return -1;
  // Arc lengths within a rounding step of the length still count as the end of the chain.
  const double last = length + 1e-12 * std::max(1.0, length);
  constexpr long long kMaxPlaces = 1000000;
  const size_t limit = store.count();
  long long lastStart = static_cast<long long>(limit);
  size_t seg = 0;
  long double before = 0;  // chain length before segment seg
  for (long long i = 0; i < kMaxPlaces; ++i) {
    const long double t = start + static_cast<long double>(i) * step;
    if (t > last) break;
    Point3 p = q.back();
    for (; seg + 1 < q.size(); ++seg) {
      const Vec3 d = vec(q[seg + 1]) - vec(q[seg]);
      const long double len = norm(d);
      if (len > 0 && t <= before + len) {
        p = point(vec(q[seg]) + ((t - before) / len) * d);
        break;
      }
      before += len;
    }
    lastStart = static_cast<long long>(store.count());
    copySelected(store, sel, limit, Affine::translation(p), lc);
  }
  return lastStart;
}

namespace {

std::vector<Point3> distinctPoints(const std::vector<Point3>& chain) {
  std::vector<Point3> q;
  for (const Point3& p : chain)
    if (q.empty() || !coincide(q.back(), p)) q.push_back(p);
  return q;
}

Vec3 unit(const Vec3& v) {
  const long double n = norm(v);
  return n > 0 ? (1 / n) * v : v;
}

// The smallest turn that takes the unit direction a to the unit direction b.
Affine minimalTurn(const Vec3& a, const Vec3& b) {
  const Vec3 axis = cross(a, b);
  const long double s = norm(axis), c = dot(a, b);
  if (s > 1e-15L) return Affine::turnAboutLine({}, point(axis), static_cast<double>(std::atan2(s, c)));
  if (c > 0) return Affine{};
  // Straight back: half a turn about an axis across a.
  Vec3 across = cross(a, Vec3{1, 0, 0});
  if (norm(across) < 0.5L) across = cross(a, Vec3{0, 1, 0});
  return Affine::turnAboutLine({}, point(across), kPi);
}

Vec3 turned(const Affine& r, const Vec3& v) { return vec(r.applyVector(point(v))); }

struct Frame {
  Vec3 u, v;
};

// The frame whose v axis is world +Z made square to d; false when d is (nearly) vertical.
bool upFrame(const Vec3& d, Frame& f) {
  const Vec3 up{0, 0, 1};
  const Vec3 v = up - dot(up, d) * d;
  if (norm(v) < 1e-9L) return false;
  f.v = unit(v);
  f.u = cross(f.v, d);
  return true;
}

Vec3 bisector(const Vec3& a, const Vec3& b) {
  const Vec3 s = a + b;
  return norm(s) < 1e-9L ? b : unit(s);
}

Affine placement(const Vec3& cx, const Vec3& cy, const Vec3& cz, const Point3& origin) {
  Affine r;
  const Vec3 col[3] = {cx, cy, cz};
  for (int j = 0; j < 3; ++j) {
    r.a[0][j] = col[j].x;
    r.a[1][j] = col[j].y;
    r.a[2][j] = col[j].z;
  }
  r.t[0] = origin.x;
  r.t[1] = origin.y;
  r.t[2] = origin.z;
  return r;
}

}  // namespace

std::vector<Affine> chainPlacements(const std::vector<Point3>& chain) {
  std::vector<Affine> steps;
  for (const Point3& p : distinctPoints(chain)) steps.push_back(Affine::translation(p));
  return steps;
}

std::vector<Affine> chainFrames(const std::vector<Point3>& chain, int frameRule, int joinRule) {
  const std::vector<Point3> q = distinctPoints(chain);
  const size_t n = q.size();
  if (n < 2) return {};
  const bool closed = n >= 4 && coincide(q.front(), q.back());
  std::vector<Vec3> d(n - 1);
  for (size_t j = 0; j + 1 < n; ++j) d[j] = unit(vec(q[j + 1]) - vec(q[j]));
  // One frame per segment, carried from segment to segment by the smallest turn between them.
  std::vector<Frame> f(n - 1);
  for (size_t j = 0; j + 1 < n; ++j) {
    if (frameRule == 1 && upFrame(d[j], f[j])) continue;
    const Affine r = j == 0 ? minimalTurn({0, 0, 1}, d[0]) : minimalTurn(d[j - 1], d[j]);
    f[j].u = j == 0 ? turned(r, {1, 0, 0}) : turned(r, f[j - 1].u);
    f[j].v = j == 0 ? turned(r, {0, 1, 0}) : turned(r, f[j - 1].v);
  }
  std::vector<Affine> steps;
  for (size_t i = 0; i < n; ++i) {
    const size_t j = i == 0 ? 0 : i - 1;
    Vec3 t = d[j];
    if (i > 0 && i + 1 < n) t = bisector(d[i - 1], d[i]);
    if (closed && (i == 0 || i + 1 == n)) t = bisector(d[n - 2], d[0]);
    const long double dt = dot(d[j], t);
    if (joinRule == 1) {
      const Affine r = minimalTurn(d[j], t);
      steps.push_back(placement(turned(r, f[j].u), turned(r, f[j].v), t, q[i]));
    } else if (std::fabs(dt) > 1e-12L) {
      // Points of the segment's prism in the plane through the joint square to t.
      steps.push_back(placement(f[j].u - (dot(f[j].u, t) / dt) * d[j], f[j].v - (dot(f[j].v, t) / dt) * d[j], d[j], q[i]));
    } else {
      steps.push_back(placement(f[j].u, f[j].v, d[j], q[i]));
    }
  }
  return steps;
}

}  // namespace kubrix
