// Planar primitives in the local coordinates of the current matrix: circles, arcs, ellipses and
// elliptic arcs as chains of lines, axis-parallel rectangles, and rounded rectangles drawn as an
// outline or filled with faces. Every point goes through LocalDraw (matrix, 1e-12 rounding, the
// store's coincidence rules), so degenerate input appends fewer or no elements and never fails.
#pragma once

#include <array>

#include "geometry/local_draw.h"

namespace kubrix {


// Full circle of n lines in the plane z = centre.z, starting and ending at (cx + r, cy); the angle
// grows by 2*pi/n each step (accumulated). r = 0 appends nothing.
void drawCircle(LocalDraw& d, int n, const Point3& centre, double r);

// Arc of n lines counter-clockwise from a1 by arcSweep(a1, a2); equal angles append nothing.
void drawArc(LocalDraw& d, int n, const Point3& centre, double r, double a1, double a2);

// Ellipse with semi-axes rx (local X) and ry (local Y) turned by theta about its centre; every
// turned offset is rounded to a multiple of 1e-13 (ellipseOffset).
void drawEllipse(LocalDraw& d, int n, const Point3& centre, double rx, double ry, double theta);

// Elliptic arc: the ellipse's parameter angle runs from a1 by arcSweep(a1, a2).
void drawEllipticArc(LocalDraw& d, int n, const Point3& centre, double rx, double ry, double theta, double a1,
                     double a2);

// Axis-parallel rectangle from two opposite corners: four lines counter-clockwise from the lower-left
// corner, whatever the order of the corners given.
void drawBox(LocalDraw& d, double x1, double y1, double x2, double y2, double z);

// A rectangle with shaped corners. Corner flags in the order (xmax, ymax), (xmin, ymax), (xmin, ymin),
// (xmax, ymin); their meaning differs between the outline and the filled form (see each).
struct RoundedRect {
  int n = 0;  // segments of a rounded corner, clamped to 3..1000
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  double z = 0;
  double rx = 0, ry = 0;  // corner size along X and Y (signs ignored)
  std::array<int, 4> flags{};
};

// The rectangle of size |w| x |h| of which (x, y) is the point named by the anchor: 1 top-left,
// 2 top-centre, 3 top-right, 4 middle-left, 5 centre, 6 middle-right, 7 bottom-left, 8 bottom-centre,
// 9 bottom-right; any other value means centre.
RoundedRect anchoredRect(int n, double x, double y, double w, double h, double z, double rx, double ry,
                         int anchor, const std::array<int, 4>& flags);

// Outline, counter-clockwise from the right edge: corner k1, top edge, corner k2, left edge, corner k3,
// bottom edge, corner k4, right edge. Flag 0: square corner; 1: chamfer line; any other value: a
// quarter ellipse of n lines. A corner size of at most 1e-12 or more than half the side (+1e-12) gives
// a plain rectangle with all flags 0.
void drawRoundedRect(LocalDraw& d, const RoundedRect& r);

// Filled with faces facing local +Z (local -Z when reverse): the centre quad, then each corner followed
// by the strip after it (k1, top strip, k2, left strip, k3, bottom strip, k4, right strip). Flag 1:
// chamfer triangle; 2: a fan of n triangles; any other value: a square quad. Zero-width strips and
// corners are dropped by the face appends. Reversed faces list their points backwards and fans run
// from the end angle back to the start angle.
void fillRoundedRect(LocalDraw& d, const RoundedRect& r, bool reverse);

}  // namespace kubrix
