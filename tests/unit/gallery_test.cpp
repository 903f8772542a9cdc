// The gallery in examples/: every solid example is a closed, outward-facing surface on its first run,
// the same model on a plain rerun, and closed again after a design parameter is changed in the grid;
// the two gears of the gear pair mesh (their outlines touch without crossing) at any turning angle.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "mesh_check.h"
#include "test_support.h"

namespace kubrix {
namespace {

using test::checkMesh;
using test::MeshReport;
using test::ScriptRun;

std::string exampleText(const std::string& file) {
  std::ifstream in(std::string(KUBRIX_SOURCE_DIR "/examples/") + file, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void setParameter(ScriptRun& run, const char* name, const std::string& value) {
  std::string reason;
  ASSERT_TRUE(run.engine.editParameter(run.engine.vars.find(name), value, reason)) << name << ": " << reason;
}

TEST(GalleryExamples, SolidsAreClosedOnEveryRun) {
  struct Example {
    const char *file, *parameter, *value;
  } examples[] = {
      {"gear_pair.kx", "z2", "40"}, {"flange.kx", "nb", "8"},        {"pipe_run.kx", "rb", "12"},
      {"spiral_stair.kx", "n", "20"}, {"dome.kx", "nc", "6"},        {"chair.kx", "tl", "15"},
      {"dimensions.kx", "h1", "65"}, {"vase.kx", "r", "7"},          {"pipe_bend.kx", "ang", "60"},
      {"pavilion.kx", "nc", "3"},
  };
  for (const auto& [file, parameter, value] : examples) {
    ScriptRun run(exampleText(file));
    run.reset();
    const MeshReport first = checkMesh(run.engine.figures);
    EXPECT_TRUE(first.closed()) << file << ": " << first.firstProblem;
    EXPECT_GT(first.volume, 0) << file;
    const std::vector<FigureElement> before(run.engine.figures.elements().begin(), run.engine.figures.elements().end());
    run.run();
    ASSERT_EQ(run.engine.figures.count(), before.size()) << file;
    for (size_t i = 0; i < before.size(); ++i)
      for (size_t k = 0; k < 4; ++k) {
        ASSERT_EQ(run.engine.figures.at(i + 1).p[k].x, before[i].p[k].x) << file << " element " << i + 1;
        ASSERT_EQ(run.engine.figures.at(i + 1).p[k].z, before[i].p[k].z) << file << " element " << i + 1;
      }
    setParameter(run, parameter, value);
    run.run();
    const MeshReport changed = checkMesh(run.engine.figures);
    EXPECT_TRUE(changed.closed()) << file << " with " << parameter << "=" << value << ": " << changed.firstProblem;
    EXPECT_GT(changed.volume, 0) << file;
    EXPECT_NE(changed.volume, first.volume) << file;
  }
}

// The outline of a gear at its bottom: the lower edges (z = 0) of the vertical faces of one colour
// that lie farther from the gear's axis than its shaft hole.
struct Segment {
  double ax, ay, bx, by;
};

std::vector<Segment> outline(const FigureStore& store, int colour, double cx, double bore) {
  std::vector<Segment> out;
  for (const FigureElement& f : store.elements()) {
    if (!f.live || f.kind != kKindQuad || f.colour != colour) continue;
    std::vector<Point3> bottom;
    for (const Point3& p : f.p)
      if (p.z == 0) bottom.push_back(p);
    if (bottom.size() != 2) continue;
    if (std::hypot(bottom[0].x - cx, bottom[0].y) < bore + 1e-6 && std::hypot(bottom[1].x - cx, bottom[1].y) < bore + 1e-6)
      continue;
    out.push_back({bottom[0].x, bottom[0].y, bottom[1].x, bottom[1].y});
  }
  return out;
}

double pointToSegment(double px, double py, const Segment& s) {
  const double dx = s.bx - s.ax, dy = s.by - s.ay, len2 = dx * dx + dy * dy;
  const double t = len2 == 0 ? 0 : std::clamp(((px - s.ax) * dx + (py - s.ay) * dy) / len2, 0.0, 1.0);
  return std::hypot(s.ax + t * dx - px, s.ay + t * dy - py);
}

double side(double ox, double oy, double ax, double ay, double bx, double by) {
  return (ax - ox) * (by - oy) - (ay - oy) * (bx - ox);
}

bool cross(const Segment& s, const Segment& t) {
  return side(t.ax, t.ay, t.bx, t.by, s.ax, s.ay) * side(t.ax, t.ay, t.bx, t.by, s.bx, s.by) < 0 &&
         side(s.ax, s.ay, s.bx, s.by, t.ax, t.ay) * side(s.ax, s.ay, s.bx, s.by, t.bx, t.by) < 0;
}

TEST(GalleryExamples, GearPairMeshesAtEveryAngle) {
  ScriptRun run(exampleText("gear_pair.kx"));
  run.reset();
  struct Case {
    const char* z2;
    const char* angle;
  } cases[] = {{"30", "0"}, {"30", "2.5"}, {"30", "5"}, {"30", "7.5"}, {"30", "10"}, {"30", "-13"}, {"40", "4"}, {"25", "17"}};
  for (const auto& [z2, angle] : cases) {
    setParameter(run, "z2", z2);
    setParameter(run, "rt", angle);
    run.run();
    const double m = std::stod(run.value("m")), z1 = std::stod(run.value("z1")), teeth2 = std::stod(z2);
    const double centres = m * (z1 + teeth2) / 2;
    const std::vector<Segment> small = outline(run.engine.figures, std::stoi(run.value("c1")), -centres / 2,
                                               std::stod(run.value("d1")) / 2);
    const std::vector<Segment> large = outline(run.engine.figures, std::stoi(run.value("c2")), centres / 2,
                                               std::stod(run.value("d2")) / 2);
    // Every tooth has its two flanks, tip and root on the outline.
    ASSERT_GE(small.size(), 8 * z1) << "z2=" << z2 << " rt=" << angle;
    ASSERT_GE(large.size(), 8 * teeth2) << "z2=" << z2 << " rt=" << angle;
    double nearest = 1e9;
    for (const Segment& s : small)
      for (const Segment& t : large) {
        ASSERT_FALSE(cross(s, t)) << "the gears overlap at z2=" << z2 << " rt=" << angle;
        nearest = std::min({nearest, pointToSegment(s.ax, s.ay, t), pointToSegment(s.bx, s.by, t),
                            pointToSegment(t.ax, t.ay, s), pointToSegment(t.bx, t.by, s)});
      }
    // The flanks are polylines inside the true involutes: the gears touch up to that chord error.
    EXPECT_GT(nearest, 0) << "z2=" << z2 << " rt=" << angle;
    EXPECT_LT(nearest, 0.05 * m) << "the gears do not touch at z2=" << z2 << " rt=" << angle;
  }
}

}  // namespace
}  // namespace kubrix
