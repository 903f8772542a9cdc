// Draw-line commands that edit, move, copy, cut, fill, project and pick the selected elements:
// S_DELE, S_UNDO, S_LAYER, S_COLOR, S_REVS, S_SCUT, S_FACE1, S_FACE2, S_MOVN .. S_MOVRV, S_COPN,
// S_COPP, S_COPS, S_COPRX .. S_COPRV, S_COPSS, S_COPRS, S_PROJ1..3, S_WALL1..3, S_PICK1..3.
#include <array>
#include <string>

#include "engine/command_call.h"
#include "engine/command_table.h"
#include "engine/number_text.h"
#include "geometry/commands/selection_bindings.h"
#include "geometry/projection.h"
#include "geometry/selection_edits.h"
#include "geometry/sweeps.h"

namespace kubrix {

namespace {

using namespace selection_bindings;

Selection& selectionOf(CommandCall& c) { return c.engine().selection; }

// ---- edits without arguments and with one integer ---------------------------------------------------

enum class Flag { Delete, Undo, Reverse };

template <Flag F>
void cmdFlag(CommandCall& c) {
  if constexpr (F == Flag::Delete) setSelectedLive(c.figures(), selectionOf(c), false);
  if constexpr (F == Flag::Undo) setSelectedLive(c.figures(), selectionOf(c), true);
  if constexpr (F == Flag::Reverse) reverseSelectedFaces(c.figures(), selectionOf(c));
  c.log(c.keyword());
}

enum class Single { Layer, Colour, Cut, Fill, FillOwnPlane };

template <Single S>
void cmdSingle(CommandCall& c) {
  const int32_t v = c.integer(1);
  FigureStore& fs = c.figures();
  Selection& sel = selectionOf(c);
  const size_t start = fs.count();
  if constexpr (S == Single::Layer) setSelectedLayer(fs, sel, v);
  if constexpr (S == Single::Colour) setSelectedColour(fs, sel, v);
  if constexpr (S == Single::Cut) {
    if (!cutSelected(fs, sel, c.engine().matrix, v)) return;
  }
  if constexpr (S == Single::Fill || S == Single::FillOwnPlane) {
    if (!fillSelectedChain(fs, sel, c.engine().matrix, S == Single::FillOwnPlane)) return;
    applyReselect(fs, sel, v, start);
  }
  if (!c.logging()) return;
  std::string& m = c.message();
  m += c.keyword();
  m += "(";
  appendInt(m, v);
  m += ")";
  c.log(m);
}

// ---- maps of the moves and copies ---------------------------------------------------------------------

enum class MapKind : size_t { Move, MoveP, Scale, TurnX, TurnY, TurnZ, TurnV };
constexpr size_t kMapNumbers[] = {3, 6, 9, 4, 4, 4, 7};

Affine buildMap(MapKind k, const double* v) {
  switch (k) {
    case MapKind::Move: return Affine::translation(pointOf(v));
    case MapKind::MoveP: return Affine::translation({v[3] - v[0], v[4] - v[1], v[5] - v[2]});
    case MapKind::Scale: return Affine::scaling(pointOf(v), pointOf(v + 3), pointOf(v + 6));
    case MapKind::TurnX: return Affine::turnAboutAxis(0, pointOf(v), v[3]);
    case MapKind::TurnY: return Affine::turnAboutAxis(1, pointOf(v), v[3]);
    case MapKind::TurnZ: return Affine::turnAboutAxis(2, pointOf(v), v[3]);
    case MapKind::TurnV: return Affine::turnAboutLine(pointOf(v), {v[3] - v[0], v[4] - v[1], v[5] - v[2]}, v[6]);
  }
  return Affine{};
}

// The moves' log: (dx,dy,dz), (P1 - P2), (base - target), (centre, a), (P1 - P2 , a).
void logMove(CommandCall& c, MapKind k, const double* v) {
  if (!c.logging()) return;
  std::string& m = c.message();
  m += c.keyword();
  m += "(";
  switch (k) {
    case MapKind::Move: appendNumbers(m, v, 3, ","); break;
    case MapKind::MoveP:
    case MapKind::Scale:
    case MapKind::TurnV:
      appendNumbers(m, v, 3, ",");
      m += " - ";
      appendNumbers(m, v + 3, 3, ",");
      if (k == MapKind::TurnV) {
        m += " , ";
        appendNumber(m, v[6]);
      }
      break;
    default:
      appendNumbers(m, v, 3, ",");
      m += ", ";
      appendNumber(m, v[3]);
      break;
  }
  m += ")";
  c.log(m);
}

template <MapKind K>
void cmdMove(CommandCall& c) {
  const auto v = numbers<kMapNumbers[static_cast<size_t>(K)]>(c, 1);
  moveSelected(c.figures(), selectionOf(c), buildMap(K, v.data()));
  logMove(c, K, v.data());
}

template <MapKind K>
void cmdCopy(CommandCall& c) {
  const auto ints = integers<3>(c, 1);
  const auto v = numbers<kMapNumbers[static_cast<size_t>(K)]>(c, 4);
  FigureStore& fs = c.figures();
  const size_t start = fs.count();
  copySelected(fs, selectionOf(c), start, buildMap(K, v.data()), layerColour(c));
  applyReselect(fs, selectionOf(c), ints[0], start);
  logGenerator(c, ints.data(), ints.size(), v.data(), v.size());
}

// S_COPSS: reselect, layer, colour, count, base, axis start, axis end, scale, angle.
void cmdCopySteps(CommandCall& c) {
  const auto ints = integers<4>(c, 1);
  const auto v = numbers<13>(c, 5);
  FigureStore& fs = c.figures();
  const Point3 b = pointOf(&v[0]), s = pointOf(&v[9]);
  const Point3 axis{v[6] - v[3], v[7] - v[4], v[8] - v[5]};
  const int count = clampSteps(ints[3]);
  if (!tinyVector(axis)) {
    const size_t lastStart = steppedCopies(fs, selectionOf(c), count, layerColour(c),
                                           [&](int k) { return steppedPlacement(b, axis, s, v[12], k, count); });
    // The copies of the last step, highest number first.
    if (ints[0] == 1) {
      Selection& sel = selectionOf(c);
      sel.clear();
      for (size_t n = fs.count(); n > lastStart; --n) sel.push_back(static_cast<int32_t>(n));
    }
  }
  logGenerator(c, ints.data(), ints.size(), v.data(), v.size());
}

// S_COPRS: reselect, layer, colour, count, first axis (base, direction, angle, scale), second axis
// (base, direction = the whole move along it, angle).
TurningSteps turningSteps(const double* v) {
  return {pointOf(v), pointOf(v + 3), v[6], v[7], pointOf(v + 8), pointOf(v + 11), v[14]};
}

void cmdCopyTurns(CommandCall& c) {
  const auto ints = integers<4>(c, 1);
  const auto v = numbers<15>(c, 5);
  FigureStore& fs = c.figures();
  const TurningSteps t = turningSteps(v.data());
  const int count = clampSteps(ints[3]);
  const size_t start = fs.count();
  if (!tinyVector(t.d1)) {
    steppedCopies(fs, selectionOf(c), count, layerColour(c), [&](int k) { return turningPlacement(t, k, count); });
    applyReselect(fs, selectionOf(c), ints[0], start);
  }
  logGenerator(c, ints.data(), ints.size(), v.data(), v.size());
}

// ---- projections, walls and apex faces ----------------------------------------------------------------

enum class Onto { Project, Wall, Pick };

template <Onto O, EdgeSource S>
void cmdOnto(CommandCall& c) {
  const auto ints = integers<3>(c, 1);
  const auto v = numbers<3>(c, 4);
  FigureStore& fs = c.figures();
  Selection& sel = selectionOf(c);
  const size_t start = fs.count();
  const Matrix4& frame = c.engine().matrix;
  if constexpr (O == Onto::Project) {
    if (!projectSelection(fs, sel, frame, pointOf(v.data()), S, layerColour(c))) return;
  }
  if constexpr (O == Onto::Wall) {
    if (!wallSelection(fs, sel, frame, pointOf(v.data()), S, layerColour(c))) return;
  }
  if constexpr (O == Onto::Pick) pickSelection(fs, sel, pointOf(v.data()), S, layerColour(c));
  applyReselect(fs, sel, ints[0], start);
  logGenerator(c, ints.data(), ints.size(), v.data(), v.size());
}

}  // namespace

void registerSelectionEditCommands(CommandTable& t) {
  t.add("S_DELE", cmdFlag<Flag::Delete>, "S_DELE");
  t.add("S_UNDO", cmdFlag<Flag::Undo>, "S_UNDO");
  t.add("S_REVS", cmdFlag<Flag::Reverse>, "S_REVS");
  t.add("S_LAYER", cmdSingle<Single::Layer>, "S_LAYER layer");
  t.add("S_COLOR", cmdSingle<Single::Colour>, "S_COLOR colour");
  t.add("S_SCUT", cmdSingle<Single::Cut>, "S_SCUT side");
  t.add("S_FACE1", cmdSingle<Single::Fill>, "S_FACE1 reselect");
  t.add("S_FACE2", cmdSingle<Single::FillOwnPlane>, "S_FACE2 reselect");
  t.add("S_MOVN", cmdMove<MapKind::Move>, "S_MOVN dx dy dz");
  t.add("S_MOVP", cmdMove<MapKind::MoveP>, "S_MOVP x1 y1 z1 x2 y2 z2");
  t.add("S_MOVS", cmdMove<MapKind::Scale>, "S_MOVS bx by bz tx ty tz sx sy sz");
  t.add("S_MOVRX", cmdMove<MapKind::TurnX>, "S_MOVRX cx cy cz a");
  t.add("S_MOVRY", cmdMove<MapKind::TurnY>, "S_MOVRY cx cy cz a");
  t.add("S_MOVRZ", cmdMove<MapKind::TurnZ>, "S_MOVRZ cx cy cz a");
  t.add("S_MOVRV", cmdMove<MapKind::TurnV>, "S_MOVRV x1 y1 z1 x2 y2 z2 a");
  t.add("S_COPN", cmdCopy<MapKind::Move>, "S_COPN reselect layer colour dx dy dz");
  t.add("S_COPP", cmdCopy<MapKind::MoveP>, "S_COPP reselect layer colour x1 y1 z1 x2 y2 z2");
  t.add("S_COPS", cmdCopy<MapKind::Scale>, "S_COPS reselect layer colour bx by bz tx ty tz sx sy sz");
  t.add("S_COPRX", cmdCopy<MapKind::TurnX>, "S_COPRX reselect layer colour cx cy cz a");
  t.add("S_COPRY", cmdCopy<MapKind::TurnY>, "S_COPRY reselect layer colour cx cy cz a");
  t.add("S_COPRZ", cmdCopy<MapKind::TurnZ>, "S_COPRZ reselect layer colour cx cy cz a");
  t.add("S_COPRV", cmdCopy<MapKind::TurnV>, "S_COPRV reselect layer colour x1 y1 z1 x2 y2 z2 a");
  t.add("S_COPSS", cmdCopySteps, "S_COPSS reselect layer colour n bx by bz x1 y1 z1 x2 y2 z2 sx sy sz a");
  t.add("S_COPRS", cmdCopyTurns, "S_COPRS reselect layer colour n bx by bz ax ay az a s cx cy cz dx dy dz b");
  t.add("S_PROJ1", cmdOnto<Onto::Project, EdgeSource::Elements>, "S_PROJ1 reselect layer colour dx dy dz");
  t.add("S_PROJ2", cmdOnto<Onto::Project, EdgeSource::Chain>, "S_PROJ2 reselect layer colour dx dy dz");
  t.add("S_PROJ3", cmdOnto<Onto::Project, EdgeSource::Segments>, "S_PROJ3 reselect layer colour dx dy dz");
  t.add("S_WALL1", cmdOnto<Onto::Wall, EdgeSource::Elements>, "S_WALL1 reselect layer colour dx dy dz");
  t.add("S_WALL2", cmdOnto<Onto::Wall, EdgeSource::Chain>, "S_WALL2 reselect layer colour dx dy dz");
  t.add("S_WALL3", cmdOnto<Onto::Wall, EdgeSource::Segments>, "S_WALL3 reselect layer colour dx dy dz");
  t.add("S_PICK1", cmdOnto<Onto::Pick, EdgeSource::Elements>, "S_PICK1 reselect layer colour x y z");
  t.add("S_PICK2", cmdOnto<Onto::Pick, EdgeSource::Chain>, "S_PICK2 reselect layer colour x y z");
  t.add("S_PICK3", cmdOnto<Onto::Pick, EdgeSource::Segments>, "S_PICK3 reselect layer colour x y z");
}

}  // namespace kubrix
