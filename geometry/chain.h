// Chains of lines: the chain tolerance, the ordered chain and the duplicate-free segment set of the
// selected lines, the chain point list appends and length, and the four tracing strategies that walk
// a chain of line elements from a start point.
#pragma once

#include <vector>

#include "geometry/figure_store.h"
#include "geometry/matrix.h"
#include "geometry/selection.h"

namespace kubrix {

// The per-coordinate distance below which two end points count as the same, from the largest
// absolute coordinate M: 1e-12 below 1, 1e-9 from 1, then ten times more per decade up to 1.0 from 1e9.
double chainTolerance(double largestCoordinate);
// The same for the selected live lines.
double chainTolerance(const FigureStore& store, const Selection& sel);

// True when every coordinate differs by less than tol.
bool sameEnd(const Point3& a, const Point3& b, double tol);

// The ordered chain of the selected live lines: the first one's points, then each line that continues
// the end point (in passes over the set in order, each line used once); points on a straight run are
// merged; stops when the chain closes; cut after the last later point equal to the first. A closed
// chain ends with its first point again. Empty when no live line is selected.
std::vector<Point3> orderedChain(const FigureStore& store, const Selection& sel);

// One entry of the segment set: a selected line's points with its layer and colour.
struct Segment {
  Point3 a, b;
  int32_t layer = 0, colour = 1;
};
// The selected live lines in set order, without lines whose two points (in either order) equal those
// of an earlier entry within the chain tolerance.
std::vector<Segment> segmentSet(const FigureStore& store, const Selection& sel);

// RENSET: appends the selected live lines to the chain point list, joining each to the list's end
// point when one of its points equals it within the chain tolerance.
void appendSelectedLines(std::vector<Point3>& chain, const FigureStore& store, const Selection& sel);

// The sum of the distances between consecutive points, rounded to a multiple of 1e-13.
double chainLength(const std::vector<Point3>& chain);

// How a trace chooses among several unused lines at the end point: 1 the lowest element number,
// 2 the straightest continuation, 3 the sharpest left turn, 4 the sharpest right turn (3 and 4 seen
// from local +Z of `frame`). The first line is always the lowest-numbered one.
enum class TraceRule { First = 1, Straightest = 2, Leftmost = 3, Rightmost = 4 };

// Walks line elements that pass the filter from the start point (each line once, end points
// matching within tol in every coordinate) and returns the visited points, beginning with the
// matched end point of the first line; stops at a dead end or when the walk returns to its first
// point (which then ends the chain again). Empty when no line touches the start.
std::vector<Point3> traceChain(const FigureStore& store, const Point3& start, double tol, const ElementFilter& f,
                               TraceRule rule, const Matrix4& frame);

}  // namespace kubrix
