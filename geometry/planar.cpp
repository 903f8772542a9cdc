// Planar primitives: circle, arc, ellipse and elliptic-arc chains, rectangles and rounded rectangles
// (outline and filled), all computed in local coordinates and appended through LocalDraw.
#include "geometry/planar.h"

#include <algorithm>
#include <cmath>

namespace kubrix {

namespace {

constexpr double kTiny = 1e-12;  // corner sizes at or below it count as none

// Angles at which the quarter ellipses of the corners k1..k4 start and end.
constexpr double kCornerAngle[5] = {0, kPi / 2, kPi, 1.5 * kPi, kTwoPi};

// The sine and cosine in double precision (several times faster than the extended functions);
// the products and sums are formed in extended precision.
Point3 circlePoint(const Point3& c, double r, double t) {
  const long double lr = r;
  return {static_cast<double>(c.x + lr * std::cos(t)), static_cast<double>(c.y + lr * std::sin(t)), c.z};
}

Point3 ellipsePoint(const Point3& c, double rx, double ry, double theta, double t) {
  const Offset2 o = ellipseOffset(rx, ry, theta, t);
  return {c.x + o.x, c.y + o.y, c.z};
}

// n lines through the points at a1, a1 + step, a1 + 2 step, ... (the angle accumulated, as the
// last point then carries the summed rounding of the steps); each point is mapped once.
template <class PointAt>
void angleChain(LocalDraw& d, int n, double a1, double sweep, PointAt at) {
  n = clampCircleSegments(n);
  const double step = sweep / n;
  double t = a1;
  Point3 prev = d.world(at(t));
  for (int k = 0; k < n; ++k) {
    t += step;
    const Point3 next = d.world(at(t));
    d.worldLine(prev, next);
    prev = next;
  }
}

// A rounded rectangle after normalising: ordered sides, non-negative corner sizes, and the
// plain-rectangle fallback applied.
struct RectFrame {
  double xmin, xmax, ymin, ymax, z, rx, ry;
  std::array<int, 4> flags;
};

RectFrame frameOf(const RoundedRect& r) {
  RectFrame f{std::min(r.x1, r.x2), std::max(r.x1, r.x2), std::min(r.y1, r.y2), std::max(r.y1, r.y2),
              r.z,  std::fabs(r.rx),  std::fabs(r.ry),   r.flags};
  // Written so that an undefined size also falls back to the plain rectangle.
  const bool fits = f.rx > kTiny && f.ry > kTiny && f.rx <= (f.xmax - f.xmin) / 2 + kTiny &&
                    f.ry <= (f.ymax - f.ymin) / 2 + kTiny;
  if (!fits) {
    f.rx = f.ry = 0;
    f.flags = {};
  }
  return f;
}

// Corner i (0..3 for k1..k4): the corner point, the inner point rx and ry inside it, and the points
// where the two edges stop, in counter-clockwise order (the quarter ellipse runs from start to end).
struct Corner {
  Point3 corner, inner, start, end;
  double a1, a2;
  int flag;
};

Corner cornerOf(const RectFrame& f, int i) {
  const bool right = i == 0 || i == 3, top = i < 2;
  const double cx = right ? f.xmax : f.xmin, cy = top ? f.ymax : f.ymin;
  const double ix = right ? f.xmax - f.rx : f.xmin + f.rx, iy = top ? f.ymax - f.ry : f.ymin + f.ry;
  const Point3 onSide{cx, iy, f.z}, onTopOrBottom{ix, cy, f.z};
  const bool fromSide = i % 2 == 0;  // k1 and k3 start on a vertical edge, k2 and k4 on a horizontal one
  return {{cx, cy, f.z},
          {ix, iy, f.z},
          fromSide ? onSide : onTopOrBottom,
          fromSide ? onTopOrBottom : onSide,
          kCornerAngle[i],
          kCornerAngle[i + 1],
          f.flags[static_cast<size_t>(i)]};
}

// Faces with the point order kept, or reversed so that they face the other way.
class FaceWriter {
 public:
  FaceWriter(LocalDraw& d, bool reverse) : d_(d), reverse_(reverse) {}
  void triangle(const Point3& a, const Point3& b, const Point3& c) {
    reverse_ ? d_.triangle(c, b, a) : d_.triangle(a, b, c);
  }
  void quad(const Point3& a, const Point3& b, const Point3& c, const Point3& e) {
    reverse_ ? d_.quad(e, c, b, a) : d_.quad(a, b, c, e);
  }
  // Triangles (previous arc point, next arc point, inner point) over the corner's quarter ellipse;
  // reversed, the fan runs from the end angle back to the start angle.
  void fan(const Corner& k, double rx, double ry, int n) {
    n = clampCircleSegments(n);
    const double step = arcSweep(k.a1, k.a2) / n;
    const double dt = reverse_ ? -step : step;
    double t = reverse_ ? k.a2 : k.a1;
    const Point3 centre = d_.world(k.inner);
    Point3 prev = d_.world(ellipsePoint(k.inner, rx, ry, 0, t));
    for (int j = 0; j < n; ++j) {
      t += dt;
      const Point3 next = d_.world(ellipsePoint(k.inner, rx, ry, 0, t));
      d_.worldTriangle(prev, next, centre);
      prev = next;
    }
  }

