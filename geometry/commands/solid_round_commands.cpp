// Descriptors of the round solids: cylinders, frusta and cones (full, sector, segment, corner fillet),
// spheres, domes, ellipsoids and their parts, and tori.
#include <array>

#include "geometry/commands/solid_commands.h"
#include "geometry/solids.h"

namespace kubrix {

namespace {

enum class Round { Cylinder, Tube, Cone };

// Number layouts after n: cylinders r h | rx ry rot h; frusta r1 h r2 tx ty | rx1 ry1 rot1 h rx2 ry2 rot2
// tx ty; cones r h ax ay | rx ry rot h ax ay; the cut forms add s e. Flags: bottom (top) rev.
template <Round K, bool Elliptic, RoundCut Cut>
void buildRound(LocalDraw& d, const SolidArgs& a) {
  const double* v = a.num;
  RoundBody b;
  b.n = a.ints[0];
  b.cut = Cut;
  size_t i = 0;
  const auto ellipse = [&](double cx, double cy) {
    PlaneEllipse e{cx, cy, v[i], v[i], 0};
    if (Elliptic) e.ry = v[i + 1], e.theta = v[i + 2];
    i += Elliptic ? 3 : 1;
    return e;
  };
  b.base = ellipse(0, 0);
  b.h = v[i++];
  b.top = b.base;
  if constexpr (K == Round::Tube) {
    b.top = ellipse(0, 0);
    b.top.cx = v[i], b.top.cy = v[i + 1];
    i += 2;
  }
  if constexpr (K == Round::Cone) {
    b.cone = true;
    b.ax = v[i], b.ay = v[i + 1];
    i += 2;
  }
  if constexpr (Cut != RoundCut::Full) b.s = v[i], b.e = v[i + 1];
  b.bottom = a.flags[0] != 0;
  b.topFace = K != Round::Cone && a.flags[1] != 0;
  b.reverse = a.rev;
  drawRoundBody(d, b);
}

using RC = RoundCut;
constexpr SolidCommand kCylind{"nddffr", buildRound<Round::Cylinder, false, RC::Full>};
constexpr SolidCommand kCtube{"ndddddffr", buildRound<Round::Tube, false, RC::Full>};
constexpr SolidCommand kCcone{"nddddfr", buildRound<Round::Cone, false, RC::Full>};
constexpr SolidCommand kEcylind{"nddddffr", buildRound<Round::Cylinder, true, RC::Full>};
constexpr SolidCommand kEtube{"ndddddddddffr", buildRound<Round::Tube, true, RC::Full>};
constexpr SolidCommand kEcone{"nddddddfr", buildRound<Round::Cone, true, RC::Full>};
constexpr std::string_view kCutCylinder = "nddddddffr", kCutTube = "nddddddddddd" "ffr", kCutCone = "nddddddddfr";
constexpr SolidCommand kPcylind{kCutCylinder, buildRound<Round::Cylinder, true, RC::Sector>};
constexpr SolidCommand kYcylind{kCutCylinder, buildRound<Round::Cylinder, true, RC::Segment>};
constexpr SolidCommand kOcylind{kCutCylinder, buildRound<Round::Cylinder, true, RC::Fillet>};
constexpr SolidCommand kPtube{kCutTube, buildRound<Round::Tube, true, RC::Sector>};
constexpr SolidCommand kYtube{kCutTube, buildRound<Round::Tube, true, RC::Segment>};
constexpr SolidCommand kOtube{kCutTube, buildRound<Round::Tube, true, RC::Fillet>};
constexpr SolidCommand kPcone{kCutCone, buildRound<Round::Cone, true, RC::Sector>};
constexpr SolidCommand kYcone{kCutCone, buildRound<Round::Cone, true, RC::Segment>};
constexpr SolidCommand kOcone{kCutCone, buildRound<Round::Cone, true, RC::Fillet>};

// SPHERE n r rev; EGG n a b c rev; DOME n r bottom rev.
void buildSphere(LocalDraw& d, const SolidArgs& a) { drawEllipsoid(d, a.ints[0], a.num[0], a.num[0], a.num[0], a.rev); }
void buildEgg(LocalDraw& d, const SolidArgs& a) { drawEllipsoid(d, a.ints[0], a.num[0], a.num[1], a.num[2], a.rev); }
void buildDome(LocalDraw& d, const SolidArgs& a) { drawDome(d, a.ints[0], a.num[0], a.flags[0] != 0, a.rev); }

// EGGP1 n a b c t1 t2 s e four flags rev: each flag acts only when it is exactly 1.
void buildEggPart(LocalDraw& d, const SolidArgs& a) {
  const double* v = a.num;
  EllipsoidPart p;
  p.n = a.ints[0];
  p.a = v[0], p.b = v[1], p.c = v[2], p.t1 = v[3], p.t2 = v[4], p.s = v[5], p.e = v[6];
  p.capT1 = a.flags[0] == 1, p.capT2 = a.flags[1] == 1, p.cutS = a.flags[2] == 1, p.cutE = a.flags[3] == 1;
  p.reverse = a.rev;
  drawEllipsoidPart(d, p);
}

// EGGPX / EGGPY / EGGPZ n a b c cut s e four flags rev.
template <int Axis>
void buildEggCap(LocalDraw& d, const SolidArgs& a) {
  const double* v = a.num;
  drawEllipsoidCap(d, a.ints[0], Axis, v[0], v[1], v[2], v[3], v[4], v[5],
                   {a.flags[0], a.flags[1], a.flags[2], a.flags[3]}, a.rev);
}

constexpr SolidCommand kSphere{"ndr", buildSphere};
constexpr SolidCommand kDome{"ndfr", buildDome};
constexpr SolidCommand kEgg{"ndddr", buildEgg};
constexpr SolidCommand kEggP1{"ndddu" "uuuffffr", buildEggPart};
constexpr SolidCommand kEggPx{"ndddu" "uuffffr", buildEggCap<0>};
constexpr SolidCommand kEggPy{"ndddu" "uuffffr", buildEggCap<1>};
constexpr SolidCommand kEggPz{"ndddu" "uuffffr", buildEggCap<2>};

// TORUS m n p u rev; TORUS1 m n p q sigma u v rho rev; TORUS2 m n p q sigma phi1 phi2 u v rho th1 th2
// k1 k2 c1 c2 rev.
void buildTorus(LocalDraw& d, const SolidArgs& a) {
  Torus t;
  t.m = a.ints[0], t.n = a.ints[1];
  t.p = t.q = a.num[0];
  t.u = t.v = a.num[1];
  t.reverse = a.rev;
  drawTorus(d, t);
}
// TORUS1 and TORUS2 read the same numbers in the same order; TORUS2 has the section and turn angles
// and the closing flags between them.
template <bool Partial>
void buildTorusOf(LocalDraw& d, const SolidArgs& a) {
  const double* v = a.num;
  Torus t;
  t.m = a.ints[0], t.n = a.ints[1];
  t.p = v[0], t.q = v[1], t.sigma = v[2];
  const double* path = v + (Partial ? 5 : 3);
  t.u = path[0], t.v = path[1], t.rho = path[2];
  if constexpr (Partial) {
    t.phi1 = v[3], t.phi2 = v[4], t.th1 = v[8], t.th2 = v[9];
    t.k1 = a.flags[0], t.k2 = a.flags[1], t.c1 = a.flags[2], t.c2 = a.flags[3];
  }
  t.reverse = a.rev;
  drawTorus(d, t);
}

constexpr SolidCommand kTorus{"nnddr", buildTorus};
constexpr SolidCommand kTorus1{"nnddu" "ddur", buildTorusOf<false>};
constexpr SolidCommand kTorus2{"nnddu" "uudd" "uuuffffr", buildTorusOf<true>};

}  // namespace

void registerRoundSolids(CommandTable& t) {
  t.add("CYLIND", cmdSolid<kCylind>, "CYLIND var n r h bottom top rev");
  t.add("CTUBE", cmdSolid<kCtube>, "CTUBE var n r1 h r2 tx ty bottom top rev");
  t.add("CCONE", cmdSolid<kCcone>, "CCONE var n r h ax ay bottom rev");
  t.add("ECYLIND", cmdSolid<kEcylind>, "ECYLIND var n rx ry rot h bottom top rev");
  t.add("ETUBE", cmdSolid<kEtube>, "ETUBE var n rx1 ry1 rot1 h rx2 ry2 rot2 tx ty bottom top rev");
  t.add("ECONE", cmdSolid<kEcone>, "ECONE var n rx ry rot h ax ay bottom rev");
  t.add("PCYLIND", cmdSolid<kPcylind>, "PCYLIND var n rx ry rot h s e bottom top rev");
  t.add("YCYLIND", cmdSolid<kYcylind>, "YCYLIND var n rx ry rot h s e bottom top rev");
  t.add("OCYLIND", cmdSolid<kOcylind>, "OCYLIND var n rx ry rot h s e bottom top rev");
  t.add("PTUBE", cmdSolid<kPtube>, "PTUBE var n rx1 ry1 rot1 h rx2 ry2 rot2 tx ty s e bottom top rev");
  t.add("YTUBE", cmdSolid<kYtube>, "YTUBE var n rx1 ry1 rot1 h rx2 ry2 rot2 tx ty s e bottom top rev");
  t.add("OTUBE", cmdSolid<kOtube>, "OTUBE var n rx1 ry1 rot1 h rx2 ry2 rot2 tx ty s e bottom top rev");
  t.add("PCONE", cmdSolid<kPcone>, "PCONE var n rx ry rot h ax ay s e bottom rev");
  t.add("YCONE", cmdSolid<kYcone>, "YCONE var n rx ry rot h ax ay s e bottom rev");
  t.add("OCONE", cmdSolid<kOcone>, "OCONE var n rx ry rot h ax ay s e bottom rev");
  t.add("SPHERE", cmdSolid<kSphere>, "SPHERE var n r rev");
  t.add("DOME", cmdSolid<kDome>, "DOME var n r bottom rev");
  t.add("EGG", cmdSolid<kEgg>, "EGG var n a b c rev");
  t.add("EGGP1", cmdSolid<kEggP1>, "EGGP1 var n a b c t1 t2 s e k1 k2 k3 k4 rev");
  t.add("EGGPX", cmdSolid<kEggPx>, "EGGPX var n a b c cut s e k1 k2 k3 k4 rev");
  t.add("EGGPY", cmdSolid<kEggPy>, "EGGPY var n a b c cut s e k1 k2 k3 k4 rev");
  t.add("EGGPZ", cmdSolid<kEggPz>, "EGGPZ var n a b c cut s e k1 k2 k3 k4 rev");
  t.add("TORUS", cmdSolid<kTorus>, "TORUS var m n p u rev");
  t.add("TORUS1", cmdSolid<kTorus1>, "TORUS1 var m n p q sigma u v rho rev");
  t.add("TORUS2", cmdSolid<kTorus2>,
        "TORUS2 var m n p q sigma phi1 phi2 u v rho th1 th2 k1 k2 c1 c2 rev");
}

}  // namespace kubrix
