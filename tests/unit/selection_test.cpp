// The selection kernel: the indexed connected walk, chain and trace against plain scans over random
// line sets, the tracing rules at a crossing, the ear clipping (every point of the polygon covered
// exactly once, no triangle turned over) and the plane cut.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "geometry/chain.h"
#include "geometry/selection.h"
#include "geometry/selection_edits.h"
#include "geometry/triangulate.h"

namespace kubrix {
namespace {

// ---- plain scans, as the selection rules describe them ------------------------------------------------

Selection scanConnected(const FigureStore& s, Selection sel, const Point3& start, double tol, const ElementFilter& f) {
  tol = matchTolerance(tol);
  std::vector<Point3> frontier{start};
  for (;;) {
    size_t found = 0;
    int entry = 0;
    for (size_t n = 1; n <= s.count() && !found; ++n) {
      const FigureElement& e = s.at(n);
      if (e.kind == kKindPoint || !f.passes(e) || std::find(sel.begin(), sel.end(), static_cast<int32_t>(n)) != sel.end())
        continue;
      for (int k = 0; k < usedPoints(e.kind) && !found; ++k)
        for (const Point3& q : frontier)
          if (!found && within(e.p[k], q, tol)) {
            found = n;
            entry = k;
          }
    }
    if (!found) return sel;
    sel.push_back(static_cast<int32_t>(found));
    // Every point but the one the walk came in by.
    std::vector<Point3> next;
    const FigureElement& e = s.at(found);
    for (int k = 0; k < usedPoints(e.kind); ++k)
      if (k != entry) next.push_back(e.p[k]);
    frontier = next;
  }
}

std::vector<Point3> scanChain(const FigureStore& s, const Selection& sel) {
  const double tol = chainTolerance(s, sel);
  std::vector<const FigureElement*> lines;
  for (int32_t n : sel)
    if (s.inRange(n) && s.at(static_cast<size_t>(n)).live && s.at(static_cast<size_t>(n)).kind == kKindLine)
      lines.push_back(&s.at(static_cast<size_t>(n)));
  if (lines.empty()) return {};
  std::vector<Point3> chain{lines[0]->p[0], lines[0]->p[1]};
  std::vector<bool> used(lines.size());
  used[0] = true;
  const auto angle = [](Point3 u, Point3 v) {
    const double cx = u.y * v.z - u.z * v.y, cy = u.z * v.x - u.x * v.z, cz = u.x * v.y - u.y * v.x;
    return std::atan2(std::sqrt(cx * cx + cy * cy + cz * cz), u.x * v.x + u.y * v.y + u.z * v.z);
  };
  for (bool added = true; added;) {
    added = false;
    for (size_t i = 0; i < lines.size(); ++i) {
      if (used[i]) continue;
      const Point3 end = chain.back();
      Point3 p;
      if (sameEnd(lines[i]->p[0], end, tol)) p = lines[i]->p[1];
      else if (sameEnd(lines[i]->p[1], end, tol)) p = lines[i]->p[0];
      else continue;
      used[i] = true;
      added = true;
      const size_t n = chain.size();
      const Point3 u{chain[n - 1].x - chain[n - 2].x, chain[n - 1].y - chain[n - 2].y, chain[n - 1].z - chain[n - 2].z};
      const double a = angle(u, {p.x - end.x, p.y - end.y, p.z - end.z});
      if (a <= 1e-8 || a >= kPi - 1e-8) chain.back() = p;
      else chain.push_back(p);
      if (sameEnd(chain.back(), chain.front(), tol)) {
        added = false;
        break;
      }
    }
  }
  if (chain.size() > 2)
    for (size_t j = chain.size() - 1; j >= 1; --j)
      if (sameEnd(chain[j], chain[0], tol)) {
        chain.resize(j + 1);
        break;
      }
  return chain;
}

// Lines between random points of a small grid, so that ends meet, branch and repeat; some deleted,
// some points and faces among them.
FigureStore randomSoup(unsigned seed, int elements) {
  std::mt19937 rng(seed);
  std::uniform_int_distribution<int> coord(0, 4), kind(0, 9);
  const auto pt = [&] { return Point3{coord(rng) * 1.0, coord(rng) * 1.0, 0.0}; };
  FigureStore s;
  for (int i = 0; i < elements; ++i) {
    const int k = kind(rng);
    if (k == 0) s.appendPoint(pt());
    else if (k == 1) s.appendTriangle(pt(), pt(), pt());
    else s.appendLine(pt(), pt());
    if (k == 2 && s.count() > 0) s.at(s.count()).live = false;
  }
  return s;
}

void expectSamePoints(const std::vector<Point3>& a, const std::vector<Point3>& b, unsigned seed) {
  ASSERT_EQ(a.size(), b.size()) << "seed " << seed;
  for (size_t i = 0; i < a.size(); ++i) {
    EXPECT_EQ(a[i].x, b[i].x) << "seed " << seed << " point " << i;
    EXPECT_EQ(a[i].y, b[i].y) << "seed " << seed << " point " << i;
  }
}

TEST(SelectionIndex, ConnectedWalkAndChainMatchThePlainScans) {
  for (unsigned seed = 1; seed <= 300; ++seed) {
    const FigureStore s = randomSoup(seed, 40);
    const ElementFilter any, liveLines{1, 1, kAny, kAny};
    const Point3 start{static_cast<double>(seed % 5), static_cast<double>(seed / 5 % 5), 0};
    Selection got{3};
    addConnected(s, got, start, 0, seed % 2 ? any : liveLines);
    EXPECT_EQ(got, scanConnected(s, {3}, start, 0, seed % 2 ? any : liveLines)) << "seed " << seed;

    Selection all;
    selectAll(s, all, any);
    std::shuffle(all.begin(), all.end(), std::mt19937(seed));
    expectSamePoints(orderedChain(s, all), scanChain(s, all), seed);

    // The segment set: each selected live line unless an earlier kept one has the same ends.
    std::vector<std::pair<Point3, Point3>> plain;
    for (int32_t n : all) {
      const FigureElement& e = s.at(n);
      if (e.kind != kKindLine || !e.live) continue;
      bool repeated = false;
      for (const auto& [p, q] : plain)
        repeated = repeated || (sameEnd(p, e.p[0], 1e-12) && sameEnd(q, e.p[1], 1e-12)) ||
                   (sameEnd(p, e.p[1], 1e-12) && sameEnd(q, e.p[0], 1e-12));
      if (!repeated) plain.push_back({e.p[0], e.p[1]});
    }
    const std::vector<Segment> set = segmentSet(s, all);
    ASSERT_EQ(set.size(), plain.size()) << "seed " << seed;
    for (size_t i = 0; i < set.size(); ++i) {
      EXPECT_TRUE(sameEnd(set[i].a, plain[i].first, 1e-12) && sameEnd(set[i].b, plain[i].second, 1e-12)) << "seed " << seed;
    }
  }
}

TEST(SelectionIndex, SegmentSetDropsRepeatsInEitherDirection) {
  FigureStore s;
  s.appendLine({0, 0, 0}, {1, 0, 0});
  s.appendLine({1, 0, 0}, {0, 0, 0});
  s.appendLine({0, 0, 0}, {1, 0, 0});
  s.appendLine({1, 0, 0}, {1, 1, 0});
  s.appendLine({0, 0, 0}, {1, 5e-13, 0});  // within the chain tolerance of the first
  const std::vector<Segment> set = segmentSet(s, {5, 1, 2, 3, 4});
  ASSERT_EQ(set.size(), 2u);
  EXPECT_EQ(set[0].b.y, 1e-12);  // stored rounded
  EXPECT_EQ(set[1].b.y, 1.0);
}

TEST(ChainTolerance, FollowsTheLargestCoordinate) {
  EXPECT_EQ(chainTolerance(0.5), 1e-12);
  EXPECT_DOUBLE_EQ(chainTolerance(1), 1e-9);
  EXPECT_DOUBLE_EQ(chainTolerance(99.9), 1e-8);
  EXPECT_DOUBLE_EQ(chainTolerance(100), 1e-7);
  EXPECT_DOUBLE_EQ(chainTolerance(5e5), 1e-4);
  EXPECT_DOUBLE_EQ(chainTolerance(1e9), 1.0);
  EXPECT_DOUBLE_EQ(chainTolerance(1e300), 1.0);
  EXPECT_EQ(chainTolerance(std::nan("")), 1e-12);
}

// A plus sign with its arms numbered so that the lowest number is neither straight on nor a turn.
TEST(Trace, TheFourRulesChooseAtACrossing) {
  FigureStore s;
  s.appendLine({-1, 0, 0}, {0, 0, 0});  // 1: the way in
  s.appendLine({0, 0, 0}, {0, -1, 0});  // 2: right turn (seen from +Z)
  s.appendLine({0, 0, 0}, {1, 0, 0});   // 3: straight on
  s.appendLine({0, 1, 0}, {0, 0, 0});   // 4: left turn, drawn towards the crossing
  const Matrix4 id = Matrix4::identity();
  const auto next = [&](TraceRule r) { return traceChain(s, {-1, 0, 0}, 0, {}, r, id).at(2); };
  EXPECT_EQ(next(TraceRule::First).y, -1);
  EXPECT_EQ(next(TraceRule::Straightest).x, 1);
  EXPECT_EQ(next(TraceRule::Leftmost).y, 1);
  EXPECT_EQ(next(TraceRule::Rightmost).y, -1);
  // Seen from below (local +Z = world -Z) left and right change places.
  Matrix4 under = Matrix4::identity();
  under.m[1][1] = -1;
  under.m[2][2] = -1;
  EXPECT_EQ(traceChain(s, {-1, 0, 0}, 0, {}, TraceRule::Leftmost, under).at(2).y, -1);
  // A closed square ends at its first point again; a start that touches nothing gives nothing.
  FigureStore sq;
  sq.appendLine({0, 0, 0}, {1, 0, 0});
  sq.appendLine({1, 1, 0}, {1, 0, 0});
  sq.appendLine({1, 1, 0}, {0, 1, 0});
  sq.appendLine({0, 1, 0}, {0, 0, 0});
  EXPECT_EQ(traceChain(sq, {0, 0, 0}, 0, {}, TraceRule::First, id).size(), 5u);
  EXPECT_TRUE(traceChain(sq, {5, 5, 0}, 0, {}, TraceRule::First, id).empty());
}

// ---- ear clipping ---------------------------------------------------------------------------------------

double polygonArea(const std::vector<Point2>& p) {
  double a = 0;
  for (size_t i = 0; i < p.size(); ++i) a += p[i].x * p[(i + 1) % p.size()].y - p[(i + 1) % p.size()].x * p[i].y;
  return a / 2;
}

bool insidePolygon(const std::vector<Point2>& p, double x, double y) {
  bool in = false;
  for (size_t i = 0, j = p.size() - 1; i < p.size(); j = i++)
    if ((p[i].y > y) != (p[j].y > y) && x < (p[j].x - p[i].x) * (y - p[i].y) / (p[j].y - p[i].y) + p[i].x) in = !in;
  return in;
}

// Every triangle turns the polygon's way, the areas add up, and every sample point off the edges lies
// in exactly as many triangles as polygons (one or none).
void expectExactCover(const std::vector<Point2>& poly, const char* what) {
  const auto tris = triangulatePolygon(poly);
  const double area = polygonArea(poly);
  double sum = 0;
  for (const auto& t : tris) {
    const double a = polygonArea({poly[t[0]], poly[t[1]], poly[t[2]]});
    EXPECT_GT(a * area, 0) << what << ": a triangle is turned over or flat";
    sum += a;
  }
  EXPECT_NEAR(sum, area, 1e-9 * std::fabs(area)) << what;
  for (double x = -0.93; x < 12; x += 0.37)
    for (double y = -0.91; y < 12; y += 0.41) {
      int hits = 0;
      for (const auto& t : tris) {
        const Point2 &a = poly[t[0]], &b = poly[t[1]], &c = poly[t[2]];
        const double s = area > 0 ? 1 : -1;
        const auto side = [&](const Point2& u, const Point2& v) { return s * ((v.x - u.x) * (y - u.y) - (v.y - u.y) * (x - u.x)); };
        hits += side(a, b) > 0 && side(b, c) > 0 && side(c, a) > 0 ? 1 : 0;
      }
      EXPECT_EQ(hits, insidePolygon(poly, x, y) ? 1 : 0) << what << " at " << x << "," << y;
    }
}

TEST(EarClipping, ConvexAndConcavePolygonsAreCoveredExactlyOnce) {
  const std::vector<Point2> square{{0, 0}, {4, 0}, {4, 4}, {0, 4}};
  const std::vector<Point2> ell{{0, 0}, {6, 0}, {6, 2}, {2, 2}, {2, 7}, {0, 7}};
  std::vector<Point2> comb{{0, 0}, {11, 0}};
  for (int k = 5; k >= 0; --k) {  // teeth along the top, from right to left
    comb.push_back({2.0 * k + 1, 6});
    comb.push_back({2.0 * k + 0.5, 6});
    comb.push_back({2.0 * k + 0.5, 1});
    comb.push_back({2.0 * k, 1});
  }
  comb.back() = {0, 6};
  std::vector<Point2> star;
  for (int i = 0; i < 10; ++i) {
    const double r = i % 2 ? 2 : 5, a = i * kPi / 5;
    star.push_back({5 + r * std::cos(a), 5 + r * std::sin(a)});
  }
  const std::vector<Point2> straightRuns{{0, 0}, {2, 0}, {4, 0}, {4, 3}, {4, 5}, {2, 5}, {0, 5}, {0, 2}};
  for (auto [poly, what] : {std::pair{square, "square"}, {ell, "L"}, {comb, "comb"}, {star, "star"},
                            {straightRuns, "points on straight runs"}}) {
    expectExactCover(poly, what);
    std::vector<Point2> reversed(poly.rbegin(), poly.rend());
    expectExactCover(reversed, what);
  }
  EXPECT_EQ(triangulatePolygon(ell).size(), 4u);
  EXPECT_EQ(triangulatePolygon(straightRuns).size(), 2u);
  EXPECT_TRUE(triangulatePolygon({{0, 0}, {1, 1}, {2, 2}}).empty());
}

// ---- plane cut ------------------------------------------------------------------------------------------

TEST(PlaneCut, KeptPartsFollowTheSide) {
  FigureStore s;
  s.appendTriangle({0, 0, -1}, {2, 0, -1}, {0, 0, 1});  // one point above: a quad stays below
  s.appendLine({0, 0, -2}, {0, 0, 2});
  s.appendLine({5, 0, 0}, {5, 0, 3});                 // on the plane, then above
  s.appendPoint({1, 1, 1});
  ASSERT_TRUE(cutSelected(s, {1, 2, 3, 4}, Matrix4::identity(), 0));
  ASSERT_EQ(s.count(), 6u);
  EXPECT_FALSE(s.at(1).live);
  EXPECT_FALSE(s.at(4).live);
  EXPECT_EQ(s.at(5).kind, kKindQuad);
  EXPECT_EQ(s.at(6).kind, kKindLine);
  EXPECT_EQ(s.at(6).p[1].z, 0);
  EXPECT_FALSE(s.at(3).live);  // on the plane, then above: its kept part has no length
  // Side 1 removes points on the plane too: the line from the plane upwards is drawn again from its
  // kept point down to the plane; the quad keeps its upper half.
  FigureStore t;
  t.appendLine({5, 0, 0}, {5, 0, 3});
  t.appendQuad({0, 0, -1}, {1, 0, -1}, {1, 0, 1}, {0, 0, 1});
  ASSERT_TRUE(cutSelected(t, {1, 2}, Matrix4::identity(), 1));
  EXPECT_FALSE(t.at(1).live);
  ASSERT_EQ(t.count(), 4u);
  EXPECT_EQ(t.at(3).p[0].z, 3);
  EXPECT_EQ(t.at(3).p[1].z, 0);
  EXPECT_EQ(t.at(4).kind, kKindQuad);
  EXPECT_TRUE(cutSelected(t, {3, 4}, Matrix4::identity(), 7));
  EXPECT_EQ(t.count(), 4u);
  EXPECT_FALSE(cutSelected(t, {1}, Matrix4::zero(), 0));
  // A twisted quad with its points above and below in turn keeps a six-sided part: four triangles.
  FigureStore w;
  w.appendQuad({0, 0, -1}, {2, 0, 1}, {2, 2, -1}, {0, 2, 1});
  ASSERT_TRUE(cutSelected(w, {1}, Matrix4::identity(), 0));
  EXPECT_EQ(w.count(), 5u);
}

}  // namespace
}  // namespace kubrix
