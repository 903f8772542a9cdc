// The view scale: the largest absolute coordinate of the live figures, by which the viewer divides
// so that every figure fits into the cube from -1 to +1.
#pragma once

#include "geometry/figure_store.h"

namespace kubrix::viewer {

// Starts at 1e-8 and takes the largest absolute X, Y or Z in any of the four point slots of every
// live element (unused slots included); infinite and undefined coordinates are passed over. A
// store without live elements gives 1e-8.
double computeViewScale(const FigureStore& store);

}  // namespace kubrix::viewer
