// kubrix-run's -o outputs: the export formats by extension, and pictures of the viewer (.png, .bmp)
// drawn off screen with the picture options.
#pragma once

#include <string>
#include <vector>

#include "geometry/figure_store.h"
#include "output/render/picture.h"

namespace kubrix {

// The extensions -o takes, for messages.
inline constexpr const char* kFigureOutputExtensions = ".dxf .stl .obj .wrl .x3d .dae .glb .3mf .png .bmp";

// The lower-case extension of the file name part of path ("" when it has none).
std::string outputExtension(const std::string& path);
// True when -o can write a file of this name.
bool figureOutputKnown(const std::string& path);

// Writes every output in order; each failure is reported on standard error naming the file.
// Returns 0, or 1 when any output could not be written.
int writeFigureOutputs(const FigureStore& store, const std::vector<std::string>& outputs,
                       const render::PictureOptions& picture);

}  // namespace kubrix
