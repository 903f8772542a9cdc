// Sweeps of the selection: the selected lines' segment set swept through a sequence of placements
// into quad faces, selected points into lines along their path, and copies of the selected lines and
// faces where the sweep ends. Also the stepped placements of the stepped copies and sweeps, and the
// thickness given to faces.
#pragma once

#include <cstddef>
#include <vector>

#include "geometry/affine.h"
#include "geometry/figure_store.h"
#include "geometry/selection.h"
#include "geometry/selection_edits.h"

namespace kubrix {

struct SweepPath {
  // steps[0] places the selection where the sweep starts (the identity when it sweeps from where it
  // was drawn), steps[k] its k-th placement. At least two.
  std::vector<Affine> steps;
  // The selection is a profile drawn around the origin and placed by steps[0]: its lines and faces
  // are copied to the first placement as well, the faces there reversed to face backwards.
  bool placedProfile = false;
  // An axis the sweep turns about: where the profile's own turning sense cannot tell the outside,
  // faces face away from it.
  bool hasAxis = false;
  Point3 axisBase, axisDir;
};

// Appends the sweep of the selected live elements (numbers up to the store count at the start):
// for each element in set order, a point gives a line per step along its path, a line or face a copy
// at the last placement (and at the first for a placed profile); then for each entry of the segment
// set one quad per step joining its placement k-1 to placement k. The quads of all segments face the
// same way: outward of the profile as it moves (for a closed profile, away from the area it
// encloses; for an open one, away from the area between it and its chord), else away from the axis.
void sweepSelection(FigureStore& store, const Selection& sel, const SweepPath& path, const LayerColour& lc);

// The placement of step k of count of a stepped copy about the base point b: scaled about b by
// 1 + k (s - 1) / count per axis, turned by k a / count about the direction v through b, moved by k v / count.
Affine steppedPlacement(const Point3& b, const Point3& v, const Point3& s, double a, int k, int count);

// The placement of step k of count of a turning copy: scaled uniformly by 1 + k (s - 1) / count about
// b1 and turned by k a1 / count about the line (b1, d1); then turned by k a2 / count about the line
// (b2, d2) and moved by k d2 / count along it.
struct TurningSteps {
  Point3 b1, d1;
  double a1 = 0, s = 1;
  Point3 b2, d2;
  double a2 = 0;
};
Affine turningPlacement(const TurningSteps& t, int k, int count);

// Stepped copies: for k = 1..count a copy of every selected live element under placement(k).
// Returns the store count before the last step's copies.
template <class Placement>
size_t steppedCopies(FigureStore& store, const Selection& sel, int count, const LayerColour& lc, Placement&& placement) {
  const size_t limit = store.count();
  size_t lastStart = limit;
  for (int k = 1; k <= count; ++k) {
    lastStart = store.count();
    copySelected(store, sel, limit, placement(k), lc);
  }
  return lastStart;
}

// Placements 0..count of a stepped sweep.
template <class Placement>
std::vector<Affine> steppedPath(int count, Placement&& placement) {
  std::vector<Affine> steps{Affine{}};
  for (int k = 1; k <= count; ++k) steps.push_back(placement(k));
  return steps;
}

// S_SWEP2: every selected live face gets a copy moved by t along its unit normal (from its first
// three points, as GETNORM) and one quad per edge joining the edge to the moved edge, facing out of
// the slab. Nothing when |t| < 1e-8.
void thickenFaces(FigureStore& store, const Selection& sel, double t, const LayerColour& lc);

// Segment counts of the stepped commands: 1..1000.
inline int clampSteps(int n) { return n < 1 ? 1 : n > 1000 ? 1000 : n; }

// True when every component is below 1e-12 in magnitude.
bool tinyVector(const Point3& v);

}  // namespace kubrix
