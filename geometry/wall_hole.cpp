// The wall with a window. Everything is laid out along the wall by rho, the angle from the wall's start
// angle: the wall's segment boundaries, and the window's columns (each with the window's lower and
// upper height there). The wall's pieces outside the window and the window's strips are both "bays"
// between two columns, filled by three bands: base to lower, lower to upper, upper to top. A plain
// wall column has lower = base and upper = top, so a bay between plain columns is one quad. Next to a
// rectangular window the wall's bay is such a quad too; next to an elliptic window it takes the
// window's corner points on that side, so that no T-junction is left there.
#include "geometry/wall_hole.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "geometry/matrix.h"

namespace kubrix {

namespace {

constexpr double kTiny = 1e-12;
// Wall boundaries and window ends closer than this (radians) are taken as one column, so that no
// sliver bay and no column without the window's corner points is left between them.
constexpr double kSnapAngle = 1e-9;

struct Column {
  double theta;   // angle on the wall circle
  double lo, hi;  // window bottom and top above the base there; a plain wall column: 0 and the height
};

// Window columns lying on the wall, rho increasing.
struct Run {
  std::vector<Column> cols;
  std::vector<double> rho;
};

// A stretch of rho the window takes from the wall, with the columns at its ends.
struct Hole {
  double start, end;
  Column first, last;
};

struct Bay {
  double rho;  // where it starts along the wall
  Column left, right;
};

struct Setup {
  int nA, nB, wallFaces, windowFaces, lines;
  double r, h, start, sweep;  // start angle in [0, 2 pi), sweep in (0, 2 pi]
  bool full;
  double alpha, windowStart;  // half the window's angular span; the span's start angle in [0, 2 pi)
};

double snapHeight(double z, double h) {
  if (!(z > kTiny)) return 0;
  if (z >= h - kTiny) return h;
  return z;
}

bool valid(const WallHole& s) {
  return s.radius > kTiny && s.height > kTiny && s.windowWidth > kTiny && s.windowHeight > kTiny &&
         s.radius - s.windowWidth / 2 > 1e-14;
}

Setup setUp(const WallHole& s) {
  Setup u{};
  u.nA = std::clamp(s.wallSegments, 3, 1000);
  u.nB = std::clamp(s.windowSegments, s.elliptic ? 4 : 3, 1000);
  u.wallFaces = std::clamp(s.wallFaces, 0, 2);
  u.windowFaces = std::clamp(s.windowFaces, 0, 2);
  u.lines = std::clamp(s.lines, 0, 6);
  u.r = s.radius;
  u.h = s.height;
  u.start = arcSweep(0, s.startAngle);
  u.sweep = arcSweep(u.start, arcSweep(0, s.endAngle));
  u.full = !(u.sweep > kTiny && u.sweep < kTwoPi - kTiny);
  if (u.full) u.sweep = kTwoPi;
  const double half = s.windowWidth / 2;
  u.alpha = std::atan2(half, std::sqrt(s.radius * s.radius - half * half));
  u.windowStart = arcSweep(0, s.windowAngle - u.alpha);
  return u;
}

// The window's outline columns from its start to its end, with their offsets from the start angle.
void windowColumns(const WallHole& s, const Setup& u, std::vector<Column>& cols, std::vector<double>& offsets) {
  const double span = u.alpha + u.alpha;
  if (!s.elliptic) {
    const double lo = snapHeight(s.windowCentre - s.windowHeight / 2, u.h);
    const double hi = snapHeight(s.windowCentre + s.windowHeight / 2, u.h);
    for (int k = 0; k <= u.nB; ++k) offsets.push_back(k == u.nB ? span : span * k / u.nB);
    for (double d : offsets) cols.push_back({u.windowStart + d, lo, hi});
    return;
  }
  // The ellipse's parameter runs from pi down to 0. Steps of 2 pi / nB reach 0 only for an even nB, so
  // the half turn is cut into ceil(nB / 2) equal steps: the same steps for an even nB, and a closed
  // window (one more outline segment) for an odd one.
  const int steps = (u.nB + 1) / 2;
  const double step = kPi / steps, rw = s.windowWidth / 2, rh = s.windowHeight / 2;
  double phi = kPi;
  for (int k = 0; k <= steps; ++k, phi -= step) {
    const bool end = k == 0 || k == steps;
    const double x = k == steps ? rw : rw * std::cos(phi);
    const double beta = k == 0 ? -u.alpha : (k == steps ? u.alpha : std::atan2(x, std::sqrt(u.r * u.r - x * x)));
    const double e = end ? 0 : rh * std::sin(phi);
    const double d = beta + u.alpha;
    offsets.push_back(d);
    cols.push_back({u.windowStart + d, snapHeight(s.windowCentre - e, u.h), snapHeight(s.windowCentre + e, u.h)});
  }
}

double snapToWallEnd(double r, double sweep) {
  if (std::fabs(r) <= kSnapAngle) return 0;
  if (std::fabs(r - sweep) <= kSnapAngle) return sweep;
  return r;
}

Column between(const Column& a, double ra, const Column& b, double rb, double at, double theta) {
  const double f = (at - ra) / (rb - ra);
  return {theta, a.lo + f * (b.lo - a.lo), a.hi + f * (b.hi - a.hi)};
}

// The part of the window (its columns at rho + shift) that lies on a partial wall [0, sweep], with
// columns added where it crosses the wall's ends.
Run clipToWall(const std::vector<Column>& cols, const std::vector<double>& rho, double shift, const Setup& u) {
  Run run;
  const double endTheta = u.start + u.sweep;
  const auto push = [&](const Column& c, double at) {
    run.cols.push_back(at == 0 ? Column{u.start, c.lo, c.hi} : (at == u.sweep ? Column{endTheta, c.lo, c.hi} : c));
    run.rho.push_back(at);
  };
  double prev = 0;
  for (size_t k = 0; k < cols.size(); ++k) {
    const double r = snapToWallEnd(rho[k] + shift, u.sweep);
    if (k > 0 && prev < 0 && r > 0) push(between(cols[k - 1], prev, cols[k], r, 0, u.start), 0);
    if (k > 0 && prev < u.sweep && r > u.sweep) {
      push(between(cols[k - 1], prev, cols[k], r, u.sweep, endTheta), u.sweep);
    }
    if (r >= 0 && r <= u.sweep) push(cols[k], r);
    prev = r;
  }
  if (run.cols.size() < 2) run = Run{};
  return run;
}

class WallBuilder {
 public:
  WallBuilder(LocalDraw& draw, const WallHole& s, const Setup& u) : draw_(draw), s_(s), u_(u) {}

