// PNG files of a picture (8-bit RGB, no interlace) through libpng.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "output/render/bmp_writer.h"

namespace kubrix::render {

// The bytes of a PNG file of the picture; empty for an empty picture or when libpng fails.
std::vector<uint8_t> pngBytes(const viewer::RgbPicture& picture);

// Writes the PNG file (UTF-8 path); on failure no file is left and false is returned.
bool writePng(const std::string& path, const viewer::RgbPicture& picture);

}  // namespace kubrix::render
