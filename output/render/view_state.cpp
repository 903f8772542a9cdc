// The view state: presets, drag turns and shifts, zoom steps with their limits, status texts.
#include "output/render/view_state.h"

#include <cmath>

#include "engine/number_text.h"

namespace kubrix::viewer {

Mat4 operator*(const Mat4& a, const Mat4& b) {
  Mat4 r;
  for (int col = 0; col < 4; ++col)
    for (int row = 0; row < 4; ++row) {
      float s = 0;
      for (int k = 0; k < 4; ++k) s += a.at(row, k) * b.at(k, col);
      r.m[static_cast<size_t>(col * 4 + row)] = s;
    }
  return r;
}

Mat4 rotation(float angleDegrees, float x, float y, float z) {
  const float len = std::sqrt(x * x + y * y + z * z);
  if (!(len > 1e-6f)) return Mat4::identity();
  x /= len, y /= len, z /= len;
  const float rad = angleDegrees * static_cast<float>(M_PI / 180.0);
  const float c = std::cos(rad), s = std::sin(rad), t = 1 - c;
  Mat4 r;
  auto set = [&r](int row, int col, float v) { r.m[static_cast<size_t>(col * 4 + row)] = v; };
  set(0, 0, x * x * t + c), set(0, 1, x * y * t - z * s), set(0, 2, x * z * t + y * s);
  set(1, 0, y * x * t + z * s), set(1, 1, y * y * t + c), set(1, 2, y * z * t - x * s);
  set(2, 0, z * x * t - y * s), set(2, 1, z * y * t + x * s), set(2, 2, z * z * t + c);
  return r;
}

Mat4 translation(float x, float y, float z) {
  Mat4 r;
  r.m[12] = x, r.m[13] = y, r.m[14] = z;
  return r;
}

Mat4 scaling(float x, float y, float z) {
  Mat4 r;
  r.m[0] = x, r.m[5] = y, r.m[10] = z;
  return r;
}

std::array<double, 16> perspective(double fovyDegrees, double aspect, double zNear, double zFar) {
  const double radians = fovyDegrees / 2 * M_PI / 180;
  const double cotangent = std::cos(radians) / std::sin(radians);
  const double deltaZ = zFar - zNear;
  std::array<double, 16> p{};
  p[0] = cotangent / aspect;
  p[5] = cotangent;
  p[10] = -(zFar + zNear) / deltaZ;
  p[11] = -1;
  p[14] = -2 * zNear * zFar / deltaZ;
  return p;
}

void ViewState::reset() {
  dragging = false;
  angleX = angleY = angleZ = 0;
  zoomX = zoomY = zoomZ = 1;
  shiftX = shiftY = 0;
  shiftZ = kViewDistance;
}

void ViewState::presetXY() {
  modelView = Mat4::identity() * translation(0, 0, kViewDistance) * scaling(1, 1, 1);
  reset();
}

void ViewState::presetXZ() {
  presetXY();
  modelView = modelView * rotation(-90, 1, 0, 0);
  angleX = -90;
}

void ViewState::presetYZ() {
  presetXY();
  modelView = modelView * rotation(90, 0, 1, 0);
  angleY = 90;
}

void ViewState::presetXYZ() {
  presetXY();
  modelView = modelView * rotation(-90, 1, 0, 0) * rotation(-135, 0, 0, 1) * rotation(30, -1, 1, 0);
  angleX = -120;
  angleY = 30;
  angleZ = -135;
}

void ViewState::press(bool leftButton, int x, int y) {
  if (!leftButton) return;
  dragging = true;
  lastX = x, lastY = y;
}

namespace {

// Brings an angle into [0, 360) by adding or subtracting 360 once.
float wrapOnce(float a) {
  if (a < 0) return a + 360;
  if (a >= 360) return a - 360;
  return a;
}

}  // namespace

bool ViewState::dragTo(int x, int y, TurnAxis axis) {
  if (!dragging) return false;
  const int dx = lastX - x, dy = lastY - y;
  float ax = 0, ay = 0, az = 0;
  switch (axis) {
    case TurnAxis::X: ax = 1; break;
    case TurnAxis::Y: ay = 1; break;
    case TurnAxis::Z: az = 1; break;
    case TurnAxis::R: ax = angleX / 360, ay = angleY / 360, az = angleZ / 360; break;
  }
  // While all three angles are 0 the "R" axis is the zero vector: the turn is left out.
  modelView = modelView * rotation(static_cast<float>(dx), ax, ay, az);
  angleX = wrapOnce(static_cast<float>(angleX + dx * static_cast<double>(ax)));
  angleY = wrapOnce(static_cast<float>(angleY + dx * static_cast<double>(ay)));
  angleZ = wrapOnce(static_cast<float>(angleZ + dx * static_cast<double>(az)));

  float sx = 0, sy = 0, sz = 0;
  if (axis == TurnAxis::X || axis == TurnAxis::R) sx = static_cast<float>(dy * 0.01 / zoomX);
  if (axis == TurnAxis::Y || axis == TurnAxis::R) sy = static_cast<float>(dy * 0.01 / zoomY);
  if (axis == TurnAxis::Z || axis == TurnAxis::R) sz = static_cast<float>(dy * 0.01 / zoomZ);
  modelView = modelView * translation(sx, sy, sz);
  shiftX += sx, shiftY += sy, shiftZ += sz;
  lastX = x, lastY = y;
  return true;
}

bool ViewState::zoomBy(double factor) {
  const double next = zoomX * factor;
  if (factor > 1 ? next > kZoomMax : next < kZoomMin) return false;
  zoomX = static_cast<float>(zoomX * factor);
  zoomY = static_cast<float>(zoomY * factor);
  zoomZ = static_cast<float>(zoomZ * factor);
  const float f = static_cast<float>(factor);
  modelView = modelView * scaling(f, f, f);
  return true;
}

bool ViewState::zoomIn() { return zoomBy(1.1); }
bool ViewState::zoomOut() { return zoomBy(0.9); }

std::string ViewState::label(int axis) const {
  static const char* const kNames[3] = {"X:", "Y:", "Z:"};
  const float angle[3] = {angleX, angleY, angleZ};
  const float shift[3] = {shiftX, shiftY, shiftZ};
  const float zoom[3] = {zoomX, zoomY, zoomZ};
  std::string s = kNames[axis];
  appendNumber(s, angle[axis]);
  s += "°";
  appendNumber(s, shift[axis]);
  s += " ×";
  appendNumber(s, zoom[axis]);
  return s;
}

}  // namespace kubrix::viewer
