// Free-form surfaces over the 4 x 4 face-point grid: the bilinear mesh over grid cells, bicubic Bezier,
// biquadratic and bicubic spline patches as quad faces, and a boundary curve of a patch as lines.
// The grid is in local coordinates; every point goes through the current matrix (LocalDraw).
#pragma once

#include <cstdint>
#include <vector>

#include "geometry/local_draw.h"

namespace kubrix {

// The face-point grid G[i][j]: i the first index ("row"), j the second ("column"), 0..3.
using FaceGrid = Point3[4][4];

inline constexpr int kPatchSegmentsMax = 100;
// Segment count of a patch: n <= 0 becomes 1, n > 100 becomes 100.
int clampPatchSegments(int n);

enum class PatchKind : uint8_t {
  Bezier,     // bicubic Bernstein weights over the whole grid
  Quadratic,  // biquadratic weights over a 3 x 3 part: type 1 or 3 starts at first index 1, 2 or 3 at second index 1
  Spline,     // uniform bicubic B-spline over the grid widened to 8 x 8 (end rows and columns tripled)
};

struct PatchParams {
  PatchKind kind = PatchKind::Bezier;
  int n = 1;     // segments per parameter step; clamped to 1..100 here
  int type = 0;  // Quadratic: the 3 x 3 part; Spline: the parameter range (as the cubic spline curve)
};

// The points of a patch, row by row. Row k uses the k-th value of the row parameter, which runs along
// the grid's second index; column l the l-th value of the column parameter, along the first index.
struct PatchMesh {
  int rows = 0, columns = 0;
  std::vector<Point3> points;
  const Point3& at(int k, int l) const { return points[static_cast<size_t>(k * columns + l)]; }
};

// Computes the mesh of the patch: (steps + 1) x (steps + 1) points with steps = n, or for the spline
// 1, 3, 3 or 5 times n by type. Parameters accumulate their step; the last value is the range's end.
void buildPatchMesh(const FaceGrid& grid, const PatchParams& patch, PatchMesh& mesh);

// One quad (M[k][l], M[k][l+1], M[k+1][l+1], M[k+1][l]) per mesh cell, rows outer, columns inner;
// rev reverses the point order of each. With rev false a patch whose grid runs along +X with the first
// index and along +Y with the second faces +Z.
void drawPatchFaces(LocalDraw& draw, const PatchMesh& mesh, bool rev);

// The boundary points of the patch's mesh. side (clamped to 0..3): 0 the first row, 1 the first
// column, 2 the last row, 3 the last column, in increasing index order.
void patchBoundary(const FaceGrid& grid, const PatchParams& patch, int side, std::vector<Point3>& out);

// Lines joining neighbouring points: from index 0 upward, or with backward from the last index down.
void drawEdgeLines(LocalDraw& draw, const std::vector<Point3>& points, bool backward);

// The bilinear mesh over the grid cells between first indexes i1..i2 and second indexes j1..j2 (any
// order): for each second index (outer) and first index (inner) the quad (G[i][j], G[i+1][j],
// G[i+1][j+1], G[i][j+1]). Nothing unless all four lie in 0..3, i1 != i2 and j1 != j2.
void drawGridCells(LocalDraw& draw, const FaceGrid& grid, int i1, int j1, int i2, int j2, bool rev);

// A quad through the matrix, its point order reversed when rev.
inline void drawQuad(LocalDraw& draw, const Point3& a, const Point3& b, const Point3& c, const Point3& d, bool rev) {
  if (rev) {
    draw.quad(d, c, b, a);
  } else {
    draw.quad(a, b, c, d);
  }
}

}  // namespace kubrix
