// Walls with windows. A full-turn wall with an elliptic window plus the faces closing it, capped at the
// base and top with fans built on the command's own rim lines, must be a closed surface facing outward
// (inward when both face groups are reversed): that holds only when the only open edges of wall plus
// window are the two rims, without gaps, overlaps or T-junctions. Beside a rectangular window each
// wall segment's part is one quad from the base to the top. Partial walls must be covered exactly once
// between their end angles. Also: the elliptic outline, colours, selection and the argument checks.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "geometry/local_draw.h"
#include "geometry/matrix.h"
#include "mesh_check.h"
#include "test_support.h"

namespace kubrix {
namespace {

using test::ScriptRun;

// Script: the wall with both face groups and its base rim, a marker point, then the top rim alone.
std::string wallScript(const std::string& keyword, const std::string& args, int faces, const std::string& matrix) {
  const std::string f = std::to_string(faces);
  return "#VAR\nv\n#DRAW\n" + matrix + keyword + " v,5," + args + "," + f + "," + f + ",3\nTEN v,0,0,0\n" + keyword +
         " v,5," + args + ",0,0,5\n";
}

Point3 centroidOfLines(const FigureStore& s, size_t first, size_t last) {
  Point3 c;
  double k = 0;
  for (size_t n = first; n <= last; ++n) {
    if (s.at(n).kind != kKindLine) continue;
    for (int i = 0; i < 2; ++i) {
      c.x += s.at(n).p[static_cast<size_t>(i)].x;
      c.y += s.at(n).p[static_cast<size_t>(i)].y;
      c.z += s.at(n).p[static_cast<size_t>(i)].z;
      k += 1;
    }
  }
  return {c.x / k, c.y / k, c.z / k};
}

// Closes the rims: a fan to the centroid on every rim line, turned to continue the wall's facing.
void addCaps(FigureStore& s, size_t marker, bool reversed) {
  const size_t end = s.count();
  const Point3 bottom = centroidOfLines(s, 1, marker - 1), top = centroidOfLines(s, marker + 1, end);
  for (size_t n = 1; n <= end; ++n) {
    const FigureElement e = s.at(n);
    if (e.kind != kKindLine) continue;
    const bool isTop = n > marker;
    // The wall runs its base edges along the rim and its top edges against it (reversed: the opposite).
    if (isTop != reversed) {
      s.appendTriangle(e.p[0], e.p[1], isTop ? top : bottom);
    } else {
      s.appendTriangle(e.p[1], e.p[0], isTop ? top : bottom);
    }
  }
}

size_t markerOf(const FigureStore& s) {
  for (size_t n = 1; n <= s.count(); ++n)
    if (s.at(n).kind == kKindPoint) return n;
  return 0;
}

struct FullCase {
  const char* what;
  const char* args;  // nA, nB, cx, cy, cz, r, h, a1, a2, w, wh, zc, look
};

const FullCase kFullCases[] = {
    {"window in the middle", "8,4, 1,2,3, 2,3, 0,0, 1,1,1.5, 0.3"},
    {"window reaching the top", "8,4, 0,0,0, 2,3, 0,0, 1,1,2.5, 1"},
    {"window below the base", "8,4, 0,0,0, 2,3, 0,0, 1,2,0.5, 1"},
    {"window over the seam", "8,6, 0,0,0, 2,3, 0.2,0.2, 1.5,1,1.5, 0.2"},
    {"window ends on wall boundaries", "8,4, 0,0,0, 1,3, 0,0, 1.4142135623731,1,1.5, 0.785398163397448"},
    {"window ends a hair past wall boundaries", "8,4, 0,0,0, 1,3, 0,0, 1.4142135623731,1,1.5, 0.785398163497448"},
    {"window ends a hair before wall boundaries", "8,4, 0,0,0, 1,3, 0,0, 1.4142135623731,1,1.5, 0.785398163297448"},
    {"window inside one segment", "3,4, 0,0,0, 2,3, 0,0, 0.3,1,1.5, 1"},
    {"window almost the diameter", "5,7, 0,0,0, 1,3, 0,0, 1.9,2.9,1.5, 4"},
    {"window taller than the wall", "6,4, 0,0,0, 2,3, 0,0, 1,10,1.5, 2"},
    {"window above the wall", "6,4, 0,0,0, 2,3, 0,0, 1,1,10, 2"},
    {"fine segments", "400,300, 0,0,0, 2,3, 1,1, 1,1,1.5, 5"},
    {"counts clamped", "1,1, 0,0,0, 2,3, 0,0, 1,1,1.5, 5"},
};

TEST(WallHole, FullTurnWithWindowClosedIsAClosedOutwardSurface) {
  const std::string matrices[] = {"", "ROXMATR 0.4\nMATRIXO 5,-2,1\n"};
  for (const char* keyword : {"CHOLE2"})
    for (const FullCase& c : kFullCases)
      for (const std::string& matrix : matrices)
        for (int faces : {1, 2}) {
          ScriptRun run(wallScript(keyword, c.args, faces, matrix));
          run.reset();
          FigureStore& s = run.engine.figures;
          const size_t marker = markerOf(s);
          ASSERT_GT(marker, 1u) << keyword << " " << c.what;
          addCaps(s, marker, faces == 2);
          const test::MeshReport r = test::checkMesh(s, 1, 0, 1e-9);
          const std::string what = std::string(keyword) + " " + c.what + (matrix.empty() ? "" : " turned") +
                                   (faces == 2 ? " reversed" : "");
          EXPECT_TRUE(r.closed()) << what << ": " << r.firstProblem << " (" << r.unmatched << " unmatched)";
          if (faces == 1) {
            EXPECT_GT(r.volume, 0) << what;
          } else {
            EXPECT_LT(r.volume, 0) << what;
          }
        }
}

// A full turn of 8 segments with a window inside the first: that segment leaves two parts, the other
// seven one each, every part a single quad from the base to the top; then 4 quads above and 4 below
// the window, 4 in it and the outline of 4 + 1 + 4 + 1 lines.
TEST(WallHole, RectangularWindowLeavesOneQuadPerWallPart) {
  ScriptRun run("#VAR\nv\n#DRAW\nCHOLE1 v,5,8,4, 1,2,3, 2,3, 0,0, 1,1,1.5, 0.3, 1,1,1\n");
  const std::string log = run.reset();
  const FigureStore& s = run.engine.figures;
  ASSERT_EQ(s.count(), 31u);
  EXPECT_NE(log.find("CHOLE1[31](5: 8: 4: 1,2,3,2,3,0,0,1,1,1.5,0.3)"), std::string::npos) << log;
  for (size_t n = 1; n <= 9; ++n) {
    const FigureElement& e = s.at(n);
    ASSERT_EQ(e.kind, kKindQuad) << n;
    EXPECT_EQ(e.p[0].z, 3) << n;
    EXPECT_EQ(e.p[1].z, 3) << n;
    EXPECT_EQ(e.p[2].z, 6) << n;
    EXPECT_EQ(e.p[3].z, 6) << n;
  }
  for (size_t n = 10; n <= 21; ++n) EXPECT_EQ(s.at(n).kind, kKindQuad) << n;
  for (size_t n = 22; n <= 31; ++n) EXPECT_EQ(s.at(n).kind, kKindLine) << n;
}

// Sum of face areas (half the Newell normal's length) among elements first..last.
double faceArea(const FigureStore& s, size_t first, size_t last) {
  double a = 0;
  for (size_t n = first; n <= last; ++n) {
    const FigureElement& e = s.at(n);
    if (e.kind != kKindTriangle && e.kind != kKindQuad) continue;
    const Point3 nv = test::faceNormal(e);
    a += std::sqrt(nv.x * nv.x + nv.y * nv.y + nv.z * nv.z) / 2;
  }
  return a;
}

TEST(WallHole, PartialWallIsCoveredOnceBetweenItsEnds) {
  const struct {
    const char* what;
    const char* args;  // the wall is centred at the origin with r = 2, h = 3 at z = 0
    double a1, a2;
  } cases[] = {
      {"window inside", "8,4, 0,0,0, 2,3, 0,3, 1,1,1.5, 1.5", 0, 3},
      {"window over the start", "8,4, 0,0,0, 2,3, 1,4, 1,1,1.5, 1", 1, 4},
      {"window over the end", "8,4, 0,0,0, 2,3, 0,1.2, 1,1,1.5, 1.2", 0, 1.2},
      {"window over both ends", "8,4, 0,0,0, 2,3, 0.1,6.0, 1.5,1,1.5, 0", 0.1, 6.0},
      {"window beyond the wall", "8,4, 0,0,0, 2,3, 0,1, 1,1,1.5, 3", 0, 1},
      {"wall across angle 0", "8,5, 0,0,0, 2,3, 5,1, 1,1,1.5, 0.5", 5, 1 + kTwoPi},
  };
  for (const char* keyword : {"CHOLE1", "CHOLE2"})
    for (const auto& c : cases) {
      ScriptRun run(std::string("#VAR\nv\n#DRAW\n") + keyword + " v,5," + c.args + ",1,1,3");
      run.reset();
      const FigureStore& s = run.engine.figures;
      const std::string what = std::string(keyword) + " " + c.what;
      // The base rim runs without a break from a1 to a2.
      std::vector<const FigureElement*> rim;
      for (size_t n = 1; n <= s.count(); ++n)
        if (s.at(n).kind == kKindLine) rim.push_back(&s.at(n));
      ASSERT_FALSE(rim.empty()) << what;
      const auto angleOf = [](const Point3& p) { return std::atan2(p.y, p.x); };
      EXPECT_NEAR(std::cos(angleOf(rim.front()->p[0]) - c.a1), 1, 1e-12) << what;
      EXPECT_NEAR(std::cos(angleOf(rim.back()->p[1]) - c.a2), 1, 1e-12) << what;
      double length = 0, swept = 0;
      for (size_t i = 0; i < rim.size(); ++i) {
        const Point3 &a = rim[i]->p[0], &b = rim[i]->p[1];
        if (i) {
          EXPECT_NEAR(rim[i - 1]->p[1].x, a.x, 1e-12) << what << " rim " << i;
          EXPECT_NEAR(rim[i - 1]->p[1].y, a.y, 1e-12) << what << " rim " << i;
        }
        length += std::hypot(b.x - a.x, b.y - a.y);
        swept += arcSweep(angleOf(a), angleOf(b));
      }
      EXPECT_NEAR(swept, c.a2 - c.a1, 1e-9) << what;
      // Faces over the same stretch, each part once: their area is the rim's length times the height.
      EXPECT_NEAR(faceArea(s, 1, s.count()), 3 * length, 1e-9) << what;
    }
}

TEST(WallHole, EllipticWindowOutlineAndStripCounts) {
  for (int nB : {4, 5, 8, 9, 2}) {
    const std::string n = std::to_string(nB);
    ScriptRun run("#VAR\nv\n#DRAW\nCHOLE2 v,5,12," + n + ", 0,0,0, 2,4, 0,0, 2,1.5,2, 0.7, 0,0,1\nTEN v,0,0,0\n" +
                  "CHOLE2 v,5,12," + n + ", 0,0,0, 2,4, 0,0, 2,1.5,2, 0.7, 0,1,0");
    run.reset();
    const FigureStore& s = run.engine.figures;
    const size_t marker = markerOf(s);
    const int strips = (std::max(nB, 4) + 1) / 2;
    // The outline closes: 2 lines per strip, every end point on the ellipse across the wall.
    EXPECT_EQ(marker - 1, static_cast<size_t>(2 * strips)) << nB;
    EXPECT_EQ(s.count() - marker, static_cast<size_t>(strips)) << nB;
    EXPECT_TRUE(s.at(1).p[0].x == s.at(marker - 1).p[1].x && s.at(1).p[0].y == s.at(marker - 1).p[1].y &&
                s.at(1).p[0].z == s.at(marker - 1).p[1].z)
        << nB;
    for (size_t k = 1; k < marker; ++k)
      for (int i = 0; i < 2; ++i) {
        const Point3& p = s.at(k).p[static_cast<size_t>(i)];
        EXPECT_NEAR(std::hypot(p.x, p.y), 2, 1e-11) << nB;
        const double lateral = 2 * std::sin(std::atan2(p.y, p.x) - 0.7);
        EXPECT_NEAR(std::pow(lateral / 1, 2) + std::pow((p.z - 2) / 0.75, 2), 1, 1e-9) << nB << " line " << k;
      }
  }
}

TEST(WallHole, ColoursSelectionAndChecks) {
  ScriptRun run(
      "#VAR\nv\nw\n#DRAW\nPEN 4\n"
      "CHOLE1 v,6,4,3, 0,0,0, 2,3, 0,0, 1,1,1.5, 0, 1,1,2\n"
      "TEN w,0,0,0\n"
      "CHOLE1 v,300,4,3, 0,0,0, 2,3, 0,0, 1,1,1.5, 0, 0,0,1\n"
      "CHOLE2 v,6,4,4, 0,0,0, 2,3, 0,0, 4,1,1.5, 0, 1,1,4\n"
      "CHOLE2 v,6,4,4, 0,0,0, 2,0, 0,0, 1,1,1.5, 0, 1,1,0\n");
  const std::string log = test::commandLog(run.reset());
  const FigureStore& s = run.engine.figures;
  const int first = std::stoi(run.value("w")) - 1;  // elements of the first wall
  // The wall's faces in the current colour first, then the window's three faces and the lines in 6.
  int windowFaces = 0, lines = 0;
  for (int n = 1; n <= first; ++n) {
    const FigureElement& e = s.at(static_cast<size_t>(n));
    if (e.colour == 4) {
      EXPECT_EQ(windowFaces + lines, 0) << n;
      continue;
    }
    EXPECT_EQ(e.colour, 6) << n;
    (e.kind == kKindLine ? lines : windowFaces) += 1;
  }
  EXPECT_EQ(windowFaces, 3);
  EXPECT_EQ(lines, 3 + 1 + 3 + 1);
  // The first wall's elements were selected (kind 2); kind 1 kept that; the invalid wall of kind 4
  // appended nothing and left an empty selection.
  EXPECT_EQ(s.at(static_cast<size_t>(first + 1)).colour, 4);  // the current colour came back
  EXPECT_EQ(s.at(s.count()).colour, 255);                      // the second wall's lines: 300 capped
  EXPECT_TRUE(run.engine.selection.empty());
  EXPECT_NE(log.find("CHOLE2[" + std::to_string(s.count()) + "](6: 4: 4: 0,0,0,2,3,0,0,4,1,1.5,0)"), std::string::npos) << log;
  EXPECT_NE(log.find("CHOLE2[" + std::to_string(s.count()) + "](6: 4: 4: 0,0,0,2,0,0,0,1,1,1.5,0)"), std::string::npos) << log;

  ScriptRun selected("#VAR\nv\n#DRAW\nCHOLE1 v,6,4,3, 0,0,0, 2,3, 0,0, 1,1,1.5, 0, 1,1,2\nCHOLE2 v,6,4,4, 0,0,0, 2,3, 0,0, 1,1,1.5, 0, 0,0,1");
  selected.reset();
  std::vector<int32_t> firstWall;
  for (int n = 1; n <= first; ++n) firstWall.push_back(n);
  EXPECT_EQ(selected.engine.selection, firstWall);
}

}  // namespace
}  // namespace kubrix

namespace kubrix {
namespace {

// A wall boundary a hair's breadth from a window end is moved onto it: no sliver faces between them.
TEST(WallHole, NearCoincidentWindowEndsLeaveNoSliver) {
  for (const char* keyword : {"CHOLE1", "CHOLE2"}) {
    size_t counts[3];
    int k = 0;
    for (const char* look : {"0.785398163397448", "0.785398163497448", "0.785398163297448"}) {
      ScriptRun run(std::string("#VAR\nv\n#DRAW\n") + keyword + " v,5,8,4, 0,0,0, 1,3, 0,0, 1.4142135623731,1,1.5, " +
                    look + ", 1,1,0");
      run.reset();
      counts[k++] = run.engine.figures.count();
    }
    EXPECT_EQ(counts[1], counts[0]) << keyword;
    EXPECT_EQ(counts[2], counts[0]) << keyword;
  }
}

}  // namespace
}  // namespace kubrix
