// Surfaces and copies along the chain point list: the ruled surface between the list and a traced
// chain, copies of the selection placed along the list, and sweeps of a profile along it.
#pragma once

#include <vector>

#include "geometry/figure_store.h"
#include "geometry/selection.h"
#include "geometry/selection_edits.h"
#include "geometry/sweeps.h"

namespace kubrix {

// R_RULED: quads between the chain point list Q and the chain T traced (straightest rule, live
// lines of any layer and colour, chain tolerance of the selected lines) from the first point of the
// first selected live line, or from the origin when there is none. m = 0: (Q[i], Q[i+1], T[i+1],
// T[i]); otherwise the opposite order. Layer and colour: -1 the current ones.
void ruledSurface(FigureStore& store, const Selection& sel, const std::vector<Point3>& chain, int m,
                  const LayerColour& lc);

// R_COPY: copies of the selected live elements moved by the chain point at arc lengths start,
// start + step, ... up to the chain length (at most 1,000,000 places). Returns the store count
// before the copies of the last place, or -1 when the arguments allow no place (nothing done).
long long copyAlongChain(FigureStore& store, const Selection& sel, const std::vector<Point3>& chain, double start,
                      double step, const LayerColour& lc);

// The placements of a profile drawn around the origin at the points of the chain (consecutive
// coincident points taken once); fewer than two when the chain has fewer than two distinct points.
// R_SWEP: moved only.
std::vector<Affine> chainPlacements(const std::vector<Point3>& chain);
// R_SWEPS: moving frames. The profile's x and y go along the frame's u and v axes, its z along the
// chain. frameRule 0: the frame is carried along without twisting, starting as the turn that takes
// world +Z to the first segment; 1: v stays as close to world +Z as the segment allows (carried on
// where a segment is vertical). joinRule 0: at every joint the profile is placed in the plane halving
// the bend and stretched across it, so each straight piece keeps the profile's section (mitre joint);
// 1: the unstretched profile turned halfway. A closed chain is joined at its first point the same way.
std::vector<Affine> chainFrames(const std::vector<Point3>& chain, int frameRule, int joinRule);

}  // namespace kubrix
