// Projections of the selection onto the local XY plane of the current matrix, the walls between the
// selection and its projection, and the faces joining the selection to an apex point. Each works on
// one of three sources: the selected elements themselves, the ordered chain of the selected lines,
// or their duplicate-free segment set.
#pragma once

#include "geometry/figure_store.h"
#include "geometry/matrix.h"
#include "geometry/selection.h"
#include "geometry/selection_edits.h"

namespace kubrix {

enum class EdgeSource { Elements = 1, Chain = 2, Segments = 3 };

// Projection of world points onto the plane z = 0 of a frame, along a world direction: a direction
// whose components are all below 1e-12 projects straight down the local z axis.
class PlaneProjection {
 public:
  // False when the frame has no inverse (the command ends) or when the direction runs parallel to
  // the plane (no point has a projection; the command appends nothing).
  bool init(const Matrix4& frame, const Point3& direction);
  bool parallel() const { return parallel_; }
  // The world point where the line through p along the direction meets the plane.
  Point3 project(const Point3& p) const;

 private:
  Matrix4 frame_, inverse_;
  Point3 dir_;  // unit direction in local coordinates
  bool straight_ = true, parallel_ = false;
};

// S_PROJ1..3: projected copies of the elements, or lines along the projected chain or segments.
// False when the frame has no inverse.
bool projectSelection(FigureStore& store, const Selection& sel, const Matrix4& frame, const Point3& direction,
                      EdgeSource source, const LayerColour& lc);
// S_WALL1..3: for every edge P -> Pnext the quad (Pnext, P, P', Pnext'), P' being the projection; a
// point element gives the line from it to its projection.
bool wallSelection(FigureStore& store, const Selection& sel, const Matrix4& frame, const Point3& direction,
                   EdgeSource source, const LayerColour& lc);
// S_PICK1..3: for every edge P -> Pnext the triangle (Pnext, P, apex); a point element gives the line
// from it to the apex.
void pickSelection(FigureStore& store, const Selection& sel, const Point3& apex, EdgeSource source,
                   const LayerColour& lc);

}  // namespace kubrix
