// The export writers: the figure store written as DXF, STL, OBJ, VRML 2.0, X3D or COLLADA text
// (CP932, CR LF). Each writer reads only the figure store and skips deleted elements.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "geometry/figure_store.h"

namespace kubrix {

enum class ExportFormat { Dxf, Stl, Obj, Vrml, X3d, Collada };

struct ExportContext {
  double exportScale = 1.0;  // multiplies DXF and COLLADA coordinates
  double viewScale = 1.0;    // the viewer's scale (largest absolute coordinate, at least 1e-8)
};

// The format for a lower-case extension with its dot (".dxf" ...); nothing for any other.
std::optional<ExportFormat> exportFormatForExtension(std::string_view lowerExtension);

// The largest absolute coordinate in any of the four point slots of a live element (unused slots
// included), at least 1e-8: the viewer's scale, also used by the DXF header and X3D viewpoints.
double viewScaleOf(const FigureStore& store);

// Writes the file at path (UTF-8 file name). On failure returns false with a message (UTF-8) in
// error, and leaves an earlier file of that name as it was.
bool writeExport(const FigureStore& store, ExportFormat format, const std::string& path,
                 const ExportContext& context, std::string& error);

}  // namespace kubrix
