// Draw-line commands that set, change and read the current matrix and its backup.
#include "engine/command_call.h"
#include "engine/command_table.h"
#include "engine/number_text.h"
#include "engine/sjis.h"
#include "geometry/matrix.h"

namespace kubrix {

namespace {

void reset(Engine& e) {
  e.matrix = Matrix4::identity();
  e.matrixBackup = Matrix4::identity();
}

// Logs the keyword alone, or with a text behind it.
void logKeyword(CommandCall& c, std::string_view tail = {}) {
  if (!c.logging()) return;
  std::string& m = c.message();
  m += c.keyword();
  m += tail;
  c.log(m);
}

std::string_view setText() { return SJ(": 変換マトリックス設定"); }

void cmdIniMatr(CommandCall& c) {
  reset(c.engine());
  logKeyword(c, SJ(": 変換マトリックス初期化"));
}

void cmdBakMatr(CommandCall& c) {
  c.engine().matrixBackup = c.engine().matrix;
  logKeyword(c, SJ(": 変換マトリックスをバックアップ"));
}

void cmdResMatr(CommandCall& c) {
  c.engine().matrix = c.engine().matrixBackup;
  logKeyword(c, SJ(": 変換マトリックスをレストア"));
}

void cmdMatrix(CommandCall& c) {
  Matrix4& m = c.engine().matrix;
  for (int row = 0; row < 4; ++row) {
    for (int col = 0; col < 3; ++col) m.m[row][col] = c.num(1 + static_cast<size_t>(row * 3 + col));
    m.m[row][3] = row == 3 ? 1 : 0;
  }
  logKeyword(c, setText());
}

void cmdMatrixO(CommandCall& c) {
  c.engine().matrix.setOrigin(c.point(1));
  logKeyword(c);
}

void cmdMatrixL(CommandCall& c) {
  Matrix4& m = c.engine().matrix;
  m.setOrigin(localToWorld(m, c.point(1)));
  logKeyword(c);
}

void cmdMovMatr(CommandCall& c) {
  Matrix4& m = c.engine().matrix;
  const Point3 d = c.point(1);
  m.m[3][0] += d.x;
  m.m[3][1] += d.y;
  m.m[3][2] += d.z;
  logKeyword(c);
}

void cmdMatrixA(CommandCall& c) {
  Engine& e = c.engine();
  reset(e);
  e.matrix.setOrigin(c.point(1));
  e.matrix.postMultiplyAxes(Matrix4::rotZ(c.num(4)));
  e.matrix.postMultiplyAxes(Matrix4::rotY(c.num(5)));
  e.matrix.postMultiplyAxes(Matrix4::rotX(c.num(6)));
  logKeyword(c, setText());
}

void cmdMatrixT(CommandCall& c) {
  Engine& e = c.engine();
  reset(e);
  e.matrix = threePointFrame(c.point(1), c.point(4), c.point(7));
  logKeyword(c);
}

void cmdTraMatr(CommandCall& c) {
  Matrix4 a = Matrix4::identity();
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) a.m[i][j] = c.num(1 + static_cast<size_t>(i * 3 + j));
  c.engine().matrix.postMultiplyAxes(a);
  logKeyword(c);
}

// ROXMATR / ROYMATR / ROZMATR: turn about axes parallel to the world axes through the origin.
template <Matrix4 (*Rot)(double)>
void cmdRotWorld(CommandCall& c) {
  c.engine().matrix.postMultiplyAxes(Rot(c.num(1)));
  logKeyword(c);
}

// RLXMATR / RLYMATR / RLZMATR: turn about the local axes; they start from the identity, so the
// backup becomes the identity too.
template <Matrix4 (*Rot)(double)>
void cmdRotLocal(CommandCall& c) {
  Engine& e = c.engine();
  Matrix4 m = e.matrix;
  reset(e);
  m.preMultiplyAxes(Rot(c.num(1)));  // M3 := R * M3, the origin row kept
  e.matrix = m;
  logKeyword(c);
}

void cmdMatrixN(CommandCall& c) {
  Engine& e = c.engine();
  const long long n = c.integer(1);
  if (!e.figures.inRange(n)) {
    if (c.logging()) c.log("MATRIXN: Number Error");
    return;
  }
  int i = c.integer(2), j = c.integer(3), k = c.integer(4);
  if (i < 1 || i > 4) i = 1;
  if (j < 1 || j > 4) j = 2;
  if (k < 1 || k > 4) k = 3;
  if (i == j || j == k || i == k) i = 1, j = 2, k = 3;
  const FigureElement& f = e.figures.at(static_cast<size_t>(n));
  switch (f.kind) {
    case kKindLine:
      e.matrix.setOrigin(f.p[static_cast<size_t>(i - 1)]);
      break;
    case kKindPoint:
      e.matrix.setOrigin(f.p[0]);
      break;
    case kKindTriangle:
    case kKindQuad:
      if (f.kind == kKindTriangle && (i == 4 || j == 4 || k == 4)) i = 1, j = 2, k = 3;
      reset(e);
      e.matrix = threePointFrame(f.p[static_cast<size_t>(i - 1)], f.p[static_cast<size_t>(j - 1)],
                                 f.p[static_cast<size_t>(k - 1)]);
      break;
    default:
      break;
  }
  logKeyword(c, setText());
}

void cmdGetMatr(CommandCall& c) {
  int out[12];
  for (size_t i = 0; i < 12; ++i) {
    out[i] = c.variable(1 + i);
    if (out[i] < 0) return c.logUndefinedOutput(false);
  }
  for (int v : out) c.set(v, "0.0");
  const Matrix4& m = c.engine().matrix;
  for (int row = 0; row < 4; ++row)
    for (int col = 0; col < 3; ++col) c.setNumber(out[row * 3 + col], m.m[row][col]);
  if (!c.logging()) return;
  std::string& s = c.message();
  s += SJ("GETMATR: 変換マトリックス取得 ");
  for (int row = 0; row < 4; ++row) {
    for (int col = 0; col < 3; ++col) {
      appendNumber(s, m.m[row][col]);
      s += ",";
    }
    s += SJ("　");
  }
  c.log(s);
}

// GETL2W / GETW2L: three output variables, then the point to map.
template <bool ToWorld>
void cmdMapPoint(CommandCall& c) {
  int out[3];
  for (size_t i = 0; i < 3; ++i) {
    out[i] = c.variable(1 + i);
    if (out[i] < 0) return c.logUndefinedOutput(false);
  }
  const Point3 p = c.point(4);
  Point3 r;
  if constexpr (ToWorld) {
    r = localToWorld(c.engine().matrix, p);
  } else {
    // A matrix without an inverse ends the command: no result, no log line.
    if (!worldToLocal(c.engine().matrix, p, r)) return;
  }
  c.setNumber(out[0], r.x);
  c.setNumber(out[1], r.y);
  c.setNumber(out[2], r.z);
  if (!c.logging()) return;
  std::string& s = c.message();
  s += c.keyword();
  s += "(";
  appendPoint(s, r);
  s += "),";
  appendPoint(s, p);
  c.log(s);
}

}  // namespace

