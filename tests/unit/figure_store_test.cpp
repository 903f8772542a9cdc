// The figure store: appends with rounding and coincidence rules, counts, censuses, and the palette.
#include <gtest/gtest.h>

#include <cmath>

#include "geometry/figure_store.h"
#include "geometry/palette.h"

namespace kubrix {
namespace {

constexpr Point3 P(double x, double y, double z = 0) { return Point3{x, y, z}; }

void expectPoint(const Point3& got, const Point3& want, const char* what) {
  EXPECT_EQ(got.x, want.x) << what;
  EXPECT_EQ(got.y, want.y) << what;
  EXPECT_EQ(got.z, want.z) << what;
}

TEST(FigureStore, CoordinatesAreRoundedToTwelvePlaces) {
  EXPECT_EQ(roundCoordinate(0.1234567890123456), 0.123456789012);
  EXPECT_EQ(roundCoordinate(-0.1234567890123456), -0.123456789012);
  EXPECT_EQ(roundCoordinate(4.9e-13), 0.0);
  EXPECT_EQ(roundCoordinate(5e-13), 1e-12);  // halves go away from zero
  EXPECT_EQ(roundCoordinate(-5e-13), -1e-12);
  EXPECT_EQ(roundCoordinate(1234.5678), 1234.5678);

  FigureStore fs;
  fs.appendPoint(P(0.1234567890123456, 4.9e-13, 5e-13));
  ASSERT_EQ(fs.count(), 1u);
  expectPoint(fs.at(1).p[0], P(0.123456789012, 0, 1e-12), "stored point");
  expectPoint(fs.at(1).p[1], P(0, 0, 0), "unused point");
}

TEST(FigureStore, CoincidenceLimitIsStrictlyBelowOneTrillionth) {
  EXPECT_TRUE(coincide(P(0, 0, 0), P(5e-13, 5e-13, 5e-13)));
  EXPECT_FALSE(coincide(P(0, 0, 0), P(0, 2e-12, 0)));
  // The 64-bit value of 1e-12 lies just below 1e-12 in extended precision: it still coincides.
  EXPECT_TRUE(coincide(P(0, 0, 0), P(1e-12, 0, 0)));
  EXPECT_TRUE(coincide(P(0, 0, 0), P(0, 0, -1e-12)));
  EXPECT_FALSE(coincide(P(0, 0, 0), P(0, 0, 1.0000000000001e-12)));

  FigureStore fs;
  fs.appendLine(P(0, 0, 0), P(5e-13, 5e-13, 5e-13));
  EXPECT_EQ(fs.count(), 0u);
  fs.appendLine(P(0, 0, 0), P(0, 2e-12, 0));
  ASSERT_EQ(fs.count(), 1u);
  EXPECT_EQ(fs.at(1).kind, kKindLine);
  expectPoint(fs.at(1).p[1], P(0, 2e-12, 0), "end point");
  fs.appendPoint(P(1, 1, 1));
  fs.appendPoint(P(1, 1, 1));  // points are never tested
  EXPECT_EQ(fs.count(), 3u);
}

TEST(FigureStore, AppendsTakeCurrentLayerAndColour) {
  FigureStore fs;
  fs.layer = 7;
  fs.colour = 33;
  fs.appendTriangle(P(0, 0), P(1, 0), P(0, 1));
  fs.layer = 0;
  fs.colour = 1;
  fs.appendTriangle(P(0, 0), P(1, 0), P(2, 0));  // collinear but distinct: a flat face
  ASSERT_EQ(fs.count(), 2u);
  EXPECT_TRUE(fs.at(1).live);
  EXPECT_EQ(fs.at(1).kind, kKindTriangle);
  EXPECT_EQ(fs.at(1).layer, 7);
  EXPECT_EQ(fs.at(1).colour, 33);
  EXPECT_EQ(fs.at(2).layer, 0);
  EXPECT_EQ(fs.at(2).colour, 1);
  fs.appendTriangle(P(0, 0), P(1, 0), P(1, 0));
  fs.appendTriangle(P(0, 0), P(1, 0), P(0, 0));
  EXPECT_EQ(fs.count(), 2u);
}

TEST(FigureStore, QuadWithCoincidentPointsBecomesATriangle) {
  const Point3 a = P(0, 0), b = P(1, 0), c = P(1, 1), d = P(0, 1);
  struct Case {
    Point3 p1, p2, p3, p4;
    int kind;  // 0: nothing appended
    Point3 q1, q2, q3;
  };
  const Case cases[] = {
      {a, b, c, d, kKindQuad, a, b, c},
      {a, b, c, a, kKindTriangle, a, b, c},  // P4 = P1: P1 P2 P3
      {a, b, c, b, kKindTriangle, a, b, c},  // P4 = P2
      {a, b, c, c, kKindTriangle, a, b, c},  // P4 = P3
      {a, b, b, d, kKindTriangle, a, b, d},  // P3 = P2: P1 P2 P4
      {a, b, a, d, kKindTriangle, a, b, d},  // P3 = P1
      {a, a, c, d, kKindTriangle, a, c, d},  // P2 = P1: P1 P3 P4
      {a, a, c, c, 0, a, a, a},              // P1 = P2 and P3 = P4: nothing
      {a, b, a, b, 0, a, a, a},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    const Case& k = cases[i];
    FigureStore fs;
    fs.appendQuad(k.p1, k.p2, k.p3, k.p4);
    if (k.kind == 0) {
      EXPECT_EQ(fs.count(), 0u) << "case " << i;
      continue;
    }
    ASSERT_EQ(fs.count(), 1u) << "case " << i;
    const FigureElement& e = fs.at(1);
    EXPECT_EQ(e.kind, k.kind) << "case " << i;
    expectPoint(e.p[0], k.q1, "P1");
    expectPoint(e.p[1], k.q2, "P2");
    expectPoint(e.p[2], k.q3, "P3");
    if (k.kind == kKindQuad) expectPoint(e.p[3], k.p4, "P4");
    else expectPoint(e.p[3], P(0, 0), "unused P4");
  }
}

TEST(FigureStore, CountsAndCensusesSkipDeletedElements) {
  FigureStore fs;
  fs.layer = 3;
  fs.colour = 5;
  fs.appendLine(P(0, 0), P(1, 0));      // 1: line, layer 3, colour 5
  fs.appendPoint(P(0, 0));              // 2: point, layer 3, colour 5
  fs.layer = 4;
  fs.colour = 9;
  fs.appendTriangle(P(0, 0), P(1, 0), P(0, 1));  // 3: triangle, layer 4, colour 9
  fs.appendQuad(P(0, 0), P(1, 0), P(1, 1), P(0, 1));  // 4: quad, layer 4, colour 9
  fs.appendLine(P(0, 0), P(0, 1));      // 5: deleted below
  fs.at(5).live = false;
  fs.appendLine(P(0, 0), P(0, 2));      // 6: out-of-range layer and colour
  fs.at(6).layer = 300;
  fs.at(6).colour = 0;
  EXPECT_EQ(fs.count(), 6u);
  EXPECT_EQ(fs.liveCount(), 5u);

  const auto layers = fs.layerCensus();
  EXPECT_EQ(layers.perLayer[3], 2);
  EXPECT_EQ(layers.perLayer[4], 2);
  EXPECT_EQ(layers.perLayer[0], 1);  // layer 300 counts as layer 0
  EXPECT_EQ(layers.usedLayers, 3);

  const auto all = fs.colourCensus(-1, -1);
  EXPECT_EQ(all.perColour[5], 2);
  EXPECT_EQ(all.perColour[9], 2);
  EXPECT_EQ(all.perColour[1], 1);  // colour 0 counts as colour 1
  EXPECT_EQ(all.usedColours, 3);
  EXPECT_EQ(fs.colourCensus(-1, 15).usedColours, 3);

  const auto noPoints = fs.colourCensus(-1, 13);
  EXPECT_EQ(noPoints.perColour[5], 1);
  EXPECT_EQ(noPoints.perColour[9], 2);
  const auto linesOnly = fs.colourCensus(-1, 1);
  EXPECT_EQ(linesOnly.perColour[5], 1);
  EXPECT_EQ(linesOnly.perColour[9], 0);
  EXPECT_EQ(linesOnly.perColour[1], 1);
  EXPECT_EQ(linesOnly.usedColours, 2);
  EXPECT_EQ(fs.colourCensus(-1, 2).perColour[5], 1);  // points
  EXPECT_EQ(fs.colourCensus(-1, 8).perColour[9], 1);  // quads

  const auto layer4 = fs.colourCensus(4, -1);
  EXPECT_EQ(layer4.perColour[9], 2);
  EXPECT_EQ(layer4.usedColours, 1);
  EXPECT_EQ(fs.colourCensus(0, -1).perColour[1], 1);  // the layer-300 line
  EXPECT_EQ(fs.colourCensus(7, -1).usedColours, 0);

  fs.clear();
  EXPECT_EQ(fs.count(), 0u);
  EXPECT_EQ(fs.layerCensus().usedLayers, 0);
}

TEST(Palette, FixedEntriesAndTheHueRule) {
  struct Entry {
    int index;
    Rgb rgb;
  };
  const Entry entries[] = {
      {1, {255, 0, 0}},     {2, {255, 255, 0}},   {3, {0, 255, 0}},     {4, {0, 255, 255}},
      {5, {0, 0, 255}},     {6, {255, 0, 255}},   {7, {0, 0, 0}},       {8, {128, 128, 128}},
      {9, {192, 192, 192}}, {10, {255, 0, 0}},    {11, {255, 127, 127}}, {13, {165, 82, 82}},
      {20, {255, 63, 0}},   {32, {165, 82, 0}},   {33, {165, 124, 82}}, {35, {127, 95, 63}},
      {42, {165, 124, 0}},  {43, {165, 145, 82}}, {49, {38, 33, 19}},   {62, {124, 165, 0}},
      {63, {145, 165, 82}}, {71, {191, 255, 127}}, {130, {0, 255, 255}}, {240, {255, 0, 63}},
      {250, {0, 0, 0}},     {251, {45, 45, 45}},  {252, {91, 91, 91}},  {253, {137, 137, 137}},
      {254, {183, 183, 183}}, {255, {179, 179, 179}},
  };
  for (const auto& e : entries) {
    const Rgb c = paletteColour(e.index);
    EXPECT_EQ(c, e.rgb) << "index " << e.index << " gave " << int(c.r) << "," << int(c.g) << "," << int(c.b);
  }
  const Rgb grey{136, 136, 136};
  for (int outside : {0, -1, 256, 1000}) EXPECT_EQ(paletteColour(outside), grey) << outside;
}

TEST(Palette, IndexOfAColourIsTheFirstExactMatch) {
  EXPECT_EQ(paletteIndex({255, 0, 0}), 1);  // not 10
  EXPECT_EQ(paletteIndex({0, 0, 0}), 7);    // not 250
  EXPECT_EQ(paletteIndex({1, 2, 3}), 7);    // no match
  EXPECT_EQ(paletteIndex({192, 192, 192}), 9);
  EXPECT_EQ(paletteIndex({255, 127, 127}), 11);
  EXPECT_EQ(paletteIndex({45, 45, 45}), 251);
  EXPECT_EQ(paletteIndex({179, 179, 179}), 255);
  EXPECT_EQ(paletteIndex({136, 136, 136}), 7);  // the reader's grey is no palette entry
  for (int i = 1; i <= 255; ++i) {
    const int back = paletteIndex(paletteColour(i));
    EXPECT_LE(back, i);
    EXPECT_EQ(paletteColour(back), paletteColour(i));
  }
}

}  // namespace
}  // namespace kubrix
