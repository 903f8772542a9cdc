// Triangulation of a plane polygon by cutting off ears, for filling the chain of selected lines.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace kubrix {

struct Point2 {
  double x = 0, y = 0;
};

// Triangles covering the polygon (implicitly closed, given in either turning sense), as indices into
// it. Each triangle lists its points in the polygon's own order, so all of them turn the same way as
// the polygon. Vertices on a straight run and spikes are dropped first, without a triangle; then
// going round the polygon, each convex vertex whose triangle holds no other remaining vertex is cut
// off as an ear. A polygon of no area gives no triangles; one that crosses itself still gives
// triangles (the next convex vertex is cut when no true ear is left).
std::vector<std::array<uint32_t, 3>> triangulatePolygon(const std::vector<Point2>& polygon);

}  // namespace kubrix
