// Draw-line commands that sweep the selection and build surfaces along the chain point list:
// S_SWEP1..4, S_ROT1, S_ROT2, R_RULED, R_SWEP, R_COPY, R_SWEPS.
#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "engine/command_call.h"
#include "engine/command_table.h"
#include "engine/number_text.h"
#include "geometry/chain_surfaces.h"
#include "geometry/commands/selection_bindings.h"
#include "geometry/sweeps.h"

namespace kubrix {

namespace {

using namespace selection_bindings;

Selection& selectionOf(CommandCall& c) { return c.engine().selection; }

int modeOf(int32_t v) { return v >= 0 && v <= 2 ? v : 0; }

// Sweeps the selection through the path; the first argument is a mode (Mode) or a reselect flag.
void sweep(CommandCall& c, const SweepPath& path, int32_t first, bool mode) {
  FigureStore& fs = c.figures();
  Selection& sel = selectionOf(c);
  const size_t start = fs.count();
  sweepSelection(fs, sel, path, layerColour(c));
  if (mode)
    applyMode(fs, sel, modeOf(first), start);
  else
    applyReselect(fs, sel, first, start);
}

// S_SWEP1: mode, layer, colour, dx, dy, dz.
void cmdSweepBy(CommandCall& c) {
  const auto ints = integers<3>(c, 1);
  const auto v = numbers<3>(c, 4);
  SweepPath path;
  path.steps = {Affine{}, Affine::translation(pointOf(v.data()))};
  sweep(c, path, ints[0], true);
  logGenerator(c, ints.data(), ints.size(), v.data(), v.size());
}

// S_SWEP2: mode, layer, colour, t.
void cmdThicken(CommandCall& c) {
  const auto ints = integers<3>(c, 1);
  const double t = c.num(4);
  FigureStore& fs = c.figures();
  const size_t start = fs.count();
  if (std::fabs(t) >= 1e-8) {
    thickenFaces(fs, selectionOf(c), t, layerColour(c));
    applyMode(fs, selectionOf(c), modeOf(ints[0]), start);
  }
  logGenerator(c, ints.data(), ints.size(), &t, 1);
}

// S_SWEP3 (no scale: count, base, axis start, axis end, angle) and S_SWEP4 (count, base, axis start,
// axis end, scale, angle): the selection swept through the placements of S_COPSS.
template <bool Scaled>
void cmdSweepSteps(CommandCall& c) {
  constexpr size_t N = Scaled ? 13 : 10;
  const auto ints = integers<4>(c, 1);
  const auto v = numbers<N>(c, 5);
  const Point3 b = pointOf(&v[0]);
  const Point3 axis{v[6] - v[3], v[7] - v[4], v[8] - v[5]};
  const Point3 s = Scaled ? pointOf(&v[9]) : Point3{1, 1, 1};
  const double a = v[N - 1];
  const int count = clampSteps(ints[3]);
  if (!tinyVector(axis)) {
    SweepPath path;
    path.steps = steppedPath(count, [&](int k) { return steppedPlacement(b, axis, s, a, k, count); });
    path.hasAxis = true;
    path.axisBase = b;
    path.axisDir = axis;
    sweep(c, path, ints[0], false);
  }
  logGenerator(c, ints.data(), ints.size(), v.data(), v.size());
}

// S_ROT1: mode, layer, colour, count, base, direction, angle.
void cmdRevolve(CommandCall& c) {
  const auto ints = integers<4>(c, 1);
  const auto v = numbers<7>(c, 5);
  const Point3 b = pointOf(&v[0]), dir = pointOf(&v[3]);
  const int count = clampSteps(ints[3]);
  if (!tinyVector(dir)) {
    SweepPath path;
    path.steps = steppedPath(count, [&](int k) { return Affine::turnAboutLine(b, dir, k * v[6] / count); });
    path.hasAxis = true;
    path.axisBase = b;
    path.axisDir = dir;
    sweep(c, path, ints[0], true);
  }
  logGenerator(c, ints.data(), ints.size(), v.data(), v.size());
}

// S_ROT2: mode, layer, colour, count and the fifteen numbers of S_COPRS.
void cmdRevolveTurning(CommandCall& c) {
  const auto ints = integers<4>(c, 1);
  const auto v = numbers<15>(c, 5);
  const TurningSteps t{pointOf(&v[0]), pointOf(&v[3]), v[6], v[7], pointOf(&v[8]), pointOf(&v[11]), v[14]};
  const int count = clampSteps(ints[3]);
  if (!tinyVector(t.d1)) {
    SweepPath path;
    path.steps = steppedPath(count, [&](int k) { return turningPlacement(t, k, count); });
    path.hasAxis = true;
    path.axisBase = tinyVector(t.d2) ? t.b1 : t.b2;
    path.axisDir = tinyVector(t.d2) ? t.d1 : t.d2;
    sweep(c, path, ints[0], true);
  }
  logGenerator(c, ints.data(), ints.size(), v.data(), v.size());
}

// "(" reselect ":" layer ":" colour "," then the integers joined by "," ")".
void logChainSurface(CommandCall& c, const int32_t* ints, size_t n) {
  if (!c.logging()) return;
  std::string& m = c.message();
  m += c.keyword();
  m += "(";
  for (size_t i = 0; i < n; ++i) {
    if (i) m += i < 3 ? ":" : ",";
    appendInt(m, ints[i]);
  }
  m += ")";
  c.log(m);
}

// R_RULED: reselect, layer, colour, m.
void cmdRuled(CommandCall& c) {
  const auto ints = integers<4>(c, 1);
  FigureStore& fs = c.figures();
  const size_t start = fs.count();
  ruledSurface(fs, selectionOf(c), c.engine().chainPoints, ints[3], layerColour(c));
  applyReselect(fs, selectionOf(c), ints[0], start);
  logChainSurface(c, ints.data(), ints.size());
}

// R_SWEP: reselect, layer, colour. R_SWEPS: the same and the frame and joint rules.
template <bool Frames>
void cmdChainSweep(CommandCall& c) {
  const auto ints = integers<5>(c, 1);
  const std::vector<Point3>& chain = c.engine().chainPoints;
  SweepPath path;
  path.steps = Frames ? chainFrames(chain, ints[3], ints[4]) : chainPlacements(chain);
  path.placedProfile = true;
  if (path.steps.size() >= 2) {
    sweep(c, path, ints[0], false);
  } else if (ints[0] == 1) {
    selectionOf(c).clear();
  }
  if (Frames)
    logChainSurface(c, ints.data(), ints.size());
  else
    logGenerator(c, ints.data(), 3, nullptr, 0);
}

// R_COPY: reselect, layer, colour, start, step.
void cmdCopyAlong(CommandCall& c) {
  const auto ints = integers<3>(c, 1);
  const auto v = numbers<2>(c, 4);
  FigureStore& fs = c.figures();
  const long long lastStart = copyAlongChain(fs, selectionOf(c), c.engine().chainPoints, v[0], v[1], layerColour(c));
  if (lastStart >= 0) applyReselect(fs, selectionOf(c), ints[0], static_cast<size_t>(lastStart));
  logGenerator(c, ints.data(), ints.size(), v.data(), v.size());
}

}  // namespace

void registerSelectionSweepCommands(CommandTable& t) {
  t.add("S_SWEP1", cmdSweepBy, "S_SWEP1 mode layer colour dx dy dz");
  t.add("S_SWEP2", cmdThicken, "S_SWEP2 mode layer colour t");
  t.add("S_SWEP3", cmdSweepSteps<false>, "S_SWEP3 reselect layer colour n bx by bz x1 y1 z1 x2 y2 z2 a");
  t.add("S_SWEP4", cmdSweepSteps<true>, "S_SWEP4 reselect layer colour n bx by bz x1 y1 z1 x2 y2 z2 sx sy sz a");
  t.add("S_ROT1", cmdRevolve, "S_ROT1 mode layer colour n bx by bz ax ay az a");
  t.add("S_ROT2", cmdRevolveTurning, "S_ROT2 mode layer colour n bx by bz ax ay az a s cx cy cz dx dy dz b");
  t.add("R_RULED", cmdRuled, "R_RULED reselect layer colour m");
  t.add("R_SWEP", cmdChainSweep<false>, "R_SWEP reselect layer colour");
  t.add("R_COPY", cmdCopyAlong, "R_COPY reselect layer colour start step");
  t.add("R_SWEPS", cmdChainSweep<true>, "R_SWEPS reselect layer colour m1 m2");
}

}  // namespace kubrix
