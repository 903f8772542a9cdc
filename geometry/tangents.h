// Circles and arcs through given points, and the chamfer and fillet points where two lines or
// circles meet, in the plane. Each routine returns a flag or count first; a failure gives 0 and
// leaves the points at zero.
#pragma once

#include <array>

#include "geometry/queries.h"

namespace kubrix {

// The circle through three points. Fails when the third point lies closer than 0.1 to the line
// through the first two (or those two coincide), when the bisector system's determinant is below
// 1e-12, or when the radius is below 1e-12.
struct CircleFit {
  int flag = 0;
  Point2 centre;
  double r = 0;
};
CircleFit circleThrough(const Point2& p1, const Point2& p2, const Point2& p3);

// An arc given by its circle and its ends. start and end run counter-clockwise; dir tells whether
// the given points run counter-clockwise (1) or clockwise (0).
struct ArcFit {
  int flag = 0;
  int dir = 0;
  Point2 centre;
  double r = 0;
  double start = 0, end = 0;
};

// The arc of radius r through p1 and p2 whose centre lies on the side of the chord where q is.
// start and end are the directions from the centre to p1 and p2, r is echoed back. Fails when the
// points coincide within 1e-12, when q's projection onto the chord's normal through its midpoint is
// closer than 0.1 to the midpoint, or when |r| is below half the chord (no such circle; the
// difference r^2 - chord^2/4 is rounded to 1e-12 first, so a half circle is found).
ArcFit arcThroughTwo(double r, const Point2& p1, const Point2& p2, const Point2& q);

// The arc from p1 through p2 to p3 (circle as circleThrough, with its failures).
ArcFit arcThroughThree(const Point2& p1, const Point2& p2, const Point2& p3);

// Chamfer of two lines: the points at distance d before and after their intersection along line a
// (a1 towards a2) and line b. Fails for a degenerate line or lines without a single intersection.
struct LineChamfer {
  int flag = 0;
  std::array<Point2, 4> p{};
};
LineChamfer chamferLines(double d, const Point2& a1, const Point2& a2, const Point2& b1, const Point2& b2);

// Chamfers and fillets with up to two solutions: the count (1 or 2, 0 on failure, negative where
// stated) and ten points.
struct CornerPoints {
  int count = 0;
  std::array<Point2, 10> p{};
};

// Chamfer of a line and a circle with chord length len. For the meeting points X1, X2 (line-circle
// rule): X1, X2, then for X1 the line points X1 -/+ len along the line (a1 towards a2) and the circle
// points at chord len on both sides (direction of X1 from the centre -/+ 2 asin(len / 2r)), then the
// same four for X2. Fails for a degenerate line, r below 1e-12, or no meeting point. When len exceeds
// the diameter or is below 1e-12 the circle points fall on X and the count is negated.
CornerPoints chamferLineCircle(double len, const Point2& a1, const Point2& a2, const Point2& c, double r);

// Chamfer of two circles with chord length len: X1, X2, for X1 the circle-1 points (-, +) and the
// circle-2 points (-, +), then the same for X2. Fails for a radius below 1e-12 or circles that do not
// meet; the count is negated when len exceeds either diameter or is below 1e-12.
CornerPoints chamferCircles(double len, const Point2& c1, double r1, const Point2& c2, double r2);

// Fillet of radius R between two lines: side 0 puts the arc's centre to the left of the line (seen
// from its first point towards its second), any other value to the right.
struct LineFillet {
  int flag = 0;
  Point2 centre, onA, onB;
};
LineFillet filletLines(double R, int sideA, int sideB, const Point2& a1, const Point2& a2, const Point2& b1,
                       const Point2& b2);

// Fillets of radius R between a line and a circle: sideL as for filletLines; sideC 0 puts the fillet
// outside the circle, any other value inside. Points: F1, F2, then for F1 the tangent point on the
// line and on the circle, then the same for F2 (p[0..5]). Fails for a degenerate line, R or r below
// 1e-12, or an offset radius below 1e-12.
CornerPoints filletLineCircle(double R, int sideL, int sideC, const Point2& a1, const Point2& a2, const Point2& c,
                              double r);

// Fillets of radius R between two circles: side 0 outside that circle, otherwise inside. Points: F1,
// F2, then the tangent points on circle 1 and circle 2 for F1, then for F2 (p[0..5]).
CornerPoints filletCircles(double R, int side1, int side2, const Point2& c1, double r1, const Point2& c2, double r2);

}  // namespace kubrix
