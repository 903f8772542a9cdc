// The view state as numbers: presets, drag turns and shifts, angle wrapping, zoom limits and the
// status texts, without OpenGL.
#include <gtest/gtest.h>

#include <cmath>

#include "output/render/view_state.h"

namespace kubrix::viewer {
namespace {

void expectMatrixNear(const Mat4& got, const Mat4& want, float tolerance = 1e-5f) {
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(got.m[static_cast<size_t>(i)], want.m[static_cast<size_t>(i)], tolerance) << "element " << i;
}

// Where the model view sends a point (x, y, z, 1).
std::array<float, 3> apply(const Mat4& m, float x, float y, float z) {
  return {m.at(0, 0) * x + m.at(0, 1) * y + m.at(0, 2) * z + m.at(0, 3),
          m.at(1, 0) * x + m.at(1, 1) * y + m.at(1, 2) * z + m.at(1, 3),
          m.at(2, 0) * x + m.at(2, 1) * y + m.at(2, 2) * z + m.at(2, 3)};
}

TEST(ViewState, MatricesFollowTheFixedFunctionRules) {
  // A quarter turn about Z sends X to Y (right-hand rule); operations multiply on the right.
  const auto p = apply(rotation(90, 0, 0, 1), 1, 0, 0);
  EXPECT_NEAR(p[0], 0, 1e-6);
  EXPECT_NEAR(p[1], 1, 1e-6);
  const auto q = apply(translation(0, 0, -7) * scaling(2, 2, 2), 1, 0, 0);
  EXPECT_NEAR(q[0], 2, 1e-6);
  EXPECT_NEAR(q[2], -7, 1e-6);
  // The axis is normalised; a zero axis turns nothing.
  expectMatrixNear(rotation(30, 0, 0, 5), rotation(30, 0, 0, 1));
  expectMatrixNear(rotation(30, 0, 0, 0), Mat4::identity());
  // 40 degrees, aspect 2, near 1, far 50.
  const auto pr = perspective(40, 2, 1, 50);
  EXPECT_NEAR(pr[5], 1 / std::tan(20 * M_PI / 180), 1e-12);
  EXPECT_NEAR(pr[0], pr[5] / 2, 1e-12);
  EXPECT_DOUBLE_EQ(pr[10], -51.0 / 49.0);
  EXPECT_DOUBLE_EQ(pr[14], -100.0 / 49.0);
  EXPECT_EQ(pr[11], -1);
  EXPECT_EQ(pr[15], 0);
}

TEST(ViewState, PresetsSetTheModelViewAndTheAngles) {
  ViewState v;
  v.zoomIn();
  v.presetXY();
  expectMatrixNear(v.modelView, translation(0, 0, -7));
  EXPECT_EQ(v.zoomX, 1);
  EXPECT_EQ(v.shiftZ, -7);

  v.presetXZ();
  EXPECT_EQ(v.angleX, -90);
  // Looking at the X-Z plane: Z points up on the screen.
  auto up = apply(v.modelView, 0, 0, 1);
  EXPECT_NEAR(up[1], 1, 1e-6);
  EXPECT_NEAR(up[2], -7, 1e-6);

  v.presetYZ();
  EXPECT_EQ(v.angleX, 0);
  EXPECT_EQ(v.angleY, 90);

  v.presetXYZ();
  EXPECT_EQ(v.angleX, -120);
  EXPECT_EQ(v.angleY, 30);
  EXPECT_EQ(v.angleZ, -135);
  // The isometric view: Z up and towards the viewer, X to the lower left, Y to the lower right.
  up = apply(v.modelView, 0, 0, 1);
  EXPECT_NEAR(up[0], 0, 1e-5);
  EXPECT_NEAR(up[1], 0.8660254, 1e-5);
  EXPECT_NEAR(up[2], -7 + 0.5, 1e-5);
  const auto x = apply(v.modelView, 1, 0, 0), y = apply(v.modelView, 0, 1, 0);
  EXPECT_LT(x[0], 0);
  EXPECT_LT(x[1], 0);
  EXPECT_GT(y[0], 0);
  EXPECT_LT(y[1], 0);
  EXPECT_EQ(v.label(0), "X:-120°0 ×1");
  EXPECT_EQ(v.label(2), "Z:-135°-7 ×1");
}

TEST(ViewState, DragTurnsByTheHorizontalStepAndShiftsByTheVertical) {
  ViewState v;
  v.presetXY();
  EXPECT_FALSE(v.dragTo(5, 5, TurnAxis::X));  // no drag without a press
  v.press(false, 100, 100);
  EXPECT_FALSE(v.dragging);  // only the left button drags
  v.press(true, 100, 100);
  ASSERT_TRUE(v.dragTo(90, 80, TurnAxis::X));  // dx = 10, dy = 20
  EXPECT_EQ(v.angleX, 10);
  EXPECT_EQ(v.angleY, 0);
  EXPECT_FLOAT_EQ(v.shiftX, 0.2f);
  EXPECT_EQ(v.shiftY, 0);
  EXPECT_EQ(v.shiftZ, -7);
  expectMatrixNear(v.modelView, translation(0, 0, -7) * rotation(10, 1, 0, 0) * translation(0.2f, 0, 0));
  EXPECT_EQ(v.lastX, 90);
  EXPECT_EQ(v.lastY, 80);

  // Moving right turns negatively; the angle is brought into [0, 360) once.
  ASSERT_TRUE(v.dragTo(110, 80, TurnAxis::X));  // dx = -20
  EXPECT_EQ(v.angleX, 350);
  ASSERT_TRUE(v.dragTo(80, 80, TurnAxis::X));  // dx = 30: 380 -> 20
  EXPECT_EQ(v.angleX, 20);

  // The shift is divided by the zoom of its axis.
  v.zoomIn();
  ASSERT_TRUE(v.dragTo(80, 70, TurnAxis::Y));  // dx = 0, dy = 10
  EXPECT_FLOAT_EQ(v.shiftY, static_cast<float>(10 * 0.01 / 1.1f));
  ASSERT_TRUE(v.dragTo(80, 60, TurnAxis::Z));
  EXPECT_FLOAT_EQ(v.shiftZ, static_cast<float>(-7 + 10 * 0.01 / 1.1f));
  EXPECT_FLOAT_EQ(v.shiftY, static_cast<float>(10 * 0.01 / 1.1f));  // "Z" moves along Z only

  v.release();
  EXPECT_FALSE(v.dragTo(0, 0, TurnAxis::X));
}

TEST(ViewState, DragAboutRUsesTheAnglesAsAxis) {
  ViewState v;
  v.presetXY();
  v.press(true, 0, 0);
  // All angles 0: the axis is the zero vector, so nothing turns; the shift goes along all three axes.
  const Mat4 before = v.modelView;
  ASSERT_TRUE(v.dragTo(-36, -5, TurnAxis::R));  // dx = 36, dy = 5
  EXPECT_EQ(v.angleX, 0);
  EXPECT_EQ(v.angleZ, 0);
  EXPECT_FLOAT_EQ(v.shiftX, 0.05f);
  EXPECT_FLOAT_EQ(v.shiftY, 0.05f);
  EXPECT_FLOAT_EQ(v.shiftZ, -7 + 0.05f);
  expectMatrixNear(v.modelView, before * translation(0.05f, 0.05f, 0.05f));

  // After the isometric preset: axis (-120, 30, -135) / 360, the angles move by dx times it.
  v.presetXYZ();
  v.press(true, 0, 0);
  const Mat4 iso = v.modelView;
  ASSERT_TRUE(v.dragTo(-36, 0, TurnAxis::R));  // dx = 36
  EXPECT_FLOAT_EQ(v.angleX, -120 + 36 * (-120.0f / 360) + 360);
  EXPECT_FLOAT_EQ(v.angleY, 30 + 36 * (30.0f / 360));
  EXPECT_FLOAT_EQ(v.angleZ, -135 + 36 * (-135.0f / 360) + 360);
  expectMatrixNear(v.modelView, iso * rotation(36, -120.0f / 360, 30.0f / 360, -135.0f / 360) * translation(0, 0, 0));
}

TEST(ViewState, ZoomStopsBeforeOneHundredAndBeforeOneHundredth) {
  ViewState v;
  int in = 0;
  while (v.zoomIn()) ++in;
  // 1.1^48 = 97.0 is the last step; 1.1^49 = 106.7 would pass 100.
  EXPECT_EQ(in, 48);
  EXPECT_NEAR(v.zoomX, std::pow(1.1, 48), 1e-3);
  EXPECT_EQ(v.zoomX, v.zoomY);
  EXPECT_EQ(v.zoomX, v.zoomZ);
  EXPECT_FALSE(v.zoomIn());

  v.presetXY();
  int out = 0;
  while (v.zoomOut()) ++out;
  // 0.9^43 = 0.0108 is the last step; 0.9^44 = 0.0097 would fall below 0.01.
  EXPECT_EQ(out, 43);
  EXPECT_NEAR(v.zoomX, std::pow(0.9, 43), 1e-6);
  // The model view carries the same scale.
  v.presetXY();
  v.zoomIn();
  expectMatrixNear(v.modelView, translation(0, 0, -7) * scaling(1.1f, 1.1f, 1.1f));
}

TEST(ViewState, LabelsShowFloatValuesWidened) {
  ViewState v;
  v.presetXY();
  EXPECT_EQ(v.label(0), "X:0°0 ×1");
  EXPECT_EQ(v.label(1), "Y:0°0 ×1");
  EXPECT_EQ(v.label(2), "Z:0°-7 ×1");
  v.zoomIn();
  // 1.1 held as a float, widened: its binary expansion to 15 digits.
  EXPECT_EQ(v.label(0), "X:0°0 ×1.10000002384186");
  v.presetXY();
  v.press(true, 0, 0);
  v.dragTo(0, -10, TurnAxis::X);  // shift 0.1 as float
  EXPECT_EQ(v.label(0), "X:0°0.100000001490116 ×1");
}

}  // namespace
}  // namespace kubrix::viewer
