// Planar primitives: face orientation and coverage of the filled rounded rectangles over every corner
// flag combination, closed outlines, the 2D and 3D forms agreeing, segment clamping and closure.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>
#include <utility>

#include "geometry/planar.h"
#include "mesh_check.h"
#include "test_support.h"

namespace kubrix {
namespace {

using test::ScriptRun;

const char* const kFlagValues[] = {"0", "1", "2", "3"};

using test::faceNormal;

// Area the filled rectangle w x h loses at a corner of size rx x ry: none when square, the half
// square for a chamfer, and the part outside a fan of n triangles.
double missingArea(int flag, double rx, double ry, int n) {
  if (flag == 1) return rx * ry / 2;
  if (flag == 2) return rx * ry - n * rx * ry * std::sin(kPi / 2 / n) / 2;
  return 0;
}

std::string flagArgs(int combo) {
  std::string s;
  for (int i = 0; i < 4; ++i) s += std::string(", ") + kFlagValues[(combo >> (2 * i)) & 3];
  return s;
}

int flagOf(int combo, int corner) { return (combo >> (2 * corner)) & 3; }

// Every flag combination of SRECT1 and SRECT2, plain and reversed, each on its own layer (the combo)
// and colour (1/2: SRECT1 plain/reversed, 3/4: SRECT2). Under a stood-up matrix the local +Z axis is
// world -Y, so the test also covers the mapping.
TEST(PlanarFill, EveryFaceFacesLocalPlusZOrMinusZWhenReversed) {
  for (const bool turned : {false, true}) {
    std::string body = "#VAR\ns\n#DRAW\n";
    if (turned) body += "MATRIXA 1, 2, 3, 0, 0, 1.5707963267948966\n";
    for (int combo = 0; combo < 256; ++combo) {
      body += "LAYER " + std::to_string(combo) + "\n";
      for (int rev = 0; rev < 2; ++rev) {
        const std::string r = rev ? ", 5\n" : ", 0\n";
        body += "PEN " + std::to_string(1 + rev) + "\nSRECT1 s, 3, 10, 6, 0, 0, 0.5, 2, 1.5" + flagArgs(combo) + r;
        // anchor 9 (bottom-right) at (10, 0): the same rectangle
        body += "PEN " + std::to_string(3 + rev) + "\nSRECT2 s, 3, 10, 0, -10, 6, 0.5, -2, 1.5, 9" + flagArgs(combo) + r;
      }
    }
    ScriptRun run(body);
    run.reset();
    std::map<std::pair<int, int>, double> area;
    for (const FigureElement& f : run.engine.figures.elements()) {
      ASSERT_TRUE(f.kind == kKindTriangle || f.kind == kKindQuad);
      const Point3 nrm = faceNormal(f);
      // Local +Z is world +Z, or world -Y under the turned matrix.
      const double up = turned ? -nrm.y : nrm.z;
      const bool reversed = f.colour % 2 == 0;
      EXPECT_GT(reversed ? -up : up, 1e-9) << "layer " << f.layer << " colour " << f.colour;
      EXPECT_NEAR(std::hypot(nrm.x, nrm.y, nrm.z), std::fabs(up), 1e-9) << "a face out of the plane";
      area[{f.layer, f.colour}] += std::fabs(up) / 2;
    }
    for (int combo = 0; combo < 256; ++combo) {
      double want = 60;
      for (int k = 0; k < 4; ++k) want -= missingArea(flagOf(combo, k), 2, 1.5, 3);
      for (int colour = 1; colour <= 4; ++colour)
        EXPECT_NEAR((area[{combo, colour}]), want, 1e-9) << "flags" << flagArgs(combo) << " colour " << colour;
    }
  }
}

// An outline whose lines run end to start, the last back to the first: counter-clockwise from the
// right edge, edges stopping where shaped corners begin. Lines per corner: 0 square, 1 chamfer, n.
TEST(PlanarOutline, EveryFlagCombinationGivesOneClosedCounterClockwiseChain) {
  std::string body = "#VAR\nr\n#DRAW\n";
  for (int combo = 0; combo < 256; ++combo)
    body += "LAYER " + std::to_string(combo) + "\nRRECT1 r, 4, 0, 0, 10, 6, 1, 2, 1.5" + flagArgs(combo) + "\n";
  ScriptRun run(body);
  run.reset();
  const auto& all = run.engine.figures.elements();
  size_t i = 0;
  for (int combo = 0; combo < 256; ++combo) {
    const size_t first = i;
    while (i < all.size() && all[i].layer == combo) ++i;
    size_t want = 4;
    for (int k = 0; k < 4; ++k) want += flagOf(combo, k) == 0 ? 0 : flagOf(combo, k) == 1 ? 1 : 4;
    ASSERT_EQ(i - first, want) << "flags" << flagArgs(combo);
    double twiceArea = 0;
    for (size_t j = first; j < i; ++j) {
      const FigureElement& a = all[j];
      const FigureElement& b = all[j + 1 < i ? j + 1 : first];
      EXPECT_EQ(a.kind, kKindLine);
      EXPECT_EQ(a.p[1].x, b.p[0].x) << "flags" << flagArgs(combo) << " line " << j - first;
      EXPECT_EQ(a.p[1].y, b.p[0].y) << "flags" << flagArgs(combo) << " line " << j - first;
      EXPECT_EQ(a.p[0].z, 1.0);
      twiceArea += a.p[0].x * a.p[1].y - a.p[1].x * a.p[0].y;
    }
    // The first line starts on the right edge (or at the top-right corner).
    EXPECT_EQ(all[first].p[0].x, 10.0);
    EXPECT_GT(twiceArea, 0) << "clockwise outline, flags" << flagArgs(combo);
  }
}

// A 2D command after MATRIXO 0,0,z stores exactly what its 3D form with that z stores.
TEST(PlanarCommands, ThreeDFormsReadZWhereTheirTwoDFormsHaveNone) {
  const std::pair<const char*, const char*> pairs[] = {
      {"LINE2D a, 1, 2, 3, 4", "LINE3D a, 1, 2, 7, 3, 4, 7"},
      {"TEN2D a, 1, 2", "TEN3D a, 1, 2, 7"},
      {"CIRCLE2D a, 5, 1, 2, 3", "CIRCLE3D a, 5, 1, 2, 7, 3"},
      {"ARC2D a, 5, 1, 2, 3, 0.5, 2", "ARC3D a, 5, 1, 2, 7, 3, 0.5, 2"},
      {"ELLI2D a, 5, 1, 2, 3, 1, 0.3", "ELLI3D a, 5, 1, 2, 7, 3, 1, 0.3"},
      {"ELARC2D a, 5, 1, 2, 3, 1, 0.3, 2, 1", "ELARC3D a, 5, 1, 2, 7, 3, 1, 0.3, 2, 1"},
      {"BOX2D a, 1, 2, 3, 4", "BOX3D a, 1, 2, 3, 4, 7"},
  };
  for (const auto& [flat, lifted] : pairs) {
    ScriptRun a(std::string("#VAR\na\n#DRAW\nMATRIXO 0, 0, 7\n") + flat + "\n");
    ScriptRun b(std::string("#VAR\na\n#DRAW\n") + lifted + "\n");
    a.reset();
    b.reset();
    const auto& ea = a.engine.figures.elements();
    const auto& eb = b.engine.figures.elements();
    ASSERT_EQ(ea.size(), eb.size()) << lifted;
    ASSERT_FALSE(ea.empty()) << lifted;
    for (size_t i = 0; i < ea.size(); ++i) {
      EXPECT_EQ(ea[i].kind, eb[i].kind) << lifted;
      for (size_t k = 0; k < 4; ++k) {
        EXPECT_EQ(ea[i].p[k].x, eb[i].p[k].x) << lifted << " element " << i + 1;
        EXPECT_EQ(ea[i].p[k].y, eb[i].p[k].y) << lifted << " element " << i + 1;
        EXPECT_EQ(ea[i].p[k].z, eb[i].p[k].z) << lifted << " element " << i + 1;
      }
    }
    EXPECT_EQ(a.value("a"), std::to_string(ea.size()));
  }
}

TEST(PlanarCommands, SegmentCountsAreClampedButLoggedAsGiven) {
  ScriptRun run(
      "#VAR\nc\n#DRAW\nCIRCLE2D c, 1000, 0, 0, 1\nCIRCLE2D c, 1001, 0, 0, 1\n"
      "CIRCLE2D c, -5, 0, 0, 1\nELARC2D c, 2147483647, 0, 0, 2, 1, 0, 0, 1\n");
  const std::string log = run.reset();
  EXPECT_NE(log.find("円(2D)作図 (<N:1000,1000> 0,0,1)"), std::string::npos) << log;
  EXPECT_NE(log.find("円(2D)作図 (<N:1001,2000> 0,0,1)"), std::string::npos) << log;
  EXPECT_NE(log.find("円(2D)作図 (<N:-5,2003> 0,0,1)"), std::string::npos) << log;
  EXPECT_NE(log.find("楕円弧(2D)作図 (<N:2147483647,3003> 0,0,2,1,0,0,1)"), std::string::npos) << log;
  EXPECT_EQ(run.value("c"), "3003");
}

// Every point lies on the circle and each line starts where the last one ended. The angle grows by
// adding the step, so the last point carries the summed rounding of the steps: with 780 segments it
// ends 1e-12 off its start, where n * step would have closed it exactly.
TEST(PlanarGeometry, CirclesAccumulateTheirAngleStep) {
  const Matrix4 identity = Matrix4::identity();
  for (int n = 3; n <= 1000; n += 37) {
    FigureStore fs;
    LocalDraw d(fs, identity);
    drawCircle(d, n, {5, -3, 2}, 7.25);
    ASSERT_EQ(fs.count(), static_cast<size_t>(n));
    EXPECT_EQ(fs.at(1).p[0].x, 12.25);
    EXPECT_EQ(fs.at(1).p[0].y, -3.0);
    for (size_t i = 1; i <= fs.count(); ++i) {
      const Point3& a = fs.at(i).p[1];
      if (i < fs.count()) {
        EXPECT_EQ(a.x, fs.at(i + 1).p[0].x) << "n " << n << " line " << i;
        EXPECT_EQ(a.y, fs.at(i + 1).p[0].y) << "n " << n << " line " << i;
      }
      EXPECT_NEAR(std::hypot(a.x - 5, a.y + 3), 7.25, 2e-12);
      EXPECT_EQ(a.z, 2.0);
    }
    EXPECT_NEAR(fs.at(fs.count()).p[1].y, -3.0, 1.5e-12) << "n " << n;
  }
  FigureStore fs;
  LocalDraw d(fs, identity);
  drawCircle(d, 780, {5, -3, 2}, 7.25);
  const double step = kTwoPi / 780;
  double t = 0;
  for (int k = 0; k < 780; ++k) t += step;
  EXPECT_EQ(fs.at(780).p[1].y, roundCoordinate(-3 + 7.25 * std::sin(t)));
  EXPECT_NE(fs.at(780).p[1].y, -3.0);
  EXPECT_EQ(roundCoordinate(-3 + 7.25 * std::sin(780 * step)), -3.0);
}

TEST(PlanarGeometry, AnchorsNameThePointOfTheRectangle) {
  struct Case {
    int anchor;
    double x1, y1, x2, y2;
  };
  // (x, y) = (10, 20), size 4 x 2 (given as -4 x -2: signs ignored).
  const Case cases[] = {{1, 10, 18, 14, 20}, {2, 8, 18, 12, 20}, {3, 6, 18, 10, 20}, {4, 10, 19, 14, 21},
                        {5, 8, 19, 12, 21},  {6, 6, 19, 10, 21}, {7, 10, 20, 14, 22}, {8, 8, 20, 12, 22},
                        {9, 6, 20, 10, 22},  {0, 8, 19, 12, 21}, {10, 8, 19, 12, 21}, {-1, 8, 19, 12, 21}};
  for (const Case& c : cases) {
    const RoundedRect r = anchoredRect(3, 10, 20, -4, -2, 1, 0.5, 0.5, c.anchor, {1, 2, 3, 4});
    EXPECT_EQ(r.x1, c.x1) << "anchor " << c.anchor;
    EXPECT_EQ(r.y1, c.y1) << "anchor " << c.anchor;
    EXPECT_EQ(r.x2, c.x2) << "anchor " << c.anchor;
    EXPECT_EQ(r.y2, c.y2) << "anchor " << c.anchor;
    EXPECT_EQ(r.flags[3], 4);
  }
}

// Non-finite and absurd input ends without a hang or a crash and draws nothing unreasonable.
TEST(PlanarGeometry, DegenerateInputDrawsNothingOrLittle) {
  const Matrix4 identity = Matrix4::identity();
  FigureStore fs;
  LocalDraw d(fs, identity);
  drawArc(d, 8, {0, 0, 0}, 1, 1e300, -1e300);
  drawArc(d, 8, {0, 0, 0}, 1, NAN, 1);
  drawEllipticArc(d, 8, {0, 0, 0}, 1, 1, 0, INFINITY, 0);
  drawRoundedRect(d, {3, 0, 0, 0, 0, 0, 1, 1, {2, 2, 2, 2}});
  fillRoundedRect(d, {3, 0, 0, 0, 0, 0, NAN, 1, {2, 2, 2, 2}}, false);
  fillRoundedRect(d, {3, 0, 0, 2, 2, 0, NAN, 1, {2, 2, 2, 2}}, true);  // falls back to one quad
  ASSERT_GE(fs.count(), 1u);
  EXPECT_EQ(fs.at(fs.count()).kind, kKindQuad);
}

}  // namespace
}  // namespace kubrix
