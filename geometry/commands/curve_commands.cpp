// Draw-line commands of the curves: clothoids, cubic Bezier curves, quadratic and cubic B-splines,
// drawn as chains of lines (2D, 3D, 3DS forms) or as walls of quad faces (3S forms).
#include <array>

#include "engine/command_call.h"
#include "engine/command_table.h"
#include "engine/number_text.h"
#include "engine/sjis.h"
#include "geometry/curves.h"
#include "geometry/local_draw.h"

namespace kubrix {

namespace {

enum class Curve { Clothoid, Bezier, Quadratic, Spline };
// Flat: the XY plane; Lifted: the plane z (last number); Space: 3D control points; Wall: quad faces
// between the planar curve at z = 0 and at z = h (last number), then the rev flag.
enum class Form { Flat, Lifted, Space, Wall };

struct CurveShape {
  int points;      // control points (0: the clothoid, which takes six numbers)
  bool secondInt;  // an integer after n: the clothoid's mirror flag, the spline's type
};
constexpr CurveShape kShapes[] = {{0, true}, {4, false}, {3, false}, {4, true}};

constexpr CurveShape shapeOf(Curve k) { return kShapes[static_cast<int>(k)]; }

// Numbers after the integers: coordinates (or the clothoid's six values), then z or h.
constexpr int numberCount(Curve k, Form f) {
  const int base = k == Curve::Clothoid ? 6 : shapeOf(k).points * (f == Form::Space ? 3 : 2);
  return base + (f == Form::Lifted || f == Form::Wall ? 1 : 0);
}

std::string_view title(Curve k, bool space) {
  switch (k) {
    case Curve::Clothoid:
      return space ? SJ("クロソイド曲線(3D)作図 (") : SJ("クロソイド曲線(2D)作図 (");
    case Curve::Bezier:
      return space ? SJ("ベジェ曲線(3D)作図 (") : SJ("ベジェ曲線(2D)作図 (");
    case Curve::Quadratic:
      return space ? SJ("２次Ｂスプライン曲線(3D)作図 (") : SJ("２次Ｂスプライン曲線(2D)作図 (");
    case Curve::Spline:
      break;
  }
  return space ? SJ("３次Ｂスプライン曲線(3D)作図 (") : SJ("３次Ｂスプライン曲線(2D)作図 (");
}

struct CurveArgs {
  int n = 0, second = 0, rev = 0;
  std::array<double, 13> num{};
};

template <Curve K, Form F>
CurveArgs readArgs(CommandCall& c) {
  CurveArgs a;
  size_t k = 2;
  a.n = c.integer(k++);
  if (shapeOf(K).secondInt) a.second = c.integer(k++);
  for (int i = 0; i < numberCount(K, F); ++i) a.num[static_cast<size_t>(i)] = c.num(k++);
  if (F == Form::Wall) a.rev = c.integer(k);
  return a;
}

// The polyline of the curve in local coordinates (z = 0 unless the form is Space).
template <Curve K, Form F>
void generate(const CurveArgs& a, CurveBuffer& buf) {
  constexpr bool space = F == Form::Space;
  if constexpr (K == Curve::Clothoid) {
    const ClothoidSpec s{a.n, a.second != 0, a.num[0], a.num[1], a.num[2], a.num[3], a.num[4], a.num[5]};
    generateClothoid(s, buf);
  } else {
    Point3 p[shapeOf(K).points];
    for (size_t i = 0; i < std::size(p); ++i) {
      p[i] = space ? Point3{a.num[3 * i], a.num[3 * i + 1], a.num[3 * i + 2]}
                   : Point3{a.num[2 * i], a.num[2 * i + 1], 0};
    }
    if constexpr (K == Curve::Bezier) generateBezier(a.n, p, space, buf);
    if constexpr (K == Curve::Quadratic) generateQuadratic(a.n, p, space, buf);
    if constexpr (K == Curve::Spline) generateCubicSpline(a.n, a.second, p, space, buf);
  }
}

Point3 at(const Point3& q, double z) { return {q.x, q.y, z}; }

// Lines through the buffer's points in order, at height z or, for a space curve, at their own z.
void drawChain(LocalDraw& d, const CurveBuffer& buf, bool ownZ, double z) {
  if (buf.size() < 2) return;
  Point3 prev = d.world(ownZ ? buf[0] : at(buf[0], z));
  for (size_t k = 1; k < buf.size(); ++k) {
    const Point3 next = d.world(ownZ ? buf[k] : at(buf[k], z));
    d.worldLine(prev, next);
    prev = next;
  }
}

// One quad per segment between the curve at z = 0 and at z = h, each point mapped once per height.
// Rev 0 runs a quad (previous at h, next at h, next at 0, previous at 0), which faces to the left of
// the curve's travel for h > 0; rev turns every face to the other side.
void drawWall(LocalDraw& d, const CurveBuffer& buf, double h, bool rev) {
  if (buf.size() < 2) return;
  Point3 top = d.world(at(buf[0], h)), bottom = d.world(at(buf[0], 0));
  for (size_t k = 1; k < buf.size(); ++k) {
    const Point3 nextTop = d.world(at(buf[k], h)), nextBottom = d.world(at(buf[k], 0));
    if (rev) {
      d.worldQuad(nextTop, top, bottom, nextBottom);
    } else {
      d.worldQuad(top, nextTop, nextBottom, bottom);
    }
    top = nextTop;
    bottom = nextBottom;
  }
}

// "<title><c> n[,second],a,b,..)", the space form with its points between " - ", or for walls
// "KEYWORD[c](rev: a,b,..,)".
template <Curve K, Form F>
void logCurve(CommandCall& c, const CurveArgs& a, long long count) {
  std::string& m = c.message();
  constexpr int nums = numberCount(K, F);
  if constexpr (F == Form::Wall) {
    m += c.keyword();
    m += "[";
    appendInt(m, count);
    m += "](";
    appendInt(m, a.rev);
    m += ": ";
    for (int i = 0; i < nums; ++i) {
      appendNumber(m, a.num[static_cast<size_t>(i)]);
      m += ",";
    }
  } else {
    m += title(K, F != Form::Flat);
    m += "<";
    appendInt(m, count);
    m += "> ";
    appendInt(m, a.n);
    if (shapeOf(K).secondInt) {
      m += ",";
      appendInt(m, a.second);
    }
    for (int i = 0; i < nums; ++i) {
      m += F == Form::Space && i > 0 && i % 3 == 0 ? " - " : ",";
      appendNumber(m, a.num[static_cast<size_t>(i)]);
    }
  }
  m += ")";
  c.log(m);
}

// The one body of all fifteen commands: they differ only in their arguments and their output.
CurveBuffer& scratchBuffer() {
  thread_local CurveBuffer buffer;
  return buffer;
}

template <Curve K, Form F>
void cmdCurve(CommandCall& c) {
  const int out = c.variable(1);
  if (out < 0) return c.logUndefinedOutput(true);
  const CurveArgs a = readArgs<K, F>(c);
  CurveBuffer& buf = scratchBuffer();
  generate<K, F>(a, buf);
  LocalDraw d(c.figures(), c.engine().matrix);
  const double last = a.num[numberCount(K, F) - 1];  // z or h in the Lifted and Wall forms
  if constexpr (F == Form::Wall) {
    drawWall(d, buf, last, a.rev != 0);
  } else {
    drawChain(d, buf, F == Form::Space, F == Form::Lifted ? last : 0);
  }
  const auto count = static_cast<long long>(c.figures().count());
  c.setInt(out, count);
  if (c.logging()) logCurve<K, F>(c, a, count);
}

}  // namespace

void registerCurveCommands(CommandTable& t) {
  using C = Curve;
  using F = Form;
  t.add("CLOTH2D", cmdCurve<C::Clothoid, F::Flat>, "CLOTH2D var n flag x0 y0 L1 L2 A theta");
  t.add("CLOTH3D", cmdCurve<C::Clothoid, F::Lifted>, "CLOTH3D var n flag x0 y0 L1 L2 A theta z");
  t.add("BEZIR2D", cmdCurve<C::Bezier, F::Flat>, "BEZIR2D var n x1 y1 x2 y2 x3 y3 x4 y4");
  t.add("BEZIR3D", cmdCurve<C::Bezier, F::Lifted>, "BEZIR3D var n x1 y1 x2 y2 x3 y3 x4 y4 z");
  t.add("BEZIR3DS", cmdCurve<C::Bezier, F::Space>, "BEZIR3DS var n x1 y1 z1 x2 y2 z2 x3 y3 z3 x4 y4 z4");
  t.add("2BSPL2D", cmdCurve<C::Quadratic, F::Flat>, "2BSPL2D var n x1 y1 x2 y2 x3 y3");
  t.add("2BSPL3D", cmdCurve<C::Quadratic, F::Lifted>, "2BSPL3D var n x1 y1 x2 y2 x3 y3 z");
  t.add("2BSPL3DS", cmdCurve<C::Quadratic, F::Space>, "2BSPL3DS var n x1 y1 z1 x2 y2 z2 x3 y3 z3");
  t.add("3BSPL2D", cmdCurve<C::Spline, F::Flat>, "3BSPL2D var n type x1 y1 x2 y2 x3 y3 x4 y4");
  t.add("3BSPL3D", cmdCurve<C::Spline, F::Lifted>, "3BSPL3D var n type x1 y1 x2 y2 x3 y3 x4 y4 z");
  t.add("3BSPL3DS", cmdCurve<C::Spline, F::Space>, "3BSPL3DS var n type x1 y1 z1 x2 y2 z2 x3 y3 z3 x4 y4 z4");
  t.add("CLOTH3S", cmdCurve<C::Clothoid, F::Wall>, "CLOTH3S var n flag x0 y0 L1 L2 A theta h rev");
  t.add("BEZIR3S", cmdCurve<C::Bezier, F::Wall>, "BEZIR3S var n x1 y1 x2 y2 x3 y3 x4 y4 h rev");
  t.add("2BSPL3S", cmdCurve<C::Quadratic, F::Wall>, "2BSPL3S var n x1 y1 x2 y2 x3 y3 h rev");
  t.add("3BSPL3S", cmdCurve<C::Spline, F::Wall>, "3BSPL3S var n type x1 y1 x2 y2 x3 y3 x4 y4 h rev");
}

}  // namespace kubrix
