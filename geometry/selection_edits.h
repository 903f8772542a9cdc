// Edits of the selected elements: delete and restore, layer and colour, face reversal, moves and
// copies under an affine map, the cut by the local XY plane and the filling of the chain of selected
// lines with triangles. Also the pieces the projecting and sweeping commands share: the layer and
// colour arguments, appending a copy of an element, and the reselect and mode rules.
#pragma once

#include <cstddef>
#include <cstdint>

#include "geometry/affine.h"
#include "geometry/figure_store.h"
#include "geometry/matrix.h"
#include "geometry/selection.h"

namespace kubrix {

// Layer and colour arguments of the copying and generating commands: -1 keeps the source's value
// (or takes the current one where there is no single source); anything else is clamped to 0..255
// (layer) or 1..255 (colour).
struct LayerColour {
  int32_t layer = -1, colour = -1;
  int32_t layerFor(int32_t source) const;
  int32_t colourFor(int32_t source) const;
};

// Sets the store's current layer and colour for the appends of one command and puts the previous
// ones back when it ends.
class PenScope {
 public:
  explicit PenScope(FigureStore& store) : store_(store), layer_(store.layer), colour_(store.colour) {}
  ~PenScope() {
    store_.layer = layer_;
    store_.colour = colour_;
  }
  PenScope(const PenScope&) = delete;
  PenScope& operator=(const PenScope&) = delete;
  // Uses the arguments' values for a source element with this layer and colour.
  void use(const LayerColour& lc, int32_t sourceLayer, int32_t sourceColour) {
    store_.layer = lc.layerFor(sourceLayer);
    store_.colour = lc.colourFor(sourceColour);
  }
  // Uses the arguments' values where there is no single source (-1: the current layer or colour).
  void useCurrent(const LayerColour& lc) { use(lc, layer_, colour_); }

 private:
  FigureStore& store_;
  int32_t layer_, colour_;
};

// Appends an element of the kind with the given points through the store's appends (rounding and
// coincidence rules); kinds other than line, point, triangle and quad append nothing.
void appendElement(FigureStore& store, int32_t kind, const Point3* p);

// Reselect 1: the set becomes the elements appended since the store held `startCount` elements.
void applyReselect(FigureStore& store, Selection& sel, int reselect, size_t startCount);
// Mode of the sweeps (outside 0..2 counts as 0): 1 the set becomes the new elements; 2 the elements
// selected before are deleted too.
void applyMode(FigureStore& store, Selection& sel, int mode, size_t startCount);

// S_DELE / S_UNDO.
void setSelectedLive(FigureStore& store, const Selection& sel, bool live);
// S_LAYER / S_COLOR, clamped to 0..255 and 1..255.
void setSelectedLayer(FigureStore& store, const Selection& sel, int32_t layer);
void setSelectedColour(FigureStore& store, const Selection& sel, int32_t colour);
// S_REVS: triangles exchange points 2 and 3, quads points 2 and 4.
void reverseSelectedFaces(FigureStore& store, const Selection& sel);

// The moves: every used point of every selected element (live or deleted) mapped in place and
// rounded to 1e-12 like an appended coordinate.
void moveSelected(FigureStore& store, const Selection& sel, const Affine& map);
// The copies: each selected live element with a number up to `limit` appended mapped, with the
// arguments' layer and colour.
void copySelected(FigureStore& store, const Selection& sel, size_t limit, const Affine& map, const LayerColour& lc);

// S_SCUT: side 0 removes what lies above the local XY plane (local z > 1e-12), side 1 what lies
// below (local z < 1e-12); any other side nothing. Cut elements are deleted and their kept part
// appended with their own layer and colour. False (and nothing changed) when `frame` has no inverse.
bool cutSelected(FigureStore& store, const Selection& sel, const Matrix4& frame, int side);

// S_FACE1 (ownPlane false) / S_FACE2: triangles filling the ordered chain of the selected lines,
// decided in the local XY plane of `frame` or of the plane through the chain's first, third and
// second points; each triangle follows the chain's turning sense. False when the frame has no inverse.
bool fillSelectedChain(FigureStore& store, const Selection& sel, const Matrix4& frame, bool ownPlane);

}  // namespace kubrix
