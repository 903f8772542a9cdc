// Draw-line commands of the face-point grid, the patch surfaces and their edges, and the walls with windows.
#include <algorithm>
#include <string>
#include <vector>

#include "engine/command_call.h"
#include "engine/command_table.h"
#include "engine/number_text.h"
#include "engine/sjis.h"
#include "geometry/surfaces.h"
#include "geometry/wall_hole.h"

namespace kubrix {

namespace {

bool inGrid(int i, int j) { return i >= 0 && i <= 3 && j >= 0 && j <= 3; }

void logNotDone(CommandCall& c) {
  if (!c.logging()) return;
  std::string& m = c.message();
  m += c.keyword();
  m += SJ(":未実行");
  c.log(m);
}

// FACEPNT i, j, x, y, z
void cmdFacePoint(CommandCall& c) {
  const int i = c.integer(1), j = c.integer(2);
  if (!inGrid(i, j)) return logNotDone(c);
  const Point3 p = c.point(3);
  c.engine().facePoints[i][j] = p;
  if (!c.logging()) return;
  std::string& m = c.message();
  m += c.keyword();
  m += "[";
  appendInt(m, i);
  m += ",";
  appendInt(m, j);
  m += "](";
  appendPoint(m, p);
  m += ")";
  c.log(m);
}

// GETFPNT i, j, var x, var y, var z
void cmdGetFacePoint(CommandCall& c) {
  const int vars[3] = {c.variable(3), c.variable(4), c.variable(5)};
  if (std::min({vars[0], vars[1], vars[2]}) < 0) return c.logUndefinedOutput(false);
  const int i = c.integer(1), j = c.integer(2);
  if (!inGrid(i, j)) return logNotDone(c);
  const Point3& p = c.engine().facePoints[i][j];
  c.setNumber(vars[0], p.x);
  c.setNumber(vars[1], p.y);
  c.setNumber(vars[2], p.z);
  if (!c.logging()) return;
  std::string& m = c.message();
  m += c.keyword();
  m += ":";
  appendPoint(m, p);
  c.log(m);
}

// The element count into the output variable; the log message started as "KEYWORD[c]" (empty when
// the log is off).
std::string& countMessage(CommandCall& c, int out) {
  const auto count = static_cast<long long>(c.figures().count());
  c.setInt(out, count);
  std::string& m = c.message();
  if (!c.logging()) return m;
  m += c.keyword();
  m += "[";
  appendInt(m, count);
  m += "]";
  return m;
}

void finish(CommandCall& c, int out) {
  const std::string& m = countMessage(c, out);
  if (c.logging()) c.log(m);
}

// The selection becomes the elements appended since the store held `before` elements.
void selectAppended(Engine& e, size_t before) {
  e.selection.clear();
  for (size_t n = before + 1; n <= e.figures.count(); ++n) e.selection.push_back(static_cast<int32_t>(n));
}

// ELEFACE var, i1, j1, i2, j2, rev
void cmdGridCells(CommandCall& c) {
  const int out = c.variable(1);
  if (out < 0) return c.logUndefinedOutput(true);
  LocalDraw draw(c.figures(), c.engine().matrix);
  drawGridCells(draw, c.engine().facePoints, c.integer(2), c.integer(3), c.integer(4), c.integer(5), c.integer(6) != 0);
  finish(c, out);
}

// n, then the type for the patches that take one; k moves past them.
template <PatchKind K>
PatchParams readPatch(CommandCall& c, size_t& k) {
  PatchParams patch{K, c.integer(k++), 0};
  if constexpr (K != PatchKind::Bezier) patch.type = c.integer(k++);
  return patch;
}

// BEZFACE var, n, rev / 2BSFACE and 3BSFACE var, n, type, rev
template <PatchKind K>
void cmdPatch(CommandCall& c) {
  const int out = c.variable(1);
  if (out < 0) return c.logUndefinedOutput(true);
  size_t k = 2;
  const PatchParams patch = readPatch<K>(c, k);
  const bool rev = c.integer(k) != 0;
  thread_local PatchMesh mesh;
  buildPatchMesh(c.engine().facePoints, patch, mesh);
  LocalDraw draw(c.figures(), c.engine().matrix);
  drawPatchFaces(draw, mesh, rev);
  finish(c, out);
}

// BEZEDGE var, n, layer, colour, dir, side, sel / 2BSEDGE and 3BSEDGE var, n, type, layer, colour, ...
template <PatchKind K>
void cmdPatchEdge(CommandCall& c) {
  const int out = c.variable(1);
  if (out < 0) return c.logUndefinedOutput(true);
  size_t k = 2;
  const PatchParams patch = readPatch<K>(c, k);
  const int layer = c.integer(k), colour = c.integer(k + 1);
  const int dir = c.integer(k + 2), side = c.integer(k + 3), sel = c.integer(k + 4);
  FigureStore& store = c.figures();
  const int32_t keptLayer = store.layer, keptColour = store.colour;
  store.layer = std::clamp(layer == -1 ? keptLayer : layer, 0, 255);
  store.colour = std::clamp(colour == -1 ? keptColour : colour, 1, 255);
  const size_t before = store.count();
  thread_local std::vector<Point3> boundary;
  patchBoundary(c.engine().facePoints, patch, side, boundary);
  LocalDraw draw(store, c.engine().matrix);
  drawEdgeLines(draw, boundary, dir != 0);
  store.layer = keptLayer;
  store.colour = keptColour;
  if (sel != 0) selectAppended(c.engine(), before);
  finish(c, out);
}

// CHOLE1 / CHOLE2 var, colour, nA, nB, p1 .. p11, u, t, kind
template <bool Elliptic>
void cmdWallHole(CommandCall& c) {
  const int out = c.variable(1);
  if (out < 0) return c.logUndefinedOutput(true);
  double p[11];
  for (size_t i = 0; i < 11; ++i) p[i] = c.num(5 + i);
  WallHole w;
  w.elliptic = Elliptic;
  w.colour = c.integer(2);
  w.wallSegments = c.integer(3);
  w.windowSegments = c.integer(4);
  w.base = Point3{p[0], p[1], p[2]};
  w.radius = p[3];
  w.height = p[4];
  w.startAngle = p[5];
  w.endAngle = p[6];
  w.windowWidth = p[7];
  w.windowHeight = p[8];
  w.windowCentre = p[9];
  w.windowAngle = p[10];
  w.wallFaces = c.integer(16);
  w.windowFaces = c.integer(17);
  w.lines = c.integer(18);
  const size_t before = c.figures().count();
  LocalDraw draw(c.figures(), c.engine().matrix);
  if (drawWallHole(draw, w)) selectAppended(c.engine(), before);
  std::string& m = countMessage(c, out);
  if (!c.logging()) return;
  m += "(";
  for (int v : {w.colour, w.wallSegments, w.windowSegments}) {
    appendInt(m, v);
    m += ": ";
  }
  for (size_t i = 0; i < 11; ++i) {
    if (i) m += ",";
    appendNumber(m, p[i]);
  }
  m += ")";
  c.log(m);
}

}  // namespace

void registerSurfaceCommands(CommandTable& t) {
  using P = PatchKind;
  t.add("FACEPNT", cmdFacePoint, "FACEPNT i j x y z");
  t.add("GETFPNT", cmdGetFacePoint, "GETFPNT i j varX varY varZ");
  t.add("ELEFACE", cmdGridCells, "ELEFACE var i1 j1 i2 j2 rev");
  t.add("BEZFACE", cmdPatch<P::Bezier>, "BEZFACE var n rev");
  t.add("2BSFACE", cmdPatch<P::Quadratic>, "2BSFACE var n type rev");
  t.add("3BSFACE", cmdPatch<P::Spline>, "3BSFACE var n type rev");
  t.add("BEZEDGE", cmdPatchEdge<P::Bezier>, "BEZEDGE var n layer colour dir side sel");
  t.add("2BSEDGE", cmdPatchEdge<P::Quadratic>, "2BSEDGE var n type layer colour dir side sel");
  t.add("3BSEDGE", cmdPatchEdge<P::Spline>, "3BSEDGE var n type layer colour dir side sel");
  t.add("CHOLE1", cmdWallHole<false>, "CHOLE1 var colour nA nB cx cy cz r h a1 a2 w wh zc dir u t kind");
  t.add("CHOLE2", cmdWallHole<true>, "CHOLE2 var colour nA nB cx cy cz r h a1 a2 w wh zc dir u t kind");
}

}  // namespace kubrix
