// Profile solids: the line-line intersection, the facing of every fan and band, segment clamping,
// the sweep widening, the fillet pieces, the inner ellipse and the chord-midpoint fan centre.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "geometry/intersect.h"
#include "geometry/profile.h"
#include "mesh_check.h"
#include "test_support.h"

namespace kubrix {
namespace {

using test::ScriptRun;

// ---- line-line ------------------------------------------------------------------------------------

TEST(LineLine, CasesByFlag) {
  struct Case {
    const char* what;
    double x1, y1, x2, y2, x3, y3, x4, y4;
    int flag;
    double x, y;
  } cases[] = {
      {"parallel", 0, 0, 2, 1, 0, 1, 2, 2, 0, 0, 0},
      {"same line", 0, 0, 1, 1, 2, 2, 3, 3, 0, 0, 0},
      {"both vertical", 1, 0, 1, 5, 3, -1, 3 + 1e-13, 4, 0, 0, 0},
      {"slopes within 1e-12", 0, 0, 1, 1, 0, 5, 1, 6 + 5e-13, 0, 0, 0},
      {"crossing segments", 0, 0, 2, 2, 0, 2, 2, 0, 1, 1, 1},
      {"crossing lines, segments miss", 0, 0, 1, 1, 0, 4, 4, 2, 2, 8.0 / 3, 8.0 / 3},
      {"line 2 vertical", 0, 1, 4, 3, 2, -5, 2, 5, 1, 2, 2},
      {"line 1 vertical", 3, 0, 3, 5, 0, 0, 4, 4, 1, 3, 3},
      {"line 1 vertical, miss", 3, -1, 3, 1, 0, 0, 1, 1, 2, 3, 3},
      {"nearly vertical counts as vertical", 0, 0, 1e-12, 10, -1, 2, 1, 2, 1, 0, 2},
      {"end touch within 1e-12", 0, 0, 1, 0, 1 + 5e-13, -1, 1 + 5e-13, 1, 1, 1 + 5e-13, 0},
      {"end missed by 1e-11", 0, 0, 1, 0, 1 + 1e-11, -1, 1 + 1e-11, 1, 2, 1 + 1e-11, 0},
  };
  for (const Case& c : cases) {
    const LineHit h = intersectLines(c.x1, c.y1, c.x2, c.y2, c.x3, c.y3, c.x4, c.y4);
    EXPECT_EQ(h.flag, c.flag) << c.what;
    if (c.flag == 0) continue;
    EXPECT_NEAR(h.x, c.x, 1e-15) << c.what;
    EXPECT_NEAR(h.y, c.y, 1e-15) << c.what;
  }
}

// ---- facing ---------------------------------------------------------------------------------------

using test::faceNormal;

std::string withRev(const std::string& line, int rev) { return line + ", " + std::to_string(rev) + "\n"; }

TEST(ProfileCommands, PlaneFiguresFaceUpForRevZeroAndDownForRevOne) {
  // An off-centre turned ellipse, arcs through angle 0 and over more than three quarters, so every
  // fillet piece count and the segment's chord midpoint on both sides of the centre take part.
  const struct {
    const char* line;
    size_t faces;
  } figures[] = {
      {"CSLD2D a, 7, 1, -1, 2, 1, 0.3", 7},
      {"CSLD3D a, 7, 1, -1, 4, 2, 1, 0.3", 7},
      {"PSLD2D a, 6, 1, -1, 2, 1, 0.3, 5, 1", 6},
      {"PSLD3D a, 6, 1, -1, 4, 2, 1, 0.3, 1, 5.5", 6},
      {"YSLD2D a, 6, 1, -1, 2, 1, 0.3, 5, 1", 6},
      {"YSLD3D a, 9, 1, -1, 4, 2, 1, 0.3, 1, 5.5", 9},
      {"OSLD2D a, 5, 1, -1, 2, 1, 0.3, 0.2, 1.5", 5},
      {"OSLD2D a, 5, 1, -1, 2, 1, 0.3, 5, 1", 6},
      {"OSLD3D a, 5, 1, -1, 4, 2, 1, 0.3, 0, 4.5", 6},
      {"OSLD3D a, 5, 1, -1, 4, 2, 1, 0.3, 2, 2", 8},
      {"DSLD2D a, 7, 1, -1, 2, 1, 0.3, 1.5", 7},
      {"DSLD3D a, 7, 1, -1, 4, 2, 1, 0.3, 0", 7},
      {"BSLD2D a, 6, 1, -1, 2, 1, 0.3, 5, 1, 0.5", 6},
      {"BSLD3D a, 6, 1, -1, 4, 2, 1, 0.3, 1, 5.5, 1", 6},
  };
  for (const auto& f : figures) {
    for (int rev = 0; rev <= 1; ++rev) {
      ScriptRun r("#VAR\na\n#DRAW\n" + withRev(f.line, rev));
      r.reset();
      const FigureStore& fs = r.engine.figures;
      ASSERT_EQ(fs.count(), f.faces) << f.line << " rev " << rev;
      EXPECT_EQ(r.value("a"), std::to_string(f.faces)) << f.line;
      for (size_t i = 1; i <= fs.count(); ++i) {
        const double nz = faceNormal(fs.at(i)).z;
        EXPECT_TRUE(rev == 0 ? nz > 1e-9 : nz < -1e-9) << f.line << " rev " << rev << " face " << i << " nz " << nz;
      }
    }
  }
}

TEST(ProfileCommands, WallFacesAwayFromTheAxisForRevZero) {
  for (int rev = 0; rev <= 1; ++rev) {
    ScriptRun r("#VAR\na\n#DRAW\n" + withRev("ASLD3D a, 8, 1, -1, 3, 2, 1, 0.3, 5, 1", rev));
    r.reset();
    const FigureStore& fs = r.engine.figures;
    ASSERT_EQ(fs.count(), 8u);
    for (size_t i = 1; i <= fs.count(); ++i) {
      const FigureElement& e = fs.at(i);
      ASSERT_EQ(e.kind, kKindQuad);
      const Point3 n = faceNormal(e);
      const double mx = (e.p[0].x + e.p[1].x) / 2 - 1, my = (e.p[0].y + e.p[1].y) / 2 + 1;
      const double outward = n.x * mx + n.y * my;
      EXPECT_NEAR(n.z, 0, 1e-12) << "a vertical wall";
      EXPECT_TRUE(rev == 0 ? outward > 1e-9 : outward < -1e-9) << "rev " << rev << " face " << i;
    }
  }
}

// ---- commands ---------------------------------------------------------------------------------------

TEST(ProfileCommands, SegmentsAreClampedAndLoggedAsGiven) {
  ScriptRun r(
      "#VAR\na\nb\nc\n#DRAW\n"
      "CSLD2D a, 1, 0, 0, 1, 1, 0, 0\n"
      "DSLD3D b, 5000, 0, 0, 1, 1, 1, 0, 0.5, 0\n"
      "PSLD2D c, -4, 0, 0, 1, 1, 0, 0, 1, 0\n"
      "PSLD2D d, 4, 0, 0, 1, 1, 0, 0, 1, 0\n");
  EXPECT_EQ(test::commandLog(r.reset()),
            "CSOLID(2D)作図 (<N:1,3> 0,0,1,1,0)\n"
            "DSOLID(3D)作図 (<N:5000,1003> 0,0,1,1,1,0,0.5)\n"
            "PSLD2D 作図 (<N:-4,1006> 0,0,1,1,0,0,1)\n"
            "PSLD2D: 出力変数名が未定義です。\n");
  EXPECT_EQ(r.value("a"), "3");
  EXPECT_EQ(r.value("b"), "1003");
  EXPECT_EQ(r.value("c"), "1006");
  EXPECT_EQ(r.engine.figures.count(), 1006u);
}

// ---- geometry -----------------------------------------------------------------------------------------

struct Canvas {
  FigureStore store;
  Matrix4 matrix = Matrix4::identity();
  LocalDraw draw{store, matrix};
  size_t run(ProfileShape shape, double a1, double a2, int n, double ri = 0.5) {
    ProfileFigure f;
    f.shape = shape;
    f.ellipse = {0, 0, 1, 1, 0};
    f.a1 = a1;
    f.a2 = a2;
    f.n = n;
    f.ri = ri;
    f.z = 1;
    const size_t before = store.count();
    drawProfile(draw, f);
    return store.count() - before;
  }
};

TEST(Profile, OnlyWallAndFilletWidenAZeroSweep) {
  Canvas c;
  EXPECT_EQ(c.run(ProfileShape::Wall, 2, 2, 4), 4u);
  EXPECT_EQ(c.run(ProfileShape::Fillet, 2, 2, 4), 4u);                  // k = 4, one per piece
  EXPECT_EQ(c.run(ProfileShape::Wall, 2, 2 + kTwoPi - 5e-13, 4), 4u);  // within 1e-12 of a full turn
  EXPECT_EQ(c.run(ProfileShape::Sector, 2, 2, 4), 0u);
  EXPECT_EQ(c.run(ProfileShape::Segment, 2, 2, 4), 0u);
  EXPECT_EQ(c.run(ProfileShape::RingSector, 2, 2, 4), 0u);
  // Without widening a sweep of a whole turn less 5e-13 stays: the sector is a full disc.
  EXPECT_EQ(c.run(ProfileShape::Sector, 0, kTwoPi - 5e-13, 4), 4u);
}

TEST(Profile, FilletPiecesRaiseTheSegmentCount) {
  EXPECT_EQ(filletPieces(kPi / 2 + 5e-13), 1);
  EXPECT_EQ(filletPieces(kPi / 2 + 2e-12), 2);
  EXPECT_EQ(filletPieces(kPi + 5e-13), 2);
  EXPECT_EQ(filletPieces(3 * kPi / 2), 3);
  EXPECT_EQ(filletPieces(3 * kPi / 2 + 2e-12), 4);
  Canvas c;
  EXPECT_EQ(c.run(ProfileShape::Fillet, 0, 4.5, 4), 6u);  // k = 3: n raised from 4 to 6
  EXPECT_EQ(c.run(ProfileShape::Fillet, 0, 1, 3), 3u);    // k = 1
  // Full turn from 0 in four pieces: the tangent corners of the unit circle are (+-1, +-1).
  const size_t first = c.store.count() + 1;
  EXPECT_EQ(c.run(ProfileShape::Fillet, 0, 0, 5), 8u);
  const double corners[4][2] = {{1, 1}, {-1, 1}, {-1, -1}, {1, -1}};
  for (size_t i = 0; i < 8; ++i) {
    const Point3& p3 = c.store.at(first + i).p[2];
    EXPECT_EQ(p3.x, corners[i / 2][0]) << "face " << i;
    EXPECT_EQ(p3.y, corners[i / 2][1]) << "face " << i;
    EXPECT_EQ(p3.z, 1.0);
  }
  // A flat ellipse has parallel end tangents: the piece fans from the centre; a point ellipse
  // appends nothing.
  ProfileFigure f;
  f.shape = ProfileShape::Fillet;
  f.ellipse = {5, 6, 0, 2, 0};
  f.a1 = 0.2;
  f.a2 = 1.2;
  f.n = 3;
  const size_t before = c.store.count();
  drawProfile(c.draw, f);
  ASSERT_EQ(c.store.count(), before + 3);
  EXPECT_EQ(c.store.at(before + 1).p[2].x, 5.0);
  EXPECT_EQ(c.store.at(before + 1).p[2].y, 6.0);
  f.ellipse.ry = 0;
  drawProfile(c.draw, f);
  EXPECT_EQ(c.store.count(), before + 3);
}

TEST(Profile, InnerEllipseFollowsTheOuterAxes) {
  FigureStore fs;
  const Matrix4 m = Matrix4::identity();
  LocalDraw d(fs, m);
  ProfileFigure f;
  f.shape = ProfileShape::Ring;
  f.ellipse = {10, 20, 4, 2, 0};
  f.ri = 1;
  f.n = 4;
  drawProfile(d, f);  // inner semi-axes 1 and 0.5
  ASSERT_EQ(fs.count(), 4u);
  EXPECT_EQ(fs.at(1).p[2].x, 10.0);
  EXPECT_EQ(fs.at(1).p[2].y, 20.5);
  EXPECT_EQ(fs.at(1).p[3].x, 11.0);
  f.ellipse = {0, 0, 1e-15, 2, 0};  // a zero rx: the inner ellipse is the circle of radius ri
  drawProfile(d, f);
  ASSERT_EQ(fs.count(), 8u);
  EXPECT_EQ(fs.at(5).p[2].y, 1.0);
  EXPECT_EQ(fs.at(5).p[3].x, 1.0);
}

TEST(Profile, SegmentFansFromTheChordMidpoint) {
  Canvas c;
  ASSERT_EQ(c.run(ProfileShape::Segment, 0, kPi / 2, 3), 3u);
  for (size_t i = 1; i <= 3; ++i) {
    EXPECT_EQ(c.store.at(i).p[2].x, 0.5);
    EXPECT_EQ(c.store.at(i).p[2].y, 0.5);
  }
  EXPECT_EQ(c.store.at(1).p[0].x, 1.0);  // the fan starts at a1
  EXPECT_EQ(c.store.at(3).p[1].y, 1.0);  // and ends at a2
}

}  // namespace
}  // namespace kubrix
