// Patches over the face-point grid: a control net and one table of weights per parameter value, the
// same table for both directions; mesh points are the weighted sums over the net.
#include "geometry/surfaces.h"

#include <algorithm>

#include "geometry/curves.h"

namespace kubrix {

int clampPatchSegments(int n) { return n <= 0 ? 1 : (n > kPatchSegmentsMax ? kPatchSegmentsMax : n); }

namespace {

constexpr int kNetMax = 8;

// The control net of a patch and the weights of every parameter value: weight(v, a) weighs net
// index a at the v-th parameter value.
struct PatchNet {
  int size = 0;                  // control points per direction
  Point3 c[kNetMax][kNetMax]{};  // [a][b]: a along the grid's first index, b along the second
  int values = 0;                // parameter values per direction
  std::vector<double> weights;   // values x size
  double weight(int v, int a) const { return weights[static_cast<size_t>(v * size + a)]; }
};

// Parameter values from `from` in steps of 1 / n, accumulated; the last one is `to` itself, so that
// the mesh ends exactly where the range does.
template <typename WeightFn>
void fillWeights(PatchNet& net, int n, int steps, double from, double to, WeightFn weightsAt) {
  net.values = steps + 1;
  net.weights.assign(static_cast<size_t>(net.values * net.size), 0.0);
  const double step = 1.0 / n;
  double t = from;
  for (int v = 0; v < net.values; ++v, t += step) weightsAt(v == steps ? to : t, &net.weights[static_cast<size_t>(v * net.size)]);
}

// The weights of a polynomial patch (Bernstein or quadratic) over t in 0..1.
template <int N, void (*Weights)(double, double (&)[N])>
void polynomialWeights(double t, double* w) {
  double q[N];
  Weights(t, q);
  std::copy(q, q + N, w);
}

// net[a][b] = G[index[a]][index[b]] for a, b below size; a patch over part of the grid starts the
// indexes at an offset.
void takeGrid(PatchNet& net, const FaceGrid& g, int size, const int* first, const int* second) {
  net.size = size;
  for (int a = 0; a < size; ++a)
    for (int b = 0; b < size; ++b) net.c[a][b] = g[first[a]][second[b]];
}

void makeNet(const FaceGrid& g, const PatchParams& patch, PatchNet& net) {
  static constexpr int kIndex[4] = {0, 1, 2, 3};
  static constexpr int kWidened[kNetMax] = {0, 0, 0, 1, 2, 3, 3, 3};
  const int n = clampPatchSegments(patch.n);
  const int type = clampSplineType(patch.type);
  switch (patch.kind) {
    case PatchKind::Bezier:
      takeGrid(net, g, 4, kIndex, kIndex);
      return fillWeights(net, n, n, 0.0, 1.0, polynomialWeights<4, bezierWeights>);
    case PatchKind::Quadratic:
      takeGrid(net, g, 3, kIndex + (type == 1 || type == 3 ? 1 : 0), kIndex + (type == 2 || type == 3 ? 1 : 0));
      return fillWeights(net, n, n, 0.0, 1.0, polynomialWeights<3, quadraticWeights>);
    case PatchKind::Spline: {
      takeGrid(net, g, kNetMax, kWidened, kWidened);
      const SplineRange& r = splineRange(type);
      return fillWeights(net, n, r.pointsPerSegment * n, r.from, r.to, [](double t, double* w) {
        for (int a = 0; a < kNetMax; ++a) w[a] = splineBasis(t - (a - 2));
      });
    }
  }
}

void addScaled(Point3& sum, double w, const Point3& p) {
  sum.x += w * p.x;
  sum.y += w * p.y;
  sum.z += w * p.z;
}

// The net blended along the second index at row value k: one point per first index a.
void blendRow(const PatchNet& net, int k, Point3 (&row)[kNetMax]) {
  for (int a = 0; a < net.size; ++a) {
    row[a] = Point3{};
    for (int b = 0; b < net.size; ++b) {
      const double w = net.weight(k, b);
      if (w != 0) addScaled(row[a], w, net.c[a][b]);
    }
  }
}

// Mesh point at column value l from a blended row.
Point3 blendColumn(const PatchNet& net, const Point3 (&row)[kNetMax], int l) {
  Point3 p{};
  for (int a = 0; a < net.size; ++a) {
    const double w = net.weight(l, a);
    if (w != 0) addScaled(p, w, row[a]);
  }
  return p;
}

}  // namespace

void buildPatchMesh(const FaceGrid& grid, const PatchParams& patch, PatchMesh& mesh) {
  PatchNet net;
  makeNet(grid, patch, net);
  mesh.rows = mesh.columns = net.values;
  mesh.points.resize(static_cast<size_t>(net.values) * static_cast<size_t>(net.values));
  Point3 row[kNetMax];
  for (int k = 0; k < net.values; ++k) {
    blendRow(net, k, row);
    for (int l = 0; l < net.values; ++l) mesh.points[static_cast<size_t>(k * net.values + l)] = blendColumn(net, row, l);
  }
}

void drawPatchFaces(LocalDraw& draw, const PatchMesh& mesh, bool rev) {
  if (mesh.rows < 2 || mesh.columns < 2) return;
  // Each mesh point is mapped once; two rows of world points are kept.
  std::vector<Point3> lower(static_cast<size_t>(mesh.columns)), upper(lower.size());
  for (int l = 0; l < mesh.columns; ++l) lower[static_cast<size_t>(l)] = draw.world(mesh.at(0, l));
  for (int k = 0; k + 1 < mesh.rows; ++k) {
    for (int l = 0; l < mesh.columns; ++l) upper[static_cast<size_t>(l)] = draw.world(mesh.at(k + 1, l));
    for (size_t l = 0; l + 1 < lower.size(); ++l) {
      if (rev) {
        draw.worldQuad(upper[l], upper[l + 1], lower[l + 1], lower[l]);
      } else {
        draw.worldQuad(lower[l], lower[l + 1], upper[l + 1], upper[l]);
      }
    }
    lower.swap(upper);
  }
}

void patchBoundary(const FaceGrid& grid, const PatchParams& patch, int side, std::vector<Point3>& out) {
  PatchNet net;
  makeNet(grid, patch, net);
  side = std::clamp(side, 0, 3);
  const int last = net.values - 1;
  out.clear();
  Point3 row[kNetMax];
  if (side == 0 || side == 2) {  // a mesh row: fixed row value, along the columns
    blendRow(net, side == 0 ? 0 : last, row);
    for (int l = 0; l <= last; ++l) out.push_back(blendColumn(net, row, l));
    return;
  }
  const int l = side == 1 ? 0 : last;  // a mesh column: fixed column value, along the rows
  for (int k = 0; k <= last; ++k) {
    blendRow(net, k, row);
    out.push_back(blendColumn(net, row, l));
  }
}

void drawEdgeLines(LocalDraw& draw, const std::vector<Point3>& points, bool backward) {
  if (points.size() < 2) return;
  if (!backward) return draw.chain(points.data(), points.size());
  std::vector<Point3> reversed(points.rbegin(), points.rend());
  draw.chain(reversed.data(), reversed.size());
}

void drawGridCells(LocalDraw& draw, const FaceGrid& g, int i1, int j1, int i2, int j2, bool rev) {
  const auto inGrid = [](int v) { return v >= 0 && v <= 3; };
  if (!inGrid(i1) || !inGrid(j1) || !inGrid(i2) || !inGrid(j2) || i1 == i2 || j1 == j2) return;
  const int iMin = std::min(i1, i2), iMax = std::max(i1, i2);
  const int jMin = std::min(j1, j2), jMax = std::max(j1, j2);
  for (int j = jMin; j < jMax; ++j)
    for (int i = iMin; i < iMax; ++i) drawQuad(draw, g[i][j], g[i + 1][j], g[i + 1][j + 1], g[i][j + 1], rev);
}

}  // namespace kubrix
