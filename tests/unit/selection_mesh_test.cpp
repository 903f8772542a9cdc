// Solids built by scripts from selected profiles are closed, consistently oriented surfaces with the
// volume they should enclose: an extruded concave profile capped with S_FACE1, profiles revolved a
// full turn with S_ROT1, tubes swept along the chain point list, a slab, a pyramid and a prism.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>

#include "mesh_check.h"
#include "test_support.h"

namespace kubrix {
namespace {

using test::checkMesh;
using test::MeshReport;
using test::ScriptRun;

// The faces of elements first.. after running the script.
MeshReport meshOf(const std::string& body, size_t first = 1) {
  ScriptRun run("#VAR\na\nn\ni=0\nx=0\ny=0\n#DRAW\n" + body);
  const std::string log = run.reset();
  EXPECT_EQ(log.find("無効"), std::string::npos) << log;
  return checkMesh(run.engine.figures, first);
}

// The L of area 22, drawn counter-clockwise or clockwise, extruded by 3 up or down; the cap whose
// faces look into the solid is turned with S_REVS.
TEST(SelectionSolids, ExtrudedConcaveProfileWithFilledEndsIsClosed) {
  const std::string ccw =
      "LINE2D a, 0,0, 6,0\nLINE2D a, 6,0, 6,2\nLINE2D a, 6,2, 2,2\nLINE2D a, 2,2, 2,7\nLINE2D a, 2,7, 0,7\n"
      "LINE2D a, 0,7, 0,0\n";
  const std::string cw =
      "LINE2D a, 0,0, 0,7\nLINE2D a, 0,7, 2,7\nLINE2D a, 2,7, 2,2\nLINE2D a, 2,2, 6,2\nLINE2D a, 6,2, 6,0\n"
      "LINE2D a, 6,0, 0,0\n";
  // Faces follow the profile's turning: counter-clockwise seen from +Z faces +Z.
  const std::string capFirst = "CLRSEL\nADDSEL n, 1, 6, 999,999,999,999\nS_FACE1 1\n";
  const std::string capMoved = "CLRSEL\nADDSEL n, 7, 12, 999,999,999,999\nS_FACE1 1\n";
  struct Case {
    const std::string& profile;
    const char* dz;
    bool reverseFirst;
  } cases[] = {{ccw, "3", true}, {cw, "3", false}, {ccw, "-3", false}, {cw, "-3", true}};
  for (const Case& c : cases) {
    const std::string body = c.profile + "ALLSEL n, 1, 1, 999, 999\nS_SWEP1 0, -1, -1, 0, 0, " + c.dz + "\n" +
                             capFirst + (c.reverseFirst ? "S_REVS\n" : "") + capMoved +
                             (c.reverseFirst ? "" : "S_REVS\n");
    const MeshReport r = meshOf(body);
    EXPECT_TRUE(r.closed()) << r.firstProblem << "\n" << body;
    EXPECT_NEAR(r.volume, 66.0, 1e-9) << body;
    EXPECT_EQ(r.faces, 6u + 4u + 4u) << body;
  }
}

// A square frame: the hole's walls face into the hole whichever way its lines run, and the lines of
// the outer square may run either way too.
TEST(SelectionSolids, SweptFrameWallsFaceOutOfTheMaterial) {
  const std::string outer[2] = {"LINE2D a, 0,0, 10,0\nLINE2D a, 10,10, 10,0\nLINE2D a, 10,10, 0,10\nLINE2D a, 0,10, 0,0\n",
                                "LINE2D a, 0,0, 0,10\nLINE2D a, 0,10, 10,10\nLINE2D a, 10,0, 10,10\nLINE2D a, 0,0, 10,0\n"};
  const std::string inner[2] = {"LINE2D a, 3,3, 7,3\nLINE2D a, 7,3, 7,7\nLINE2D a, 7,7, 3,7\nLINE2D a, 3,7, 3,3\n",
                                "LINE2D a, 3,3, 3,7\nLINE2D a, 3,7, 7,7\nLINE2D a, 7,7, 7,3\nLINE2D a, 7,3, 3,3\n"};
  const std::string caps =
      "4SOLID a, 0,0,0, 3,3,0, 7,3,0, 10,0,0\n4SOLID a, 10,0,0, 7,3,0, 7,7,0, 10,10,0\n"
      "4SOLID a, 10,10,0, 7,7,0, 3,7,0, 0,10,0\n4SOLID a, 0,10,0, 3,7,0, 3,3,0, 0,0,0\n"
      "4SOLID a, 0,0,2, 10,0,2, 7,3,2, 3,3,2\n4SOLID a, 10,0,2, 10,10,2, 7,7,2, 7,3,2\n"
      "4SOLID a, 10,10,2, 0,10,2, 3,7,2, 7,7,2\n4SOLID a, 0,10,2, 0,0,2, 3,3,2, 3,7,2\n";
  for (const std::string& o : outer)
    for (const std::string& i : inner) {
      const MeshReport r = meshOf(o + i + "ALLSEL n, 1, 1, 999, 999\nS_SWEP1 0, -1, -1, 0, 0, 2\n" + caps);
      EXPECT_TRUE(r.closed()) << r.firstProblem << "\n" << o << i;
      EXPECT_NEAR(r.volume, 168.0, 1e-9) << o << i;
    }
}

// A ring of rectangular section (24 steps: the 24-gon prisms), and a profile from the axis out and
// back to the axis, in both drawing directions: closed and facing out.
TEST(SelectionSolids, ProfilesRevolvedAFullTurnAreClosed) {
  const std::string turn = "S_ROT1 0, -1, -1, 24, 0,0,0, 0,0,1, 6.283185307179586\n";
  const MeshReport ring = meshOf(
      "LINE a, 2,0,0, 3,0,0\nLINE a, 3,0,0, 3,0,4\nLINE a, 3,0,4, 2,0,4\nLINE a, 2,0,4, 2,0,0\n"
      "ALLSEL n, 1, 1, 999, 999\n" + turn);
  EXPECT_TRUE(ring.closed()) << ring.firstProblem;
  EXPECT_NEAR(ring.volume, 4 * 12 * std::sin(kPi / 12) * (9 - 4), 1e-9);

  const std::string out = "LINE a, 0,0,0, 3,0,0\nLINE a, 3,0,0, 4,0,3\nLINE a, 4,0,3, 2,0,6\nLINE a, 2,0,6, 0,0,6\n";
  const std::string back = "LINE a, 0,0,6, 2,0,6\nLINE a, 4,0,3, 2,0,6\nLINE a, 4,0,3, 3,0,0\nLINE a, 3,0,0, 0,0,0\n";
  const MeshReport a = meshOf(out + "ALLSEL n, 1, 1, 999, 999\n" + turn);
  const MeshReport b = meshOf(back + "ALLSEL n, 1, 1, 999, 999\n" + turn);
  EXPECT_TRUE(a.closed()) << a.firstProblem;
  EXPECT_TRUE(b.closed()) << b.firstProblem;
  EXPECT_GT(a.volume, 100);
  EXPECT_NEAR(a.volume, b.volume, 1e-9);
  // Half a turn and back the other way with mode 2: the profile lines are deleted, the surface stays.
  const MeshReport halves = meshOf(out + "ALLSEL n, 1, 1, 999, 999\nS_ROT1 2, -1, -1, 12, 0,0,0, 0,0,1, 3.141592653589793\n"
                                         "ALLSEL n, 1, 1, 999, 999\nS_ROT1 0, -1, -1, 12, 0,0,0, 0,0,-1, -3.141592653589793\n");
  EXPECT_TRUE(halves.closed()) << halves.firstProblem;
  EXPECT_NEAR(halves.volume, a.volume, 1e-9);
}

// A circle of 12 lines swept along a closed 36-gon of radius 10 with mitred joints: each straight
// piece holds the profile's area times its length.
TEST(SelectionSolids, ProfileSweptAlongAClosedChainIsClosed) {
  const std::string body =
      "CIRCLE2D a, 12, 0, 0, 1\nALLSEL n, 1, 1, 999, 999\n"
      "#WHILE i <= 36\nCAL x = 10*COS(i*PI/18)\nCAL y = 10*SIN(i*PI/18)\nRENADD n, x, y, 0\nCAL i = i + 1\n#END\n";
  for (const char* rule : {"R_SWEPS 0, -1, -1, 0, 0\n", "R_SWEPS 0, -1, -1, 1, 0\n"}) {
    const MeshReport r = meshOf(body + rule);
    EXPECT_TRUE(r.closed()) << r.firstProblem << rule;
    EXPECT_NEAR(r.volume, 3.0 * 720 * std::sin(kPi / 36), 1e-6) << rule;
  }
}

// An open bend (straight, quarter circle, straight) with the profile's filled circle as the caps.
TEST(SelectionSolids, ProfileWithFacesSweptAlongAnOpenChainIsClosed) {
  const std::string body =
      "CIRCLE2D a, 16, 0, 0, 1\nALLSEL n, 1, 1, 999, 999\nS_FACE1 0\nALLSEL n, 1, 15, 999, 999\n"
      "RENADD n, 0, 0, 0\n#WHILE i <= 8\nCAL x = 5 - 5*COS(i*PI/16)\nCAL y = 5*SIN(i*PI/16)\n"
      "RENADD n, x, 0, y + 3\nCAL i = i + 1\n#END\nRENADD n, 10, 0, 8\n";
  for (const char* rule : {"R_SWEPS 0, -1, -1, 0, 0\n", "R_SWEPS 0, -1, -1, 1, 1\n"}) {
    const MeshReport r = meshOf(body + rule, 31);  // after the profile's 16 lines and 14 faces
    EXPECT_TRUE(r.closed()) << r.firstProblem << rule;
    EXPECT_GT(r.volume, 0) << rule;
  }
  // Moved only, along a path that keeps rising: a sheared column of the profile's area times its rise.
  const MeshReport moved = meshOf(
      "CIRCLE2D a, 16, 0, 0, 1\nALLSEL n, 1, 1, 999, 999\nS_FACE1 0\nALLSEL n, 1, 15, 999, 999\n"
      "RENADD n, 0,0,0\nRENADD n, 0,0,3\nRENADD n, 2,0,5\nRENADD n, 2,1,8\nR_SWEP 0, -1, -1\n", 31);
  EXPECT_TRUE(moved.closed()) << moved.firstProblem;
  EXPECT_NEAR(moved.volume, 8 * std::sin(kPi / 8) * 8, 1e-9);
}

TEST(SelectionSolids, SlabPyramidAndPrismAreClosed) {
  const std::string square = "4SOLID a, 0,0,2, 3,0,2, 3,4,2, 0,4,2\nALLSEL n, 1, 999, 999, 999\n";
  // S_SWEP2 moves a copy up the normal; the original then looks into the slab.
  const MeshReport slab = meshOf(square + "S_SWEP2 0, -1, -1, 1.5\nS_REVS\n");
  EXPECT_TRUE(slab.closed()) << slab.firstProblem;
  EXPECT_NEAR(slab.volume, 18.0, 1e-9);
  // Moved down the normal, the copy is the face that looks into the slab.
  const MeshReport under = meshOf(square + "S_SWEP2 0, -1, -1, -1.5\nCLRSEL\nADDSEL n, 2, 2, 999,999,999,999\nS_REVS\n");
  EXPECT_TRUE(under.closed()) << under.firstProblem;
  EXPECT_NEAR(under.volume, 18.0, 1e-9);
  const MeshReport pyramid = meshOf(square + "S_PICK1 0, -1, -1, 1, 1, -1\n");
  EXPECT_TRUE(pyramid.closed()) << pyramid.firstProblem;
  EXPECT_NEAR(pyramid.volume, 12.0, 1e-9);
  // Walls and bottom projected along the same slanted direction: a parallelepiped.
  const MeshReport prism = meshOf(square + "S_WALL1 0, -1, -1, 1, 1, -2\nS_PROJ1 1, -1, -1, 1, 1, -2\nS_REVS\n");
  EXPECT_TRUE(prism.closed()) << prism.firstProblem;
  EXPECT_NEAR(prism.volume, 24.0, 1e-9);
}

// The examples' solids are closed on the first run, after a changed parameter, and the same on
// every run.
TEST(SelectionExamples, VaseAndPipeBendAreClosedOnEveryRun) {
  struct Example {
    const char *file, *parameter, *value;
  } examples[] = {{"vase.kx", "r", "7"}, {"pipe_bend.kx", "ang", "60"}};
  for (const auto& [file, parameter, value] : examples) {
    std::ifstream in(std::string(KUBRIX_SOURCE_DIR "/examples/") + file, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    ScriptRun run(text.str());
    run.reset();
    const MeshReport first = checkMesh(run.engine.figures);
    EXPECT_TRUE(first.closed()) << file << ": " << first.firstProblem;
    EXPECT_GT(first.volume, 0) << file;
    const std::vector<FigureElement> before = run.engine.figures.elements();
    run.run();
    ASSERT_EQ(run.engine.figures.count(), before.size()) << file;
    for (size_t i = 0; i < before.size(); ++i)
      for (size_t k = 0; k < 4; ++k) ASSERT_EQ(run.engine.figures.at(i + 1).p[k].z, before[i].p[k].z) << file;
    std::string reason;
    ASSERT_TRUE(run.engine.editParameter(run.engine.vars.find(parameter), value, reason)) << reason;
    run.run();
    const MeshReport changed = checkMesh(run.engine.figures);
    EXPECT_TRUE(changed.closed()) << file << ": " << changed.firstProblem;
    EXPECT_GT(changed.volume, 0) << file;
    EXPECT_NE(changed.volume, first.volume) << file;
  }
}

}  // namespace
}  // namespace kubrix