  void build() {
    layOutWindow();
    layOutWall();
    const int current = draw_.store().colour;
    const int given = s_.colour == -1 ? current : std::clamp(s_.colour, 1, 255);
    if (u_.wallFaces) wallFaces(u_.wallFaces == 2);
    draw_.store().colour = given;
    if (u_.windowFaces) windowFaces(u_.windowFaces == 2);
    if (u_.lines == 1 || u_.lines == 2) outline();
    if (u_.lines >= 3) rim(u_.lines <= 4 ? 0 : u_.h);
    draw_.store().colour = current;
  }

 private:
  void layOutWindow() {
    std::vector<Column> cols;
    std::vector<double> offsets;
    windowColumns(s_, u_, cols, offsets);
    const double w0 = arcSweep(u_.start, u_.windowStart);
    std::vector<double> rho;
    for (double d : offsets) rho.push_back(w0 + d);
    if (u_.full) {
      // The window may run over the seam at the start angle: its stretch is taken a turn back too. The
      // copy a turn ahead lets the wall's last boundary snap onto a window end just past the seam, as
      // its first boundary does.
      runs_.push_back(Run{cols, rho});
      for (double shift : {-kTwoPi, 0.0, kTwoPi}) {
        holes_.push_back({rho.front() + shift, rho.back() + shift, cols.front(), cols.back()});
      }
    } else {
      for (double shift : {-kTwoPi, 0.0}) {
        Run run = clipToWall(cols, rho, shift, u_);
        if (run.cols.empty()) continue;
        holes_.push_back({run.rho.front(), run.rho.back(), run.cols.front(), run.cols.back()});
        runs_.push_back(std::move(run));
      }
    }
    std::sort(holes_.begin(), holes_.end(), [](const Hole& a, const Hole& b) { return a.start < b.start; });
  }

  // The wall's boundaries, snapped onto nearby window ends, and its pieces outside the window.
  void layOutWall() {
    std::vector<double> rho(static_cast<size_t>(u_.nA) + 1);
    std::vector<Column> cols(rho.size());
    for (int i = 0; i <= u_.nA; ++i) {
      double& r = rho[static_cast<size_t>(i)];
      r = i == u_.nA ? u_.sweep : u_.sweep * i / u_.nA;
      // A full turn ends where it starts: the same angle gives the same points.
      const double theta = u_.full && i == u_.nA ? u_.start : u_.start + r;
      cols[static_cast<size_t>(i)] = {theta, 0, u_.h};
      for (const Hole& hole : holes_) {
        if (std::fabs(r - hole.start) <= kSnapAngle) {
          r = hole.start;
          cols[static_cast<size_t>(i)] = hole.first;
        } else if (std::fabs(r - hole.end) <= kSnapAngle) {
          r = hole.end;
          cols[static_cast<size_t>(i)] = hole.last;
        }
      }
    }
    for (size_t i = 0; i + 1 < rho.size(); ++i) cutSegment(rho[i], cols[i], rho[i + 1], cols[i + 1]);
  }

