// Windows bitmap files: the viewer picture as 24 bits per pixel and the thumbnails as 8 bits per
// pixel with a fixed palette. Plain byte writing, no toolkit: bottom-up rows padded to 4 bytes.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace kubrix::viewer {

// A picture as top-down rows of R, G, B bytes (3 bytes per pixel, no padding).
struct RgbPicture {
  int width = 0, height = 0;
  std::vector<uint8_t> rgb;
  bool empty() const { return width <= 0 || height <= 0; }
};

// The 8-bit palette: a 6 x 6 x 6 colour cube followed by greys; entry 255 is white.
const std::array<std::array<uint8_t, 3>, 256>& thumbnailPalette();
// The palette index nearest to a colour (squared distance; the first of equals wins).
uint8_t nearestPaletteIndex(uint8_t r, uint8_t g, uint8_t b);

// The bytes of a 24-bit (or 8-bit, colours mapped to the nearest palette entry) bitmap file.
std::vector<uint8_t> bmp24Bytes(const RgbPicture& picture);
std::vector<uint8_t> bmp8Bytes(const RgbPicture& picture);

// Writes the bytes to path (UTF-8). On failure the file is deleted and false is returned.
bool writeFileOrRemove(const std::string& path, const std::vector<uint8_t>& bytes);
// The two together; an empty picture writes nothing and fails.
bool writeBmp24(const std::string& path, const RgbPicture& picture);
bool writeBmp8(const std::string& path, const RgbPicture& picture);

}  // namespace kubrix::viewer
