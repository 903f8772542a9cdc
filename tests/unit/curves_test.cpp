// Curves: thinning, the clothoid series and its guards, the Bezier and spline end points, and the
// commands' chains and walls (face orientation) through a script run.
#include "geometry/curves.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "test_support.h"

namespace kubrix {
namespace {

constexpr Point3 P(double x, double y, double z = 0) { return Point3{x, y, z}; }

void expectNear(const Point3& got, const Point3& want, double tol, const char* what) {
  EXPECT_NEAR(got.x, want.x, tol) << what;
  EXPECT_NEAR(got.y, want.y, tol) << what;
  EXPECT_NEAR(got.z, want.z, tol) << what;
}

// Fresnel-type integrals of cos and sin(s^2 / 2A^2) from 0 to L by Simpson's rule.
void clothoidReference(double length, double a, double& x, double& y) {
  const int n = 20000;
  const double h = length / n;
  double sx = 0, sy = 0;
  for (int i = 0; i <= n; ++i) {
    const double s = i * h, w = (i == 0 || i == n) ? 1 : (i % 2 ? 4 : 2);
    const double t = s * s / (2 * a * a);
    sx += w * std::cos(t);
    sy += w * std::sin(t);
  }
  x = sx * h / 3;
  y = sy * h / 3;
}

TEST(Curves, ClampsSegmentCountAndSplineType) {
  EXPECT_EQ(clampCurveSegments(0), 1);
  EXPECT_EQ(clampCurveSegments(-5), 1);
  EXPECT_EQ(clampCurveSegments(2), 2);
  EXPECT_EQ(clampCurveSegments(1000), 1000);
  EXPECT_EQ(clampCurveSegments(1001), 1000);
  EXPECT_EQ(clampSplineType(-1), 0);
  EXPECT_EQ(clampSplineType(2), 2);
  EXPECT_EQ(clampSplineType(4), 3);
}

TEST(Curves, ThinningDropsMiddlePointsOfStraightRuns) {
  CurveBuffer b;
  b.start(8, false);
  b.add(P(0, 0));
  b.add(P(1, 1));
  b.add(P(2, 2));  // collinear: (1,1) goes
  b.add(P(3, 3));  // and (2,2)
  ASSERT_EQ(b.size(), 2u);
  expectNear(b[1], P(3, 3), 0, "end");
  b.add(P(3, 4));  // a corner stays
  EXPECT_EQ(b.size(), 3u);

  // Directions just below and just above the +X axis are 2*pi apart in polar angle: still one run.
  b.start(4, false);
  b.add(P(0, 0));
  b.add(P(1, -2e-7));
  b.add(P(2, 2e-7));
  EXPECT_EQ(b.size(), 2u);
  // A turn of 2e-6 rad is kept.
  b.start(4, false);
  b.add(P(0, 0));
  b.add(P(1, 0));
  b.add(P(2, 4e-6));
  EXPECT_EQ(b.size(), 3u);

  // Planar buffers ignore z; space buffers see a bend in XZ, and one in a plane x = const.
  b.start(4, false);
  b.add(P(0, 0, 0));
  b.add(P(1, 0, 1));
  b.add(P(2, 0, 0));
  EXPECT_EQ(b.size(), 2u);
  b.start(4, true);
  b.add(P(0, 0, 0));
  b.add(P(1, 0, 1));
  b.add(P(2, 0, 0));
  EXPECT_EQ(b.size(), 3u);
  b.start(4, true);
  b.add(P(0, 0, 0));
  b.add(P(0, 1, 1));
  b.add(P(0, 2, 5));
  EXPECT_EQ(b.size(), 3u);
  b.add(P(0, 3, 9));  // (0,2,5)-(0,3,9) continues the last direction
  EXPECT_EQ(b.size(), 3u);
}

TEST(Curves, ClothoidSeriesMatchesTheIntegral) {
  const double cases[][2] = {{0.5, 10}, {10, 10}, {20, 10}, {3, 1}, {50, 30}};
  for (const auto& c : cases) {
    double x, y, rx, ry;
    ASSERT_TRUE(clothoidPoint(c[0], c[1], x, y)) << c[0];
    clothoidReference(c[0], c[1], rx, ry);
    EXPECT_NEAR(x, rx, 1e-7) << "L=" << c[0] << " A=" << c[1];
    EXPECT_NEAR(y, ry, 1e-7) << "L=" << c[0] << " A=" << c[1];
  }
  double x = 1, y = 1;
  ASSERT_TRUE(clothoidPoint(0, 5, x, y));
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 0);
  // The series overflows or never settles: reported, not looped on.
  const double inf = std::numeric_limits<double>::infinity(), nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_FALSE(clothoidPoint(1e6, 1, x, y));
  EXPECT_FALSE(clothoidPoint(1e200, 1, x, y));
  EXPECT_FALSE(clothoidPoint(inf, 1, x, y));
  EXPECT_FALSE(clothoidPoint(nan, 1, x, y));
  EXPECT_FALSE(clothoidPoint(1, nan, x, y));
}

TEST(Curves, ClothoidRunsFromL1ToL2AndTurnsAboutItsOrigin) {
  CurveBuffer b;
  // Nine steps of 1/9 overshoot 1 by a rounding error: the last point is still taken, at L2.
  generateClothoid({9, false, 0, 0, 0, 1, 1, 0}, b);
  ASSERT_EQ(b.size(), 10u);
  double x, y;
  ASSERT_TRUE(clothoidPoint(1, 1, x, y));
  expectNear(b[9], P(x, y), 1e-13, "end at L2");
  expectNear(b[0], P(0, 0), 0, "origin");

  // L from 5 to 10, turned by pi/2 and moved: the first point is the turned L = 5 point.
  generateClothoid({2, true, 100, 50, 5, 10, 10, kPi / 2}, b);
  ASSERT_EQ(b.size(), 3u);
  ASSERT_TRUE(clothoidPoint(5, 10, x, y));
  expectNear(b[0], P(100 + y, 50 + x), 1e-12, "mirrored, turned, moved");
  EXPECT_EQ(b[0].x, 100 + std::round(y * 1e13) / 1e13) << "the turned offset is rounded to 1e-13";

  // Degenerate and undefined input: nothing.
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const ClothoidSpec none[] = {{5, false, 0, 0, 10, 0, 10, 0},  {5, false, 0, 0, 3, 3, 10, 0},
                               {5, false, 0, 0, 0, 10, 0, 0},   {5, false, 0, 0, 0, 10, 5e-15, 0},
                               {5, false, 0, 0, 0, 10, nan, 0}, {5, false, 0, 0, nan, 10, 1, 0},
                               {5, false, 0, 0, 0, nan, 1, 0}};
  for (const ClothoidSpec& s : none) {
    generateClothoid(s, b);
    EXPECT_EQ(b.size(), 0u) << s.l1 << " " << s.l2 << " " << s.a;
  }
}

TEST(Curves, ClothoidStopsWhereTheSeriesLosesItsPrecision) {
  CurveBuffer b;
  // A = 1: the points are good up to about L = 9 (tau = 40); at L = 10 the chord exceeds the arc.
  generateClothoid({20, false, 0, 0, 0, 20, 1, 0}, b);
  EXPECT_GE(b.size(), 5u);
  EXPECT_LE(b.size(), 10u);
  for (size_t i = 0; i < b.size(); ++i) {
    EXPECT_TRUE(std::isfinite(b[i].x) && std::isfinite(b[i].y)) << i;
    EXPECT_LT(std::hypot(b[i].x, b[i].y), 2.0) << i;  // the spiral never leaves its circle
  }
  // Huge and infinite lengths end at once, with at most the first point.
  generateClothoid({1000, false, 0, 0, 0, 1e308, 1, 0}, b);
  EXPECT_LE(b.size(), 1u);
  generateClothoid({1000, false, 0, 0, 1e6, 2e6, 1, 0}, b);
  EXPECT_EQ(b.size(), 0u);
  generateClothoid({1000, false, 0, 0, 0, std::numeric_limits<double>::infinity(), 1, 0}, b);
  EXPECT_LE(b.size(), 1u);
}

TEST(Curves, BezierAndQuadraticEndAtTheirLastControlPoint) {
  CurveBuffer b;
  const Point3 bez[4] = {P(1e5, 0), P(1e5 + 1, 3), P(1e5 + 2, 3), P(1e5 + 3.3, 0.7)};
  generateBezier(7, bez, false, b);
  ASSERT_EQ(b.size(), 8u);
  expectNear(b[0], bez[0], 0, "start");
  expectNear(b[7], bez[3], 0, "end");
  generateBezier(0, bez, false, b);  // n = 0 draws as n = 1
  ASSERT_EQ(b.size(), 2u);
  expectNear(b[1], bez[3], 0, "n = 0");
  generateBezier(1 << 30, bez, false, b);  // clamped to 1000
  EXPECT_EQ(b.size(), 1001u);

  const Point3 q[3] = {P(0, 0, 0), P(4, 8, 2), P(8, 0, 0)};
  generateQuadratic(4, q, true, b);
  ASSERT_EQ(b.size(), 5u);
  expectNear(b[2], P(4, 4, 1), 1e-15, "middle");
  expectNear(b[4], q[2], 0, "end");
  const Point3 closed[3] = {P(1, 1, 0), P(4, 8, 0), P(1, 1 + 5e-15, 3)};
  generateQuadratic(4, closed, false, b);
  EXPECT_EQ(b.size(), 0u);
  generateQuadratic(4, closed, true, b);  // apart in z: drawn
  EXPECT_EQ(b.size(), 5u);
}

TEST(Curves, CubicSplineTypesSetTheEnds) {
  const Point3 p[4] = {P(0, 0, 0), P(0, 6, 1), P(6, 6, 2), P(6, 0, 3)};
  const Point3 near1 = P(1, 5, 1), near4 = P(5, 5, 2);  // (P1+4P2+P3)/6, (P2+4P3+P4)/6
  struct Case {
    int type;
    Point3 first, last;
  } const cases[] = {{0, near1, near4}, {1, p[0], near4},   {2, near1, p[3]},
                     {3, p[0], p[3]},   {-2, near1, near4}, {8, p[0], p[3]}};
  CurveBuffer b;
  for (const Case& c : cases) {
    generateCubicSpline(4, c.type, p, true, b);
    ASSERT_GE(b.size(), 2u) << c.type;
    expectNear(b[0], c.first, 1e-15, "first");
    expectNear(b[b.size() - 1], c.last, 1e-15, "last");
  }
  generateCubicSpline(4, 0, p, true, b);
  EXPECT_EQ(b.size(), 5u);
  // Type 3 with n = 1000 evaluates 5001 points; the straight ends near P1 and P4 are thinned away.
  generateCubicSpline(5000, 3, p, false, b);
  EXPECT_LT(b.size(), 5001u);
  EXPECT_GT(b.size(), 2000u);
}

// The unit normal direction of a face P1, P2, P3 (Newell's cross product of the first corner).
Point3 faceNormal(const FigureElement& e) {
  const Point3 u{e.p[1].x - e.p[0].x, e.p[1].y - e.p[0].y, e.p[1].z - e.p[0].z};
  const Point3 v{e.p[2].x - e.p[0].x, e.p[2].y - e.p[0].y, e.p[2].z - e.p[0].z};
  return {u.y * v.z - u.z * v.y, u.z * v.x - u.x * v.z, u.x * v.y - u.y * v.x};
}

TEST(CurveCommands, WallsFaceLeftOfTravelAndRevTurnsThem) {
  // A Bezier arch from (0,0) over (4,6) to (8,0), and a clothoid bending left: every rev 0 face
  // points to the left of the segment it stands on (for h > 0), every rev 1 face to the right.
  test::ScriptRun r(
      "#VAR\nc\nd\ne\nf\n#DRAW\n"
      "BEZIR3S c, 6, 0,0, 0,8, 8,8, 8,0, 2, 0\n"
      "BEZIR3S d, 6, 0,0, 0,8, 8,8, 8,0, 2, 1\n"
      "CLOTH3S e, 5, 0, 0,0, 0,10, 10, 0.5, 3, 0\n"
      "CLOTH3S f, 5, 0, 0,0, 0,10, 10, 0.5, 3, 1\n");
  r.reset();
  ASSERT_EQ(r.value("c"), "6");
  ASSERT_EQ(r.value("d"), "12");
  ASSERT_EQ(r.value("e"), "17");
  ASSERT_EQ(r.value("f"), "22");
  const FigureStore& fs = r.engine.figures;
  for (size_t i = 1; i <= fs.count(); ++i) {
    const FigureElement& e = fs.at(i);
    ASSERT_EQ(e.kind, kKindQuad) << i;
    const bool rev = (i > 6 && i <= 12) || i > 17;
    // Travel: from the first to the second point along the top edge (rev 0) or the reverse (rev 1).
    const Point3 from = rev ? e.p[1] : e.p[0], to = rev ? e.p[0] : e.p[1];
    const Point3 left{-(to.y - from.y), to.x - from.x, 0};
    const Point3 n = faceNormal(e);
    const double side = n.x * left.x + n.y * left.y;
    EXPECT_GT(rev ? -side : side, 0) << "face " << i;
    EXPECT_NEAR(n.z, 0, 1e-9) << "walls stand upright";
    // Top edge at h, bottom at 0, and rev swaps the order along the curve.
    EXPECT_GT(e.p[0].z, 0) << i;
    EXPECT_EQ(e.p[2].z, 0) << i;
  }
  // rev 1 face k holds the rev 0 face k's points in the order 2, 1, 4, 3.
  for (size_t k = 1; k <= 6; ++k) {
    const FigureElement &a = fs.at(k), &b = fs.at(k + 6);
    const int order[4] = {1, 0, 3, 2};
    for (int j = 0; j < 4; ++j)
      expectNear(b.p[static_cast<size_t>(j)], a.p[static_cast<size_t>(order[j])], 0, "rev order");
  }
}

TEST(CurveCommands, HugeCountsAndBadInputFinishQuickly) {
  // n far beyond 1000, undefined lengths and an A that makes every point diverge: bounded work,
  // no element with an undefined coordinate.
  test::ScriptRun r(
      "#VAR\nc\n#DRAW\n"
      "CLOTH2D c, 2000000000, 0, 0, 0, 0, 1E300, 1E-3, 0\n"
      "CLOTH2D c, 1000, 0, 0, 0, 0, 1000, 1E-5, 0\n"
      "CLOTH3S c, 1000, 1, 0, 0, 0, 1000, 1, 0, 1, 0\n"
      "3BSPL3S c, 2000000000, 3, 0,0, 1,1, 2,0, 3,1, 1, 0\n"
      "BEZIR2D c, 99999, x, 0, 1, 1, 2, 0, 3, 1\n");
  const std::string log = r.reset();
  EXPECT_NE(log.find("(<0> 2000000000,0,0,0,0,1E300,0.001,0)"), std::string::npos) << log;
  const FigureStore& fs = r.engine.figures;
  EXPECT_GT(fs.count(), 1000u);
  for (size_t i = 1; i <= fs.count(); ++i)
    for (const Point3& p : fs.at(i).p)
      ASSERT_TRUE(std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z)) << i;
}

}  // namespace
}  // namespace kubrix