 private:
  LocalDraw& d_;
  bool reverse_;
};

}  // namespace


void drawCircle(LocalDraw& d, int n, const Point3& centre, double r) {
  angleChain(d, n, 0, kTwoPi, [&](double t) { return circlePoint(centre, r, t); });
}

void drawArc(LocalDraw& d, int n, const Point3& centre, double r, double a1, double a2) {
  angleChain(d, n, a1, arcSweep(a1, a2), [&](double t) { return circlePoint(centre, r, t); });
}

void drawEllipse(LocalDraw& d, int n, const Point3& centre, double rx, double ry, double theta) {
  angleChain(d, n, 0, kTwoPi, [&](double t) { return ellipsePoint(centre, rx, ry, theta, t); });
}

void drawEllipticArc(LocalDraw& d, int n, const Point3& centre, double rx, double ry, double theta, double a1,
                     double a2) {
  angleChain(d, n, a1, arcSweep(a1, a2), [&](double t) { return ellipsePoint(centre, rx, ry, theta, t); });
}

void drawBox(LocalDraw& d, double x1, double y1, double x2, double y2, double z) {
  const double xmin = std::min(x1, x2), xmax = std::max(x1, x2);
  const double ymin = std::min(y1, y2), ymax = std::max(y1, y2);
  const Point3 q[5] = {{xmin, ymin, z}, {xmax, ymin, z}, {xmax, ymax, z}, {xmin, ymax, z}, {xmin, ymin, z}};
  d.chain(q, 5);
}

RoundedRect anchoredRect(int n, double x, double y, double w, double h, double z, double rx, double ry,
                         int anchor, const std::array<int, 4>& flags) {
  // Where the centre lies from (x, y), in half-widths and half-heights, for anchors 1..9.
  static constexpr int kToCentre[9][2] = {{1, -1}, {0, -1}, {-1, -1}, {1, 0}, {0, 0},
                                          {-1, 0}, {1, 1},  {0, 1},   {-1, 1}};
  const double hw = std::fabs(w) / 2, hh = std::fabs(h) / 2;
  const int* to = kToCentre[anchor >= 1 && anchor <= 9 ? anchor - 1 : 4];
  const double cx = to[0] == 0 ? x : x + to[0] * hw;
  const double cy = to[1] == 0 ? y : y + to[1] * hh;
  return {n, cx - hw, cy - hh, cx + hw, cy + hh, z, rx, ry, flags};
}

void drawRoundedRect(LocalDraw& d, const RoundedRect& r) {
  const RectFrame f = frameOf(r);
  for (int i = 0; i < 4; ++i) {
    const Corner k = cornerOf(f, i), next = cornerOf(f, (i + 1) % 4);
    if (k.flag == 1) {
      d.line(k.start, k.end);
    } else if (k.flag != 0) {
      drawEllipticArc(d, r.n, k.inner, f.rx, f.ry, 0, k.a1, k.a2);
    }
    // The edge to the next corner stops where a shaped corner begins.
    d.line(k.flag != 0 ? k.end : k.corner, next.flag != 0 ? next.start : next.corner);
  }
}

void fillRoundedRect(LocalDraw& d, const RoundedRect& r, bool reverse) {
  const RectFrame f = frameOf(r);
  FaceWriter w(d, reverse);
  Corner k[4];
  for (int i = 0; i < 4; ++i) k[i] = cornerOf(f, i);
  w.quad(k[2].inner, k[3].inner, k[0].inner, k[1].inner);
  for (int i = 0; i < 4; ++i) {
    const Corner& c = k[i];
    const Corner& next = k[(i + 1) % 4];
    if (c.flag == 1) {
      w.triangle(c.inner, c.start, c.end);
    } else if (c.flag == 2) {
      w.fan(c, f.rx, f.ry, r.n);
    } else {
      w.quad(c.inner, c.start, c.corner, c.end);
    }
    // The strip between this corner and the next, along the edge that joins them.
    w.quad(next.inner, c.inner, c.end, next.start);
  }
}

}  // namespace kubrix
