// Primitive solids: every member with all its closing flags set is a closed, consistently oriented
// surface whose volume matches the analytic one (or lies within bounds), turned inside out by the
// reverse flag, and unchanged in volume under a turned and moved matrix. Plus the division rules and
// the segment inset behind GETCYJ.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>
#include <string>

#include "engine/command_table.h"
#include "geometry/solids.h"
#include "mesh_check.h"
#include "test_support.h"

namespace kubrix {
namespace {

using test::ScriptRun;

constexpr double kQuarter = kPi / 2;

// Area of the fan polygon of n steps over `sweep` on the ellipse rx, ry (an affine image of a regular
// polygon's fan).
double fanArea(int n, double rx, double ry, double sweep = kTwoPi) { return n / 2.0 * rx * ry * std::sin(sweep / n); }
// The same fan less the triangle centre-start-end: the polygon of a circular segment.
double segmentArea(int n, double rx, double ry, double sweep) { return fanArea(n, rx, ry, sweep) - rx * ry * std::sin(sweep) / 2; }
// The region between a quarter arc (less 1e-14) of radius r and its two tangents: the kite of the
// centre, the arc's ends and the tangents' corner, less the fan.
double filletArea(int n, double r) {
  const double w = kQuarter - 1e-14;
  return r * r * std::tan(w / 2) - fanArea(n, r, r, w);
}
// Prismatoid volume from the base, middle and top section areas.
double prismatoid(double h, double base, double mid, double top) { return h / 6 * (base + 4 * mid + top); }
// A frustum whose top is the base scaled by k: the middle section is scaled by (1 + k) / 2.
double scaledFrustum(double h, double base, double k) { return prismatoid(h, base, base * (1 + k) * (1 + k) / 4, base * k * k); }
// Zone of an ellipsoid with polar semi-axis p and the others q1, q2 between polar coordinates x1..x2,
// over a turn of `sweep`.
double ellipsoidZone(double p, double q1, double q2, double x1, double x2, double sweep) {
  const auto F = [p](double x) { return x - x * x * x / (3 * p * p); };
  return sweep / 2 * q1 * q2 * (F(x2) - F(x1));
}
// Apex height of the angle-angle triangle on a base b.
double angleTriangleArea(double b, double a, double be) {
  const double u = b * std::tan(be) / (std::tan(a) + std::tan(be));
  return b * u * std::tan(a) / 2;
}

struct SolidCase {
  std::string line;  // the command with all closing flags set, without the reverse flag
  double volume;     // the analytic volume, or NAN when only bounds are known
  double tol;        // relative tolerance of the volume (0: 1e-9); the polygon error of curved solids
  double low = 0, high = 0;  // bounds of the volume when there is no analytic one
  bool manifold = true;      // false: pieces that touch along an edge (corner fillets of several pieces)
  // Segment solids: their one chord face meets each cap's fan at the chord's midpoint, leaving the
  // chord's long edges and the two halves of each cap's chord edge without a partner.
  size_t junctionEdges = 0;
};

std::vector<SolidCase> solidCases() {
  const double segR = (4 + 2.25) / 3;  // the arch of span 4 rising 1.5
  const double segT = 2 * std::asin(2 / segR);
  std::vector<SolidCase> c = {
      {"CUBE N, 2, 3, 4, 1, 1", 24, 0},
      {"CUBIC4 N, 4, 6, 3, 2, 2, 0.5, 0.5, 1, 1", 38, 0},
      {"CUBIC3 N, 4, 6, 3, 2, 0.5, 0.5, 1", 28, 0},
      {"CUBIC2 N, 4, 6, 3, 2, 0.5, 0.5, 1", 30, 0},
      {"CUBIC1 N, 4, 6, 3, 1, 1, 1", 24, 0},
      {"DELTAX1 N, 4, 3, 1.1, 2, 1, 1", 12, 0},
      {"DELTAY1 N, 4, 3, 1.1, 2, 1, 1", 12, 0},
      {"DELTAX2 N, 4, 0.9, 1.2, 2, 1, 1", 2 * angleTriangleArea(4, 0.9, 1.2), 0},
      {"DELTAY2 N, 4, 0.9, 1.2, 2, 1, 1", 2 * angleTriangleArea(4, 0.9, 1.2), 0},
      {"DELTAX3 N, 5, 3, 4, 2, 1, 1", 12, 0},
      {"DELTAY3 N, 5, 3, 4, 2, 1, 1", 12, 0},
      {"DTUBEX1 N, 4, 3, 1.1, 2, 2, 1.5, 1.1, 0.5, 0.2, 1, 1", 7, 0},
      {"DTUBEY1 N, 4, 3, 1.1, 2, 2, 1.5, 1.1, 0.5, 0.2, 1, 1", 7, 0},
      {"DTUBEX2 N, 4, 0.9, 1.2, 2, 2, 0.9, 1.2, 0.3, -0.1, 1, 1", 2 * angleTriangleArea(4, 0.9, 1.2) * 3.5 / 6, 0},
      {"DTUBEY2 N, 4, 0.9, 1.2, 2, 2, 0.9, 1.2, 0.3, -0.1, 1, 1", 2 * angleTriangleArea(4, 0.9, 1.2) * 3.5 / 6, 0},
      {"DTUBEX3 N, 5, 3, 4, 2, 2.5, 1.5, 2, 0.3, 0.1, 1, 1", 7, 0},
      {"DTUBEY3 N, 5, 3, 4, 2, 2.5, 1.5, 2, 0.3, 0.1, 1, 1", 7, 0},
      {"DCONEX1 N, 4, 3, 1.1, 2, 0.3, 0.4, 1", 4, 0},
      {"DCONEY1 N, 4, 3, 1.1, 2, 0.3, 0.4, 1", 4, 0},
      {"DCONEX2 N, 4, 0.9, 1.2, 3, 0.3, 0.4, 1", angleTriangleArea(4, 0.9, 1.2), 0},
      {"DCONEY2 N, 4, 0.9, 1.2, 3, 0.3, 0.4, 1", angleTriangleArea(4, 0.9, 1.2), 0},
      {"DCONEX3 N, 5, 3, 4, 2, 0.3, 0.4, 1", 4, 0},
      {"DCONEY3 N, 5, 3, 4, 2, 0.3, 0.4, 1", 4, 0},
      {"CYLIND N, 24, 2, 3, 1, 1", fanArea(24, 2, 2) * 3, 0},
      // A large radius: the full turn must close on its first point, not 1e-12 beside it.
      {"CYLIND N, 7, 3000, 3, 1, 1", fanArea(7, 3000, 3000) * 3, 0},
      {"SPHERE N, 14, 3000", 4 * kPi / 3 * 27e9, 0.1},
      {"CTUBE N, 24, 2, 3, 1, 0.3, 0.2, 1, 1", scaledFrustum(3, fanArea(24, 2, 2), 0.5), 0},
      {"CCONE N, 24, 2, 3, 0.5, 0.2, 1", fanArea(24, 2, 2), 0},
      {"ECYLIND N, 24, 2, 1, 0.4, 3, 1, 1", fanArea(24, 2, 1) * 3, 0},
      {"ETUBE N, 24, 2, 1, 0.4, 3, 1, 0.5, 0.4, 0.2, 0.1, 1, 1", scaledFrustum(3, fanArea(24, 2, 1), 0.5), 0},
      {"ECONE N, 24, 2, 1, 0.4, 3, 0.1, 0.2, 1", fanArea(24, 2, 1), 0},
      {"PCYLIND N, 12, 2, 1, 0.4, 3, 0.5, 2.5, 1, 1", fanArea(12, 2, 1, 2) * 3, 0},
      {"PCYLIND N, 12, 2, 1, 0.4, 3, 1, 5.5, 1, 1", fanArea(12, 2, 1, 4.5) * 3, 0},
      {"YCYLIND N, 12, 2, 1, 0.4, 3, 0.5, 2.5, 1, 1", segmentArea(12, 2, 1, 2) * 3, 0, 0, 0, true, 6},
      {"YCYLIND N, 12, 2, 1, 0.4, 3, 1, 5.5, 1, 1", segmentArea(12, 2, 1, 4.5) * 3, 0, 0, 0, true, 6},
      {"OCYLIND N, 6, 2, 2, 0, 3, 0, 1.5707963267948966, 1, 1", filletArea(6, 2) * 3, 1e-9},
      {"OCYLIND N, 8, 2, 1, 0, 3, 0, 0, 1, 1", (8 - fanArea(8, 2, 1)) * 3, 1e-9, 0, 0, false},
      {"PTUBE N, 12, 2, 1, 0.4, 3, 1, 0.5, 0.4, 0, 0, 0.5, 2.5, 1, 1", scaledFrustum(3, fanArea(12, 2, 1, 2), 0.5), 0},
      {"YTUBE N, 12, 2, 1, 0.4, 3, 1, 0.5, 0.4, 0, 0, 1, 5.5, 1, 1", scaledFrustum(3, segmentArea(12, 2, 1, 4.5), 0.5), 0, 0, 0, true, 6},
      {"OTUBE N, 6, 2, 2, 0, 3, 1, 1, 0, 0, 0, 0, 1.5707963267948966, 1, 1", scaledFrustum(3, filletArea(6, 2), 0.5), 1e-9},
      {"PCONE N, 12, 2, 1, 0.4, 3, 0.2, 0.1, 0.5, 2.5, 1", fanArea(12, 2, 1, 2), 0},
      {"YCONE N, 12, 2, 1, 0.4, 3, 0.2, 0.1, 1, 5.5, 1", segmentArea(12, 2, 1, 4.5), 0, 0, 0, true, 3},
      {"OCONE N, 6, 2, 2, 0, 3, 0.2, 0.1, 0, 1.5707963267948966, 1", filletArea(6, 2), 1e-9},
      {"SPHERE N, 40, 2", 4 * kPi / 3 * 8, 0.02},
      {"SPHERE N, 7, 2", NAN, 0, 10, 4 * kPi / 3 * 8},
      {"DOME N, 20, 2, 1", 2 * kPi / 3 * 8, 0.02},
      {"EGG N, 40, 3, 2, 1", 4 * kPi / 3 * 6, 0.02},
      {"EGGP1 N, 40, 3, 2, 1, 0.5, 2.5, 0.3, 2.3, 1, 1, 1, 1",
       ellipsoidZone(3, 2, 1, 3 * std::cos(2.5), 3 * std::cos(0.5), 2), 0.01},
      {"EGGP1 N, 40, 3, 2, 1, 0, 1.2, 1, 0, 1, 1, 1, 1", ellipsoidZone(3, 2, 1, 3 * std::cos(1.2), 3, kTwoPi - 1), 0.01},
      {"EGGPX N, 40, 3, 2, 1, 2, 0.3, 2.3, 1, 1, 1, 1", ellipsoidZone(3, 2, 1, 1, 3, 2), 0.01},
      {"EGGPY N, 40, 3, 2, 1, 1.5, 0.3, 2.3, 1, 1, 1, 1", ellipsoidZone(2, 1, 3, 0.5, 2, 2), 0.01},
      {"EGGPZ N, 40, 3, 2, 1, 1.2, 0, 0, 1, 1, 1, 1", ellipsoidZone(1, 3, 2, -0.2, 1, kTwoPi), 0.01},
      {"TORUS N, 24, 36, 1, 3", 2 * kPi * kPi * 3, 0.02},
      {"TORUS1 N, 24, 36, 1, 0.5, 0.3, 3, 2, 0.2", NAN, 0, 1, 2 * kPi * kPi * 3},
      {"TORUS2 N, 12, 18, 1, 0.5, 0.3, 0.5, 2.5, 3, 2, 0.2, 0.4, 2.4, 1, 1, 1, 1", NAN, 0, 0.1, 10},
      {"TORUS2 N, 12, 18, 1, 0.5, 0.3, 0.5, 4.5, 3, 2, 0.2, 0.4, 2.4, 2, 2, 1, 1", NAN, 0, 0.1, 10},
      {"TORUS2 N, 24, 36, 1, 1, 0, 0, 0, 3, 3, 0, 0, 3, 0, 0, 1, 1", 3 * kPi * 3, 0.02},
      {"DBBOX1 N, 12, 0, 4, 6, 1.5, 1", segR * segR * (segT - std::sin(segT)) / 2 * 6, 0.01},
      {"DBBOX1 N, 12, 1, 6, 4, 1.5, 1", segR * segR * (segT - std::sin(segT)) / 2 * 6, 0.01},
      {"DBBOX2 N, 12, 0, 4, 6, 3, 1", kPi * 2 * 3 / 2 * 6, 0.01},
      {"DBBOX3 N, 12, 0, 4, 6, 3, 1, 1, 1", NAN, 0, 24, 6 * kPi * 3.2 * 3.2},
      {"DBBOX4 N, 12, 1, 4, 6, 3, 1, 1, 1", kPi * 3 * 3 / 2 * 4, 0.01},
      {"DBPOLY1 N, 24, 8, 3, 2, 1", kPi * 4 * (3 * (9 + 4) / 4.0 - 2) / 3, 0.02},
      {"DBPOLY2 N, 24, 8, 3, 2, 1", 2 * kPi / 3 * 9 * 2, 0.03},
      {"CBOX1 N, 4, 6, 3, 0.5, 0.8, 1, 1, 1, 2, 2, 2, 2", 48 + 110.0 / 6, 0},
      {"CBOX2 N, 4, 6, 3, 0.5, 0.8, 1, 1, 1, 2, 2, 2, 2", 24 + 2 * 110.0 / 6, 0},
      {"CBOX2 N, 4, 6, 3, 0.5, 0.8, 2, 1, 1, 2, 2, 2, 2", 2 * 1.5 * 110.0 / 6, 0},  // chamfers of H/2 each
      {"CBOX1 N, 4, 6, 3, 0.5, 0.8, 1, 1, 1, 0, 1, 2, 1", NAN, 0, 60, 80},
      {"RBOX1 N, 6, 4, 6, 2, 0.5, 1, 1, 1, 2, 1, 0, 2", NAN, 0, 4 * 6 * 2 + 3 * 4.5, 4 * 6 * 3 + 6},
      {"RBOX2 N, 6, 4, 6, 2, 0.5, 1, 1, 1, 2, 2, 2, 2", NAN, 0, 48 + 2 * 3 * 5, 4 * 6 * 4},
      {"BBOX1 N, 6, 4, 6, 2, 0.5, 1, 1, 1, 2, 1, 0, 2", NAN, 0, 4 * 6 * 2 + 3 * 4.5, 4 * 6 * 3 + 6},
      {"BBOX2 N, 6, 4, 6, 2, 0.5, 1, 1, 1, 2, 2, 2, 2", NAN, 0, 48 + 2 * 3 * 5, 4 * 6 * 4},
      {"BBOX3 N, 6, 4, 6, 2, 0.5, 1, 1, 1, 2, 1, 0, 2", NAN, 0, 4 * 6 * 2 + 3 * 4.5, 4 * 6 * 3 + 6},
      {"CCCYLIN N, 24, 2, 3, 0.5, 1, 1, 1", fanArea(24, 2, 2) * 2 + scaledFrustum(1, fanArea(24, 2, 2), 0.75), 0},
      {"CECYLIN N, 24, 2, 1, 0.4, 3, 0.5, 0.25, 1, 1, 1",
       fanArea(24, 2, 1) * 2 + scaledFrustum(1, fanArea(24, 2, 1), 0.75), 0},
      {"CPCYLIN N, 12, 2, 1, 0.4, 3, 0.5, 0.25, 1, 1, 5.5, 1, 1, 1, 1",
       fanArea(12, 2, 1, 4.5) * 2 + scaledFrustum(1, fanArea(12, 2, 1, 4.5), 0.75), 0},
      {"CYCYLIN N, 12, 2, 3, 0.4, 1, 0.3, 0.2, 0.5, 3.5, 1, 1, 1", NAN, 0, segmentArea(12, 1.6, 1.6, 2) * 3,
       segmentArea(12, 2, 2, 3) * 3},
      {"RCCYLIN N, 24, 6, 2, 3, 0.5, 1, 1, 1", NAN, 0, fanArea(24, 1.5, 1.5) * 3, fanArea(24, 2, 2) * 3},
      {"BCCYLIN N, 24, 6, 2, 3, 0.5, 1, 1, 1", NAN, 0, fanArea(24, 1.5, 1.5) * 3, fanArea(24, 2, 2) * 3},
      {"RECYLIN N, 24, 6, 2, 1, 0.4, 3, 0.5, 1, 1, 1", NAN, 0, fanArea(24, 1.5, 0.5) * 3, fanArea(24, 2, 1) * 3},
      {"BECYLIN N, 24, 6, 2, 1, 0.4, 3, 0.5, 1, 1, 1", NAN, 0, fanArea(24, 1.5, 0.5) * 3, fanArea(24, 2, 1) * 3},
      {"RPCYLIN N, 12, 4, 2, 1, 0.4, 3, 0.5, 1, 1, 5.5, 1, 1, 1, 1", NAN, 0, fanArea(12, 1.5, 0.5, 4.5) * 3,
       fanArea(12, 2, 1, 4.5) * 3},
      {"BPCYLIN N, 12, 4, 2, 1, 0.4, 3, 0.5, 1, 0.5, 2.5, 1, 1, 1, 1", NAN, 0, fanArea(12, 1.5, 0.5, 2) * 3,
       fanArea(12, 2, 1, 2) * 3},
      {"RYCYLIN N, 12, 4, 2, 3, 0.4, 1, 0.3, 0.2, 0.5, 3.5, 1, 1, 1", NAN, 0, segmentArea(12, 1.6, 1.6, 2) * 3,
       segmentArea(12, 2, 2, 3) * 3},
      {"BYCYLIN N, 12, 4, 2, 3, 0.4, 1, 0.3, 0.2, 4, 1, 1, 1, 1", NAN, 0, segmentArea(12, 1.6, 1.6, 2) * 3,
       segmentArea(12, 2, 2, kTwoPi - 3) * 3},
  };
  return c;
}

struct Built {
  test::MeshReport mesh;
  size_t count = 0;
  std::string log;
};

Built build(const std::string& prefix, const std::string& line, int rev) {
  ScriptRun r("#VAR\nN\n#DRAW\n" + prefix + line + ", " + std::to_string(rev) + "\n");
  Built b;
  b.log = r.reset();
  b.count = r.engine.figures.count();
  // Neighbouring faces share their corners exactly: no merging of nearby points.
  b.mesh = test::checkMesh(r.engine.figures, 1, 0, 1e-14);
  return b;
}

void expectVolume(const SolidCase& c, double v, const std::string& what) {
  if (std::isnan(c.volume)) {
    EXPECT_GT(v, c.low) << what;
    EXPECT_LT(v, c.high) << what;
    return;
  }
  const double tol = c.tol > 0 ? c.tol : 1e-9;
  EXPECT_NEAR(v, c.volume, std::fabs(c.volume) * tol) << what;
}

TEST(Solids, EveryMemberIsClosedOutwardAndTurnsInsideOutWithReverse) {
  const std::string matrices[] = {"", "MATRIXA 10, -4, 7, 0.7, -0.4, 1.3\n"};
  for (const SolidCase& c : solidCases()) {
    for (const std::string& m : matrices) {
      double volumes[2] = {0, 0};
      for (int rev = 0; rev <= 1; ++rev) {
        const std::string what = c.line + " rev " + std::to_string(rev) + (m.empty() ? "" : " turned");
        const Built b = build(m, c.line, rev);
        ASSERT_GT(b.count, 0u) << what << "\n" << b.log;
        if (c.junctionEdges > 0) {
          EXPECT_EQ(b.mesh.unmatched, c.junctionEdges) << what;
          EXPECT_EQ(b.mesh.repeated, 0u) << what;
        } else {
          if (c.manifold) {
            EXPECT_TRUE(b.mesh.closed()) << what << ": " << b.mesh.firstProblem;
          }
          EXPECT_EQ(b.mesh.unmatched, 0u) << what << ": " << b.mesh.firstProblem;
        }
        volumes[rev] = b.mesh.volume;
      }
      expectVolume(c, volumes[0], c.line + (m.empty() ? "" : " turned"));
      // Reverse winds a quad P2, P1, P4, P3: a quad that is not flat is then split along its other
      // diagonal, so only solids of flat faces (those with an exact volume) keep it to the last digits.
      const double revTol = c.tol == 0 && !std::isnan(c.volume) ? 1e-9 : 1e-3;
      EXPECT_NEAR(volumes[1], -volumes[0], std::fabs(volumes[0]) * revTol) << c.line;
    }
  }
}

TEST(Solids, TheCasesCoverEverySolidKeyword) {
  std::set<std::string> covered;
  for (const SolidCase& c : solidCases()) covered.insert(c.line.substr(0, c.line.find(' ')));
  size_t solids = 0;
  for (const Keyword& k : kKeywords) {
    if (k.family != "solids") continue;
    ++solids;
    EXPECT_TRUE(covered.count(std::string(k.name))) << k.name;
    const CommandSpec* command = commandTable().find(k.name);
    ASSERT_NE(command, nullptr) << k.name;
  }
  EXPECT_EQ(solids, 73u);
  EXPECT_NE(commandTable().find("GETCYJ"), nullptr);
}

// The cases give every argument the usage names, so each argument's position is checked by the
// volume (a number read from the wrong place gives a different solid).
TEST(Solids, CasesGiveEveryArgumentTheUsageNames) {
  for (const SolidCase& c : solidCases()) {
    const std::string kw = c.line.substr(0, c.line.find(' '));
    const CommandSpec* command = commandTable().find(kw);
    ASSERT_NE(command, nullptr);
    size_t words = 0;
    for (char ch : command->usage) words += ch == ' ';
    size_t commas = 0;
    for (char ch : c.line) commas += ch == ',';
    // usage: keyword var args... rev; the case: keyword N, args... without rev
    EXPECT_EQ(words, commas + 2) << kw << ": " << command->usage;
  }
}

// The reverse flag keeps the points and turns each face: the set of faces as point sets is the same.
TEST(Solids, ReverseKeepsEveryPoint) {
  for (const char* line : {"CUBE N, 2, 3, 4, 1, 1", "CUBIC2 N, 4, 6, 3, 2, 0.5, 0.5, 1", "DTUBEY2 N, 4, 0.9, 1.2, 2, 2, 0.9, 1.2, 0.3, -0.1, 1, 1",
                           "PTUBE N, 5, 2, 1, 0.4, 3, 1, 0.5, 0.4, 0, 0, 0.5, 2.5, 1, 1", "SPHERE N, 7, 2",
                           "TORUS2 N, 5, 6, 1, 0.5, 0.3, 0.5, 2.5, 3, 2, 0.2, 0.4, 2.4, 1, 1, 1, 1"}) {
    std::multiset<std::set<std::tuple<double, double, double>>> faces[2];
    for (int rev = 0; rev <= 1; ++rev) {
      ScriptRun r("#VAR\nN\n#DRAW\n" + std::string(line) + ", " + std::to_string(rev * 5) + "\n");
      r.reset();
      for (const FigureElement& e : r.engine.figures.elements()) {
        std::set<std::tuple<double, double, double>> pts;
        for (int i = 0; i < (e.kind == kKindQuad ? 4 : 3); ++i) pts.insert({e.p[i].x, e.p[i].y, e.p[i].z});
        faces[rev].insert(pts);
      }
    }
    EXPECT_EQ(faces[0], faces[1]) << line;
  }
}

TEST(Solids, DivisionCountsAreClamped) {
  ScriptRun r(
      "#VAR\na\nb\nc\nd\ne\nf\ng\n#DRAW\n"
      "CYLIND a, 2, 1, 1, 1, 1, 0\n"       // 3 segments: 3 + 3 + 3 faces
      "CYLIND b, 5000, 1, 1, 0, 0, 0\n"    // 1000 segments of band
      "SPHERE c, 5, 1, 0\n"                // 6 turning steps, 3 bands
      "SPHERE d, 1, 1, 0\n"                // 4 turning steps, 2 bands
      "TORUS e, 200, 200, 1, 3, 0\n"       // 200 x 50
      "DBPOLY1 f, 1000, 1000, 1, 1, 0, 0\n"  // 1000 x 10
      "RCCYLIN g, 1000, 800, 1, 1, 0.5, 0.5, 0, 0, 0\n");  // m 500, then 10000 div 1000 = 10
  r.reset();
  EXPECT_EQ(r.value("a"), "9");
  EXPECT_EQ(r.value("b"), "1009");
  EXPECT_EQ(r.value("c"), std::to_string(1009 + 18));
  EXPECT_EQ(r.value("d"), std::to_string(1027 + 8));
  EXPECT_EQ(r.value("e"), std::to_string(1035 + 10000));
  EXPECT_EQ(r.value("f"), std::to_string(11035 + 10000));
  EXPECT_EQ(r.value("g"), std::to_string(21035 + 1000 + 10 * 1000));  // wall band and ten rounded bands
}

TEST(Solids, PolesOfTheSphereLieOnTheXAxis) {
  ScriptRun r("#VAR\nN\n#DRAW\nSPHERE N, 5, 2, 0\n");
  r.reset();
  const FigureStore& fs = r.engine.figures;
  ASSERT_EQ(fs.count(), 18u);
  // Column by column: a triangle at (2, 0, 0), a quad, a triangle at (-2, 0, 0).
  for (size_t col = 0; col < 6; ++col) {
    const FigureElement& north = fs.at(col * 3 + 1);
    const FigureElement& mid = fs.at(col * 3 + 2);
    const FigureElement& south = fs.at(col * 3 + 3);
    EXPECT_EQ(north.kind, kKindTriangle);
    EXPECT_EQ(mid.kind, kKindQuad);
    EXPECT_EQ(south.kind, kKindTriangle);
    EXPECT_EQ(north.p[0].x, 2);
    EXPECT_EQ(north.p[0].y, 0);
    EXPECT_EQ(south.p[1].x, -2);
    EXPECT_EQ(south.p[1].z, 0);
  }
}

TEST(SegmentInset, MovesTheArcAndTheChordIn) {
  // No inset gives the segment back.
  SegmentInset s = insetSegment(1, 2, 2, 0.5, 2.5, 0);
  ASSERT_EQ(s.flag, 1);
  EXPECT_NEAR(s.b1, 0.5, 1e-12);
  EXPECT_NEAR(s.b2, 2.5, 1e-12);
  EXPECT_NEAR(s.r, 2, 0);
  EXPECT_NEAR(s.x, 1 + 2 * std::cos(1) * std::cos(1.5), 1e-12);
  // A half disc moved in by 1: radius 2 about the origin, chord y = 1.
  s = insetSegment(0, 0, 3, 0, kPi, 1);
  ASSERT_EQ(s.flag, 1);
  EXPECT_NEAR(s.r, 2, 1e-15);
  EXPECT_NEAR(s.y, 1, 1e-15);
  EXPECT_NEAR(s.x, 0, 1e-15);
  EXPECT_NEAR(2 * std::sin(s.b1), 1, 1e-12);
  EXPECT_NEAR(s.b1, kPi / 6, 1e-12);
  EXPECT_NEAR(s.b2, 5 * kPi / 6, 1e-12);
  EXPECT_NEAR(s.half, kPi / 3, 1e-12);
  // An arc through angle 0 keeps its ends in [0, 2*pi).
  s = insetSegment(0, 0, 1, 5.5, 1, 0.1);
  ASSERT_EQ(s.flag, 1);
  EXPECT_GT(s.b1, 5.5);
  EXPECT_LT(s.b2, 1);
  // Nothing left, a full turn, a radius eaten up: flag 0 and zeros.
  for (const SegmentInset& f : {insetSegment(0, 0, 3, 0, kPi, 1.5), insetSegment(0, 0, 3, 1, 1, 0.1),
                                insetSegment(0, 0, 3, 1, 1 + kTwoPi, 0.1), insetSegment(0, 0, 1, 0, 3, 1)}) {
    EXPECT_EQ(f.flag, 0);
    EXPECT_EQ(f.x, 0);
    EXPECT_EQ(f.r, 0);
    EXPECT_EQ(f.b2, 0);
  }
}

TEST(SegmentInset, CommandWritesItsSixOutputs) {
  ScriptRun r(
      "#VAR\nf\nx\ny\nr\nb1\nb2\n#DRAW\n"
      "GETCYJ f, x, y, r, b1, b2, 0, 0, 3, 0, 3.141592653589793, 1\n"
      "GETCYJ f, x, y, r, b1, b2, 0, 0, 3, 0, 3.141592653589793, 2\n"
      "GETCYJ f, x, y, r, b1, q, 0, 0, 3, 0, 3.141592653589793, 1\n");
  EXPECT_EQ(test::commandLog(r.reset()),
            "GETCYJ(0,1),R:2,0.523598775598299,2.61799387799149)\n"
            "GETCYJ(0,0),R:0,0,0)\n"
            "GETCYJ:出力変数名が未定義です。\n");
  EXPECT_EQ(r.value("f"), "0");
  EXPECT_EQ(r.value("b2"), "0");
}

}  // namespace
}  // namespace kubrix
