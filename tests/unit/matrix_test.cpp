// The current matrix: mappings both ways, the inverse, turns about world and local axes, the
// three-point frame, and the commands that keep, restore and read the matrix.
#include <gtest/gtest.h>

#include <cmath>

#include "geometry/matrix.h"
#include "test_support.h"

namespace kubrix {
namespace {

constexpr double kHalfPi = kPi / 2;

void expectNear(const Point3& got, const Point3& want, double tol, const char* what) {
  EXPECT_NEAR(got.x, want.x, tol) << what;
  EXPECT_NEAR(got.y, want.y, tol) << what;
  EXPECT_NEAR(got.z, want.z, tol) << what;
}

void expectExact(const Point3& got, const Point3& want, const char* what) {
  EXPECT_EQ(got.x, want.x) << what;
  EXPECT_EQ(got.y, want.y) << what;
  EXPECT_EQ(got.z, want.z) << what;
}

TEST(Matrix, QuarterTurnMapsExactlyAfterRounding) {
  Matrix4 m = Matrix4::identity();
  m.postMultiplyAxes(Matrix4::rotZ(kHalfPi));
  // cos(pi/2) leaves about 6e-17 in the X value; the 1e-12 rounding removes it.
  expectExact(localToWorld(m, {1, 0, 0}), {0, 1, 0}, "local X");
  expectExact(localToWorld(m, {0, 1, 0}), {-1, 0, 0}, "local Y");
  EXPECT_NE(transformPoint(m, {1, 0, 0}).x, 0.0) << "the unrounded product keeps the residue";
}

TEST(Matrix, WorldAndLocalRotationsTurnAboutDifferentAxes) {
  // Local X points along world Y: a local turn about X turns about world Y, a world turn about world X.
  Matrix4 local = Matrix4::identity();
  local.postMultiplyAxes(Matrix4::rotZ(kHalfPi));
  Matrix4 world = local;
  local.preMultiplyAxes(Matrix4::rotX(kHalfPi));
  world.postMultiplyAxes(Matrix4::rotX(kHalfPi));
  // Local Y (world -X) turned a quarter about world Y goes to world +Z.
  expectExact(localToWorld(local, {0, 1, 0}), {0, 0, 1}, "local turn");
  // World turn about X leaves -X where it is.
  expectExact(localToWorld(world, {0, 1, 0}), {-1, 0, 0}, "world turn");
  // Local X (world Y) turned a quarter about world X goes to world +Z.
  expectExact(localToWorld(world, {1, 0, 0}), {0, 0, 1}, "world turn of local X");
}

TEST(Matrix, InverseRoundTripsAndRefusesSingular) {
  Matrix4 m = Matrix4::identity();
  m.postMultiplyAxes(Matrix4::rotZ(0.3));
  m.postMultiplyAxes(Matrix4::rotY(-1.1));
  m.postMultiplyAxes(Matrix4::rotX(2.0));
  // A sheared, scaled frame with a zero on the diagonal needs the pivot search.
  m.m[0][0] = 0;
  m.m[0][1] = 3;
  m.setOrigin({10, -20, 30});
  Matrix4 inv;
  ASSERT_TRUE(invert(m, inv));
  for (const Point3 p : {Point3{1, 2, 3}, Point3{-7.25, 0.5, 100}, Point3{0, 0, 0}}) {
    const Point3 w = localToWorld(m, p);
    Point3 back;
    ASSERT_TRUE(worldToLocal(m, w, back));
    expectNear(back, p, 1e-11, "round trip");
  }
  Matrix4 zero = Matrix4::zero();
  zero.m[3][3] = 1;
  Point3 out{7, 7, 7};
  EXPECT_FALSE(worldToLocal(zero, {1, 1, 1}, out));
  expectExact(out, {7, 7, 7}, "untouched on failure");
}

TEST(Matrix, ThreePointFrame) {
  // P2 straight above P1: the X axis points up world Z, P3 on the local +Y side.
  Matrix4 up = threePointFrame({0, 0, 0}, {0, 0, 5}, {1, 0, 0});
  expectExact(localToWorld(up, {1, 0, 0}), {0, 0, 1}, "X up");
  expectExact(localToWorld(up, {0, 1, 0}), {1, 0, 0}, "Y towards P3");
  // A general frame: origin at P1, X towards P2, P3 at positive local y and zero local z.
  const Point3 p1{1, 2, 3}, p2{4, -2, 8}, p3{-3, 5, 1};
  Matrix4 f = threePointFrame(p1, p2, p3);
  expectExact(f.origin(), p1, "origin");
  Point3 l2, l3;
  ASSERT_TRUE(worldToLocal(f, p2, l2));
  ASSERT_TRUE(worldToLocal(f, p3, l3));
  EXPECT_GT(l2.x, 0);
  EXPECT_NEAR(l2.y, 0, 1e-11);
  EXPECT_NEAR(l2.z, 0, 1e-11);
  EXPECT_GT(l3.y, 0);
  EXPECT_NEAR(l3.z, 0, 1e-11);
  // Unit orthogonal axes.
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) {
      double dot = 0;
      for (int k = 0; k < 3; ++k) dot += f.m[i][k] * f.m[j][k];
      EXPECT_NEAR(dot, i == j ? 1 : 0, 1e-14);
    }
  // P2 on P1: the world X axis; P3 on the line: no roll.
  Matrix4 same = threePointFrame({5, 5, 5}, {5, 5, 5}, {5, 6, 5});
  expectExact(localToWorld(same, {1, 0, 0}), {6, 5, 5}, "coincident P2");
  Matrix4 noRoll = threePointFrame({0, 0, 0}, {1, 0, 0}, {2, 0, 0});
  EXPECT_TRUE(noRoll.isIdentity());
}

TEST(Matrix, PolarAngleAndScaledRounding) {
  EXPECT_EQ(polarAngle(0, 0), 0);
  EXPECT_EQ(polarAngle(5e-15, -5e-15), 0);
  EXPECT_DOUBLE_EQ(polarAngle(0, -1), 3 * kPi / 2);
  EXPECT_DOUBLE_EQ(polarAngle(-1, 0), kPi);
  EXPECT_LT(polarAngle(1, -1e-300), kTwoPi);
  EXPECT_EQ(roundScaled(0.12345678901234567, 1e13L), 0.1234567890123);
  EXPECT_EQ(roundScaled(-5e-13, 1e12L), -1e-12);
  EXPECT_EQ(roundScaled(-2.5e-13, 1e12L), 0.0);
}

using test::ScriptRun;

TEST(MatrixCommands, BackupRestoreAndTheLocalTurnsResetTheBackup) {
  ScriptRun r(
      "#VAR\na\nb\nc\nd\ne\nf\ng\nh\ni\nj\nk\nl\n#DRAW\n"
      "MATRIXO 1,2,3\nBAKMATR\nROZMATR 1\nRESMATR\nGETMATR a,b,c,d,e,f,g,h,i,j,k,l\n"
      "BAKMATR\nRLZMATR 1\nRESMATR\nGETMATR a,b,c,d,e,f,g,h,i,j,k,l\n");
  EXPECT_EQ(test::commandLog(r.reset()),
            "MATRIXO\n"
            "BAKMATR: 変換マトリックスをバックアップ\n"
            "ROZMATR\n"
            "RESMATR: 変換マトリックスをレストア\n"
            "GETMATR: 変換マトリックス取得 1,0,0,　0,1,0,　0,0,1,　1,2,3,　\n"
            "BAKMATR: 変換マトリックスをバックアップ\n"
            "RLZMATR\n"
            "RESMATR: 変換マトリックスをレストア\n"
            "GETMATR: 変換マトリックス取得 1,0,0,　0,1,0,　0,0,1,　0,0,0,　\n");
  EXPECT_EQ(r.value("j"), "0");
}

TEST(MatrixCommands, MappingCommandsAndTheirFailures) {
  ScriptRun r(
      "#VAR\nX\nY\nZ\nx\ny\nz\n#DRAW\n"
      "MATRIXA 5,5,5,1.5707963267948966,0,0\nGETL2W X,Y,Z,1,2,3\nGETW2L x,y,z,X,Y,Z\n"
      "GETL2W X,Y,W,1,2,3\nGETW2L x,q,z,1,2,3\n"
      "MATRIX\nGETW2L x,y,z,1,2,3\nGETL2W X,Y,Z,1,2,3\n"
      "MATRIXN 1,1,2,3\n");
  EXPECT_EQ(test::commandLog(r.reset()),
            "MATRIXA: 変換マトリックス設定\n"
            "GETL2W(3,6,8),1,2,3\n"
            "GETW2L(1,2,3),3,6,8\n"
            "GETL2W:出力変数名が未定義です。\n"
            "GETW2L:出力変数名が未定義です。\n"
            "MATRIX: 変換マトリックス設定\n"
            // no line: the zero matrix has no inverse
            "GETL2W(0,0,0),1,2,3\n"
            "MATRIXN: Number Error\n");
  EXPECT_EQ(r.value("x"), "1");
}

TEST(MatrixCommands, FrameFromAnElement) {
  ScriptRun r(
      "#VAR\nn\nX\nY\nZ\n#DRAW\n"
      "3SOLID n, 1,0,0, 1,0,5, 2,0,0\n"  // 1: triangle standing in the plane y = 0
      "LINE n, 7,8,9, 10,11,12\n"         // 2: line
      "BAKMATR\n"
      "MATRIXN 1,4,2,3\nGETL2W X,Y,Z,0,1,0\n"  // i = 4 on a triangle: points 1, 2, 3
      "MATRIXN 2,2,2,2\nGETL2W X,Y,Z,0,0,0\n"  // repeated indexes: 1, 2, 3, origin at point 1
      "MATRIXN 2,3,1,2\nGETL2W X,Y,Z,0,0,0\n"  // point 3 of a line is zero
      "MATRIXN 3,1,2,3\n");
  const std::string log = test::commandLog(r.reset());
  EXPECT_NE(log.find("MATRIXN: 変換マトリックス設定\nGETL2W(2,0,0),0,1,0\n"), std::string::npos) << log;
  EXPECT_NE(log.find("MATRIXN: 変換マトリックス設定\nGETL2W(7,8,9),0,0,0\n"), std::string::npos) << log;
  EXPECT_NE(log.find("MATRIXN: 変換マトリックス設定\nGETL2W(0,0,0),0,0,0\n"), std::string::npos) << log;
  EXPECT_NE(log.find("MATRIXN: Number Error"), std::string::npos) << log;
}

}  // namespace
}  // namespace kubrix
