// Descriptors of the box and triangle solids: CUBE, CUBIC1..4, DELTA*, DTUBE*, DCONE*.
#include "geometry/commands/solid_commands.h"
#include "geometry/solids.h"

namespace kubrix {

namespace {

// CUBE w d h bottom top rev; CUBIC4 w d h tw td tx ty bottom top rev.
void buildCube(LocalDraw& d, const SolidArgs& a) {
  const double* v = a.num;
  drawBoxFrustum(d, BoxFrustum{v[0], v[1], v[2], v[0], v[1], 0, 0, a.flags[0] != 0, a.flags[1] != 0, a.rev});
}
void buildCubic4(LocalDraw& d, const SolidArgs& a) {
  const double* v = a.num;
  drawBoxFrustum(d, BoxFrustum{v[0], v[1], v[2], v[3], v[4], v[5], v[6], a.flags[0] != 0, a.flags[1] != 0, a.rev});
}

// CUBIC3 / CUBIC2 w d h len rx ry bottom rev; CUBIC1 w d h ax ay bottom rev.
template <RoofKind K>
void buildRoof(LocalDraw& d, const SolidArgs& a) {
  const double* v = a.num;
  Roof r{K, v[0], v[1], v[2], 0, 0, 0, a.flags[0] != 0, a.rev};
  if constexpr (K == RoofKind::Apex) {
    r.rx = v[3], r.ry = v[4];
  } else {
    r.len = v[3], r.rx = v[4], r.ry = v[5];
  }
  drawRoof(d, r);
}

TriangleRule rule(int type, bool alongY, const double* v) { return TriangleRule{type, alongY, {v[0], v[1], v[2]}}; }

// DELTA: three values, h, bottom, top, rev. DTUBE: three values, h, three top values, ox, oy, bottom,
// top, rev. DCONE: three values, h, ax, ay, bottom, rev.
template <TriangleSolid K, int Type, bool AlongY>
void buildTriangle(LocalDraw& d, const SolidArgs& a) {
  const double* v = a.num;
  TriangleBody t;
  t.kind = K;
  t.base = rule(Type, AlongY, v);
  t.h = v[3];
  if constexpr (K == TriangleSolid::Frustum) {
    t.top = rule(Type, AlongY, v + 4);
    t.ox = v[7], t.oy = v[8];
  }
  if constexpr (K == TriangleSolid::Pyramid) t.ox = v[4], t.oy = v[5];
  t.bottom = a.flags[0] != 0;
  t.topFace = K != TriangleSolid::Pyramid && a.flags[1] != 0;
  t.reverse = a.rev;
  drawTriangleBody(d, t);
}

constexpr SolidCommand kCube{"dddffr", buildCube};
constexpr SolidCommand kCubic4{"ddd dd ddffr", buildCubic4};
constexpr SolidCommand kCubic3{"ddd dd dfr", buildRoof<RoofKind::RidgeAlongY>};
constexpr SolidCommand kCubic2{"ddd dd dfr", buildRoof<RoofKind::RidgeAlongX>};
constexpr SolidCommand kCubic1{"ddd ddfr", buildRoof<RoofKind::Apex>};

constexpr std::string_view kDelta = "ddd dffr";
constexpr std::string_view kDtube = "ddd d ddd ddffr";
constexpr std::string_view kDcone = "ddd d ddfr";
using TS = TriangleSolid;
constexpr SolidCommand kDeltaX1{kDelta, buildTriangle<TS::Prism, 1, false>};
constexpr SolidCommand kDeltaX2{kDelta, buildTriangle<TS::Prism, 2, false>};
constexpr SolidCommand kDeltaX3{kDelta, buildTriangle<TS::Prism, 3, false>};
constexpr SolidCommand kDeltaY1{kDelta, buildTriangle<TS::Prism, 1, true>};
constexpr SolidCommand kDeltaY2{kDelta, buildTriangle<TS::Prism, 2, true>};
constexpr SolidCommand kDeltaY3{kDelta, buildTriangle<TS::Prism, 3, true>};
constexpr SolidCommand kDtubeX1{kDtube, buildTriangle<TS::Frustum, 1, false>};
constexpr SolidCommand kDtubeX2{kDtube, buildTriangle<TS::Frustum, 2, false>};
constexpr SolidCommand kDtubeX3{kDtube, buildTriangle<TS::Frustum, 3, false>};
constexpr SolidCommand kDtubeY1{kDtube, buildTriangle<TS::Frustum, 1, true>};
constexpr SolidCommand kDtubeY2{kDtube, buildTriangle<TS::Frustum, 2, true>};
constexpr SolidCommand kDtubeY3{kDtube, buildTriangle<TS::Frustum, 3, true>};
constexpr SolidCommand kDconeX1{kDcone, buildTriangle<TS::Pyramid, 1, false>};
constexpr SolidCommand kDconeX2{kDcone, buildTriangle<TS::Pyramid, 2, false>};
constexpr SolidCommand kDconeX3{kDcone, buildTriangle<TS::Pyramid, 3, false>};
constexpr SolidCommand kDconeY1{kDcone, buildTriangle<TS::Pyramid, 1, true>};
constexpr SolidCommand kDconeY2{kDcone, buildTriangle<TS::Pyramid, 2, true>};
constexpr SolidCommand kDconeY3{kDcone, buildTriangle<TS::Pyramid, 3, true>};

}  // namespace

void registerBoxSolids(CommandTable& t) {
  t.add("CUBE", cmdSolid<kCube>, "CUBE var w d h bottom top rev");
  t.add("CUBIC4", cmdSolid<kCubic4>, "CUBIC4 var w d h tw td tx ty bottom top rev");
  t.add("CUBIC3", cmdSolid<kCubic3>, "CUBIC3 var w d h len rx ry bottom rev");
  t.add("CUBIC2", cmdSolid<kCubic2>, "CUBIC2 var w d h len rx ry bottom rev");
  t.add("CUBIC1", cmdSolid<kCubic1>, "CUBIC1 var w d h ax ay bottom rev");
  t.add("DELTAX1", cmdSolid<kDeltaX1>, "DELTAX1 var b t angle h bottom top rev");
  t.add("DELTAX2", cmdSolid<kDeltaX2>, "DELTAX2 var b angle1 angle2 h bottom top rev");
  t.add("DELTAX3", cmdSolid<kDeltaX3>, "DELTAX3 var b s1 s2 h bottom top rev");
  t.add("DELTAY1", cmdSolid<kDeltaY1>, "DELTAY1 var b t angle h bottom top rev");
  t.add("DELTAY2", cmdSolid<kDeltaY2>, "DELTAY2 var b angle1 angle2 h bottom top rev");
  t.add("DELTAY3", cmdSolid<kDeltaY3>, "DELTAY3 var b s1 s2 h bottom top rev");
  t.add("DTUBEX1", cmdSolid<kDtubeX1>, "DTUBEX1 var b t angle h tb tt tangle ox oy bottom top rev");
  t.add("DTUBEX2", cmdSolid<kDtubeX2>, "DTUBEX2 var b a1 a2 h tb ta1 ta2 ox oy bottom top rev");
  t.add("DTUBEX3", cmdSolid<kDtubeX3>, "DTUBEX3 var b s1 s2 h tb ts1 ts2 ox oy bottom top rev");
  t.add("DTUBEY1", cmdSolid<kDtubeY1>, "DTUBEY1 var b t angle h tb tt tangle ox oy bottom top rev");
  t.add("DTUBEY2", cmdSolid<kDtubeY2>, "DTUBEY2 var b a1 a2 h tb ta1 ta2 ox oy bottom top rev");
  t.add("DTUBEY3", cmdSolid<kDtubeY3>, "DTUBEY3 var b s1 s2 h tb ts1 ts2 ox oy bottom top rev");
  t.add("DCONEX1", cmdSolid<kDconeX1>, "DCONEX1 var b t angle h ax ay bottom rev");
  t.add("DCONEX2", cmdSolid<kDconeX2>, "DCONEX2 var b a1 a2 h ax ay bottom rev");
  t.add("DCONEX3", cmdSolid<kDconeX3>, "DCONEX3 var b s1 s2 h ax ay bottom rev");
  t.add("DCONEY1", cmdSolid<kDconeY1>, "DCONEY1 var b t angle h ax ay bottom rev");
  t.add("DCONEY2", cmdSolid<kDconeY2>, "DCONEY2 var b a1 a2 h ax ay bottom rev");
  t.add("DCONEY3", cmdSolid<kDconeY3>, "DCONEY3 var b s1 s2 h ax ay bottom rev");
}

}  // namespace kubrix
