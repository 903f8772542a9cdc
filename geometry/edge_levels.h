// The levels of a body with a shaped top edge: how far each level is moved in (as a fraction of the
// profile's horizontal size) and at what height, from the base up. Shared by the shaped boxes and the
// shaped cylinders.
#pragma once

#include <vector>

#include "geometry/solids.h"

namespace kubrix {

struct EdgeLevel {
  double f = 0;  // 0 at the wall, 1 at the top face
  double z = 0;
};

// From z = 0: (with `both` the bottom edge shaped as the top one mirrored) the straight wall of height
// `wall` (left out when 0), then the profile of `steps` steps (a chamfer has one, an ogee twice the
// steps) rising `rise` to the top.
void edgeLevels(EdgeShape shape, int steps, bool both, double wall, double rise, std::vector<EdgeLevel>& out);

}  // namespace kubrix
