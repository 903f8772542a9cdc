// Appending figure elements given in local coordinates: every point goes through the current
// matrix (rounded to 1e-12) before the figure store's append, with the store's coincidence rules.
#pragma once

#include <cstddef>

#include "geometry/figure_store.h"
#include "geometry/matrix.h"

namespace kubrix {

class LocalDraw {
 public:
  LocalDraw(FigureStore& store, const Matrix4& matrix)
      : store_(store), matrix_(matrix), identity_(matrix.isIdentity()) {}

  Point3 world(const Point3& local) const {
    return identity_ ? Point3{roundCoordinate(local.x), roundCoordinate(local.y), roundCoordinate(local.z)}
                     : localToWorld(matrix_, local);
  }
  void point(const Point3& a) { store_.appendPoint(world(a), true); }
  void line(const Point3& a, const Point3& b) { store_.appendLine(world(a), world(b), true); }
  void triangle(const Point3& a, const Point3& b, const Point3& c) {
    store_.appendTriangle(world(a), world(b), world(c), true);
  }
  void quad(const Point3& a, const Point3& b, const Point3& c, const Point3& d) {
    store_.appendQuad(world(a), world(b), world(c), world(d), true);
  }
  // Appends for points that world() has mapped already.
  void worldLine(const Point3& a, const Point3& b) { store_.appendLine(a, b, true); }
  void worldTriangle(const Point3& a, const Point3& b, const Point3& c) { store_.appendTriangle(a, b, c, true); }
  void worldQuad(const Point3& a, const Point3& b, const Point3& c, const Point3& d) {
    store_.appendQuad(a, b, c, d, true);
  }
  // Lines Q0-Q1, Q1-Q2, ..., Q(n-2)-Q(n-1); each point is mapped once.
  void chain(const Point3* q, size_t n);

  FigureStore& store() { return store_; }
  const Matrix4& matrix() const { return matrix_; }

 private:
  FigureStore& store_;
  const Matrix4& matrix_;
  bool identity_;
};

// Segment count of circles, arcs, ellipses, rounded corners, fans and bands: clamped to 3..1000.
inline int clampCircleSegments(int n) { return n < 3 ? 3 : n > 1000 ? 1000 : n; }

// a2 - a1 brought into [0, 2*pi) by adding or subtracting 2*pi.
double arcSweep(double a1, double a2);

// The offset from the centre of the ellipse point at parameter angle t: (rx cos t, ry sin t) turned
// by theta, each turned coordinate rounded to a multiple of 1e-13.
struct Offset2 {
  double x, y;
};
Offset2 ellipseOffset(double rx, double ry, double theta, double t);

}  // namespace kubrix
