// A cylinder wall with a window: the wall split into faces around a rectangular or elliptic window,
// the window's own faces, and its outline or the wall's rim as lines. All in local coordinates,
// through the current matrix (LocalDraw).
#pragma once

#include "geometry/local_draw.h"

namespace kubrix {

struct WallHole {
  bool elliptic = false;  // an elliptic window (else a rectangular one)
  int colour = -1;        // of the window faces and the lines: -1 the current colour, clamped to 1..255
  int wallSegments = 0;   // nA: segments of the wall's angle range, clamped to 3..1000
  int windowSegments = 0; // nB: segments across the window, clamped to 3..1000 (elliptic: 4..1000)
  Point3 base;            // centre of the base circle
  double radius = 0, height = 0;
  double startAngle = 0, endAngle = 0;  // of the wall; equal angles give the full turn
  double windowWidth = 0, windowHeight = 0;
  double windowCentre = 0;  // height of the window's centre above the base
  double windowAngle = 0;   // the direction in which the window looks
  int wallFaces = 0;        // 0 none, 1 facing away from the axis, 2 facing the axis (clamped to 0..2)
  int windowFaces = 0;      // the same for the faces that close the window
  int lines = 0;            // 0 none, 1 and 2 the window's outline, 3 and 4 the base rim, 5 and 6 the
                            // top rim (clamped to 0..6)
};

// Appends the wall's faces in the current colour, then the window's faces and the lines in the given
// colour; the current colour is restored. Nothing unless the radius, height, window width and window
// height exceed 1e-12 and the window is narrower than the diameter.
//
// The wall, cut into nA segments from its start angle, keeps the parts outside the window's angular
// span (whose points lie less than half the window's width from the line through the centre in the
// window's direction). Across the span, columns of the window outline carry a lower and an upper
// height: the rectangle's nB + 1 evenly spaced columns at a constant height, or the ellipse's
// columns at parameter angles from pi down to 0 in ceil(nB / 2) equal steps (the half-extent
// (height/2) sin phi at the lateral offset (width/2) cos phi). Each strip between two columns gets a
// face above and below the window (wall) and one in the window. Each wall segment's part outside the
// window is one quad from the base to the top beside a rectangular window; beside an elliptic window it
// shares the window's corner points, so wall and window meet without gaps, overlaps or T-junctions.
// With the window's faces they form the whole wall. A window reaching past the base or the top is
// cut there; parts of the window outside a partial wall are left out.
//
// Returns true when the lines kind asks to make the appended elements the selection (2, 4, 6).
bool drawWallHole(LocalDraw& draw, const WallHole& hole);

}  // namespace kubrix
