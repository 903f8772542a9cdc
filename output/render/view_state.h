// The viewer's view state and the matrix arithmetic behind it, kept free of OpenGL so that turns,
// shifts, zoom limits and the status texts can be checked as numbers. Matrices are column-major
// float arrays, and every operation multiplies on the right, as the fixed-function pipeline does.
#pragma once

#include <array>
#include <string>

namespace kubrix::viewer {

struct Mat4 {
  std::array<float, 16> m{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};  // column-major
  static Mat4 identity() { return Mat4{}; }
  float at(int row, int col) const { return m[static_cast<size_t>(col * 4 + row)]; }
};

Mat4 operator*(const Mat4& a, const Mat4& b);
// A turn of angleDegrees about the axis (x, y, z), normalised first; a zero axis gives the identity.
Mat4 rotation(float angleDegrees, float x, float y, float z);
Mat4 translation(float x, float y, float z);
Mat4 scaling(float x, float y, float z);
// The perspective projection of a vertical field of view (degrees), computed in double.
std::array<double, 16> perspective(double fovyDegrees, double aspect, double zNear, double zFar);

// The axis a drag turns about and shifts along ("回転": X, Y, Z or R).
enum class TurnAxis { X = 0, Y = 1, Z = 2, R = 3 };

// Zoom limits: a step in that would pass kZoomMax, or a step out that would fall below kZoomMin,
// does nothing.
inline constexpr double kZoomMax = 100.0;
inline constexpr double kZoomMin = 0.01;
inline constexpr float kViewDistance = -7.0f;

class ViewState {
 public:
  bool dragging = false;
  int lastX = 0, lastY = 0;
  float angleX = 0, angleY = 0, angleZ = 0;  // degrees
  float zoomX = 1, zoomY = 1, zoomZ = 1;
  float shiftX = 0, shiftY = 0, shiftZ = kViewDistance;
  Mat4 modelView = Mat4::identity() * translation(0, 0, kViewDistance);

  // The state fields to their initial values; the model view is left as it is.
  void reset();
  // Model view back to the "X-Y" view (identity, shift (0, 0, -7), scale 1) with the state reset;
  // this is also what every resize of the window does.
  void presetXY();
  void presetXZ();   // "X-Y", then -90 degrees about X
  void presetYZ();   // "X-Y", then +90 degrees about Y
  void presetXYZ();  // "X-Y", then -90 about X, -135 about Z and +30 about (-1, 1, 0)

  // Mouse: a left press starts a drag; any release ends it. Moves while dragging turn and shift.
  void press(bool leftButton, int x, int y);
  void release() { dragging = false; }
  // One drag step to (x, y); false when no drag is in progress.
  bool dragTo(int x, int y, TurnAxis axis);

  // One zoom step (factor 1.1 in, 0.9 out); false when the limit refused it.
  bool zoomIn();
  bool zoomOut();

  // The status text of axis 0 (X), 1 (Y) or 2 (Z), UTF-8: "X:" angle "°" shift " ×" zoom.
  std::string label(int axis) const;

 private:
  bool zoomBy(double factor);
};

}  // namespace kubrix::viewer
