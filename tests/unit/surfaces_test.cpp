// Surfaces: the face-point grid across runs, patch meshes (corners, facing, ranges, clamps), edges that
// run along the patch's own boundary, and the walls with windows: wall plus window closed by two caps
// must be a closed, outward surface for many window placements, partial walls covered exactly once.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "geometry/matrix.h"
#include "geometry/surfaces.h"
#include "mesh_check.h"
#include "test_support.h"

namespace kubrix {
namespace {

using test::ScriptRun;

bool near(const Point3& a, const Point3& b, double tol = 1e-9) {
  return std::fabs(a.x - b.x) < tol && std::fabs(a.y - b.y) < tol && std::fabs(a.z - b.z) < tol;
}

std::string str(const Point3& p) {
  return std::to_string(p.x) + "," + std::to_string(p.y) + "," + std::to_string(p.z);
}


// A script that fills the grid with G[i][j] = (i, j, z) and a bump of height `bump` in the middle.
std::string gridScript(double bump) {
  std::string s = "#VAR\nv\n#DRAW\n";
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) {
      const bool inner = i > 0 && i < 3 && j > 0 && j < 3;
      s += "FACEPNT " + std::to_string(i) + "," + std::to_string(j) + "," + std::to_string(i) + "," +
           std::to_string(j) + "," + (inner ? std::to_string(bump) : "0") + "\n";
    }
  return s;
}

TEST(FaceGrid, KeptWithinARunClearedAtTheNext) {
  ScriptRun run(
      "#VAR\nx\ny\nz\ni=0\n#DRAW\nGETFPNT 2,1,x,y,z\nCAL i=i+1\nFACEPNT 2,1,i,5,-0.5\nGETFPNT 2,1,x,y,z\nFACEPNT 2,-1,9,9,9");
  run.reset();
  EXPECT_EQ(run.value("x"), "1");
  // The second run starts from a cleared grid again.
  const std::string log = test::commandLog(run.run());
  std::string grid;
  for (size_t pos = 0, end; (end = log.find('\n', pos)) != std::string::npos; pos = end + 1)
    if (log.compare(pos, 3, "GET") == 0 || log.compare(pos, 4, "FACE") == 0) grid += log.substr(pos, end + 1 - pos);
  EXPECT_EQ(grid, "GETFPNT:0,0,0\nFACEPNT[2,1](2,5,-0.5)\nGETFPNT:2,5,-0.5\nFACEPNT:未実行\n");
  EXPECT_EQ(run.value("z"), "-0.5");
}

TEST(Patches, CornerOrderFacingAndReversal) {
  ScriptRun run(gridScript(0) + "BEZFACE v,1,0\nBEZFACE v,1,1\nELEFACE v,3,3,0,0,0\nELEFACE v,0,0,0,3,0");
  run.reset();
  const FigureStore& f = run.engine.figures;
  ASSERT_EQ(f.count(), 11u);
  // BEZFACE n = 1: (G[0][0], G[3][0], G[3][3], G[0][3]); reversed: the same points backwards.
  const Point3 corners[4] = {{0, 0, 0}, {3, 0, 0}, {3, 3, 0}, {0, 3, 0}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_TRUE(near(f.at(1).p[static_cast<size_t>(i)], corners[i])) << i;
    EXPECT_TRUE(near(f.at(2).p[static_cast<size_t>(3 - i)], corners[i])) << i;
  }
  EXPECT_GT(test::faceNormal(f.at(1)).z, 0);
  EXPECT_LT(test::faceNormal(f.at(2)).z, 0);
  // ELEFACE over the whole grid, indexes in any order: nine quads, the second index outer.
  for (size_t n = 3; n <= 11; ++n) {
    const int j = static_cast<int>(n - 3) / 3, i = static_cast<int>(n - 3) % 3;
    EXPECT_TRUE(near(f.at(n).p[0], Point3{double(i), double(j), 0})) << n;
    EXPECT_TRUE(near(f.at(n).p[2], Point3{double(i + 1), double(j + 1), 0})) << n;
    EXPECT_GT(test::faceNormal(f.at(n)).z, 0) << n;
  }
}

TEST(Patches, MeshSizesRangesAndClamps) {
  const FaceGrid flat = {{{0, 0, 0}, {0, 1, 0}, {0, 2, 0}, {0, 3, 0}},
                         {{1, 0, 0}, {1, 1, 0}, {1, 2, 0}, {1, 3, 0}},
                         {{2, 0, 0}, {2, 1, 0}, {2, 2, 0}, {2, 3, 0}},
                         {{3, 0, 0}, {3, 1, 0}, {3, 2, 0}, {3, 3, 0}}};
  PatchMesh m;
  // A uniform grid is its own Bezier patch: M[k][l] = (3 l / n, 3 k / n).
  buildPatchMesh(flat, {PatchKind::Bezier, 6, 0}, m);
  ASSERT_EQ(m.rows, 7);
  for (int k = 0; k <= 6; ++k)
    for (int l = 0; l <= 6; ++l) EXPECT_TRUE(near(m.at(k, l), Point3{l * 0.5, k * 0.5, 0})) << k << "," << l;
  buildPatchMesh(flat, {PatchKind::Bezier, 200, 0}, m);
  EXPECT_EQ(m.rows, 101);
  buildPatchMesh(flat, {PatchKind::Bezier, -3, 0}, m);
  EXPECT_EQ(m.rows, 2);
  // The quadratic patch's 3 x 3 part by type, corner to corner.
  const struct {
    int type;
    Point3 first, last;
  } parts[] = {{0, {0, 0, 0}, {2, 2, 0}}, {1, {1, 0, 0}, {3, 2, 0}}, {2, {0, 1, 0}, {2, 3, 0}},
               {3, {1, 1, 0}, {3, 3, 0}}, {9, {1, 1, 0}, {3, 3, 0}}};
  for (const auto& p : parts) {
    buildPatchMesh(flat, {PatchKind::Quadratic, 4, p.type}, m);
    EXPECT_EQ(m.rows, 5);
    EXPECT_TRUE(near(m.at(0, 0), p.first)) << p.type;
    EXPECT_TRUE(near(m.at(4, 4), p.last)) << p.type;
  }
  // The spline patch: (steps + 1)^2 points; type 3 reaches the grid's corners, type 0 stays inside.
  const int steps[4] = {2, 6, 6, 10};
  for (int type = 0; type < 4; ++type) {
    buildPatchMesh(flat, {PatchKind::Spline, 2, type}, m);
    EXPECT_EQ(m.rows, steps[type] + 1) << type;
    const bool startAtCorner = type == 1 || type == 3, endAtCorner = type == 2 || type == 3;
    EXPECT_EQ(near(m.at(0, 0), Point3{0, 0, 0}), startAtCorner) << type;
    EXPECT_EQ(near(m.at(m.rows - 1, m.rows - 1), Point3{3, 3, 0}), endAtCorner) << type;
  }
}

TEST(Patches, BumpedPatchFacesUpAndItsEdgesRunAlongItsBoundary) {
  const struct {
    const char* face;
    const char* edge;  // prefix up to the layer argument
  } kinds[] = {{"BEZFACE v,5,0", "BEZEDGE v,5,"}, {"2BSFACE v,4,3,0", "2BSEDGE v,4,3,"},
               {"3BSFACE v,2,1,0", "3BSEDGE v,2,1,"}};
  for (const auto& k : kinds) {
    ScriptRun run(gridScript(2) + "LAYER 3\nPEN 4\nROZMATR 0.5\nMATRIXO 1,2,3\n" + k.face);
    run.reset();
    const FigureStore& f = run.engine.figures;
    const size_t faces = f.count();
    ASSERT_GT(faces, 4u) << k.face;
    for (size_t n = 1; n <= faces; ++n) EXPECT_GT(test::faceNormal(f.at(n)).z, 0) << k.face << " face " << n;
    // Each side, both directions: every line lies on an edge of a boundary face of the patch.
    std::vector<std::pair<Point3, Point3>> faceEdges;
    for (size_t n = 1; n <= faces; ++n) {
      const FigureElement& e = f.at(n);
      const size_t c = e.kind == kKindQuad ? 4 : 3;
      for (size_t i = 0; i < c; ++i) faceEdges.push_back({e.p[i], e.p[(i + 1) % c]});
    }
    for (int side = 0; side < 4; ++side)
      for (int dir = 0; dir < 2; ++dir) {
        ScriptRun edge(gridScript(2) + "LAYER 3\nPEN 4\nROZMATR 0.5\nMATRIXO 1,2,3\n" + k.edge + "-1,-1," +
                       std::to_string(dir) + "," + std::to_string(side) + ",0\nTEN v,0,0,0");
        edge.reset();
        const FigureStore& g = edge.engine.figures;
        ASSERT_GE(g.count(), 3u) << k.edge << side;
        for (size_t n = 1; n < g.count(); ++n) {
          const FigureElement& line = g.at(n);
          EXPECT_EQ(line.kind, kKindLine);
          EXPECT_EQ(line.layer, 3);
          EXPECT_EQ(line.colour, 4);
          bool onFace = false;
          // A boundary edge of a face runs the other way round from the lines of side 0 and 3 ...
          for (const auto& fe : faceEdges)
            onFace = onFace || (near(fe.first, line.p[0]) && near(fe.second, line.p[1])) ||
                     (near(fe.first, line.p[1]) && near(fe.second, line.p[0]));
          EXPECT_TRUE(onFace) << k.edge << " side " << side << " line " << n << ": " << str(line.p[0]);
          // ... and consecutive lines join, from lower to higher index or back.
          if (n > 1) {
            EXPECT_TRUE(near(g.at(n - 1).p[1], line.p[0])) << k.edge << side << dir;
          }
        }
      }
  }
}

TEST(Patches, EdgeLayerColourAndSelection) {
  ScriptRun run(gridScript(1) + "LAYER 7\nPEN 9\nBEZEDGE v,4,300,0,1,2,1\nTEN v,0,0,0\n3BSEDGE v,2,3,-5,-1,0,9,0");
  run.reset();
  const FigureStore& f = run.engine.figures;
  ASSERT_EQ(f.count(), 4u + 1 + 10);
  for (size_t n = 1; n <= 4; ++n) {
    EXPECT_EQ(f.at(n).layer, 255);
    EXPECT_EQ(f.at(n).colour, 1);
  }
  EXPECT_EQ(f.at(5).layer, 7);  // restored after the command
  EXPECT_EQ(f.at(5).colour, 9);
  EXPECT_EQ(f.at(6).layer, 0);
  EXPECT_EQ(f.at(6).colour, 9);
  // Side 2 backwards: from the last point of the last row (G[3][3]) toward G[0][3].
  EXPECT_TRUE(near(f.at(1).p[0], Point3{3, 3, 0}));
  EXPECT_TRUE(near(f.at(4).p[1], Point3{0, 3, 0}));
  // sel 1 selected the four lines; sel 0 later left the selection alone.
  EXPECT_EQ(run.engine.selection, (std::vector<int32_t>{1, 2, 3, 4}));
}

}  // namespace
}  // namespace kubrix
