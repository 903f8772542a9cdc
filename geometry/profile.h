// Profile solids: faces given in local coordinates, and filled plane figures built as fans or bands
// of faces on an ellipse (discs, sectors, circular segments, corner fillets, rings, ring sectors) and
// the curved wall on an elliptic arc. Every point goes through the current matrix (LocalDraw) and is
// appended with the figure store's coincidence rules, so degenerate input appends fewer faces.
#pragma once

#include "geometry/local_draw.h"

namespace kubrix {

// An ellipse in the local XY plane: centre, semi-axes rx (along X before turning) and ry, turn theta.
struct PlaneEllipse {
  double cx = 0, cy = 0, rx = 0, ry = 0, theta = 0;

  // The point at parameter angle t (offset rounded to 1e-13, see ellipseOffset) at height z.
  Point3 at(double t, double z) const {
    const Offset2 o = ellipseOffset(rx, ry, theta, t);
    return {cx + o.x, cy + o.y, z};
  }
};

enum class ProfileShape {
  Disc,        // filled ellipse: fan from the centre over the full turn
  Sector,      // elliptic sector: fan from the centre over the arc a1..a2
  Segment,     // region between the arc and its chord: fan from the chord's midpoint
  Fillet,      // region between the arc and the tangents at the ends of each quarter piece
  Ring,        // band between the ellipse and the inner ellipse over the full turn
  RingSector,  // the same band over the arc a1..a2
  Wall,        // quads on the arc from z = 0 up to z = height
};

struct ProfileFigure {
  ProfileShape shape = ProfileShape::Disc;
  PlaneEllipse ellipse;
  double z = 0;          // plane height; the wall's top height for Wall
  double a1 = 0, a2 = 0;  // parameter angles of the arc ends (arc shapes)
  double ri = 0;          // inner x semi-axis (Ring, RingSector)
  int n = 0;              // segment count as given; clamped to 3..1000 here
  bool rev = false;       // run the parameter backwards: every face turns to the other side
};

// Appends the faces of the figure. With rev false the faces of plane figures run counter-clockwise
// seen from local +Z (for positive semi-axes and an inner ellipse inside the outer one); the wall's
// faces face away from the ellipse's centre when the height is positive.
void drawProfile(LocalDraw& draw, const ProfileFigure& figure);

// The quad (P1, P2, (x2, y2, 0), (x1, y1, 0)): the wall under the segment P1-P2 down to z = 0.
void drawWallUnder(LocalDraw& draw, const Point3& p1, const Point3& p2);

// One piece of a corner fillet: the arc from s to e in n steps of `step`, and the corner where the
// ellipse's tangents at s and e meet (at the given height; the centre when they do not meet).
struct FilletPiece {
  double s = 0, e = 0, step = 0;
  int n = 0;
  Point3 corner;
};
// The pieces of the corner fillet over a1..a2 (a sweep within 1e-12 of 0 or 2*pi is a full turn) with
// n (clamped to 3..1000) raised to a multiple of the piece count; returns the piece count.
int filletLayout(const PlaneEllipse& e, double a1, double a2, int n, double z, FilletPiece (&pieces)[4]);

// Number of equal pieces a corner fillet cuts its sweep into: 1 up to a quarter turn, 2 up to a half,
// 3 up to three quarters, else 4 (each bound widened by 1e-12).
int filletPieces(double sweep);

}  // namespace kubrix
