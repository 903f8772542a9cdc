// Measuring routines of the geometry kernel: scaled rounding, common divisors, angles, turned points,
// normals, and the plane intersections of a line, a circle and an ellipse. They compute in plain
// coordinates (no current matrix) and never fail loudly: degenerate input gives a flag 0 or the
// documented fallback value.
#pragma once

#include "geometry/figure_store.h"

namespace kubrix {

struct Point2 {
  double x = 0, y = 0;
};

// x rounded to a multiple of 1/s, halves away from zero: sign(x) * floor(|x| * s + 0.5 + 1e-14) / s.
// The bias lifts values that a binary fraction left just below the half. A scale that gives no finite
// result (s = 0, for which every multiple of 1/s is infinite) leaves x unrounded.
double roundToScale(double x, double s);

// Greatest common divisor of a and b, each first rounded to a whole number (halves to even); 1 when
// the smaller of them is below 2 (zero or negative inputs) or a rounded value does not fit 63 bits.
long long commonDivisor(double a, double b);

// Angle between the vectors a and b in [0, pi]; 0 when either is shorter than 1e-14.
double angleBetween(const Point3& a, const Point3& b);

// Horizontal direction and elevation of a vector, both in [0, 2*pi) (a downward vector gives an
// elevation near 2*pi). A vertical vector has direction 0 and elevation pi/2 or 3*pi/2.
struct Bearing {
  double horizontal = 0, elevation = 0;
};
Bearing bearing(double dx, double dy, double dz);

// p turned by a about c in the plane, each coordinate rounded to a multiple of 1e-13.
Point2 turnPoint(const Point2& p, const Point2& c, double a);

// p turned by a (right-handed) about the line through c parallel to the X (axis 1), Y (2) or Z (3)
// axis. Any other axis value names no axis: p comes back unchanged.
Point3 turnAboutAxis(const Point3& p, const Point3& c, double a, int axis);

// p turned by a (right-handed) about the line from p1 towards p2; unchanged when |p2 - p1| < 1e-14.
Point3 turnAboutLine(const Point3& p, const Point3& p1, const Point3& p2, double a);

// (p2 - p1) x (p3 - p1), made unit length when longer than 1e-7 (so collinear points give zero).
Point3 planeNormal(const Point3& p1, const Point3& p2, const Point3& p3);

// Foot of the perpendicular from q to the line p1-p2 and the distance of q from the line. Coinciding
// p1 and p2 stand for the horizontal line through p1.
struct Foot {
  Point2 p;
  double dist = 0;
};
Foot perpendicularFoot(const Point2& p1, const Point2& p2, const Point2& q);

// Two intersection points. flag 0: none (both points zero unless stated otherwise); 1: one touching
// point, given twice; 2: two points.
struct PairHit {
  int flag = 0;
  Point2 p1, p2;
};

// The line through a and b with the circle of radius r about c. p1 is the point further along the
// direction from a to b. The discriminant r^2 - l^2 (l the line's distance from c) is rounded to a
// multiple of 1e-12 to tell touching from crossing. Coinciding a and b stand for a horizontal line.
PairHit intersectLineCircle(const Point2& a, const Point2& b, const Point2& c, double r);

// The line through a and b with the ellipse of semi-axes rx, ry turned by rot about c: the line is
// mapped to the frame where the ellipse is the circle of radius rx, cut there, and the points mapped
// back (turned offsets rounded to 1e-13). rx below 1e-14 or |ry| below 1e-14 (no ellipse): flag 0
// with a and b as the points.
PairHit intersectLineEllipse(const Point2& a, const Point2& b, const Point2& c, double rx, double ry, double rot);

// Two circles. flag 0 for coinciding centres (within 1e-12 in both coordinates), circles apart or
// one inside the other; 1 for touching circles; 2 for two points, p1 on the left of the line from
// c1 to c2 and p2 on its right. The tests on r1 + r2 - D and |r1 - r2| - D round to 1e-12.
PairHit intersectCircles(const Point2& c1, double r1, const Point2& c2, double r2);

// x rounded to a multiple of 1e-12 as the discriminant tests do: floor(x / 1e-12 + 0.5) * 1e-12.
long double roundDiscriminant(long double x);

// The point at distance r from c in direction a.
inline Point2 polarPoint(const Point2& c, double r, double a) { return {c.x + r * std::cos(a), c.y + r * std::sin(a)}; }

}  // namespace kubrix
