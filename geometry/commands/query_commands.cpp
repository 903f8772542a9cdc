// Draw-line commands that measure: rounding, divisors, distances, angles, turned points,
// intersections, circles through points, chamfers, fillets and normals. They append nothing: each
// reads its output variables and numbers, computes, writes the results and logs one line. All but
// CHKNUM share one body driven by a table row.
#include <array>
#include <cmath>
#include <cstdint>
#include <string>
#include <utility>

#include "engine/command_call.h"
#include "engine/command_table.h"
#include "engine/number_text.h"
#include "engine/sjis.h"
#include "geometry/intersect.h"
#include "geometry/queries.h"
#include "geometry/tangents.h"

namespace kubrix {

namespace {

constexpr size_t kMaxOutputs = 21;
constexpr size_t kMaxInputs = 12;

using ld = long double;
// Computes the outputs (all zero on entry) from the inputs.
using QueryFn = void (*)(const double* in, ld* out);

struct Query {
  std::string_view keyword;
  std::string_view usage;
  uint8_t outputs;
  uint8_t inputs;
  uint32_t integerInputs;   // bit k: input k is an integer argument
  uint32_t integerOutputs;  // bit k: output k is written as a whole number (flags, counts)
  QueryFn compute;
  // The log line: "#k" is output k, "$k" input k, "*" all outputs separated by ","; the rest is
  // copied as it stands.
  std::string_view log;
};

Point2 p2(const double* a) { return {a[0], a[1]}; }
Point3 p3(const double* a) { return {a[0], a[1], a[2]}; }

void put(ld* out, const Point2& p) {
  out[0] = p.x;
  out[1] = p.y;
}
void put(ld* out, const Point3& p) {
  out[0] = p.x;
  out[1] = p.y;
  out[2] = p.z;
}
void put(ld* out, const PairHit& h) {
  out[0] = h.flag;
  put(out + 1, h.p1);
  put(out + 3, h.p2);
}
template <size_t N>
void put(ld* out, int flag, const std::array<Point2, N>& p, size_t points) {
  out[0] = flag;
  for (size_t i = 0; i < points; ++i) put(out + 1 + 2 * i, p[i]);
}

void qKeta(const double* a, ld* o) { o[0] = roundToScale(a[0], a[1]); }
void qGcm(const double* a, ld* o) { o[0] = static_cast<ld>(commonDivisor(a[0], a[1])); }
void qDist2d(const double* a, ld* o) {
  const ld dx = static_cast<ld>(a[2]) - a[0], dy = static_cast<ld>(a[3]) - a[1];
  o[0] = std::sqrt(dx * dx + dy * dy);
}
void qDist(const double* a, ld* o) {
  const ld dx = static_cast<ld>(a[3]) - a[0], dy = static_cast<ld>(a[4]) - a[1], dz = static_cast<ld>(a[5]) - a[2];
  o[0] = std::sqrt(dx * dx + dy * dy + dz * dz);
}
void qAngle2d(const double* a, ld* o) { o[0] = polarAngle(a[0], a[1]); }
void qAngle2v(const double* a, ld* o) { o[0] = angleBetween(p3(a), p3(a + 3)); }
void qAngle(const double* a, ld* o) {
  const Bearing b = bearing(a[0], a[1], a[2]);
  o[0] = b.horizontal;
  o[1] = b.elevation;
}
void qRev2d(const double* a, ld* o) { put(o, turnPoint(p2(a), p2(a + 2), a[4])); }
void qRev(const double* a, ld* o) {
  // The axis is a numeric argument; only the exact values 1, 2 and 3 name an axis.
  const int axis = a[7] == 1 ? 1 : a[7] == 2 ? 2 : a[7] == 3 ? 3 : 0;
  put(o, turnAboutAxis(p3(a), p3(a + 3), a[6], axis));
}
void qRevA(const double* a, ld* o) { put(o, turnAboutLine(p3(a), p3(a + 3), p3(a + 6), a[9])); }
void qCrsLP(const double* a, ld* o) {
  const Foot f = perpendicularFoot(p2(a), p2(a + 2), p2(a + 4));
  o[0] = f.dist;
  put(o + 1, f.p);
}
void qCrsLL(const double* a, ld* o) {
  const LineHit h = intersectLines(a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7]);
  o[0] = h.flag;
  o[1] = h.x;
  o[2] = h.y;
}
void qCrsLC(const double* a, ld* o) { put(o, intersectLineCircle(p2(a), p2(a + 2), p2(a + 4), a[6])); }
void qCrsLE(const double* a, ld* o) {
  put(o, intersectLineEllipse(p2(a), p2(a + 2), p2(a + 4), a[6], a[7], a[8]));
}
void qCrsCC(const double* a, ld* o) { put(o, intersectCircles(p2(a), a[2], p2(a + 3), a[5])); }
void q3pc(const double* a, ld* o) {
  const CircleFit f = circleThrough(p2(a), p2(a + 2), p2(a + 4));
  o[0] = f.flag;
  put(o + 1, f.centre);
  o[3] = f.r;
}
// Centre, radius, start and end angle.
void put(ld* out, const ArcFit& f) {
  put(out, f.centre);
  out[2] = f.r;
  out[3] = f.start;
  out[4] = f.end;
}
void q2pa(const double* a, ld* o) {
  const ArcFit f = arcThroughTwo(a[0], p2(a + 1), p2(a + 3), p2(a + 5));
  o[0] = f.flag;
  put(o + 1, f);
}
void q3pa(const double* a, ld* o) {
  const ArcFit f = arcThroughThree(p2(a), p2(a + 2), p2(a + 4));
  o[0] = f.flag;
  o[1] = f.dir;
  put(o + 2, f);
}
void qMenLL(const double* a, ld* o) {
  const LineChamfer c = chamferLines(a[0], p2(a + 1), p2(a + 3), p2(a + 5), p2(a + 7));
  put(o, c.flag, c.p, 4);
}
void qMenLC(const double* a, ld* o) {
  const CornerPoints c = chamferLineCircle(a[0], p2(a + 1), p2(a + 3), p2(a + 5), a[7]);
  put(o, c.count, c.p, 10);
}
void qMenCC(const double* a, ld* o) {
  const CornerPoints c = chamferCircles(a[0], p2(a + 1), a[3], p2(a + 4), a[6]);
  put(o, c.count, c.p, 10);
}
void qFilLL(const double* a, ld* o) {
  const LineFillet f = filletLines(a[0], static_cast<int>(a[1]), static_cast<int>(a[2]), p2(a + 3), p2(a + 5),
                                   p2(a + 7), p2(a + 9));
  put(o, f.flag, std::array<Point2, 3>{f.centre, f.onA, f.onB}, 3);
}
void qFilLC(const double* a, ld* o) {
  const CornerPoints c = filletLineCircle(a[0], static_cast<int>(a[1]), static_cast<int>(a[2]), p2(a + 3),
                                          p2(a + 5), p2(a + 7), a[9]);
  put(o, c.count, c.p, 6);
}
void qFilCC(const double* a, ld* o) {
  const CornerPoints c = filletCircles(a[0], static_cast<int>(a[1]), static_cast<int>(a[2]), p2(a + 3), a[5],
                                       p2(a + 6), a[8]);
  put(o, c.count, c.p, 6);
}
void qNorm(const double* a, ld* o) { put(o, planeNormal(p3(a), p3(a + 3), p3(a + 6))); }

// Whole-number outputs: output 0 of the flagged queries (a flag or count, and then checked for
// undefined values) and of GETGCM, output 1 of GET3PA (the direction).
constexpr uint32_t kFirst = 1;
constexpr uint32_t kSecond = 2;

// clang-format off
constexpr std::array<Query, 25> kQueries{{
  {"GETKETA", "GETKETA v x s", 1, 2, 0, 0, qKeta, "GETKETA($0) = #0"},
  {"GETGCM", "GETGCM n a b", 1, 2, 0, kFirst, qGcm, "GETGCM = #0"},
  {"GETDIST2D", "GETDIST2D d x1 y1 x2 y2", 1, 4, 0, 0, qDist2d, "GETDIST2D = #0"},
  {"GETDIST", "GETDIST d x1 y1 z1 x2 y2 z2", 1, 6, 0, 0, qDist, "GETDIST = #0"},
  {"GETANGLE2D", "GETANGLE2D a dx dy", 1, 2, 0, 0, qAngle2d, "GETANGLE2D = #0"},
  {"GETANGLE2V", "GETANGLE2V a x1 y1 z1 x2 y2 z2", 1, 6, 0, 0, qAngle2v, "GETANGLE2V = #0"},
  {"GETANGLE", "GETANGLE h v dx dy dz", 2, 3, 0, 0, qAngle, "GETANGLE = #0 , #1"},
  {"GETREV2D", "GETREV2D x' y' x y cx cy a", 2, 5, 0, 0, qRev2d, "GETREV2D(#0,#1)"},
  {"GETREV", "GETREV x' y' z' x y z cx cy cz a axis", 3, 8, 0, 0, qRev, "GETREV(#0,#1,#2)"},
  {"GETREVA", "GETREVA x' y' z' x y z x1 y1 z1 x2 y2 z2 a", 3, 10, 0, 0, qRevA, "GETREVA(#0,#1,#2)"},
  {"GETCRSLP", "GETCRSLP d x y x1 y1 x2 y2 px py", 3, 6, 0, 0, qCrsLP, "GETCRSLP(#1,#2),Dist:#0"},
  {"GETCRSLL", "GETCRSLL f x y x1 y1 x2 y2 x3 y3 x4 y4", 3, 8, 0, kFirst, qCrsLL, "GETCRSLL(#1,#2),Flag:#0"},
  {"GETCRSLC", "GETCRSLC f x1 y1 x2 y2 px1 py1 px2 py2 cx cy r", 5, 7, 0, kFirst, qCrsLC,
   "GETCRSLC(#1,#2)(#3,#4),Flag:#0"},
  {"GETCRSLE", "GETCRSLE f x1 y1 x2 y2 px1 py1 px2 py2 cx cy rx ry rot", 5, 9, 0, kFirst, qCrsLE,
   "GETCRSLE(#1,#2)(#3,#4),Flag:#0"},
  {"GETCRSCC", "GETCRSCC f x1 y1 x2 y2 cx1 cy1 r1 cx2 cy2 r2", 5, 6, 0, kFirst, qCrsCC,
   "GETCRSCC(#1,#2)(#3,#4),Flag:#0"},
  {"GET3PC", "GET3PC f cx cy r x1 y1 x2 y2 x3 y3", 4, 6, 0, kFirst, q3pc, "GET3PC(#1,#2),#3)"},
  {"GET2PA", "GET2PA f cx cy r a1 a2 r x1 y1 x2 y2 qx qy", 6, 7, 0, kFirst, q2pa, "GET2PA(#1,#2),R:#3,#4,#5)"},
  {"GET3PA", "GET3PA f dir cx cy r as ae x1 y1 x2 y2 x3 y3", 7, 6, 0, kFirst | kSecond, q3pa,
   "GET3PA(#2,#3),R:#4,#5,#6),#0,#1"},
  {"GETMENLL", "GETMENLL f x1 y1 x2 y2 x3 y3 x4 y4 d ax1 ay1 ax2 ay2 bx1 by1 bx2 by2", 9, 9, 0, kFirst, qMenLL,
   "GETMENLL(#1,#2),(#3,#4) , (#5,#6),(#7,#8)"},
  {"GETMENLC", "GETMENLC n v1 .. v20 L x1 y1 x2 y2 cx cy r", 21, 8, 0, kFirst, qMenLC, "GETMENLC *"},
  {"GETMENCC", "GETMENCC n v1 .. v20 L cx1 cy1 r1 cx2 cy2 r2", 21, 7, 0, kFirst, qMenCC, "GETMENCC *"},
  {"GETFILLL", "GETFILLL f cx cy tax tay tbx tby R sideA sideB ax1 ay1 ax2 ay2 bx1 by1 bx2 by2", 7, 11, 6,
   kFirst, qFilLL, "GETFILLL *"},
  {"GETFILLC", "GETFILLC n v1 .. v12 R sideL sideC x1 y1 x2 y2 cx cy r", 13, 10, 6, kFirst, qFilLC,
   "GETFILLC *"},
  {"GETFILCC", "GETFILCC n v1 .. v12 R side1 side2 cx1 cy1 r1 cx2 cy2 r2", 13, 9, 6, kFirst, qFilCC,
   "GETFILCC *"},
  {"GETNORM", "GETNORM nx ny nz x1 y1 z1 x2 y2 z2 x3 y3 z3", 3, 9, 0, 0, qNorm, "GETNORM(#0,#1,#2)"},
}};
// clang-format on

void appendValue(std::string& m, ld v, bool whole) {
  if (whole) {
    appendInt(m, static_cast<long long>(v));
  } else {
    appendNumber(m, v);
  }
}

void writeLog(CommandCall& c, const Query& q, const double* in, const ld* out) {
  std::string& m = c.message();
  const std::string_view p = q.log;
  for (size_t i = 0; i < p.size(); ++i) {
    const char ch = p[i];
    if (ch == '*') {
      for (size_t k = 0; k < q.outputs; ++k) {
        if (k) m += ',';
        appendValue(m, out[k], (q.integerOutputs >> k) & 1);
      }
    } else if (ch == '#' || ch == '$') {
      size_t k = 0;
      while (i + 1 < p.size() && p[i + 1] >= '0' && p[i + 1] <= '9') k = k * 10 + static_cast<size_t>(p[++i] - '0');
      if (ch == '#') {
        appendValue(m, out[k], (q.integerOutputs >> k) & 1);
      } else {
        appendNumber(m, in[k]);
      }
    } else {
      m += ch;
    }
  }
  c.log(m);
}

// The shared body: output variables first (any undefined one stops the command with its message),
// then the inputs, the computation, the results and the log line.
void runQuery(CommandCall& c, const Query& q) {
  std::array<int, kMaxOutputs> vars{};
  for (size_t k = 0; k < q.outputs; ++k) {
    vars[k] = c.variable(1 + k);
    if (vars[k] < 0) return c.logUndefinedOutput(false);
  }
  std::array<double, kMaxInputs> in{};
  for (size_t k = 0; k < q.inputs; ++k) {
    const size_t arg = 1 + q.outputs + k;
    in[k] = (q.integerInputs >> k) & 1 ? c.integer(arg) : c.num(arg);
  }
  std::array<ld, kMaxOutputs> out{};
  q.compute(in.data(), out.data());
  // Inputs near the range of doubles can overflow on the way; a flag then says failure rather than
  // passing undefined coordinates on as a success.
  if (q.integerOutputs & kFirst) {
    bool finite = true;
    for (size_t k = 0; k < q.outputs; ++k) finite = finite && std::isfinite(out[k]);
    if (!finite) out.fill(0);
  }
  for (size_t k = 0; k < q.outputs; ++k) {
    if ((q.integerOutputs >> k) & 1) {
      c.setInt(vars[k], static_cast<long long>(out[k]));
    } else {
      c.setNumber(vars[k], out[k]);
    }
  }
  if (c.logging()) writeLog(c, q, in.data(), out.data());
}

template <size_t I>
void cmdQuery(CommandCall& c) {
  runQuery(c, kQueries[I]);
}

template <size_t... I>
void addQueries(CommandTable& t, std::index_sequence<I...>) {
  (t.add(kQueries[I].keyword, cmdQuery<I>, kQueries[I].usage), ...);
}

// CHKNUM f, name: whether the named variable's value reads completely as a number.
void cmdChkNum(CommandCall& c) {
  const int out = c.variable(1);
  const int named = c.variable(2);
  if (out < 0 || named < 0) {
    if (!c.logging()) return;
    std::string& m = c.message();
    m += SJ("CHKNUM:変数名が未定義です。");
    return c.log(m);
  }
  long double v;
  const bool number = c.engine().vars.number(static_cast<size_t>(named), v) == NumberRead::Number;
  c.setInt(out, number ? 1 : 0);
  if (!c.logging()) return;
  std::string& m = c.message();
  m += "CHKNUM(";
  m += c.token(2);
  m += ") = ";
  m += number ? '1' : '0';
  c.log(m);
}

}  // namespace

void registerQueryCommands(CommandTable& t) {
  addQueries(t, std::make_index_sequence<kQueries.size()>());
  t.add("CHKNUM", cmdChkNum, "CHKNUM f name");
}

}  // namespace kubrix
