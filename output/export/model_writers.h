// The binary model formats beside the text formats: glTF 2.0 binary (.glb) through tinygltf
// and 3MF through lib3mf. Both carry layers and palette colours; both write what the figure store
// holds in store order, without the deleted elements.
#pragma once

#include <array>
#include <ostream>
#include <string>

#include "geometry/figure_store.h"

namespace kubrix {

// Writes a .glb file to out: one node (and mesh) per layer in use, named "Layer N"; per colour a
// TRIANGLES primitive of the faces (a quad as two triangles split along P1-P3), a LINES primitive of
// the lines and a POINTS primitive of the points; one material "Color N" per colour index used, its
// base colour the palette colour. Coordinates are written as given (glTF reads them as metres),
// turned from Z up to glTF's Y up: (x, y, z) becomes (x, z, -y). False with a message in error
// when the library cannot write the model (the stream's own failures are the caller's to check).
bool writeGlb(const FigureStore& store, std::ostream& out, std::string& error);
// The same into memory.
bool glbBytes(const FigureStore& store, std::string& bytes, std::string& error);

// The bytes of a .3mf file: the faces of each layer as one mesh object "Layer N" (millimetres as
// given, vertices shared between faces that meet at exactly the same point) with a build item each;
// the colours as a colour group with one colour per face. Lines and points are left out (the format
// has none). False with a message in error: kThreeMfNoFacesMessage when the store holds no face
// with an area, or lib3mf's own.
inline constexpr const char* kThreeMfNoFacesMessage = "面データがありません。（3MFには線と点は保存されません）";
bool threeMfBytes(const FigureStore& store, std::string& bytes, std::string& error);

// The rules both share.
namespace model {

// The layer an element is filed under: its own in 0..255, layer 0 otherwise (as the layer census).
inline int layerOf(const FigureElement& e) { return (e.layer >= 0 && e.layer <= 255) ? e.layer : 0; }
// The colour index whose palette colour an element shows: its own in 1..255, 0 (grey) otherwise.
inline int colourOf(const FigureElement& e) { return (e.colour >= 1 && e.colour <= 255) ? e.colour : 0; }

// True when every point the element uses is finite also as a float: a file cannot carry the others
// (a glTF validator rejects them, lib3mf refuses them), so such elements are left out.
bool writable(const FigureElement& e);

// The triangles of a face as point indexes into e.p: one for a triangle, two for a quad.
inline constexpr std::array<std::array<int, 3>, 2> kFaceTriangles{{{0, 1, 2}, {0, 2, 3}}};
inline int triangleCount(const FigureElement& e) {
  return e.kind == kKindTriangle ? 1 : e.kind == kKindQuad ? 2 : 0;
}

}  // namespace model

}  // namespace kubrix
