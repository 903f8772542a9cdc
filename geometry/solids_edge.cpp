// Shaped edges: the profile levels of chamfered, rounded, hollow (cove) and ogee edges, the boxes built
// on them, and the inset of a circular segment used by the segment cylinders.
#include <cmath>

#include "geometry/edge_levels.h"
#include "geometry/solid_builders.h"

namespace kubrix {

namespace {

// The profile from the wall (0, 0) to the top (1, 1) as (inset fraction, height fraction).
void edgeProfile(EdgeShape shape, int steps, std::vector<EdgeLevel>& out) {
  out.clear();
  const double q = (kPi / 2) / steps;
  switch (shape) {
    case EdgeShape::Chamfer:
      out = {{0, 0}, {1, 1}};
      return;
    case EdgeShape::Round:  // convex: a quarter ellipse about the point (1, 0)
      for (int k = 0; k <= steps; ++k) out.push_back({1 - std::cos(k * q), std::sin(k * q)});
      break;
    case EdgeShape::Cove:  // hollow: a quarter ellipse about the unshaped corner (0, 1)
      for (int k = 0; k <= steps; ++k) {
        const double a = 3 * kPi / 2 - k * q;
        out.push_back({-std::cos(a), 1 + std::sin(a)});
      }
      break;
    case EdgeShape::Ogee:  // a cove in the lower half, then a round in the upper half
      for (int k = 0; k <= steps; ++k) {
        const double a = 3 * kPi / 2 - k * q;
        out.push_back({-std::cos(a) / 2, (1 + std::sin(a)) / 2});
      }
      for (int k = 1; k <= steps; ++k) out.push_back({0.5 + (1 - std::cos(k * q)) / 2, 0.5 + std::sin(k * q) / 2});
      break;
  }
  out.front() = {0, 0};
  out.back() = {1, 1};
}

}  // namespace

void edgeLevels(EdgeShape shape, int steps, bool both, double wall, double rise, std::vector<EdgeLevel>& out) {
  thread_local std::vector<EdgeLevel> profile;  // reused: no allocation per command
  edgeProfile(shape, steps, profile);
  out.clear();
  if (both) {
    for (size_t k = profile.size(); k-- > 0;) out.push_back({profile[k].f, rise * (1 - profile[k].z)});
  } else {
    out.push_back({0, 0});
  }
  const double z0 = out.back().z + wall;
  if (wall > 0) out.push_back({0, z0});
  for (size_t k = 1; k < profile.size(); ++k) out.push_back({profile[k].f, z0 + rise * profile[k].z});
}

namespace {

// The four corners of a level (x+ y+, x+ y-, x- y-, x- y+) in world coordinates; each side moved in by
// its type's sign times its profile size times the level's fraction. Reverse exchanges x+ and x-.
struct Corners {
  Point3 c[4];
};
Corners levelCorners(LocalDraw& d, const EdgeBox& b, const EdgeLevel& l) {
  double o[4];
  for (size_t i = 0; i < 4; ++i) {
    const double sign = b.types[i] == 2 ? 1 : b.types[i] == 1 ? -1 : 0;
    o[i] = sign * (i % 2 == 0 ? b.sx : b.sy) * l.f;
  }
  double xp = b.w / 2 - o[0], xm = -b.w / 2 + o[2];
  const double yp = b.d / 2 - o[1], ym = -b.d / 2 + o[3];
  if (b.reverse) std::swap(xp, xm);
  return {{d.world({xp, yp, l.z}), d.world({xp, ym, l.z}), d.world({xm, ym, l.z}), d.world({xm, yp, l.z})}};
}

}  // namespace

void drawEdgeBox(LocalDraw& d, const EdgeBox& b) {
  if (!(b.w >= kSolidZero) || !(b.d >= kSolidZero)) return;
  const int steps = b.shape == EdgeShape::Chamfer ? 1 : b.n < 3 ? 3 : b.n > 500 ? 500 : b.n;
  thread_local std::vector<EdgeLevel> levels;
  edgeLevels(b.shape, steps, b.both, b.wall, b.sz, levels);
  Corners lo = levelCorners(d, b, levels.front());
  if (b.bottom) d.worldQuad(lo.c[0], lo.c[1], lo.c[2], lo.c[3]);
  for (size_t k = 1; k < levels.size(); ++k) {
    const Corners up = levelCorners(d, b, levels[k]);
    d.worldQuad(lo.c[0], up.c[0], up.c[1], lo.c[1]);
    d.worldQuad(lo.c[3], up.c[3], up.c[0], lo.c[0]);
    d.worldQuad(lo.c[2], up.c[2], up.c[3], lo.c[3]);
    d.worldQuad(lo.c[1], up.c[1], up.c[2], lo.c[2]);
    lo = up;
  }
  if (b.top) d.worldQuad(lo.c[0], lo.c[3], lo.c[2], lo.c[1]);
}

namespace {

double zeroSmall(double v) { return v < kSolidZero ? 0 : v; }

// Inward edges (type 2) may not eat more than the box: the whole side for one, half for both.
bool edgesFit(int a, int b, double size, double across) {
  if ((a == 2 || b == 2) && across > size + kSolidZero) return false;
  if (a == 2 && b == 2 && across > size / 2 + kSolidZero) return false;
  return true;
}

EdgeBox edgeBox(EdgeShape shape, bool both, int n, double w, double d, const BoxEdges& e) {
  EdgeBox b;
  b.shape = shape, b.both = both, b.n = n, b.w = w, b.d = d;
  for (size_t i = 0; i < 4; ++i) b.types[i] = e.types[i] < 0 ? 0 : e.types[i] > 2 ? 2 : e.types[i];
  b.bottom = e.bottom, b.top = e.top, b.reverse = e.reverse;
  return b;
}

}  // namespace

void drawChamferBox(LocalDraw& draw, double w, double d, double H, double cx, double cy, double s, bool both,
                    const BoxEdges& e) {
  EdgeBox b = edgeBox(EdgeShape::Chamfer, both, 1, w, d, e);
  H = zeroSmall(H), cx = zeroSmall(cx), cy = zeroSmall(cy), s = zeroSmall(s);
  if (!(w >= kSolidZero) || !(d >= kSolidZero)) return;
  if (!edgesFit(b.types[0], b.types[2], w, cx) || !edgesFit(b.types[1], b.types[3], d, cy)) return;
  if (H >= kSolidZero && s > H + kSolidZero) return;
  if (!(H >= kSolidZero)) H = both ? 2 * s : s;
  // With both edges chamfered a height s above H/2 would make the two chamfers cross: each takes
  // half the height instead and the straight wall vanishes.
  const double chamferHeight = both && 2 * s > H ? H / 2 : s;
  b.wall = H - (both ? 2 * chamferHeight : chamferHeight);
  b.sx = cx, b.sy = cy, b.sz = chamferHeight;
  drawEdgeBox(draw, b);
}

void drawShapedBox(LocalDraw& draw, EdgeShape shape, bool both, int n, double w, double d, double h, double r1,
                   double r2, const BoxEdges& e) {
  EdgeBox b = edgeBox(shape, both, n, w, d, e);
  if (!(w >= kSolidZero) || !(d >= kSolidZero)) return;
  r1 = zeroSmall(r1);
  if (!edgesFit(b.types[0], b.types[2], w, r1) || !edgesFit(b.types[1], b.types[3], d, r1)) return;
  b.wall = zeroSmall(h), b.sx = r1, b.sy = r1, b.sz = zeroSmall(r2);
  drawEdgeBox(draw, b);
}

SegmentInset insetSegment(double cx, double cy, double r, double a1, double a2, double d) {
  SegmentInset out;
  const double sweep = arcSweep(a1, a2);
  if (!(sweep > kSolidTurn) || sweep >= kTwoPi - kSolidTurn) return out;
  const double r2 = r - d;
  if (!(r2 >= kSolidZero)) return out;
  // The new chord lies h from the centre towards the middle of the arc.
  const double half = sweep / 2, mid = a1 + half;
  const double h = r * std::cos(half) + d;
  const double c = h / r2;
  if (!(c > -1 && c < 1)) return out;
  const double beta = std::acos(c);
  out.flag = 1;
  // The turned offset rounded to 1e-13 as ring points are, so a midpoint on an axis reads 0 there.
  out.x = cx + roundScaled(h * std::cos(mid), 1e13L);
  out.y = cy + roundScaled(h * std::sin(mid), 1e13L);
  out.r = r2;
  out.b1 = arcSweep(0, mid - beta);
  out.b2 = arcSweep(0, mid + beta);
  out.half = beta;
  return out;
}

}  // namespace kubrix
