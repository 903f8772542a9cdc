// A check of face meshes shared by the solid, surface and export tests: do the faces of a range of
// figure elements form a closed, consistently oriented surface, and what volume do they enclose?
#pragma once

#include <cstddef>
#include <string>

#include "geometry/figure_store.h"

namespace kubrix::test {

struct MeshReport {
  size_t faces = 0;          // live triangle and quad faces looked at
  size_t edges = 0;          // directed edges after merging coincident points
  size_t unmatched = 0;      // directed edges without exactly one edge running the other way
  size_t repeated = 0;       // directed edges used more than once
  double volume = 0;         // signed volume by the divergence theorem (outward faces: positive)
  std::string firstProblem;  // a readable description of the first bad edge, empty when closed
  bool closed() const { return faces > 0 && unmatched == 0 && repeated == 0; }
};

// Looks at the live faces among elements first..last (1-based, inclusive; last 0 means the end of
// the store). Points closer than tolerance in every coordinate are merged first (snapped to a grid of
// that size, neighbouring cells included). Lines and points are ignored. A quad counts as its four
// edges; the volume uses the triangles (P1, P2, P3) and (P1, P3, P4).
// Newell normal of a face in stored order: its direction follows the right-hand rule over the points,
// its length is twice the area.
Point3 faceNormal(const FigureElement& face);

MeshReport checkMesh(const FigureStore& store, size_t first = 1, size_t last = 0, double tolerance = 1e-9);

}  // namespace kubrix::test
