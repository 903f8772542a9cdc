// Draw-line commands of the profile solids: single faces in local coordinates (3SLD2D .. 2SLD3D)
// and the fans and bands on an ellipse (ASLD3D, CSLD.., PSLD.., YSLD.., OSLD.., DSLD.., BSLD..).
#include <array>
#include <string>

#include "engine/command_call.h"
#include "engine/command_table.h"
#include "engine/number_text.h"
#include "engine/sjis.h"
#include "geometry/profile.h"

namespace kubrix {

namespace {

using TitleFn = const std::string& (*)();

// "<" c "> " after the title, then the points joined by "-", each "x,y" or "x,y,z".
void logFaces(CommandCall& c, const std::string& title, const Point3* p, int count, bool withZ) {
  if (!c.logging()) return;
  std::string& m = c.message();
  m += title;
  m += "<";
  appendInt(m, static_cast<long long>(c.figures().count()));
  m += "> ";
  for (int i = 0; i < count; ++i) {
    if (i) m += "-";
    appendNumber(m, p[i].x);
    m += ",";
    appendNumber(m, p[i].y);
    if (withZ) {
      m += ",";
      appendNumber(m, p[i].z);
    }
  }
  m += ")";
  c.log(m);
}

// 3SLD2D / 3SLD3D / 4SLD2D / 4SLD3D / 2SLD3D: N points (z = 0 for the 2D forms), one face.
template <int N, bool With3D, TitleFn Title>
void cmdFace(CommandCall& c) {
  const int out = c.variable(1);
  if (out < 0) return c.logUndefinedOutput(true);
  constexpr size_t kPer = With3D ? 3 : 2;
  Point3 p[4];
  for (size_t i = 0; i < N; ++i) {
    const size_t k = 2 + kPer * i;
    p[i] = Point3{c.num(k), c.num(k + 1), With3D ? c.num(k + 2) : 0};
  }
  LocalDraw draw(c.figures(), c.engine().matrix);
  if constexpr (N == 2) drawWallUnder(draw, p[0], p[1]);
  if constexpr (N == 3) draw.triangle(p[0], p[1], p[2]);
  if constexpr (N == 4) draw.quad(p[0], p[1], p[2], p[3]);
  c.setInt(out, static_cast<long long>(c.figures().count()));
  logFaces(c, Title(), p, N, With3D);
}

// Argument layout of the ellipse figures: var, int n, cx, cy, [cz or h], rx, ry, theta, [a1, a2],
// [ri], int rev. Every number between n and rev is logged in this order.
struct ProfileCommand {
  ProfileShape shape;
  bool height;  // the 3D forms (and ASLD3D's wall height) take a number after cx, cy
  bool arc;
  bool inner;
  TitleFn title;  // nullptr: the keyword followed by " 作図 ("
};

const std::string& titleA3() { return SJ("ASOLID(3D)作図 ("); }
const std::string& titleC2() { return SJ("CSOLID(2D)作図 ("); }
const std::string& titleC3() { return SJ("CSOLID(3D)作図 ("); }
const std::string& titleD2() { return SJ("DSOLID(2D)作図 ("); }
const std::string& titleD3() { return SJ("DSOLID(3D)作図 ("); }
const std::string& titleB2() { return SJ("BSOLID(2D)作図 ("); }
const std::string& titleB3() { return SJ("BSOLID(3D)作図 ("); }
const std::string& title32() { return SJ("3SOLID(2D)作図 ("); }
const std::string& title33() { return SJ("3SOLID(3D)作図 ("); }
const std::string& title42() { return SJ("4SOLID(2D)作図 ("); }
const std::string& title43() { return SJ("4SOLID(3D)作図 ("); }
const std::string& title23() { return SJ("2SOLID(3D)作図 ("); }

using PS = ProfileShape;
constexpr ProfileCommand kWall{PS::Wall, true, true, false, titleA3};
constexpr ProfileCommand kDisc2{PS::Disc, false, false, false, titleC2};
constexpr ProfileCommand kDisc3{PS::Disc, true, false, false, titleC3};
constexpr ProfileCommand kSector2{PS::Sector, false, true, false, nullptr};
constexpr ProfileCommand kSector3{PS::Sector, true, true, false, nullptr};
constexpr ProfileCommand kSegment2{PS::Segment, false, true, false, nullptr};
constexpr ProfileCommand kSegment3{PS::Segment, true, true, false, nullptr};
constexpr ProfileCommand kFillet2{PS::Fillet, false, true, false, nullptr};
constexpr ProfileCommand kFillet3{PS::Fillet, true, true, false, nullptr};
constexpr ProfileCommand kRing2{PS::Ring, false, false, true, titleD2};
constexpr ProfileCommand kRing3{PS::Ring, true, false, true, titleD3};
constexpr ProfileCommand kRingSector2{PS::RingSector, false, true, true, titleB2};
constexpr ProfileCommand kRingSector3{PS::RingSector, true, true, true, titleB3};

void logProfile(CommandCall& c, const ProfileCommand& pc, int n, const double* v, size_t count) {
  if (!c.logging()) return;
  std::string& m = c.message();
  if (pc.title) {
    m += pc.title();
  } else {
    m += c.keyword();
    m += SJ(" 作図 (");
  }
  m += "<N:";
  appendInt(m, n);
  m += ",";
  appendInt(m, static_cast<long long>(c.figures().count()));
  m += "> ";
  for (size_t i = 0; i < count; ++i) {
    if (i) m += ",";
    appendNumber(m, v[i]);
  }
  m += ")";
  c.log(m);
}

template <const ProfileCommand& PC>
void cmdProfile(CommandCall& c) {
  const int out = c.variable(1);
  if (out < 0) return c.logUndefinedOutput(true);
  constexpr size_t kCount = 5 + (PC.height ? 1 : 0) + (PC.arc ? 2 : 0) + (PC.inner ? 1 : 0);
  double v[kCount];
  for (size_t i = 0; i < kCount; ++i) v[i] = c.num(3 + i);
  ProfileFigure f;
  f.shape = PC.shape;
  f.n = c.integer(2);
  f.rev = c.integer(3 + kCount) != 0;
  size_t i = 0;
  f.ellipse.cx = v[i++];
  f.ellipse.cy = v[i++];
  if (PC.height) f.z = v[i++];
  f.ellipse.rx = v[i++];
  f.ellipse.ry = v[i++];
  f.ellipse.theta = v[i++];
  if (PC.arc) {
    f.a1 = v[i++];
    f.a2 = v[i++];
  }
  if (PC.inner) f.ri = v[i++];
  LocalDraw draw(c.figures(), c.engine().matrix);
  drawProfile(draw, f);
  c.setInt(out, static_cast<long long>(c.figures().count()));
  logProfile(c, PC, f.n, v, kCount);
}

}  // namespace

void registerProfileCommands(CommandTable& t) {
  t.add("3SLD2D", cmdFace<3, false, title32>, "3SLD2D var x1 y1 x2 y2 x3 y3");
  t.add("3SLD3D", cmdFace<3, true, title33>, "3SLD3D var x1 y1 z1 x2 y2 z2 x3 y3 z3");
  t.add("4SLD2D", cmdFace<4, false, title42>, "4SLD2D var x1 y1 x2 y2 x3 y3 x4 y4");
  t.add("4SLD3D", cmdFace<4, true, title43>, "4SLD3D var x1 y1 z1 x2 y2 z2 x3 y3 z3 x4 y4 z4");
  t.add("2SLD3D", cmdFace<2, true, title23>, "2SLD3D var x1 y1 z1 x2 y2 z2");
  t.add("ASLD3D", cmdProfile<kWall>, "ASLD3D var n cx cy h rx ry rot a1 a2 rev");
  t.add("CSLD2D", cmdProfile<kDisc2>, "CSLD2D var n cx cy rx ry rot rev");
  t.add("CSLD3D", cmdProfile<kDisc3>, "CSLD3D var n cx cy cz rx ry rot rev");
  t.add("PSLD2D", cmdProfile<kSector2>, "PSLD2D var n cx cy rx ry rot a1 a2 rev");
  t.add("PSLD3D", cmdProfile<kSector3>, "PSLD3D var n cx cy cz rx ry rot a1 a2 rev");
  t.add("YSLD2D", cmdProfile<kSegment2>, "YSLD2D var n cx cy rx ry rot a1 a2 rev");
  t.add("YSLD3D", cmdProfile<kSegment3>, "YSLD3D var n cx cy cz rx ry rot a1 a2 rev");
  t.add("OSLD2D", cmdProfile<kFillet2>, "OSLD2D var n cx cy rx ry rot a1 a2 rev");
  t.add("OSLD3D", cmdProfile<kFillet3>, "OSLD3D var n cx cy cz rx ry rot a1 a2 rev");
  t.add("DSLD2D", cmdProfile<kRing2>, "DSLD2D var n cx cy rx ry rot ri rev");
  t.add("DSLD3D", cmdProfile<kRing3>, "DSLD3D var n cx cy cz rx ry rot ri rev");
  t.add("BSLD2D", cmdProfile<kRingSector2>, "BSLD2D var n cx cy rx ry rot a1 a2 ri rev");
  t.add("BSLD3D", cmdProfile<kRingSector3>, "BSLD3D var n cx cy cz rx ry rot a1 a2 ri rev");
}

}  // namespace kubrix
