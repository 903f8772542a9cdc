// The viewer's picture of the figure store drawn without a window: the same display lists, light,
// materials, axes and projection as the viewer, into an off-screen buffer of the given size, as
// the viewer shows it in a picture area of that size right after a run.
#pragma once

#include <string>
#include <string_view>

#include "geometry/figure_store.h"
#include "output/render/bmp_writer.h"

namespace kubrix::render {

// The four preset views of the viewer: "X-Y", "X-Z", "Y-Z" and "X-Y-Z".
enum class ViewPreset { XY, XZ, YZ, XYZ };

struct PictureOptions {
  int width = 800, height = 600;  // the picture area, in pixels
  ViewPreset view = ViewPreset::XYZ;
  bool axes = true;         // "軸表示"
  bool colourMode = false;  // "カラー"
};

// The largest picture side the renderer is asked for.
inline constexpr int kMaxPictureSide = 8192;

// "xy", "xz", "yz" or "xyz" (lower case); false for anything else.
bool parseViewPreset(std::string_view text, ViewPreset& view);

// "WIDTHxHEIGHT" with each side 1 to kMaxPictureSide; false for anything else.
bool parsePictureSize(std::string_view text, int& width, int& height);

// Draws the store. False with a message (UTF-8) in error when no off-screen context can be had.
bool renderPicture(const FigureStore& store, const PictureOptions& options, viewer::RgbPicture& picture,
                   std::string& error);

// True for the picture extensions ".png" and ".bmp" (lower case).
bool isPictureExtension(std::string_view lowerExt);

// Draws the store and writes it as PNG or 24-bit BMP by the extension. An earlier file of that
// name is replaced only by a complete picture. False with a message (UTF-8) in error.
bool writePictureFile(const FigureStore& store, const PictureOptions& options, const std::string& path,
                      std::string_view lowerExt, std::string& error);

}  // namespace kubrix::render
