// The mesh check itself: a closed box passes with its volume, an open or flipped one does not.
#include <gtest/gtest.h>

#include "mesh_check.h"
#include "test_support.h"

namespace kubrix::test {
namespace {

// A 10 x 20 x 30 box of six quads facing outward, optionally with one face missing or flipped.
FigureStore box(bool dropTop, bool flipTop) {
  FigureStore s;
  const Point3 p[8] = {{0, 0, 0}, {10, 0, 0}, {10, 20, 0}, {0, 20, 0}, {0, 0, 30}, {10, 0, 30}, {10, 20, 30}, {0, 20, 30}};
  s.appendQuad(p[0], p[3], p[2], p[1]);  // bottom, seen from below
  if (!dropTop) {
    if (flipTop)
      s.appendQuad(p[4], p[7], p[6], p[5]);
    else
      s.appendQuad(p[4], p[5], p[6], p[7]);
  }
  s.appendQuad(p[0], p[1], p[5], p[4]);
  s.appendQuad(p[1], p[2], p[6], p[5]);
  s.appendQuad(p[2], p[3], p[7], p[6]);
  s.appendQuad(p[3], p[0], p[4], p[7]);
  return s;
}

TEST(MeshCheck, ClosedBoxHasItsVolumeOpenOrFlippedFails) {
  const MeshReport ok = checkMesh(box(false, false));
  EXPECT_TRUE(ok.closed()) << ok.firstProblem;
  EXPECT_NEAR(ok.volume, 6000.0, 1e-9);
  EXPECT_EQ(ok.faces, 6u);

  const MeshReport open = checkMesh(box(true, false));
  EXPECT_FALSE(open.closed());
  EXPECT_EQ(open.unmatched, 4u);

  const MeshReport flipped = checkMesh(box(false, true));
  EXPECT_FALSE(flipped.closed());
  EXPECT_FALSE(flipped.firstProblem.empty());
}

TEST(MeshCheck, ScriptBoxThroughTheEngine) {
  ScriptRun r(
      "#VAR\ne\n#DRAW\n4SOLID e,0,0,0,0,1,0,1,1,0,1,0,0\n4SOLID e,0,0,1,1,0,1,1,1,1,0,1,1\n"
      "4SOLID e,0,0,0,1,0,0,1,0,1,0,0,1\n4SOLID e,1,0,0,1,1,0,1,1,1,1,0,1\n"
      "4SOLID e,1,1,0,0,1,0,0,1,1,1,1,1\n4SOLID e,0,1,0,0,0,0,0,0,1,0,1,1\n");
  r.reset();
  const MeshReport m = checkMesh(r.engine.figures);
  EXPECT_TRUE(m.closed()) << m.firstProblem;
  EXPECT_NEAR(m.volume, 1.0, 1e-12);
}

}  // namespace
}  // namespace kubrix::test
