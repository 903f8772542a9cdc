// Primitive solids built of triangle and quad faces in the local coordinates of the current matrix:
// boxes, roofs and pyramids, triangular prisms, round and elliptic cylinders, frusta and cones (full,
// sector, segment and corner-fillet), spheres, ellipsoids and their parts, tori, vaults and domes, and
// boxes and cylinders with shaped top edges. The base lies in the plane z = 0 with the height along
// +z (the sphere family's axis is the local X axis). With reverse false every face runs counter-
// clockwise seen from outside; with reverse true every face turns inward. A size below 1e-14 or an
// argument outside its range appends nothing; division counts are clamped, never rejected.
#pragma once

#include <array>

#include "geometry/local_draw.h"
#include "geometry/profile.h"

namespace kubrix {

// ---- boxes, roofs and pyramids ------------------------------------------------------------------

// Box frustum: base w x d centred on the origin, top tw x td centred at (tx, ty) at height h.
struct BoxFrustum {
  double w = 0, d = 0, h = 0, tw = 0, td = 0, tx = 0, ty = 0;
  bool bottom = false, top = false, reverse = false;
};
void drawBoxFrustum(LocalDraw& draw, const BoxFrustum& b);

// Roof on a w x d base: a ridge of length len at height h, centred at (rx, ry), parallel to the y axis
// (alongY) or to the x axis. Pyramid: the same with a single apex (ax, ay, h) (len unused).
enum class RoofKind { RidgeAlongY, RidgeAlongX, Apex };
struct Roof {
  RoofKind kind = RoofKind::Apex;
  double w = 0, d = 0, h = 0, len = 0, rx = 0, ry = 0;
  bool bottom = false, reverse = false;
};
void drawRoof(LocalDraw& draw, const Roof& r);

// ---- triangles ----------------------------------------------------------------------------------

// A triangle on a base edge: rule 1 (base, height, base angle), 2 (base, two base angles) or
// 3 (base, two sides). Along X: base from (b/2, 0) to (-b/2, 0), apex on the +y side; along Y: base
// from (0, -b/2) to (0, b/2), apex on the +x side.
struct TriangleRule {
  int rule = 1;
  bool alongY = false;
  double v[3] = {0, 0, 0};
};
// The three corners P1, P2, P3 (z = 0), or false when the values give no triangle.
bool ruleTriangle(const TriangleRule& t, std::array<Point3, 3>& p);

enum class TriangleSolid { Prism, Frustum, Pyramid };
struct TriangleBody {
  TriangleSolid kind = TriangleSolid::Prism;
  TriangleRule base, top;  // top: Frustum only
  double h = 0, ox = 0, oy = 0;  // (ox, oy): the top's shift (Frustum) or the apex (Pyramid)
  bool bottom = false, topFace = false, reverse = false;
};
void drawTriangleBody(LocalDraw& draw, const TriangleBody& t);

// ---- round cylinders, frusta and cones ----------------------------------------------------------

enum class RoundCut { Full, Sector, Segment, Fillet };
struct RoundBody {
  int n = 0;                  // clamped to 3..1000
  PlaneEllipse base, top;     // top: frusta only (cylinders repeat the base, cones have an apex)
  double h = 0;
  bool cone = false;
  double ax = 0, ay = 0;      // the cone's apex (ax, ay, h)
  RoundCut cut = RoundCut::Full;
  double s = 0, e = 0;        // start and end angle of the sector, segment and fillet forms
  bool bottom = false, topFace = false, reverse = false;
};
void drawRoundBody(LocalDraw& draw, const RoundBody& b);

// ---- spheres, ellipsoids and their parts ---------------------------------------------------------

// SPHERE / EGG: the ellipsoid with semi-axes a (x), b (y), c (z) about the local X axis.
void drawEllipsoid(LocalDraw& draw, int n, double a, double b, double c, bool reverse);
// DOME: the upper half (z >= 0) of the sphere of radius r, with the base disc when bottom.
void drawDome(LocalDraw& draw, int n, double r, bool bottom, bool reverse);

// The part of the ellipsoid between the polar angles t1 and t2 (0 at the + pole of the polar axis)
// turned from s to e about the polar axis. axis 0: polar axis x (turning from y towards z); 1: y
// (from z towards x); 2: z (from x towards y). The part is moved by `offset` along the polar axis.
struct EllipsoidPart {
  int n = 0;
  int axis = 0;
  double a = 0, b = 0, c = 0;
  double t1 = 0, t2 = 0, s = 0, e = 0, offset = 0;
  bool capT1 = false, capT2 = false, cutS = false, cutE = false, reverse = false;
};
void drawEllipsoidPart(LocalDraw& draw, const EllipsoidPart& p);
// EGGPX / EGGPY / EGGPZ: the cap of depth `cut` at the + pole of axis 0, 1 or 2; flags[0] puts the
// cut plane through the origin, flags[1] closes it, flags[2] and flags[3] close the turning cuts.
void drawEllipsoidCap(LocalDraw& draw, int n, int axis, double a, double b, double c, double cut, double s,
                      double e, const std::array<int, 4>& flags, bool reverse);

// ---- tori ---------------------------------------------------------------------------------------

struct Torus {
  int m = 0, n = 0;                        // tube and turn steps
  double p = 0, q = 0, sigma = 0, phi1 = 0, phi2 = 0;  // tube section
  double u = 0, v = 0, rho = 0, th1 = 0, th2 = 0;      // path
  int k1 = 0, k2 = 0, c1 = 0, c2 = 0;      // closing flags
  bool reverse = false;
};
void drawTorus(LocalDraw& draw, const Torus& t);

// ---- vaults and domes ---------------------------------------------------------------------------

// DBBOX1..4: a vault over the a x b rectangle, its arch across a (kind 0) or b (kind 1), rising c.
// circular: an arc of rise c (otherwise half an ellipse of height c); flags: bottom, start end, far end.
struct Vault {
  int n = 0, kind = 0;
  double a = 0, b = 0, c = 0;
  bool circular = true;
  bool limitRise = false;  // nothing when a circular arch rises more than half its span (a half circle)
  bool bottom = false, startEnd = true, farEnd = true, reverse = false;
};
void drawVault(LocalDraw& draw, const Vault& v);

// DBPOLY1 / DBPOLY2: a dome of height b over the circle of radius a, a spherical cap or half an
// ellipsoid, n steps around and m up.
void drawDomeCap(LocalDraw& draw, int n, int m, double a, double b, bool spherical, bool bottom, bool reverse);

// ---- shaped edges -------------------------------------------------------------------------------

// The profile of a shaped top edge, from the top of the straight wall to the top face.
enum class EdgeShape { Chamfer, Round, Cove, Ogee };

// A box with shaped edges: every level of the body is a rectangle whose sides are moved in by the
// profile (edge type 2), out (type 1) or not at all (type 0). Sides in the order x+, y+, x-, y-.
struct EdgeBox {
  EdgeShape shape = EdgeShape::Chamfer;
  int n = 0;         // profile steps of a round, cove or ogee
  bool both = false; // shape the bottom edges too (mirrored)
  double w = 0, d = 0, wall = 0;  // base size and straight wall height
  double sx = 0, sy = 0, sz = 0;  // profile size across the x sides, across the y sides, in height
  std::array<int, 4> types{};
  bool bottom = false, top = false, reverse = false;
};
void drawEdgeBox(LocalDraw& draw, const EdgeBox& b);

// Edge types (clamped to 0..2), bottom and top flags of the shaped boxes.
struct BoxEdges {
  std::array<int, 4> types{};
  bool bottom = false, top = false, reverse = false;
};
// CBOX1 / CBOX2: a w x d box of total height H whose top edges (and with `both` its bottom edges too)
// are chamfered cx across the x sides, cy across the y sides and s high. H, cx, cy, s below 1e-14 count
// as 0; without H the body is the chamfers alone. Nothing is drawn when an inward chamfer is wider than
// the box (half the box when both opposite sides are inward), or when the chamfers are higher than H.
void drawChamferBox(LocalDraw& draw, double w, double d, double H, double cx, double cy, double s, bool both,
                    const BoxEdges& e);
// RBOX1 .. BBOX3: a w x d box with a straight wall h high and edges of the given shape, r1 across and
// r2 high (n profile steps, 3..500); h, r1, r2 below 1e-14 count as 0; the same width checks with r1.
void drawShapedBox(LocalDraw& draw, EdgeShape shape, bool both, int n, double w, double d, double h, double r1,
                   double r2, const BoxEdges& e);

// A cylinder with a shaped top edge: H is the total height and s the profile's height, so the straight
// wall rises H - s (no wall when H is below 1e-14: then the body is s high); the profile takes cx off
// rx and cy off ry. H, cx, cy and s below 1e-14 count as 0; nothing is drawn when cx > rx or cy > ry
// (beyond 1e-14) or, with a wall, s > H. Segment forms are circles of radius rx centred at (ox, oy)
// whose chord edge is shaped as well (see insetSegment).
struct EdgeCylinder {
  EdgeShape shape = EdgeShape::Chamfer;  // Chamfer, Round or Cove
  int n = 0, m = 1;                      // n: 3..1000 around; m: profile steps of a round or cove, 3..500
  double rx = 0, ry = 0, rot = 0, ox = 0, oy = 0;
  double H = 0, cx = 0, cy = 0, s = 0;
  RoundCut cut = RoundCut::Full;  // Full, Sector or Segment
  double a1 = 0, a2 = 0;          // start and end angle of the sector or segment
  bool bottom = false, top = false, cutStart = false, cutEnd = false, reverse = false;  // cutStart: the chord
};
void drawEdgeCylinder(LocalDraw& draw, const EdgeCylinder& c);

// The circular segment of the circle (cx, cy, r) between the angles a1 and a2 (counter-clockwise),
// moved in by d: the arc becomes the concentric circle of radius r - d and the chord moves d towards
// the arc. flag 1 when something is left, with (x, y) the midpoint of the new chord, r2 = r - d and
// b1, b2 the angles of its ends on the new circle (counter-clockwise from b1 to b2, in [0, 2*pi)); the
// midpoint's offset from the centre is rounded to 1e-13 like a ring point.
// flag 0 (the other values 0) for a full or empty sweep, a new radius below 1e-14, or a new chord
// that misses the new circle.
struct SegmentInset {
  int flag = 0;
  double x = 0, y = 0, r = 0, b1 = 0, b2 = 0;
  double half = 0;  // half the angle of the new arc (b2 - b1 = 2 * half)
};
SegmentInset insetSegment(double cx, double cy, double r, double a1, double a2, double d);

}  // namespace kubrix
