// Vaults over a rectangle (a circular or half-elliptic arch section drawn along the other side) and
// domes over a circle (a spherical cap or half an ellipsoid).
#include <cmath>

#include "geometry/solid_builders.h"
#include "geometry/solids.h"

namespace kubrix {

namespace {

bool positive(double v) { return v >= kSolidZero; }

// The arch section from the right foot (span/2, 0) over the top to the left foot (-span/2, 0), as
// (x, z) pairs; false when it has no height.
bool archSection(const Vault& v, double span, int n, std::vector<Point3>& out) {
  out.clear();
  if (v.circular) {
    // The circle through both feet that rises c above them.
    const double rho = (span * span / 4 + v.c * v.c) / (2 * v.c);
    const double zc = v.c - rho;
    const double a0 = std::atan2(rho - v.c, span / 2);
    const double step = (kPi - 2 * a0) / n;
    for (int k = 0; k <= n; ++k) {
      const double a = a0 + k * step;
      out.push_back({rho * std::cos(a), 0, zc + rho * std::sin(a)});
    }
  } else {
    // Two quarter ellipses of n steps each.
    const double step = (kPi / 2) / n;
    for (int k = 0; k <= 2 * n; ++k) {
      const double a = k * step;
      out.push_back({span / 2 * std::cos(a), 0, v.c * std::sin(a)});
    }
  }
  out.front() = {span / 2, 0, 0};
  out.back() = {-span / 2, 0, 0};
  return true;
}

}  // namespace

void drawVault(LocalDraw& d, const Vault& v) {
  if (!positive(v.a) || !positive(v.b) || !positive(v.c)) return;
  const int n = clampCircleSegments(v.n);
  const bool across = v.kind == 0;
  const double span = across ? v.a : v.b, length = across ? v.b : v.a;
  if (v.circular && v.c > span / 2 + kSolidZero && v.limitRise) return;
  std::vector<Point3>& sec = solidBuffer(0);
  archSection(v, span, n, sec);
  // Kind 1 turns the vault a quarter turn: its span along y, its length along x.
  const auto place = [&](const Point3& q, double y) {
    return d.world(across ? Point3{q.x, y, q.z} : Point3{y, -q.x, q.z});
  };
  std::vector<Point3>& near = solidBuffer(1);
  std::vector<Point3>& far = solidBuffer(2);
  near.clear();
  far.clear();
  for (const Point3& q : sec) {
    near.push_back(place(q, -length / 2));
    far.push_back(place(q, length / 2));
  }
  const size_t k = sec.size() - 1;
  const bool rev = v.reverse;
  // The ends are fans from the feet's midpoint; the floor is split along the line through both
  // midpoints, so it meets the fans edge to edge.
  const Point3 nearMid = place({0, 0, 0}, -length / 2), farMid = place({0, 0, 0}, length / 2);
  if (v.bottom) {
    solidQuad(d, near[0], nearMid, farMid, far[0], rev);
    solidQuad(d, nearMid, near[k], far[k], farMid, rev);
  }
  for (size_t i = 0; i < k; ++i) solidQuad(d, near[i], far[i], far[i + 1], near[i + 1], rev);
  if (v.startEnd) fanCap(d, near.data(), static_cast<int>(k), nearMid, rev);
  if (v.farEnd) fanCap(d, far.data(), static_cast<int>(k), farMid, !rev);
}

void drawDomeCap(LocalDraw& d, int n, int m, double a, double b, bool spherical, bool bottom, bool reverse) {
  if (!positive(a) || !positive(b)) return;
  if (spherical && b > a + kSolidZero) return;
  n = clampCircleSegments(n);
  m = clampCircleSegments(m);
  if (n * m > 10000) m = 10000 / n;
  // Profile (radius, height) from the rim (a, 0) to the top (0, b).
  const double rho = spherical ? a / std::sin(2 * std::atan2(b, a)) : 0;
  const double a0 = spherical ? std::atan2(rho - b, a) : 0;
  const double step = (kPi / 2 - a0) / m;
  std::vector<Point3>& rings = solidBuffer(0);
  std::vector<Point3>& ring = solidBuffer(1);
  rings.clear();
  const size_t row = static_cast<size_t>(n) + 1;
  for (int j = 0; j < m; ++j) {
    const double t = a0 + j * step;
    const double r = j == 0 ? a : spherical ? rho * std::cos(t) : a * std::cos(t);
    const double z = j == 0 ? 0 : spherical ? b - rho + rho * std::sin(t) : b * std::sin(t);
    ringPoints(d, PlaneEllipse{0, 0, r, r, 0}, z, fullRun(n), ring);
    rings.insert(rings.end(), ring.begin(), ring.end());
  }
  if (bottom) {
    ring.assign(rings.begin(), rings.begin() + static_cast<std::ptrdiff_t>(row));
    fanCap(d, ring.data(), n, d.world({0, 0, 0}), !reverse);
  }
  const Point3 top = d.world({0, 0, b});
  for (size_t k = 0; k < static_cast<size_t>(n); ++k) {
    for (size_t j = 0; j + 1 < static_cast<size_t>(m); ++j) {
      const Point3* lo = &rings[j * row];
      const Point3* up = lo + row;
      solidQuad(d, lo[k], lo[k + 1], up[k + 1], up[k], reverse);
    }
    const Point3* lo = &rings[(static_cast<size_t>(m) - 1) * row];
    solidTriangle(d, lo[k], lo[k + 1], top, reverse);
  }
}

}  // namespace kubrix
