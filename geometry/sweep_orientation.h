// Which way round each segment of a swept profile is taken, so that the faces it sweeps face outward
// whatever directions the profile's lines were drawn in.
#pragma once

#include <cstdint>
#include <vector>

#include "geometry/affine.h"
#include "geometry/chain.h"

namespace kubrix {

struct SweepMotion {
  const Affine* start = nullptr;  // where the profile starts
  const Affine* next = nullptr;   // its first step
  bool hasAxis = false;
  Point3 axisBase, axisDir;
};

// For each segment, 1 when it is to be taken from b to a. The segments are joined at end points
// (within tol) into pieces, and each piece is turned to run one way along. Seen along the profile's
// motion, a closed piece then runs counter-clockwise around the area it encloses, or clockwise when
// it lies inside an odd number of other closed pieces (a hole); an open piece runs counter-clockwise
// around the area between it and its chord. A piece without such an area runs so that its faces
// face away from the axis (and, square to the axis, along it); without an axis it keeps the
// direction of its first line.
std::vector<uint8_t> outwardOrder(const std::vector<Segment>& segs, const SweepMotion& motion, double tol);

}  // namespace kubrix
