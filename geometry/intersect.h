// Plane intersections of the geometry kernel: lines given by two points each, in one plane.
#pragma once

namespace kubrix {

// Result of a line-line intersection. flag 0: no single point (parallel lines, or both vertical);
// x and y are then 0 and mean nothing. flag 1: the point lies on both segments (each segment's x and
// y ranges widened by 1e-12). flag 2: the lines cross outside at least one of the segments.
struct LineHit {
  int flag = 0;
  double x = 0, y = 0;
};

// Intersection of the line through (x1, y1)-(x2, y2) with the line through (x3, y3)-(x4, y4).
// A line is vertical when its x values differ by at most 1e-12; other lines are used in slope form,
// and slopes within 1e-12 of each other count as parallel.
LineHit intersectLines(double x1, double y1, double x2, double y2, double x3, double y3, double x4, double y4);

}  // namespace kubrix
