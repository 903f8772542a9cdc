// Draw-line commands of the planar primitives: points, lines, circles, arcs, ellipses, elliptic arcs,
// rectangles and rounded rectangles in the local coordinates of the current matrix. The 2D form of a
// command draws in the plane z = 0; the 3D form reads z as one more number and is otherwise the same,
// so each pair shares one template body.
#include <array>
#include <string>

#include "engine/command_call.h"
#include "engine/command_table.h"
#include "engine/number_text.h"
#include "engine/sjis.h"
#include "geometry/local_draw.h"
#include "geometry/planar.h"

namespace kubrix {

namespace {

// Log titles, 2D and 3D form side by side.
enum Title : size_t { kLine, kPoint, kCircle, kArc, kEllipse, kEllipticArc, kBox, kTitleCount };
constexpr std::string_view kTitlesUtf8[kTitleCount][2] = {
    {"直線(2D)作図 (", "直線(3D)作図 ("},   {"点(2D)作図 (", "点(3D)作図 ("},
    {"円(2D)作図 (", "円(3D)作図 ("},       {"円弧(2D)作図 (", "円弧(3D)作図 ("},
    {"楕円(2D)作図 (", "楕円(3D)作図 ("},   {"楕円弧(2D)作図 (", "楕円弧(3D)作図 ("},
    {"長方形(2D)作図 (", "長方形(3D)作図 ("},
};

const std::string& title(Title t, bool threeD) {
  static const auto sjis = [] {
    std::array<std::array<std::string, 2>, kTitleCount> s;
    for (size_t i = 0; i < kTitleCount; ++i)
      for (size_t j = 0; j < 2; ++j) s[i][j] = utf8ToSjis(kTitlesUtf8[i][j]);
    return s;
  }();
  return sjis[t][threeD ? 1 : 0];
}

// Numeric arguments from position `first` on, in argument order.
template <size_t N>
std::array<double, N> readNumbers(const CommandCall& c, size_t first) {
  std::array<double, N> v{};
  for (size_t i = 0; i < N; ++i) v[i] = c.num(first + i);
  return v;
}

// v[0..n) as number text with `sep` between them.
void appendNumbers(std::string& m, const double* v, size_t n, std::string_view sep) {
  for (size_t i = 0; i < n; ++i) {
    if (i) m += sep;
    appendNumber(m, v[i]);
  }
}

LocalDraw localDraw(CommandCall& c) { return LocalDraw(c.figures(), c.engine().matrix); }

// Writes the element count into the output variable and returns it.
long long finish(CommandCall& c, int out) {
  const long long count = static_cast<long long>(c.figures().count());
  c.setInt(out, count);
  return count;
}

// LINE2D / LINE3D / TEN2D / TEN3D: one or two points, each of two or three numbers.
template <size_t Points, bool ThreeD>
void cmdVertex(CommandCall& c) {
  const int out = c.variable(1);
  if (out < 0) return c.logUndefinedOutput(true);
  constexpr size_t dims = ThreeD ? 3 : 2;
  const auto v = readNumbers<Points * dims>(c, 2);
  Point3 p[Points];
  for (size_t i = 0; i < Points; ++i) p[i] = {v[i * dims], v[i * dims + 1], ThreeD ? v[i * dims + dims - 1] : 0};
  LocalDraw d = localDraw(c);
  if constexpr (Points == 1) d.point(p[0]);
  if constexpr (Points == 2) d.line(p[0], p[1]);
  const long long count = finish(c, out);
  if (!c.logging()) return;
  std::string& m = c.message();
  m += title(Points == 1 ? kPoint : kLine, ThreeD);
  m += "<";
  appendInt(m, count);
  m += "> ";
  for (size_t i = 0; i < Points; ++i) {
    if (i) m += " - ";
    appendNumbers(m, v.data() + i * dims, dims, ",");
  }
  m += ")";
  c.log(m);
}

// Circle-like commands: n, cx, cy (, cz), then the shape's own numbers.
enum class Round { Circle, Arc, Ellipse, EllipticArc };
constexpr size_t kShapeNumbers[] = {1, 3, 3, 5};  // r | r a1 a2 | rx ry theta | rx ry theta a1 a2

template <Round K, bool ThreeD>
void cmdRound(CommandCall& c) {
  const int out = c.variable(1);
  if (out < 0) return c.logUndefinedOutput(true);
  const int n = c.integer(2);
  constexpr size_t lead = ThreeD ? 3 : 2;
  const auto v = readNumbers<lead + kShapeNumbers[static_cast<int>(K)]>(c, 3);
  const Point3 centre{v[0], v[1], ThreeD ? v[2] : 0};
  const double* a = v.data() + lead;
  LocalDraw d = localDraw(c);
  if constexpr (K == Round::Circle) drawCircle(d, n, centre, a[0]);
  if constexpr (K == Round::Arc) drawArc(d, n, centre, a[0], a[1], a[2]);
  if constexpr (K == Round::Ellipse) drawEllipse(d, n, centre, a[0], a[1], a[2]);
  if constexpr (K == Round::EllipticArc) drawEllipticArc(d, n, centre, a[0], a[1], a[2], a[3], a[4]);
  const long long count = finish(c, out);
  if (!c.logging()) return;
  std::string& m = c.message();
  m += title(static_cast<Title>(kCircle + static_cast<size_t>(K)), ThreeD);
  m += "<N:";
  appendInt(m, n);  // as given, before clamping
  m += ",";
  appendInt(m, count);
  m += "> ";
  appendNumbers(m, v.data(), v.size(), ",");
  m += ")";
  c.log(m);
}

// BOX2D / BOX3D: two corners (and z).
template <bool ThreeD>
void cmdBox(CommandCall& c) {
  const int out = c.variable(1);
  if (out < 0) return c.logUndefinedOutput(true);
  const auto v = readNumbers<ThreeD ? 5 : 4>(c, 2);
  LocalDraw d = localDraw(c);
  drawBox(d, v[0], v[1], v[2], v[3], ThreeD ? v[4] : 0);
  const long long count = finish(c, out);
  if (!c.logging()) return;
  std::string& m = c.message();
  m += title(kBox, ThreeD);
  m += "<";
  appendInt(m, count);
  m += "> ";
  appendNumbers(m, v.data(), 2, ",");
  m += "-";
  appendNumbers(m, v.data() + 2, 2, ",");
  if constexpr (ThreeD) {
    m += " , ";
    appendNumber(m, v[4]);
  }
  m += ")";
  c.log(m);
}

// RRECT1 / RRECT2 / SRECT1 / SRECT2: n, seven numbers (two corners, or anchor point and size; then z,
// rx, ry), the anchor for the anchored forms, four corner flags, and rev for the filled forms.
template <bool Anchored, bool Filled>
void cmdRoundedRect(CommandCall& c) {
  const int out = c.variable(1);
  if (out < 0) return c.logUndefinedOutput(true);
  const int n = c.integer(2);
  const auto v = readNumbers<7>(c, 3);
  size_t k = 10;
  const int anchor = Anchored ? c.integer(k++) : 0;
  std::array<int, 4> flags{};
  for (int& f : flags) f = c.integer(k++);
  const bool reverse = Filled && c.integer(k) != 0;
  const RoundedRect r = Anchored ? anchoredRect(n, v[0], v[1], v[2], v[3], v[4], v[5], v[6], anchor, flags)
                                 : RoundedRect{n, v[0], v[1], v[2], v[3], v[4], v[5], v[6], flags};
  LocalDraw d = localDraw(c);
  Filled ? fillRoundedRect(d, r, reverse) : drawRoundedRect(d, r);
  const long long count = finish(c, out);
  if (!c.logging()) return;
  std::string& m = c.message();
  m += c.keyword();
  m += "[";
  appendInt(m, count);
  m += "](";
  appendInt(m, n);
  m += ": ";
  for (double x : v) {
    appendNumber(m, x);
    m += ",";
  }
  m += ")";
  c.log(m);
}

}  // namespace

void registerPlanarCommands(CommandTable& t) {
  t.add("LINE2D", cmdVertex<2, false>, "LINE2D var x1 y1 x2 y2");
  t.add("LINE3D", cmdVertex<2, true>, "LINE3D var x1 y1 z1 x2 y2 z2");
  t.add("TEN2D", cmdVertex<1, false>, "TEN2D var x y");
  t.add("TEN3D", cmdVertex<1, true>, "TEN3D var x y z");
  t.add("CIRCLE2D", cmdRound<Round::Circle, false>, "CIRCLE2D var n cx cy r");
  t.add("CIRCLE3D", cmdRound<Round::Circle, true>, "CIRCLE3D var n cx cy cz r");
  t.add("ARC2D", cmdRound<Round::Arc, false>, "ARC2D var n cx cy r a1 a2");
  t.add("ARC3D", cmdRound<Round::Arc, true>, "ARC3D var n cx cy cz r a1 a2");
  t.add("ELLI2D", cmdRound<Round::Ellipse, false>, "ELLI2D var n cx cy rx ry angle");
  t.add("ELLI3D", cmdRound<Round::Ellipse, true>, "ELLI3D var n cx cy cz rx ry angle");
  t.add("ELARC2D", cmdRound<Round::EllipticArc, false>, "ELARC2D var n cx cy rx ry angle a1 a2");
  t.add("ELARC3D", cmdRound<Round::EllipticArc, true>, "ELARC3D var n cx cy cz rx ry angle a1 a2");
  t.add("BOX2D", cmdBox<false>, "BOX2D var x1 y1 x2 y2");
  t.add("BOX3D", cmdBox<true>, "BOX3D var x1 y1 x2 y2 z");
  t.add("RRECT1", cmdRoundedRect<false, false>, "RRECT1 var n x1 y1 x2 y2 z rx ry k1 k2 k3 k4");
  t.add("RRECT2", cmdRoundedRect<true, false>, "RRECT2 var n x y w h z rx ry anchor k1 k2 k3 k4");
  t.add("SRECT1", cmdRoundedRect<false, true>, "SRECT1 var n x1 y1 x2 y2 z rx ry k1 k2 k3 k4 rev");
  t.add("SRECT2", cmdRoundedRect<true, true>, "SRECT2 var n x y w h z rx ry anchor k1 k2 k3 k4 rev");
}

}  // namespace kubrix
