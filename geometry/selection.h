// The selection set: an ordered list of figure element numbers chosen by number range, attribute
// filter, box or connectivity. Numbers outside the store (below 1 or above the element count) may
// stand in the set; every reader here skips them.
#pragma once

#include <cstdint>
#include <vector>

#include "geometry/figure_store.h"

namespace kubrix {

using Selection = std::vector<int32_t>;

// "Any" in every field of a filter.
inline constexpr int32_t kAny = 999;

// The attribute filter of the selection commands. state: 0 or 3 live and deleted, 1 live only,
// 2 deleted only (tested bitwise); kind: bit 0 line, bit 1 triangle, bit 2 quad, bit 3 point (15 all);
// layer and colour: equal. kAny in a field accepts everything.
struct ElementFilter {
  int32_t state = kAny, kind = kAny, layer = kAny, colour = kAny;
  bool passes(const FigureElement& e) const;
};

// Points a kind uses: line 2, point 1, triangle 3, quad 4; 0 for any other kind.
int usedPoints(int32_t kind);

// Empties the set, then adds every element that passes, in ascending number.
void selectAll(const FigureStore& store, Selection& sel, const ElementFilter& f);
// Adds each element from..to (clamped to the store) that passes and is not in the set yet, ascending.
void addRange(const FigureStore& store, Selection& sel, long long from, long long to, const ElementFilter& f);
// Removes each element number from..to that passes; the rest keep their order.
void removeRange(const FigureStore& store, Selection& sel, long long from, long long to, const ElementFilter& f);

// ARISEL (inside = true): adds elements all of whose points lie in the box widened by 1e-14.
// AROSEL: adds elements all of whose points lie outside the box narrowed by 1e-14 in x, in y and in z.
// Ascending number; numbers already in the set are not added again.
void addInBox(const FigureStore& store, Selection& sel, const Point3& corner1, const Point3& corner2,
              const ElementFilter& f, bool inside);

// ARRSEL: walks from the start point, each time adding the lowest-numbered element (not a point, not
// in the set, passing the filter) with a point within tol of the frontier in every coordinate; its
// other points (all but the first that touched) become the frontier. |tol| at most 1e-12 counts as 1e-12.
void addConnected(const FigureStore& store, Selection& sel, const Point3& start, double tol, const ElementFilter& f);

// Marks of the set's members, indexed by element number (index 0 unused).
std::vector<uint8_t> membership(const FigureStore& store, const Selection& sel);

// The in-range element numbers of the set whose number is at most `limit` and which are live, in
// set order (the elements a copying command works on).
std::vector<int32_t> liveSelected(const FigureStore& store, const Selection& sel, size_t limit);

// Replaces the set by the numbers first..last (ascending); empty when last < first.
void reselectRange(Selection& sel, size_t first, size_t last);

// A tolerance of at most 1e-12 in magnitude becomes 1e-12; a negative one counts by its magnitude.
double matchTolerance(double tol);

// True when every coordinate differs by at most tol.
bool within(const Point3& a, const Point3& b, double tol);

}  // namespace kubrix
