// Descriptors of the vaults, domes and the boxes and cylinders with shaped edges: DBBOX1..4, DBPOLY1..2,
// CBOX1..2, CCCYLIN, CECYLIN, CPCYLIN, CYCYLIN, RBOX1..2, BBOX1..3 and RCCYLIN..BYCYLIN.
#include "geometry/commands/solid_commands.h"
#include "geometry/solids.h"

namespace kubrix {

namespace {

// DBBOX1 / DBBOX2 n kind a b c bottom rev; DBBOX3 / DBBOX4 n kind a b c bottom startEnd farEnd rev.
template <bool Circular, bool OwnEnds>
void buildVault(LocalDraw& d, const SolidArgs& a) {
  Vault v;
  v.n = a.ints[0];
  v.kind = a.flags[0] != 0 ? 1 : 0;
  v.a = a.num[0], v.b = a.num[1], v.c = a.num[2];
  v.circular = Circular;
  v.limitRise = Circular && !OwnEnds;
  v.bottom = a.flags[1] != 0;
  v.startEnd = !OwnEnds || a.flags[2] != 0;
  v.farEnd = !OwnEnds || a.flags[3] != 0;
  v.reverse = a.rev;
  drawVault(d, v);
}

// DBPOLY1 / DBPOLY2 n m a b bottom rev.
template <bool Spherical>
void buildDomeCap(LocalDraw& d, const SolidArgs& a) {
  drawDomeCap(d, a.ints[0], a.ints[1], a.num[0], a.num[1], Spherical, a.flags[0] != 0, a.rev);
}

// Flags f1 (bottom), f2 (top) and the edge types e1..e4 from flags[first].
BoxEdges boxEdges(const SolidArgs& a, size_t first) {
  BoxEdges e;
  e.bottom = a.flags[first] != 0;
  e.top = a.flags[first + 1] != 0;
  for (size_t i = 0; i < 4; ++i) e.types[i] = a.flags[first + 2 + i];
  e.reverse = a.rev;
  return e;
}

// CBOX1 / CBOX2 w d H cx cy s f1 f2 e1 e2 e3 e4 rev.
template <bool Both>
void buildChamferBox(LocalDraw& d, const SolidArgs& a) {
  const double* v = a.num;
  drawChamferBox(d, v[0], v[1], v[2], v[3], v[4], v[5], Both, boxEdges(a, 0));
}

// RBOX1 .. BBOX3 n w d h r1 r2 f1 f2 e1 e2 e3 e4 rev.
template <EdgeShape Shape, bool Both>
void buildShapedBox(LocalDraw& d, const SolidArgs& a) {
  const double* v = a.num;
  drawShapedBox(d, Shape, Both, a.ints[0], v[0], v[1], v[2], v[3], v[4], boxEdges(a, 0));
}

// The cylinders with a shaped top edge. Numbers by form:
//   Full circle:  R H c s                      (CCCYLIN, RCCYLIN, BCCYLIN)
//   Full ellipse: rx ry rot H c1 c2 s          (CECYLIN; the R and B forms have one c: rx ry rot H c s)
//   Sector:       as the ellipse, then a1 a2   (CPCYLIN, RPCYLIN, BPCYLIN)
//   Segment:      R H c s ox oy a1 a2          (CYCYLIN, RYCYLIN, BYCYLIN)
// Flags: bottom, top, then the start and end cut (sector) or the chord (segment).
enum class Form { Circle, Ellipse, Sector, Segment };

template <EdgeShape Shape, Form F>
void buildEdgeCylinder(LocalDraw& d, const SolidArgs& a) {
  const double* v = a.num;
  const bool twoC = Shape == EdgeShape::Chamfer;
  EdgeCylinder c;
  c.shape = Shape;
  c.n = a.ints[0];
  c.m = a.ints[1];
  if constexpr (F == Form::Circle || F == Form::Segment) {
    c.rx = c.ry = v[0], c.H = v[1], c.cx = c.cy = v[2], c.s = v[3];
    if constexpr (F == Form::Segment) c.ox = v[4], c.oy = v[5], c.a1 = v[6], c.a2 = v[7];
  } else {
    c.rx = v[0], c.ry = v[1], c.rot = v[2], c.H = v[3], c.cx = v[4];
    c.cy = twoC ? v[5] : v[4];
    c.s = v[twoC ? 6 : 5];
    if constexpr (F == Form::Sector) c.a1 = v[twoC ? 7 : 6], c.a2 = v[twoC ? 8 : 7];
  }
  c.cut = F == Form::Sector ? RoundCut::Sector : F == Form::Segment ? RoundCut::Segment : RoundCut::Full;
  c.bottom = a.flags[0] != 0;
  c.top = a.flags[1] != 0;
  c.cutStart = a.flags[2] != 0;
  c.cutEnd = a.flags[3] != 0;
  c.reverse = a.rev;
  drawEdgeCylinder(d, c);
}

constexpr SolidCommand kDbbox1{"nfdddfr", buildVault<true, false>};
constexpr SolidCommand kDbbox2{"nfdddfr", buildVault<false, false>};
constexpr SolidCommand kDbbox3{"nfdddfffr", buildVault<true, true>};
constexpr SolidCommand kDbbox4{"nfdddfffr", buildVault<false, true>};
constexpr SolidCommand kDbpoly1{"nnddfr", buildDomeCap<true>};
constexpr SolidCommand kDbpoly2{"nnddfr", buildDomeCap<false>};
constexpr SolidCommand kCbox1{"ddddddffffffr", buildChamferBox<false>};
constexpr SolidCommand kCbox2{"ddddddffffffr", buildChamferBox<true>};

using ES = EdgeShape;
constexpr std::string_view kShapedBox = "ndddddffffffr";
constexpr SolidCommand kRbox1{kShapedBox, buildShapedBox<ES::Round, false>};
constexpr SolidCommand kRbox2{kShapedBox, buildShapedBox<ES::Round, true>};
constexpr SolidCommand kBbox1{kShapedBox, buildShapedBox<ES::Cove, false>};
constexpr SolidCommand kBbox2{kShapedBox, buildShapedBox<ES::Cove, true>};
constexpr SolidCommand kBbox3{kShapedBox, buildShapedBox<ES::Ogee, false>};

constexpr SolidCommand kCccylin{"nddddffr", buildEdgeCylinder<ES::Chamfer, Form::Circle>};
constexpr SolidCommand kCecylin{"ndddddddffr", buildEdgeCylinder<ES::Chamfer, Form::Ellipse>};
constexpr SolidCommand kCpcylin{"nddddddduuffffr", buildEdgeCylinder<ES::Chamfer, Form::Sector>};
constexpr SolidCommand kCycylin{"ndddddduufffr", buildEdgeCylinder<ES::Chamfer, Form::Segment>};
constexpr SolidCommand kRccylin{"nnddddffr", buildEdgeCylinder<ES::Round, Form::Circle>, false};
constexpr SolidCommand kBccylin{"nnddddffr", buildEdgeCylinder<ES::Cove, Form::Circle>, false};
constexpr SolidCommand kRecylin{"nnddddddffr", buildEdgeCylinder<ES::Round, Form::Ellipse>, false};
constexpr SolidCommand kBecylin{"nnddddddffr", buildEdgeCylinder<ES::Cove, Form::Ellipse>, false};
constexpr SolidCommand kRpcylin{"nnddddddddffffr", buildEdgeCylinder<ES::Round, Form::Sector>};
constexpr SolidCommand kBpcylin{"nnddddddddffffr", buildEdgeCylinder<ES::Cove, Form::Sector>};
constexpr SolidCommand kRycylin{"nnddddddddfffr", buildEdgeCylinder<ES::Round, Form::Segment>};
constexpr SolidCommand kBycylin{"nnddddddddfffr", buildEdgeCylinder<ES::Cove, Form::Segment>};

}  // namespace

void registerShapedSolids(CommandTable& t) {
  t.add("DBBOX1", cmdSolid<kDbbox1>, "DBBOX1 var n kind a b c bottom rev");
  t.add("DBBOX2", cmdSolid<kDbbox2>, "DBBOX2 var n kind a b c bottom rev");
  t.add("DBBOX3", cmdSolid<kDbbox3>, "DBBOX3 var n kind a b c bottom start end rev");
  t.add("DBBOX4", cmdSolid<kDbbox4>, "DBBOX4 var n kind a b c bottom start end rev");
  t.add("DBPOLY1", cmdSolid<kDbpoly1>, "DBPOLY1 var n m a b bottom rev");
  t.add("DBPOLY2", cmdSolid<kDbpoly2>, "DBPOLY2 var n m a b bottom rev");
  t.add("CBOX1", cmdSolid<kCbox1>, "CBOX1 var w d H cx cy s bottom top e1 e2 e3 e4 rev");
  t.add("CBOX2", cmdSolid<kCbox2>, "CBOX2 var w d H cx cy s bottom top e1 e2 e3 e4 rev");
  t.add("CCCYLIN", cmdSolid<kCccylin>, "CCCYLIN var n R H c s bottom top rev");
  t.add("CECYLIN", cmdSolid<kCecylin>, "CECYLIN var n rx ry rot H c1 c2 s bottom top rev");
  t.add("CPCYLIN", cmdSolid<kCpcylin>, "CPCYLIN var n rx ry rot H c1 c2 s a1 a2 bottom top start end rev");
  t.add("CYCYLIN", cmdSolid<kCycylin>, "CYCYLIN var n R H c s cx cy a1 a2 bottom top chord rev");
  t.add("RBOX1", cmdSolid<kRbox1>, "RBOX1 var n w d h r1 r2 bottom top e1 e2 e3 e4 rev");
  t.add("RBOX2", cmdSolid<kRbox2>, "RBOX2 var n w d h r1 r2 bottom top e1 e2 e3 e4 rev");
  t.add("BBOX1", cmdSolid<kBbox1>, "BBOX1 var n w d h r1 r2 bottom top e1 e2 e3 e4 rev");
  t.add("BBOX2", cmdSolid<kBbox2>, "BBOX2 var n w d h r1 r2 bottom top e1 e2 e3 e4 rev");
  t.add("BBOX3", cmdSolid<kBbox3>, "BBOX3 var n w d h r1 r2 bottom top e1 e2 e3 e4 rev");
  t.add("RCCYLIN", cmdSolid<kRccylin>, "RCCYLIN var n m R H c s bottom top rev");
  t.add("BCCYLIN", cmdSolid<kBccylin>, "BCCYLIN var n m R H c s bottom top rev");
  t.add("RECYLIN", cmdSolid<kRecylin>, "RECYLIN var n m rx ry rot H c s bottom top rev");
  t.add("BECYLIN", cmdSolid<kBecylin>, "BECYLIN var n m rx ry rot H c s bottom top rev");
  t.add("RPCYLIN", cmdSolid<kRpcylin>, "RPCYLIN var n m rx ry rot H c s a1 a2 bottom top start end rev");
  t.add("BPCYLIN", cmdSolid<kBpcylin>, "BPCYLIN var n m rx ry rot H c s a1 a2 bottom top start end rev");
  t.add("RYCYLIN", cmdSolid<kRycylin>, "RYCYLIN var n m R H c s cx cy a1 a2 bottom top chord rev");
  t.add("BYCYLIN", cmdSolid<kBycylin>, "BYCYLIN var n m R H c s cx cy a1 a2 bottom top chord rev");
}

}  // namespace kubrix