void registerMatrixCommands(CommandTable& t) {
  t.add("INIMATR", cmdIniMatr, "INIMATR");
  t.add("BAKMATR", cmdBakMatr, "BAKMATR");
  t.add("RESMATR", cmdResMatr, "RESMATR");
  t.add("MATRIX", cmdMatrix, "MATRIX Xx Xy Xz Yx Yy Yz Zx Zy Zz Ox Oy Oz");
  t.add("MATRIXO", cmdMatrixO, "MATRIXO x y z");
  t.add("MATRIXL", cmdMatrixL, "MATRIXL x y z");
  t.add("MOVMATR", cmdMovMatr, "MOVMATR dx dy dz");
  t.add("MATRIXA", cmdMatrixA, "MATRIXA Ox Oy Oz az ay ax");
  t.add("MATRIXT", cmdMatrixT, "MATRIXT x1 y1 z1 x2 y2 z2 x3 y3 z3");
  t.add("TRAMATR", cmdTraMatr, "TRAMATR a1 a2 a3 a4 a5 a6 a7 a8 a9");
  t.add("MATRIXN", cmdMatrixN, "MATRIXN n i j k");
  t.add("ROXMATR", cmdRotWorld<Matrix4::rotX>, "ROXMATR angle");
  t.add("ROYMATR", cmdRotWorld<Matrix4::rotY>, "ROYMATR angle");
  t.add("ROZMATR", cmdRotWorld<Matrix4::rotZ>, "ROZMATR angle");
  t.add("RLXMATR", cmdRotLocal<Matrix4::rotX>, "RLXMATR angle");
  t.add("RLYMATR", cmdRotLocal<Matrix4::rotY>, "RLYMATR angle");
  t.add("RLZMATR", cmdRotLocal<Matrix4::rotZ>, "RLZMATR angle");
  t.add("GETMATR", cmdGetMatr, "GETMATR Xx Xy Xz Yx Yy Yz Zx Zy Zz Ox Oy Oz");
  t.add("GETL2W", cmdMapPoint<true>, "GETL2W X Y Z x y z");
  t.add("GETW2L", cmdMapPoint<false>, "GETW2L x y z X Y Z");
}

}  // namespace kubrix
