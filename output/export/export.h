// The export writers: the figure store written as DXF, STL, OBJ, VRML 2.0, X3D or COLLADA text
// (CP932, CR LF), or as binary glTF (.glb) or 3MF models. Each writer reads only the figure store
// and skips deleted elements.
#pragma once

#include <ctime>
#include <optional>
#include <string>
#include <string_view>

#include "geometry/figure_store.h"

namespace kubrix {

enum class ExportFormat { Dxf, Stl, Obj, Vrml, X3d, Collada, Glb, ThreeMf };

struct ExportContext {
  double exportScale = 1.0;  // multiplies DXF and COLLADA coordinates
  double viewScale = 1.0;    // the viewer's scale (largest absolute coordinate, at least 1e-8)
  // The clock of the COLLADA creation and modification dates (seconds since the epoch, written as
  // UTC); the system clock when empty.
  std::optional<std::time_t> now;
};

// Messages of the save command (UTF-8), shown as they are.
inline constexpr const char* kExportNoFiguresMessage = "図形データがありません。";
inline constexpr const char* kExportNameRefusedMessage =
    "ファイル名に全角文字（漢字、２バイト系記号文字等）を使用する事は出来ません。";

// The format for a lower-case extension with its dot (".dxf" ... ".glb", ".3mf"); nothing for any other.
std::optional<ExportFormat> exportFormatForExtension(std::string_view lowerExtension);

// The largest absolute coordinate in any of the four point slots of a live element (unused slots
// included), at least 1e-8: the viewer's scale, also used by the DXF header and X3D viewpoints.
double viewScaleOf(const FigureStore& store);

// False when the format cannot take this file name: VRML, X3D and COLLADA files whose name (the
// part after the last '/') holds any character outside ASCII. The save command then shows
// kExportNameRefusedMessage.
bool exportFileNameAllowed(ExportFormat format, std::string_view path);

// Writes the file at path (UTF-8 file name). On failure returns false with a message (UTF-8) in
// error, and leaves an earlier file of that name as it was (no partial file is left behind). The
// message is kExportNoFiguresMessage for an empty store, kExportNameRefusedMessage for a refused
// name, and otherwise the system's description of the input/output failure (strerror).
// The text goes to a temporary file in the same folder that replaces the target only when it is
// complete; a COLLADA file keeps the creation date of the file it replaces.
bool writeExport(const FigureStore& store, ExportFormat format, const std::string& path,
                 const ExportContext& context, std::string& error);

// The text (for .glb and .3mf the bytes; empty when they cannot be made) writeExport would write
// for a file called fileName (UTF-8, without folder), with the
// given COLLADA creation date (empty: the context's clock). For tests and in-memory hand-over.
std::string exportText(const FigureStore& store, ExportFormat format, std::string_view fileName,
                       const ExportContext& context, std::string_view colladaCreated = {});

// The COLLADA creation date kept from an existing file: the text after its "<created>" tag (or on
// the next line), blanks removed, cut before the next '<'. Empty when the file cannot be read, has
// no such tag, or the text is no date and time.
std::string colladaCreatedDate(const std::string& path);

}  // namespace kubrix
