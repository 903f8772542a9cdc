// Orienting a swept profile: join the segments into pieces at shared end points, run each piece one
// way, then turn whole pieces by their area as seen from ahead of the motion (and by nesting).
#include "geometry/sweep_orientation.h"

#include <cmath>

#include "geometry/point_index.h"
#include "geometry/vec3.h"

namespace kubrix {

namespace {

struct Piece {
  std::vector<size_t> segs;
  bool closed = true;
};

// End point ids: points within tol share an id.
std::vector<uint32_t> endIds(const std::vector<Segment>& segs, double tol, uint32_t& count) {
  std::vector<Point3> ends;
  for (const Segment& s : segs) {
    ends.push_back(s.a);
    ends.push_back(s.b);
  }
  PointIndex index;
  index.build(ends, tol);
  std::vector<uint32_t> id(ends.size());
  count = 0;
  for (size_t i = 0; i < ends.size(); ++i) {
    size_t first = i;
    index.near(ends[i], [&](uint32_t j) {
      if (j < first && sameEnd(ends[j], ends[i], tol)) first = j;
    });
    id[i] = first == i ? count++ : id[first];
  }
  return id;
}

// Joins the segments into pieces and sets flip so that each piece runs one way.
std::vector<Piece> joinPieces(const std::vector<Segment>& segs, double tol, std::vector<uint8_t>& flip) {
  uint32_t vertices = 0;
  const std::vector<uint32_t> id = endIds(segs, tol, vertices);
  std::vector<std::vector<size_t>> at(vertices);
  for (size_t s = 0; s < segs.size(); ++s) {
    at[id[2 * s]].push_back(s);
    if (id[2 * s + 1] != id[2 * s]) at[id[2 * s + 1]].push_back(s);
  }
  std::vector<uint8_t> seen(segs.size(), 0);
  std::vector<Piece> pieces;
  for (size_t first = 0; first < segs.size(); ++first) {
    if (seen[first]) continue;
    Piece p;
    std::vector<size_t> stack{first};
    seen[first] = 1;
    while (!stack.empty()) {
      const size_t s = stack.back();
      stack.pop_back();
      p.segs.push_back(s);
      const uint32_t tail = id[2 * s + (flip[s] ? 1 : 0)], head = id[2 * s + (flip[s] ? 0 : 1)];
      for (const uint32_t v : {tail, head}) {
        if (at[v].size() != 2) p.closed = false;
        for (size_t t : at[v]) {
          if (seen[t]) continue;
          seen[t] = 1;
          // A neighbour at the head starts there; one at the tail ends there.
          flip[t] = v == head ? id[2 * t] != v : id[2 * t + 1] != v;
          stack.push_back(t);
        }
      }
    }
    pieces.push_back(std::move(p));
  }
  return pieces;
}

struct Plane {
  Vec3 e1, e2, n;
  double x(const Vec3& p) const { return static_cast<double>(dot(p, e1)); }
  double y(const Vec3& p) const { return static_cast<double>(dot(p, e2)); }
};

// A plane square to the profile's average motion, with (e1, e2, n) right-handed.
bool motionPlane(const std::vector<Segment>& segs, const SweepMotion& m, Plane& pl) {
  Vec3 sum;
  for (const Segment& s : segs) {
    const Point3 mid{0.5 * (s.a.x + s.b.x), 0.5 * (s.a.y + s.b.y), 0.5 * (s.a.z + s.b.z)};
    sum = sum + (vec(m.next->apply(mid)) - vec(m.start->apply(mid)));
  }
  const long double len = norm(sum);
  if (!(len > 0)) return false;
  pl.n = (1 / len) * sum;
  const Vec3 other = std::fabs(pl.n.x) < 0.6L ? Vec3{1, 0, 0} : Vec3{0, 1, 0};
  const Vec3 e1 = cross(other, pl.n);
  pl.e1 = (1 / norm(e1)) * e1;
  pl.e2 = cross(pl.n, pl.e1);
  return true;
}

}  // namespace

std::vector<uint8_t> outwardOrder(const std::vector<Segment>& segs, const SweepMotion& m, double tol) {
  std::vector<uint8_t> flip(segs.size(), 0);
  const std::vector<Piece> pieces = joinPieces(segs, tol, flip);
  Plane pl;
  if (!motionPlane(segs, m, pl)) return flip;
  // Profile points where the sweep starts, in the plane.
  const auto at = [&](const Point3& p) { return vec(m.start->apply(p)); };
  const auto ends = [&](size_t s, Vec3& a, Vec3& b) {
    a = at(flip[s] ? segs[s].b : segs[s].a);
    b = at(flip[s] ? segs[s].a : segs[s].b);
  };
  for (size_t i = 0; i < pieces.size(); ++i) {
    const Piece& p = pieces[i];
    Vec3 c;
    for (size_t s : p.segs) c = c + at(segs[s].a) + at(segs[s].b);
    c = (0.5L / static_cast<long double>(p.segs.size())) * c;
    long double area = 0, size = 0;
    for (size_t s : p.segs) {
      Vec3 a, b;
      ends(s, a, b);
      const long double t = (pl.x(a) - pl.x(c)) * (pl.y(b) - pl.y(c)) - (pl.x(b) - pl.x(c)) * (pl.y(a) - pl.y(c));
      area += t;
      size += std::fabs(t);
    }
    bool reverse = false;
    if (size > 0 && std::fabs(area) > 1e-9L * size) {
      reverse = area < 0;
      if (p.closed) {
        // Inside an odd number of other closed pieces: a hole, whose faces look into it.
        int around = 0;
        Vec3 a, b;
        ends(p.segs[0], a, b);
        const double qx = pl.x(0.5L * (a + b)), qy = pl.y(0.5L * (a + b));
        for (size_t j = 0; j < pieces.size(); ++j) {
          if (j == i || !pieces[j].closed) continue;
          bool in = false;
          for (size_t s : pieces[j].segs) {
            const Vec3 u = at(segs[s].a), v = at(segs[s].b);
            const double ux = pl.x(u), uy = pl.y(u), vx = pl.x(v), vy = pl.y(v);
            if ((uy > qy) != (vy > qy) && qx < (vx - ux) * (qy - uy) / (vy - uy) + ux) in = !in;
          }
          around += in ? 1 : 0;
        }
        if (around % 2) reverse = !reverse;
      }
    } else if (m.hasAxis) {
      // No area: away from the axis, or along it when the faces are square to the axis.
      const Vec3 axis = vec(m.axisDir), base = vec(m.axisBase);
      long double radial = 0, radialSize = 0, along = 0;
      for (size_t s : p.segs) {
        Vec3 a, b;
        ends(s, a, b);
        const Point3 mid{0.5 * (segs[s].a.x + segs[s].b.x), 0.5 * (segs[s].a.y + segs[s].b.y),
                         0.5 * (segs[s].a.z + segs[s].b.z)};
        const Vec3 mm = at(mid);
        const Vec3 n = cross(b - a, vec(m.next->apply(mid)) - mm);
        const Vec3 r = mm - base;
        const Vec3 out = r - (dot(r, axis) / dot(axis, axis)) * axis;
        radial += dot(n, out);
        radialSize += norm(n) * norm(out);
        along += dot(n, axis);
      }
      reverse = std::fabs(radial) > 1e-9L * radialSize ? radial < 0 : along < 0;
    }
    if (reverse)
      for (size_t s : p.segs) flip[s] ^= 1;
  }
  return flip;
}

}  // namespace kubrix
