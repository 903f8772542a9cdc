// The six format writers behind writeExport, each writing one whole file into a TextWriter, and the
// small pieces they share.
#pragma once

#include <string>

#include "geometry/figure_store.h"
#include "output/export/export.h"
#include "output/export/text_writer.h"

namespace kubrix {

// What one export needs besides the store.
struct ExportJob {
  const FigureStore& store;
  const ExportContext& context;
  std::string fileName;  // without folder, CP932 (STL and OBJ first lines, X3D meta)
  std::string created;   // COLLADA creation date
  std::string modified;  // COLLADA modification date
};

void writeDxf(const ExportJob& job, TextWriter& w);
void writeStl(const ExportJob& job, TextWriter& w);
void writeObj(const ExportJob& job, TextWriter& w);
void writeVrml(const ExportJob& job, TextWriter& w);
void writeX3d(const ExportJob& job, TextWriter& w);
void writeCollada(const ExportJob& job, TextWriter& w);

// The layer a writer that compares exact layers files an element under; -1 outside 0..255.
inline int exactLayer(const FigureElement& e) { return (e.layer >= 0 && e.layer <= 255) ? e.layer : -1; }
inline bool isFace(const FigureElement& e) { return e.kind == kKindTriangle || e.kind == kKindQuad; }
// The points an element uses: 2 for a line, 1 for a point, 3 or 4 for faces, 0 for other kinds.
inline int pointCount(const FigureElement& e) {
  switch (e.kind) {
    case kKindLine: return 2;
    case kKindPoint: return 1;
    case kKindTriangle: return 3;
    case kKindQuad: return 4;
    default: return 0;
  }
}

// "%.10f"-style output of a coordinate, with an exact zero always written without its sign (a
// stored -0 comes from rounding a tiny negative value and means the same place as 0).
inline void putFixed(TextWriter& w, double v, int decimals) { w.fixed(v + 0.0, decimals); }

// The VRML and X3D axes: the Z-up model in the Y-up world of those viewers, turned (not mirrored):
// X stays, model Z becomes up, model Y points into the screen. Written as "x z -y" in metres
// (the model's millimetres times 0.001).
void putVrmlPoint(TextWriter& w, const Point3& p);

// The palette colour of an index as three unit components "r g b" (grey outside 1..255).
void putUnitColour(TextWriter& w, int colourIndex);

// The current time as "yyyy-mm-ddThh:mm:ssZ" (UTC) from the context's clock.
std::string colladaDateNow(const ExportContext& context);

}  // namespace kubrix
