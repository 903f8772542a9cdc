// Builders shared by the round primitive solids: parameter runs over a sweep, rings of world points,
// fan caps, bands, skirts, the cut faces of sector solids and the chord face of segment solids. The
// solids compute each ring once and hand the same world points to every face that uses them, so
// neighbouring faces share their corners exactly.
#pragma once

#include <vector>

#include "geometry/local_draw.h"
#include "geometry/profile.h"

namespace kubrix {

inline constexpr double kSolidZero = 1e-14;  // a size below it counts as zero
inline constexpr double kSolidTurn = 1e-12;  // a sweep this close to 0 or 2*pi is a full turn

// A run of n steps of the parameter angle: start, start + step, ... (accumulated).
struct SweepRun {
  double start = 0, step = 0;
  int n = 0;
  bool full = true;  // a full turn: the last point is the first one
};

// The full turn from angle 0.
SweepRun fullRun(int n);
// From s over e - s brought into [0, 2*pi); within 1e-12 of 0 or of 2*pi it is the full turn from s.
SweepRun sweepRun(double s, double e, int n);

// Ring points at height z along a run, mapped to world coordinates: n + 1 points, the last equal to
// the first for a full turn. `first` and `last` (when given) receive the local end points.
void ringPoints(LocalDraw& d, const PlaneEllipse& e, double z, const SweepRun& r, std::vector<Point3>& out,
                Point3* first = nullptr, Point3* last = nullptr);

// Faces given counter-clockwise from outside; with rev the same points wound the other way
// (triangle: the first two exchanged; quad: P2, P1, P4, P3).
void solidTriangle(LocalDraw& d, const Point3& a, const Point3& b, const Point3& c, bool rev);
void solidQuad(LocalDraw& d, const Point3& a, const Point3& b, const Point3& c, const Point3& e, bool rev);

// Fan cap: one triangle per step, (P, N, C) for flag 0 and (N, P, C) for flag 1. World points.
void fanCap(LocalDraw& d, const Point3* ring, int n, const Point3& centre, bool flag);
// Band between a lower ring B and an upper ring A: (B_prev, B_next, A_next, A_prev) per step.
void band(LocalDraw& d, const Point3* lower, const Point3* upper, int n, bool rev);
// Skirt from a ring to an apex: (P, N, T) per step.
void skirt(LocalDraw& d, const Point3* ring, int n, const Point3& apex, bool rev);

// Cut faces of an open sector solid: (axis bottom, base start, top start, axis top) at the start
// angle and (base end, axis bottom, axis top, top end) at the end angle. World points.
void sectorCuts(LocalDraw& d, const Point3& axis0, const Point3& axisTop, const Point3& baseStart,
                const Point3& topStart, const Point3& baseEnd, const Point3& topEnd, bool rev);
// The cut faces of an open cone sector: (base centre, ring start, apex) and (ring end, base centre, apex).
void coneCuts(LocalDraw& d, const Point3& centre, const Point3& ringStart, const Point3& ringEnd, const Point3& apex,
              bool rev);
// Chord face of an open segment solid: one quad (base end, base start, top start, top end). It meets
// the caps' fans, which run from the chord's midpoint, with a T-junction at that midpoint.
void chordFace(LocalDraw& d, const Point3& baseStart, const Point3& baseEnd, const Point3& topStart,
               const Point3& topEnd, bool rev);
// The same face split at the chord midpoints into (base end, base mid, top mid, top end) and
// (base mid, base start, top start, top mid), so it meets the fans edge to edge.
void splitChordFace(LocalDraw& d, const Point3& baseStart, const Point3& baseEnd, const Point3& topStart,
                    const Point3& topEnd, const Point3& baseMid, const Point3& topMid, bool rev);

// Reusable point buffers of the solid builders (one set per thread), so a loop of solids does not
// allocate on every line.
std::vector<Point3>& solidBuffer(int slot);

}  // namespace kubrix
