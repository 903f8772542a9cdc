// Geometric queries by their properties over many random cases: turned points keep their distance
// to the axis, intersection points lie on both figures, fillet tangent points lie on their curves at
// distance R from the fillet centre, chamfer points at the chord length; the divisor agrees with the
// counting-down definition; and no flagged query passes an undefined value on as a success.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>

#include "geometry/matrix.h"
#include "geometry/queries.h"
#include "geometry/tangents.h"
#include "test_support.h"

namespace kubrix {
namespace {

constexpr double kTol = 1e-9;

struct Random {
  std::mt19937_64 gen{20240613};
  double operator()(double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(gen); }
  Point2 point(double span = 50) { return {(*this)(-span, span), (*this)(-span, span)}; }
  Point3 point3(double span = 50) { return {(*this)(-span, span), (*this)(-span, span), (*this)(-span, span)}; }
};

double dist(const Point2& a, const Point2& b) { return std::hypot(b.x - a.x, b.y - a.y); }
double dist3(const Point3& a, const Point3& b) { return std::sqrt((b.x - a.x) * (b.x - a.x) + (b.y - a.y) * (b.y - a.y) + (b.z - a.z) * (b.z - a.z)); }

// Signed distance of p from the line a-b, positive on the left.
double lineSide(const Point2& a, const Point2& b, const Point2& p) {
  return ((b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x)) / dist(a, b);
}

// Distance of p from the line through a and b in space.
double axisDistance(const Point3& p, const Point3& a, const Point3& b) {
  const double ux = b.x - a.x, uy = b.y - a.y, uz = b.z - a.z;
  const double vx = p.x - a.x, vy = p.y - a.y, vz = p.z - a.z;
  const double cx = uy * vz - uz * vy, cy = uz * vx - ux * vz, cz = ux * vy - uy * vx;
  return std::sqrt(cx * cx + cy * cy + cz * cz) / std::sqrt(ux * ux + uy * uy + uz * uz);
}

TEST(QueryProperties, TurnedPointsKeepTheirDistanceToTheAxis) {
  Random rnd;
  for (int i = 0; i < 500; ++i) {
    const Point3 p = rnd.point3(), a = rnd.point3(), b = rnd.point3();
    const double angle = rnd(-10, 10);
    const Point3 q = turnAboutLine(p, a, b, angle);
    EXPECT_NEAR(axisDistance(q, a, b), axisDistance(p, a, b), kTol);
    EXPECT_NEAR(dist3(q, a), dist3(p, a), kTol);
    const Point3 back = turnAboutLine(q, a, b, -angle);
    EXPECT_NEAR(dist3(back, p), 0, kTol);
  }
  // Right-handed: a quarter turn about +Z takes +X to +Y; a zero-length axis leaves the point.
  const Point3 q = turnAboutLine({1, 0, 0}, {0, 0, 0}, {0, 0, 2}, kPi / 2);
  EXPECT_NEAR(q.x, 0, 1e-15);
  EXPECT_NEAR(q.y, 1, 1e-15);
  const Point3 same = turnAboutLine({1, 2, 3}, {4, 4, 4}, {4, 4, 4}, 1);
  EXPECT_EQ(same.x, 1);
  EXPECT_EQ(same.z, 3);
}

TEST(QueryProperties, AxisTurnsAgreeWithTurnsAboutTheParallelLine) {
  Random rnd;
  const Point3 dirs[3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
  for (int i = 0; i < 200; ++i) {
    const Point3 p = rnd.point3(), c = rnd.point3();
    const double angle = rnd(-7, 7);
    for (int axis = 1; axis <= 3; ++axis) {
      const Point3& d = dirs[axis - 1];
      const Point3 expected = turnAboutLine(p, c, {c.x + d.x, c.y + d.y, c.z + d.z}, angle);
      EXPECT_NEAR(dist3(turnAboutAxis(p, c, angle, axis), expected), 0, kTol);
    }
    const Point3 none = turnAboutAxis(p, c, angle, 0);
    EXPECT_EQ(none.x, p.x);
    EXPECT_EQ(none.y, p.y);
    EXPECT_EQ(none.z, p.z);
  }
}

TEST(QueryProperties, LineCirclePointsLieOnBoth) {
  Random rnd;
  int crossings = 0;
  for (int i = 0; i < 1000; ++i) {
    const Point2 a = rnd.point(), b = rnd.point(), c = rnd.point();
    const double r = rnd(0.1, 60);
    const PairHit h = intersectLineCircle(a, b, c, r);
    const double l = std::fabs(lineSide(a, b, c));
    if (l < r - 1e-6) {
      ASSERT_EQ(h.flag, 2);
    } else if (l > r + 1e-6) {
      ASSERT_EQ(h.flag, 0);
    }
    if (h.flag == 0) continue;
    ++crossings;
    for (const Point2& p : {h.p1, h.p2}) {
      EXPECT_NEAR(lineSide(a, b, p), 0, kTol);
      EXPECT_NEAR(dist(p, c), r, kTol);
    }
    // The first point lies further along the direction from a to b.
    EXPECT_GE((h.p1.x - h.p2.x) * (b.x - a.x) + (h.p1.y - h.p2.y) * (b.y - a.y), -kTol);
  }
  EXPECT_GT(crossings, 200);
}

TEST(QueryProperties, LineEllipsePointsLieOnBoth) {
  Random rnd;
  int crossings = 0;
  for (int i = 0; i < 1000; ++i) {
    const Point2 a = rnd.point(), b = rnd.point(), c = rnd.point(20);
    const double rx = rnd(1, 40), ry = rnd(1, 40), rot = rnd(-4, 4);
    const PairHit h = intersectLineEllipse(a, b, c, rx, ry, rot);
    if (h.flag == 0) continue;
    ++crossings;
    for (const Point2& p : {h.p1, h.p2}) {
      EXPECT_NEAR(lineSide(a, b, p), 0, 1e-9);
      const double dx = p.x - c.x, dy = p.y - c.y;
      const double u = dx * std::cos(rot) + dy * std::sin(rot), v = -dx * std::sin(rot) + dy * std::cos(rot);
      EXPECT_NEAR(u * u / (rx * rx) + v * v / (ry * ry), 1, 1e-9);
    }
  }
  EXPECT_GT(crossings, 200);
}

TEST(QueryProperties, CircleCirclePointsLieOnBothLeftPointFirst) {
  Random rnd;
  int crossings = 0;
  for (int i = 0; i < 1000; ++i) {
    const Point2 c1 = rnd.point(), c2 = rnd.point();
    const double r1 = rnd(0.5, 60), r2 = rnd(0.5, 60);
    const PairHit h = intersectCircles(c1, r1, c2, r2);
    const double d = dist(c1, c2);
    if (d < r1 + r2 - 1e-6 && d > std::fabs(r1 - r2) + 1e-6) {
      ASSERT_EQ(h.flag, 2);
    } else if (d > r1 + r2 + 1e-6 || d < std::fabs(r1 - r2) - 1e-6) {
      ASSERT_EQ(h.flag, 0);
    }
    if (h.flag == 0) continue;
    ++crossings;
    for (const Point2& p : {h.p1, h.p2}) {
      EXPECT_NEAR(dist(p, c1), r1, 1e-8);
      EXPECT_NEAR(dist(p, c2), r2, 1e-8);
    }
    EXPECT_GE(lineSide(c1, c2, h.p1), -kTol);
    EXPECT_LE(lineSide(c1, c2, h.p2), kTol);
  }
  EXPECT_GT(crossings, 200);
}

TEST(QueryProperties, FilletTangentPointsLieOnTheirCurvesAtDistanceR) {
  Random rnd;
  int lines = 0, lineCircle = 0, circles = 0;
  for (int i = 0; i < 1000; ++i) {
    const double R = rnd(0.5, 10);
    const int s1 = i % 2, s2 = (i / 2) % 2;
    const Point2 a1 = rnd.point(), a2 = rnd.point(), b1 = rnd.point(), b2 = rnd.point();
    const LineFillet f = filletLines(R, s1, s2, a1, a2, b1, b2);
    if (f.flag) {
      ++lines;
      EXPECT_NEAR(lineSide(a1, a2, f.onA), 0, 1e-8);
      EXPECT_NEAR(lineSide(b1, b2, f.onB), 0, 1e-8);
      EXPECT_NEAR(dist(f.centre, f.onA), R, 1e-8);
      EXPECT_NEAR(dist(f.centre, f.onB), R, 1e-8);
      // Side 0 keeps the centre on the left of the line.
      EXPECT_NEAR(lineSide(a1, a2, f.centre), s1 == 0 ? R : -R, 1e-8);
    }
    const Point2 c = rnd.point(20), c2 = rnd.point(20);
    const double r = rnd(1, 30), r2 = rnd(1, 30);
    const CornerPoints lc = filletLineCircle(R, s1, s2, a1, a2, c, r);
    if (lc.count) {
      ++lineCircle;
      for (int k = 0; k < 2; ++k) {
        const Point2& fc = lc.p[static_cast<size_t>(k)];
        const Point2& onLine = lc.p[static_cast<size_t>(2 + 2 * k)];
        const Point2& onCircle = lc.p[static_cast<size_t>(3 + 2 * k)];
        EXPECT_NEAR(lineSide(a1, a2, onLine), 0, 1e-8);
        EXPECT_NEAR(dist(onCircle, c), r, 1e-8);
        EXPECT_NEAR(dist(fc, onLine), R, 1e-8);
        EXPECT_NEAR(dist(fc, onCircle), R, 1e-8);
      }
    }
    const CornerPoints cc = filletCircles(R, s1, s2, c, r, c2, r2);
    if (cc.count) {
      ++circles;
      for (int k = 0; k < 2; ++k) {
        const Point2& fc = cc.p[static_cast<size_t>(k)];
        const Point2& on1 = cc.p[static_cast<size_t>(2 + 2 * k)];
        const Point2& on2 = cc.p[static_cast<size_t>(3 + 2 * k)];
        EXPECT_NEAR(dist(on1, c), r, 1e-8);
        EXPECT_NEAR(dist(on2, c2), r2, 1e-8);
        EXPECT_NEAR(dist(fc, on1), R, 1e-7);
        EXPECT_NEAR(dist(fc, on2), R, 1e-7);
      }
    }
  }
  EXPECT_GT(lines, 500);
  EXPECT_GT(lineCircle, 100);
  EXPECT_GT(circles, 100);
}

TEST(QueryProperties, ChamferPointsLieAtTheChordLength) {
  Random rnd;
  int found = 0;
  for (int i = 0; i < 500; ++i) {
    const Point2 c1 = rnd.point(20), c2 = rnd.point(20), a1 = rnd.point(), a2 = rnd.point();
    const double r1 = rnd(2, 30), r2 = rnd(2, 30), len = rnd(0.1, 3.9);
    const CornerPoints cc = chamferCircles(len, c1, r1, c2, r2);
    if (cc.count > 0) {
      ++found;
      for (int k = 0; k < 2; ++k) {
        const Point2& x = cc.p[static_cast<size_t>(k)];
        const Point2* q = &cc.p[static_cast<size_t>(2 + 4 * k)];
        for (int j = 0; j < 2; ++j) {
          EXPECT_NEAR(dist(q[j], c1), r1, 1e-8);
          EXPECT_NEAR(dist(q[j], x), len, 1e-8);
          EXPECT_NEAR(dist(q[2 + j], c2), r2, 1e-8);
          EXPECT_NEAR(dist(q[2 + j], x), len, 1e-8);
        }
      }
    }
    const CornerPoints lc = chamferLineCircle(len, a1, a2, c1, r1);
    if (lc.count > 0) {
      ++found;
      for (int k = 0; k < 2; ++k) {
        const Point2& x = lc.p[static_cast<size_t>(k)];
        const Point2* q = &lc.p[static_cast<size_t>(2 + 4 * k)];
        for (int j = 0; j < 2; ++j) {
          EXPECT_NEAR(lineSide(a1, a2, q[j]), 0, 1e-8);
          EXPECT_NEAR(dist(q[j], x), len, 1e-8);
          EXPECT_NEAR(dist(q[2 + j], c1), r1, 1e-8);
          EXPECT_NEAR(dist(q[2 + j], x), len, 1e-8);
        }
      }
    }
  }
  EXPECT_GT(found, 200);
}

// Whether angle a lies on the counter-clockwise way from s to e.
bool onArc(double a, double s, double e) {
  const auto sweep = [](double from, double to) { return std::fmod(std::fmod(to - from, kTwoPi) + kTwoPi, kTwoPi); };
  return sweep(s, a) <= sweep(s, e) + 1e-12;
}

TEST(QueryProperties, CirclesAndArcsPassThroughTheirPoints) {
  Random rnd;
  int fitted = 0;
  for (int i = 0; i < 1000; ++i) {
    const Point2 p1 = rnd.point(), p2 = rnd.point(), p3 = rnd.point();
    const ArcFit a = arcThroughThree(p1, p2, p3);
    if (a.flag) {
      ++fitted;
      for (const Point2& p : {p1, p2, p3}) EXPECT_NEAR(dist(p, a.centre), a.r, 1e-7 * a.r);
      const auto angle = [&](const Point2& p) { return polarAngle(p.x - a.centre.x, p.y - a.centre.y); };
      EXPECT_TRUE(onArc(angle(p2), a.start, a.end));
      // dir 1: the points run counter-clockwise, so start is p1's angle.
      EXPECT_NEAR(a.dir == 1 ? angle(p1) : angle(p3), a.start, 1e-9);
    }
    const double r = rnd(1, 80);
    const ArcFit b = arcThroughTwo(r, p1, p2, p3);
    if (b.flag) {
      EXPECT_NEAR(dist(p1, b.centre), r, 1e-8);
      EXPECT_NEAR(dist(p2, b.centre), r, 1e-8);
      // The centre lies on q's side of the chord.
      EXPECT_GE(lineSide(p1, p2, b.centre) * lineSide(p1, p2, p3), 0);
    } else if (std::fabs(lineSide(p1, p2, p3)) > 0.2) {
      // With q well off the chord's bisector the only failure left is a radius below half the chord.
      EXPECT_LT(r, dist(p1, p2) / 2 + 1e-9);
    }
  }
  EXPECT_GT(fitted, 900);
}

TEST(QueryNumbers, DivisorMatchesCountingDown) {
  // The divisor is defined as the first n from the smaller input down to 2 that divides both.
  for (int a = -3; a <= 60; ++a) {
    for (int b = -3; b <= 60; ++b) {
      long long expected = 1;
      for (int n = std::min(a, b); n >= 2; --n) {
        if (a % n == 0 && b % n == 0) {
          expected = n;
          break;
        }
      }
      ASSERT_EQ(commonDivisor(a, b), expected) << a << "," << b;
    }
  }
  EXPECT_EQ(commonDivisor(2.5, 10), 2);  // halves to even
  EXPECT_EQ(commonDivisor(3.5, 12), 4);
  EXPECT_EQ(commonDivisor(1e300, 10), 1);
  EXPECT_EQ(commonDivisor(4503599627370496.0, 6755399441055744.0), 2251799813685248);
}

TEST(QueryNumbers, ScaledRounding) {
  EXPECT_EQ(roundToScale(2.345, 100), 2.35);
  EXPECT_EQ(roundToScale(-2.345, 100), -2.35);
  EXPECT_EQ(roundToScale(0.285, 100), 0.29);  // 0.28499999999999997... lifted by the bias
  EXPECT_EQ(roundToScale(2.5, 1), 3);
  EXPECT_EQ(roundToScale(7.25, 0), 7.25);  // no finite multiple of 1/0: unrounded
  EXPECT_TRUE(std::signbit(roundToScale(-0.001, 1)));
}

// Every flagged query, run with inputs at the edge of the double range and with zeros, writes only
// numbers: overflow gives flag 0, never an undefined value behind a success flag.
TEST(QueryCommands, NoUndefinedValuesReachTheVariables) {
  const char* const lines[] = {
      "GETCRSLL f,a,b, 0,-1e300,1e-10,1e300, -1,0,1,0",
      "GETCRSLL f,a,b, 1e308,1e308,-1e308,-1e308, 1e308,-1e308,-1e308,1e308",
      "GETCRSLC f,a,b,c,d, 1e308,1e308,-1e308,-1e308, 0,0,1e308",
      "GETCRSLE f,a,b,c,d, 1e308,0,-1e308,1, 0,0,1e308,1e-13,1",
      "GETCRSCC f,a,b,c,d, -1e308,0,1e308, 1e308,0,1e308",
      "GET3PC f,a,b,c, -1e308,0, 1e308,0, 0,1e308",
      "GET2PA f,a,b,c,d,e, 1e308, -1e308,0, 1e308,0, 0,1",
      "GETMENLL f,a,b,c,d,e,g,h,i, 1e308, 0,0,1,0, 0,0,0,1",
      "GETFILLL f,a,b,c,d,e,g, 1e308,0,1, 0,0,1,0, 0,0,1,1e-300",
      "GETFILLC f,a,b,c,d,e,g,h,i,j,k,l,m, 1e308,0,0, 0,0,1,0, 0,0,1e308",
      "GETFILCC f,a,b,c,d,e,g,h,i,j,k,l,m, 1e308,0,0, 0,0,1e308, 1,0,1e308",
      "GETMENCC f,a,b,c,d,e,g,h,i,j,k,l,m,n,o,p,q,r,s,t,u, 1e308, 0,0,1e308, 1e308,0,1e308",
      "GETMENLC f,a,b,c,d,e,g,h,i,j,k,l,m,n,o,p,q,r,s,t,u, 1e308, -1e308,0,1e308,0, 0,0,1e308",
  };
  std::string script = "#VAR\n";
  for (const char* v : {"f", "a", "b", "c", "d", "e", "g", "h", "i", "j", "k", "l", "m", "n", "o", "p", "q", "r",
                        "s", "t", "u"})
    script += std::string(v) + "\n";
  script += "#DRAW\n";
  for (const char* line : lines) script += std::string(line) + "\n";
  test::ScriptRun run(script);
  const std::string log = run.reset();
  EXPECT_EQ(log.find("NAN"), std::string::npos) << log;
  EXPECT_EQ(log.find("INF"), std::string::npos) << log;
  EXPECT_EQ(log.find("未定義"), std::string::npos) << log;
}

}  // namespace
}  // namespace kubrix