  void cutSegment(double a, const Column& left, double b, const Column& right) {
    double cur = a;
    Column from = left;
    for (const Hole& hole : holes_) {
      if (!(hole.start < b && hole.end > cur)) continue;
      if (hole.start > cur) addWallBay(cur, from, hole.first);
      cur = hole.end;
      from = hole.last;
    }
    if (cur < b) addWallBay(cur, from, right);
  }

  // Beside a rectangular window the wall's part of a segment is one quad from the base to the top;
  // beside an elliptic one it takes the window's corner points.
  void addWallBay(double rho, const Column& left, const Column& right) {
    if (s_.elliptic) {
      wallBays_.push_back({rho, left, right});
    } else {
      wallBays_.push_back({rho, {left.theta, 0, u_.h}, {right.theta, 0, u_.h}});
    }
  }

  Point3 at(double theta, double z) const {
    const Offset2 o = ellipseOffset(u_.r, u_.r, 0, theta);
    return {s_.base.x + o.x, s_.base.y + o.y, s_.base.z + z};
  }

  // The quad (left at zl1, right at zr1, right at zr2, left at zl2), reversed when rev.
  void band(const Bay& b, double zl1, double zr1, double zr2, double zl2, bool rev) {
    const Point3 p[4] = {at(b.left.theta, zl1), at(b.right.theta, zr1), at(b.right.theta, zr2), at(b.left.theta, zl2)};
    if (rev) {
      draw_.quad(p[3], p[2], p[1], p[0]);
    } else {
      draw_.quad(p[0], p[1], p[2], p[3]);
    }
  }
  void below(const Bay& b, bool rev) {
    if (b.left.lo != 0 || b.right.lo != 0) band(b, 0, 0, b.right.lo, b.left.lo, rev);
  }
  void middle(const Bay& b, bool rev) { band(b, b.left.lo, b.right.lo, b.right.hi, b.left.hi, rev); }
  void above(const Bay& b, bool rev) {
    if (b.left.hi != u_.h || b.right.hi != u_.h) band(b, b.left.hi, b.right.hi, u_.h, u_.h, rev);
  }

  void wallFaces(bool rev) {
    for (const Bay& b : wallBays_) {
      below(b, rev);
      middle(b, rev);
      above(b, rev);
    }
    forEachWindowBay([&](const Bay& b) {
      above(b, rev);
      below(b, rev);
    });
  }

  void windowFaces(bool rev) {
    forEachWindowBay([&](const Bay& b) { middle(b, rev); });
  }

  template <typename Fn>
  void forEachWindowBay(Fn fn) const {
    for (const Run& run : runs_)
      for (size_t k = 1; k < run.cols.size(); ++k) fn(Bay{run.rho[k - 1], run.cols[k - 1], run.cols[k]});
  }

  // Lower edge forward, the side at the end up, the upper edge back, the side at the start down.
  void outline() {
    for (const Run& run : runs_) {
      const std::vector<Column>& c = run.cols;
      if (std::all_of(c.begin(), c.end(), [](const Column& k) { return k.lo == k.hi; })) continue;
      std::vector<Point3> loop;
      for (const Column& k : c) loop.push_back(at(k.theta, k.lo));
      for (auto k = c.rbegin(); k != c.rend(); ++k) loop.push_back(at(k->theta, k->hi));
      loop.push_back(loop.front());
      draw_.chain(loop.data(), loop.size());
    }
  }

  // One line per bay at height z, in order along the wall.
  void rim(double z) {
    std::vector<Bay> bays = wallBays_;
    forEachWindowBay([&](const Bay& b) { bays.push_back(b); });
    std::stable_sort(bays.begin(), bays.end(), [](const Bay& a, const Bay& b) { return a.rho < b.rho; });
    for (const Bay& b : bays) draw_.line(at(b.left.theta, z), at(b.right.theta, z));
  }

  LocalDraw& draw_;
  const WallHole& s_;
  const Setup& u_;
  std::vector<Run> runs_;
  std::vector<Hole> holes_;
  std::vector<Bay> wallBays_;
};

}  // namespace

bool drawWallHole(LocalDraw& draw, const WallHole& hole) {
  const Setup u = setUp(hole);
  if (valid(hole)) WallBuilder(draw, hole, u).build();
  return u.lines != 0 && u.lines % 2 == 0;
}

}  // namespace kubrix
