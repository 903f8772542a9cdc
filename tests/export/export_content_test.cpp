// What each export writer puts into its file: censuses, out-of-range layers and colours, facets and
// normals, shared OBJ vertices, the VRML/X3D axes and viewpoints, COLLADA libraries that must not
// be empty, and the X3D colour lists.
#include <gtest/gtest.h>

#include <random>

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <map>
#include <regex>
#include <sstream>

#include "engine/sjis.h"
#include "tests/export/export_test_support.h"

namespace kubrix::exporttest {
namespace {

std::string text(const FigureStore& s, ExportFormat f, std::string_view name = "t") {
  return exportText(s, f, name, contextFor(s));
}

size_t countOf(std::string_view hay, std::string_view needle) {
  size_t n = 0;
  for (size_t at = hay.find(needle); at != std::string_view::npos; at = hay.find(needle, at + 1)) ++n;
  return n;
}

// DXF group pairs (code line trimmed, value line as written), from the first ENTITIES on when asked.
std::vector<std::pair<int, std::string>> dxfPairs(const std::string& dxf) {
  const auto lines = crlfLines(dxf);
  std::vector<std::pair<int, std::string>> pairs;
  for (size_t i = 0; i + 1 < lines.size(); i += 2) pairs.emplace_back(std::stoi(lines[i]), lines[i + 1]);
  return pairs;
}

// The entities of a DXF file: type and its pairs.
std::vector<std::pair<std::string, std::multimap<int, std::string>>> dxfEntities(const std::string& dxf) {
  const auto pairs = dxfPairs(dxf);
  std::vector<std::pair<std::string, std::multimap<int, std::string>>> out;
  bool inEntities = false;
  for (size_t i = 0; i < pairs.size(); ++i) {
    const auto& [code, value] = pairs[i];
    if (code == 2 && value == "ENTITIES") inEntities = true;
    if (!inEntities || code != 0) {
      if (inEntities && !out.empty()) out.back().second.emplace(code, value);
      continue;
    }
    if (value == "ENDSEC") break;
    out.push_back({value, {}});
  }
  return out;
}

TEST(ExportDxf, LayerTableAndEntitiesFollowTheCensusAndFallBacks) {
  FigureStore s;
  addLine(s, {0, 0, 0}, {1, 2, 3}, 5, 2);
  addPoint(s, {4, 5, 6}, 5, 3);
  addTriangle(s, {0, 0, 0}, {1, 0, 0}, {0, 1, 0}, 0, 4);
  addQuad(s, {0, 0, 1}, {1, 0, 1}, {1, 1, 1}, {0, 1, 1}, 9, 5);
  addLine(s, {9, 9, 9}, {8, 8, 8}, 12, 6);
  s.at(5).live = false;  // layer 12 is then unused
  addLine(s, {0, 0, 0}, {-1, 0, 0}, 0, 1);
  s.at(6).layer = 300, s.at(6).colour = 0;  // counted as layer 0, written as layer 0 and colour 7
  addLine(s, {0, 0, 0}, {0, -1, 0}, 0, 1);
  s.at(7).colour = 256;

  const std::string dxf = text(s, ExportFormat::Dxf);
  const auto lines = crlfLines(dxf);
  // Three layers in use: 0, 5 and 9, in that order, each with its fixed fields.
  std::string layerTable;
  const size_t at = dxf.find("  2\r\nLAYER\r\n");
  ASSERT_NE(at, std::string::npos);
  layerTable = dxf.substr(at, dxf.find("ENDTAB", at) - at);
  EXPECT_EQ(layerTable,
            "  2\r\nLAYER\r\n 70\r\n     3\r\n"
            "  0\r\nLAYER\r\n  2\r\n0\r\n 70\r\n     0\r\n 62\r\n     7\r\n  6\r\nCONTINUOUS\r\n"
            "  0\r\nLAYER\r\n  2\r\n5\r\n 70\r\n     0\r\n 62\r\n     7\r\n  6\r\nCONTINUOUS\r\n"
            "  0\r\nLAYER\r\n  2\r\n9\r\n 70\r\n     0\r\n 62\r\n     7\r\n  6\r\nCONTINUOUS\r\n  0\r\n");

  const auto entities = dxfEntities(dxf);
  ASSERT_EQ(entities.size(), 6u);  // the deleted line is left out
  EXPECT_EQ(entities[0].first, "LINE");
  EXPECT_EQ(entities[0].second.find(8)->second, "5");
  EXPECT_EQ(entities[0].second.find(62)->second, "2");
  EXPECT_EQ(entities[0].second.find(31)->second, "3.0000000000");
  EXPECT_EQ(entities[1].first, "POINT");
  EXPECT_EQ(entities[1].second.find(20)->second, "5.0000000000");
  EXPECT_EQ(entities[1].second.count(11), 0u);
  // A triangle is a 3DFACE whose fourth corner repeats the third.
  EXPECT_EQ(entities[2].first, "3DFACE");
  EXPECT_EQ(entities[2].second.find(12)->second, "0.0000000000");
  EXPECT_EQ(entities[2].second.find(22)->second, "1.0000000000");
  EXPECT_EQ(entities[2].second.find(13)->second, "0.0000000000");
  EXPECT_EQ(entities[2].second.find(23)->second, "1.0000000000");
  EXPECT_EQ(entities[3].first, "3DFACE");
  EXPECT_EQ(entities[3].second.find(8)->second, "9");
  EXPECT_EQ(entities[3].second.find(13)->second, "0.0000000000");
  EXPECT_EQ(entities[3].second.find(23)->second, "1.0000000000");
  EXPECT_EQ(entities[3].second.find(33)->second, "1.0000000000");
  EXPECT_EQ(entities[4].second.find(8)->second, "0");   // layer 300
  EXPECT_EQ(entities[4].second.find(62)->second, "7");  // colour 0
  EXPECT_EQ(entities[4].second.find(11)->second, "-1.0000000000");
  EXPECT_EQ(entities[5].second.find(62)->second, "7");  // colour 256
  EXPECT_EQ(lines[lines.size() - 2], "  0");
  EXPECT_EQ(lines.back(), "EOF");
}

TEST(ExportDxf, HeaderExtentIsViewScaleTimesExportScaleWithTwoDecimals) {
  FigureStore s;
  addLine(s, {0, 0, 0}, {1, 0, 0});
  ExportContext c;
  c.viewScale = 12.3456;
  std::string dxf = exportText(s, ExportFormat::Dxf, "t.dxf", c);
  EXPECT_NE(dxf.find("$EXTMIN\r\n 10\r\n-12.35\r\n 20\r\n-12.35\r\n 30\r\n-12.35\r\n  9\r\n$EXTMAX\r\n 10\r\n12.35\r\n"
                     " 20\r\n12.35\r\n 30\r\n12.35\r\n  9\r\n$LIMMIN\r\n 10\r\n-12.35\r\n 20\r\n-12.35\r\n  9\r\n"
                     "$LIMMAX\r\n 10\r\n12.35\r\n 20\r\n12.35\r\n  9\r\n$ORTHOMODE"),
            std::string::npos);
  c.exportScale = 2.5;
  dxf = exportText(s, ExportFormat::Dxf, "t.dxf", c);
  EXPECT_NE(dxf.find("$EXTMAX\r\n 10\r\n30.86\r\n"), std::string::npos);
  // Coordinates are multiplied by the export scale.
  EXPECT_NE(dxf.find(" 11\r\n2.5000000000\r\n"), std::string::npos);
  // The line types carry their Japanese descriptions in CP932.
  EXPECT_NE(dxf.find("  3\r\n" + utf8ToSjis("一点鎖線") + "\r\n"), std::string::npos);
}

// Parses "facet normal" blocks: the normal and three vertices of each facet.
struct Facet {
  std::array<double, 3> n;
  std::array<std::array<double, 3>, 3> v;
};
std::vector<Facet> stlFacets(const std::string& stl) {
  std::vector<Facet> facets;
  const auto lines = crlfLines(stl);
  for (size_t i = 0; i < lines.size(); ++i) {
    Facet f;
    if (sscanf(lines[i].c_str(), "facet normal %lf %lf %lf", &f.n[0], &f.n[1], &f.n[2]) != 3) continue;
    EXPECT_EQ(lines[i + 1], "  outer loop");
    for (int k = 0; k < 3; ++k)
      EXPECT_EQ(sscanf(lines[i + 2 + k].c_str(), "    vertex %lf %lf %lf", &f.v[k][0], &f.v[k][1], &f.v[k][2]), 3);
    EXPECT_EQ(lines[i + 5], "  endloop");
    EXPECT_EQ(lines[i + 6], "endfacet");
    facets.push_back(f);
  }
  return facets;
}

TEST(ExportStl, QuadsSplitAlongP1P3AndNormalsFollowTheRightHandRule) {
  FigureStore s;
  addLine(s, {0, 0, 0}, {1, 1, 1});
  addPoint(s, {5, 5, 5});
  addTriangle(s, {0, 0, 0}, {0, 2, 0}, {0, 0, 3});             // normal +X
  addQuad(s, {0, 0, 0}, {4, 0, 0}, {4, 0, 4}, {0, 0, 4});       // normal -Y, planar
  addQuad(s, {0, 0, 0}, {1, 0, 0}, {1, 1, 1}, {0, 1, 0});       // not planar: two different normals
  addTriangle(s, {0, 0, 0}, {1, 1, 1}, {2, 2, 2});             // collinear: no direction
  addTriangle(s, {0.1, 0.2, 0.3}, {0.123456789012, 7, -1e-12}, {-3, 4, 5});
  s.at(4).live = false;
  const std::string stl = text(s, ExportFormat::Stl, "模型.stl");
  EXPECT_EQ(stl.substr(0, stl.find('\r')), "solid " + utf8ToSjis("模型.stl"));
  EXPECT_EQ(crlfLines(stl).back(), "endsolid " + utf8ToSjis("模型.stl"));
  // A name with a line break in it cannot break the line.
  EXPECT_EQ(text(s, ExportFormat::Stl, "a\r\nb.stl").substr(0, 17), "solid a__b.stl\r\nf");
  const auto facets = stlFacets(stl);
  ASSERT_EQ(facets.size(), 5u);  // lines, points and the deleted quad are not written
  EXPECT_EQ(facets[0].n, (std::array<double, 3>{1, 0, 0}));
  EXPECT_EQ(facets[1].v[0], (std::array<double, 3>{0, 0, 0}));
  EXPECT_EQ(facets[1].v[1], (std::array<double, 3>{1, 0, 0}));
  EXPECT_EQ(facets[1].v[2], (std::array<double, 3>{1, 1, 1}));
  EXPECT_EQ(facets[2].v[1], (std::array<double, 3>{1, 1, 1}));
  EXPECT_EQ(facets[2].v[2], (std::array<double, 3>{0, 1, 0}));
  const double r = 1 / std::sqrt(2.0);
  EXPECT_NEAR(facets[1].n[1], -r, 1e-15);
  EXPECT_NEAR(facets[1].n[2], r, 1e-15);
  EXPECT_NEAR(facets[2].n[0], -r, 1e-15);
  EXPECT_EQ(facets[2].n[1], 0);
  EXPECT_NEAR(facets[2].n[2], r, 1e-15);
  EXPECT_EQ(facets[3].n, (std::array<double, 3>{0, 0, 0}));
  // Every stored double comes back exactly; every normal is of unit length to its fifteen decimals.
  EXPECT_EQ(facets[4].v[1], (std::array<double, 3>{0.123456789012, 7, -1e-12}));
  EXPECT_EQ(facets[4].v[0], (std::array<double, 3>{0.1, 0.2, 0.3}));
  for (size_t i : {0u, 1u, 2u, 4u}) {
    const auto& n = facets[i].n;
    EXPECT_NEAR(n[0] * n[0] + n[1] * n[1] + n[2] * n[2], 1.0, 1e-14) << i;
  }
}

// Large stores are formatted on several cores; the file must still hold every facet in store order.
// 100,000 elements (several formatting ranges) of every kind, some deleted, written as STL, against
// the same store written piece by piece in stores too small to be split.
TEST(ExportStl, LargeStoreKeepsStoreOrderAcrossFormattingRanges) {
  FigureStore big;
  std::mt19937_64 rng(5);
  std::uniform_real_distribution<double> coord(-500, 500);
  auto p = [&] { return Point3{coord(rng), coord(rng), coord(rng)}; };
  for (int i = 0; i < 100000; ++i) {
    switch (i % 5) {
      case 0: addLine(big, p(), p()); break;
      case 1: addTriangle(big, p(), p(), p()); break;
      default: addQuad(big, p(), p(), p(), p()); break;
    }
    if (i % 13 == 0) big.at(big.count()).live = false;
  }
  const std::string whole = text(big, ExportFormat::Stl, "a.stl");
  std::string pieces = "solid a.stl\r\n";
  for (size_t first = 1; first <= big.count(); first += 1000) {
    FigureStore part;
    for (size_t n = first; n < first + 1000 && n <= big.count(); ++n) {
      const FigureElement& e = big.at(n);
      if (e.kind == kKindLine) addLine(part, e.p[0], e.p[1]);
      if (e.kind == kKindTriangle) addTriangle(part, e.p[0], e.p[1], e.p[2]);
      if (e.kind == kKindQuad) addQuad(part, e.p[0], e.p[1], e.p[2], e.p[3]);
      part.at(part.count()).live = e.live;
    }
    const std::string t = text(part, ExportFormat::Stl, "a.stl");
    const size_t body = t.find("\r\n") + 2;
    pieces += t.substr(body, t.rfind("endsolid") - body);
  }
  pieces += "endsolid a.stl\r\n";
  EXPECT_EQ(whole.size(), pieces.size());
  EXPECT_TRUE(whole == pieces);
}

TEST(ExportObj, SharedVerticesFirstThenElementsInStoreOrder) {
  FigureStore s;
  addTriangle(s, {0, 0, 0}, {1, 0, 0}, {0, 1, 0});
  addQuad(s, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {0.5, 0.5, 1});
  addLine(s, {0, 1, 0}, {7, 7, 7});
  addPoint(s, {7, 7, 7});
  addPoint(s, {9, 9, 9});
  s.at(5).live = false;
  addPoint(s, {0, 0, 0});
  s.at(6).p[0].x = -0.0;  // -0 is the same place as 0
  const std::string obj = text(s, ExportFormat::Obj, "a b.obj");
  EXPECT_EQ(obj,
            "# a b.obj\r\n#\r\n"
            "v 0 0 0\r\nv 1 0 0\r\nv 0 1 0\r\nv 1 1 0\r\nv 0.5 0.5 1\r\nv 7 7 7\r\n"
            "f 1 2 3\r\nf 2 4 3 5\r\nl 3 6\r\np 6\r\np 1\r\n");
}

TEST(ExportVrmlX3d, StoresWithoutLinesOrFacesHoldOnlyTheFrame) {
  FigureStore s;
  addPoint(s, {1, 2, 3});
  addTriangle(s, {0, 0, 0}, {1, 0, 0}, {0, 1, 0}, 3);
  EXPECT_EQ(text(s, ExportFormat::Vrml), "#VRML V2.0 utf8\r\n\r\n");
  FigureStore points;
  addPoint(points, {1, 2, 3});
  const std::string x3d = text(points, ExportFormat::X3d, "Pts.X3D");
  EXPECT_NE(x3d.find("<meta name='filename' content='pts.x3d' />"), std::string::npos);
  EXPECT_EQ(x3d.substr(x3d.find("description='TopView' />\r\n")),
            "description='TopView' />\r\n\r\n  </Scene>\r\n</X3D>\r\n");
  EXPECT_EQ(countOf(x3d, "<Viewpoint"), 6u);
  // Markup in the name is escaped: the attribute stays one attribute.
  EXPECT_NE(text(points, ExportFormat::X3d, "It's&<A>.x3d").find("content='it&apos;s&amp;&lt;a&gt;.x3d' />"),
            std::string::npos);
}

TEST(ExportVrmlX3d, LayersOutsideTheRangeAreLeftOutButCountForLayerZero) {
  FigureStore s;
  addLine(s, {0, 0, 0}, {1, 0, 0}, 0, 1);
  s.at(1).layer = 300;
  addLine(s, {0, 0, 0}, {2, 0, 0}, 4, 2);
  const std::string wrl = text(s, ExportFormat::Vrml);
  EXPECT_EQ(countOf(wrl, "Transform {"), 1u);
  EXPECT_NE(wrl.find("DEF LAY4L Transform {"), std::string::npos);
  const std::string x3d = text(s, ExportFormat::X3d);
  EXPECT_EQ(countOf(x3d, "<Transform>"), 1u);
  const std::string dae = text(s, ExportFormat::Collada);
  EXPECT_EQ(countOf(dae, "<geometry "), 1u);
  EXPECT_NE(dae.find("<geometry id=\"layer4-C2\""), std::string::npos);
  // Layer 0 is in use by the census: its scene node is there, with nothing in it.
  EXPECT_NE(dae.find("    <node id=\"Layer0\" name=\"Layer0\">\r\n    </node>\r\n"), std::string::npos);
}

// The model is Z-up, VRML and X3D are Y-up: points go as (x, z, -y), a turn, not a mirror image.
TEST(ExportVrmlX3d, AxesAreTurnedNotMirrored) {
  FigureStore s;
  // Counter-clockwise seen from +Z: faces up.
  addTriangle(s, {0, 0, 0}, {1000, 0, 0}, {0, 1000, 0});
  addLine(s, {1, 2, 3}, {-4, 0, 6});
  const std::string x3d = text(s, ExportFormat::X3d);
  EXPECT_NE(x3d.find("            0.0010000000 0.0030000000 -0.0020000000\r\n"
                     "            -0.0040000000 0.0060000000 0.0000000000'\r\n"),
            std::string::npos);
  const size_t at = x3d.find("0 1 2 0 -1");
  ASSERT_NE(at, std::string::npos);
  std::array<std::array<double, 3>, 3> p{};
  std::istringstream in(x3d.substr(x3d.find("<Coordinate point='", at) + 19));
  for (auto& q : p) in >> q[0] >> q[1] >> q[2];
  const std::array<double, 3> u{p[1][0] - p[0][0], p[1][1] - p[0][1], p[1][2] - p[0][2]};
  const std::array<double, 3> v{p[2][0] - p[0][0], p[2][1] - p[0][1], p[2][2] - p[0][2]};
  // The face's normal, up in the model, is up (+Y) in the viewer's world.
  EXPECT_GT(u[2] * v[0] - u[0] * v[2], 0.9);
  EXPECT_NEAR(u[1] * v[2] - u[2] * v[1], 0, 1e-12);
  EXPECT_NEAR(u[0] * v[1] - u[1] * v[0], 0, 1e-12);
  const std::string wrl = text(s, ExportFormat::Vrml);
  EXPECT_NE(wrl.find("                  0.0010000000 0.0030000000 -0.0020000000 ,\r\n"
                     "                  -0.0040000000 0.0060000000 0.0000000000 ]\r\n"),
            std::string::npos);
}

// Rotates v about the unit axis by angle (Rodrigues).
std::array<double, 3> rotate(std::array<double, 3> v, std::array<double, 3> axis, double angle) {
  const double c = std::cos(angle), s = std::sin(angle);
  const double dot = axis[0] * v[0] + axis[1] * v[1] + axis[2] * v[2];
  const std::array<double, 3> cross{axis[1] * v[2] - axis[2] * v[1], axis[2] * v[0] - axis[0] * v[2],
                                    axis[0] * v[1] - axis[1] * v[0]};
  std::array<double, 3> r{};
  for (int i = 0; i < 3; ++i) r[i] = v[i] * c + cross[i] * s + axis[i] * dot * (1 - c);
  return r;
}

// The viewer's (x, y, z) back in model axes: (x, -z, y).
std::array<double, 3> toModel(std::array<double, 3> v) { return {v[0], -v[2], v[1]}; }

// The nearest model axis of a direction, as "+X", "-Y" ...
std::string axisName(std::array<double, 3> v) {
  int best = 0;
  for (int i = 1; i < 3; ++i)
    if (std::fabs(v[i]) > std::fabs(v[best])) best = i;
  EXPECT_GT(std::fabs(v[best]), 0.999) << "not along an axis";
  return std::string(v[best] > 0 ? "+" : "-") + "XYZ"[best];
}

TEST(ExportX3d, ViewpointsLookAtTheModelFromTheSidesTheirNamesSay) {
  FigureStore s;
  addLine(s, {-5, -5, -5}, {5, 5, 5});
  const std::string x3d = text(s, ExportFormat::X3d);
  const std::regex viewpoint(
      "<Viewpoint position='([-0-9.]+) ([-0-9.]+) ([-0-9.]+)'\r\n\t\t {11}orientation='([-0-9.]+) ([-0-9.]+) "
      "([-0-9.]+) ([-0-9.]+)'\r\n\t\t {11}description='(\\w+)' />");
  struct Want {
    std::string camera, looks, right, up;
  };
  // Camera side, view direction, screen right and screen up, in model axes (Z up, front is -Y).
  const std::map<std::string, Want> want = {
      {"FrontView", {"-Y", "+Y", "+X", "+Z"}},  {"BackView", {"+Y", "-Y", "-X", "+Z"}},
      {"LeftView", {"-X", "+X", "-Y", "+Z"}},   {"RightView", {"+X", "-X", "+Y", "+Z"}},
      {"TopView", {"+Z", "-Z", "+X", "+Y"}},    {"BottomView", {"-Z", "+Z", "+X", "-Y"}},
  };
  size_t seen = 0;
  for (auto it = std::sregex_iterator(x3d.begin(), x3d.end(), viewpoint); it != std::sregex_iterator(); ++it) {
    const auto& m = *it;
    const std::string name = m[8];
    ASSERT_TRUE(want.count(name)) << name;
    const std::array<double, 3> position{std::stod(m[1]), std::stod(m[2]), std::stod(m[3])};
    const std::array<double, 3> axis{std::stod(m[4]), std::stod(m[5]), std::stod(m[6])};
    const double angle = std::stod(m[7]);
    // The camera stands D = 4 x view scale x 0.001 away on its side (the E lift is smaller).
    std::array<double, 3> side = toModel(position);
    EXPECT_NEAR(std::max({std::fabs(side[0]), std::fabs(side[1]), std::fabs(side[2])}), 0.02, 1e-12) << name;
    for (double& c : side) c = std::fabs(c) < 0.019 ? 0 : c / 0.02;
    EXPECT_EQ(axisName(side), want.at(name).camera) << name;
    EXPECT_EQ(axisName(toModel(rotate({0, 0, -1}, axis, angle))), want.at(name).looks) << name;
    EXPECT_EQ(axisName(toModel(rotate({1, 0, 0}, axis, angle))), want.at(name).right) << name;
    EXPECT_EQ(axisName(toModel(rotate({0, 1, 0}, axis, angle))), want.at(name).up) << name;
    ++seen;
  }
  EXPECT_EQ(seen, 6u);
}

TEST(ExportX3d, ColourListsWrapAfterEveryTenthEntryButTheLast) {
  FigureStore s;
  for (int i = 0; i < 20; ++i) addLine(s, {0, 0, 0}, {1.0 + i, 0, 0}, 1, i + 1);
  for (int i = 0; i < 11; ++i) addQuad(s, {0, 0, 0}, {1, 0, 0}, {1, 1.0 + i, 0}, {0, 1, 0}, 1, 8);
  const std::string x3d = text(s, ExportFormat::X3d);
  EXPECT_NE(x3d.find("          colorIndex='0 1 2 3 4 5 6 7 8 9 \r\n\t           10 11 12 13 14 15 16 17 18 19 ' >\r\n"),
            std::string::npos);
  EXPECT_NE(x3d.find("          colorIndex='0 1 2 3 4 5 6 7 8 9 \r\n            10 ' >\r\n"), std::string::npos);
  EXPECT_NE(x3d.find("          0 1 2 3 0 -1\r\n          4 5 6 7 4 -1\r\n"), std::string::npos);
  EXPECT_NE(x3d.find("            0.502 0.502 0.502'\r\n          />"), std::string::npos);  // colour 8, the last face
}

TEST(ExportVrml, ColoursComeFromThePaletteWithGreyOutsideIt) {
  FigureStore s;
  addLine(s, {0, 0, 0}, {1, 0, 0}, 0, 13);
  addLine(s, {0, 0, 0}, {2, 0, 0}, 0, 1);
  s.at(2).colour = 0;
  const std::string wrl = text(s, ExportFormat::Vrml);
  EXPECT_NE(wrl.find("          color [ \r\n            0.647 0.322 0.322 ,\r\n            0.533 0.533 0.533 ]\r\n"),
            std::string::npos);
  EXPECT_NE(wrl.find("        coordIndex [ \r\n          0 1 -1 \r\n          2 3 -1 \r\n        ]\r\n"),
            std::string::npos);
  EXPECT_NE(wrl.find("        colorIndex [ \r\n          0 \r\n          1 \r\n        ]\r\n"), std::string::npos);
}

TEST(ExportCollada, LibrariesThatWouldBeEmptyAreLeftOut) {
  FigureStore points;
  addPoint(points, {1, 2, 3});
  std::string dae = text(points, ExportFormat::Collada);
  EXPECT_EQ(dae.find("<library_effects>"), std::string::npos);
  EXPECT_EQ(dae.find("<library_materials>"), std::string::npos);
  EXPECT_EQ(dae.find("<library_geometries>"), std::string::npos);
  EXPECT_NE(dae.find("<node id=\"Layer0\" name=\"Layer0\">"), std::string::npos);

  FigureStore faces;
  addTriangle(faces, {0, 0, 0}, {1, 0, 0}, {0, 1, 0}, 2, 5);
  dae = text(faces, ExportFormat::Collada);
  EXPECT_NE(dae.find("<effect id=\"ColorID5\">"), std::string::npos);  // face colours still get effects
  EXPECT_NE(dae.find("<material id=\"DefColor5\">"), std::string::npos);
  EXPECT_EQ(dae.find("<library_geometries>"), std::string::npos);

  // Every element deleted: no layer in use, so no scene either.
  FigureStore gone;
  addLine(gone, {0, 0, 0}, {1, 0, 0});
  gone.at(1).live = false;
  dae = text(gone, ExportFormat::Collada);
  EXPECT_EQ(dae.find("<library_"), std::string::npos);
  EXPECT_EQ(dae.find("<scene>"), std::string::npos);
  EXPECT_TRUE(dae.ends_with("</asset>\r\n</COLLADA>\r\n")) << dae;
}

TEST(ExportCollada, OneGeometryPerLayerAndColourWithConsistentCounts) {
  FigureStore s;
  addLine(s, {0, 0, 0}, {1000, 0, 0}, 3, 7);
  addLine(s, {0, 0, 0}, {0, 2000, 0}, 1, 7);
  addLine(s, {1, 2, 3}, {4, 5, 6}, 3, 7);
  addLine(s, {0, 0, 0}, {0, 0, 1}, 3, 2);
  ExportContext c = contextFor(s);
  c.exportScale = 2;
  const std::string dae = exportText(s, ExportFormat::Collada, "t.dae", c, "2001-02-03T04:05:06Z");
  EXPECT_NE(dae.find("  <created>2001-02-03T04:05:06Z</created>\r\n  <modified>2024-01-02T03:04:05Z</modified>\r\n"),
            std::string::npos);
  // Layers in order, colours in order within a layer.
  const size_t g1 = dae.find("<geometry id=\"layer1-C7\""), g2 = dae.find("<geometry id=\"layer3-C2\""),
               g3 = dae.find("<geometry id=\"layer3-C7\"");
  ASSERT_TRUE(g1 != std::string::npos && g2 != std::string::npos && g3 != std::string::npos);
  EXPECT_TRUE(g1 < g2 && g2 < g3);
  EXPECT_NE(dae.find("<float_array id=\"layer3-C7-Pos-array\" count=\"12\">\r\n"
                     "          0.000000000 0.000000000 0.000000000 2.000000000 0.000000000 0.000000000\r\n"
                     "          0.002000000 0.004000000 0.006000000 0.008000000 0.010000000 0.012000000\r\n"
                     "        </float_array>"),
            std::string::npos);
  EXPECT_NE(dae.find("<accessor source=\"#layer3-C7-Pos-array\" count=\"4\" stride=\"3\">"), std::string::npos);
  const std::string layer3c7 = dae.substr(g3, dae.find("</geometry>", g3) - g3);
  EXPECT_EQ(countOf(layer3c7, "<lines count=\"1\" material=\"Color7\">"), 2u);
  EXPECT_LT(layer3c7.find("<p>0 1</p>"), layer3c7.find("<p>2 3</p>"));
  EXPECT_EQ(countOf(dae, "<lines count=\"1\""), 4u);
  EXPECT_EQ(countOf(dae, "<instance_geometry"), 3u);
  EXPECT_NE(dae.find("<instance_material symbol=\"Color2\" target=\"#DefColor2\" />"), std::string::npos);
}

// The dates say "Z": they are UTC whatever the local time zone is.
TEST(ExportCollada, DatesAreUtc) {
  FigureStore s;
  addLine(s, {0, 0, 0}, {1, 0, 0});
  const char* oldTz = std::getenv("TZ");
  const std::string saved = oldTz != nullptr ? oldTz : "";
  setenv("TZ", "JST-9", 1);
  tzset();
  const std::string dae = text(s, ExportFormat::Collada);
  if (oldTz != nullptr) {
    setenv("TZ", saved.c_str(), 1);
  } else {
    unsetenv("TZ");
  }
  tzset();
  EXPECT_NE(dae.find("  <created>2024-01-02T03:04:05Z</created>\r\n  <modified>2024-01-02T03:04:05Z</modified>"),
            std::string::npos);
}

}  // namespace
}  // namespace kubrix::exporttest
