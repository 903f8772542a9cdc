// Bitmap files (BITMAPFILEHEADER + BITMAPINFOHEADER, uncompressed).
#include "output/render/bmp_writer.h"

#include <cstdio>
#include <limits>

namespace kubrix::viewer {

namespace {

void put16(std::vector<uint8_t>& b, uint32_t v) {
  b.push_back(static_cast<uint8_t>(v));
  b.push_back(static_cast<uint8_t>(v >> 8));
}
void put32(std::vector<uint8_t>& b, uint32_t v) {
  put16(b, v & 0xFFFF);
  put16(b, v >> 16);
}

// The two headers for a picture of the given row size and palette length.
std::vector<uint8_t> headers(const RgbPicture& p, int bitsPerPixel, uint32_t rowBytes, uint32_t paletteEntries) {
  const uint32_t offset = 14 + 40 + paletteEntries * 4;
  const uint32_t imageBytes = rowBytes * static_cast<uint32_t>(p.height);
  std::vector<uint8_t> b;
  b.reserve(offset + imageBytes);
  b.push_back('B'), b.push_back('M');
  put32(b, offset + imageBytes);
  put32(b, 0);
  put32(b, offset);
  put32(b, 40);
  put32(b, static_cast<uint32_t>(p.width));
  put32(b, static_cast<uint32_t>(p.height));  // positive: rows bottom-up
  put16(b, 1);
  put16(b, static_cast<uint32_t>(bitsPerPixel));
  put32(b, 0);  // BI_RGB
  put32(b, imageBytes);
  put32(b, 3780), put32(b, 3780);  // 96 dpi
  put32(b, paletteEntries);
  put32(b, 0);
  return b;
}

bool validSize(const RgbPicture& p) {
  if (p.empty() || p.width > 1 << 15 || p.height > 1 << 15) return false;
  return p.rgb.size() == static_cast<size_t>(p.width) * static_cast<size_t>(p.height) * 3;
}

}  // namespace

const std::array<std::array<uint8_t, 3>, 256>& thumbnailPalette() {
  static const auto palette = [] {
    std::array<std::array<uint8_t, 3>, 256> p{};
    size_t n = 0;
    for (int r = 0; r < 6; ++r)
      for (int g = 0; g < 6; ++g)
        for (int b = 0; b < 6; ++b)
          p[n++] = {static_cast<uint8_t>(r * 51), static_cast<uint8_t>(g * 51), static_cast<uint8_t>(b * 51)};
    // Greys between the cube's own six, so that shaded grey faces keep their steps.
    for (int v = 0; n < 255; ++v) {
      const int level = 6 + v * 6;
      if (level % 51 == 0) continue;
      p[n++] = {static_cast<uint8_t>(level), static_cast<uint8_t>(level), static_cast<uint8_t>(level)};
    }
    p[255] = {255, 255, 255};
    return p;
  }();
  return palette;
}

uint8_t nearestPaletteIndex(uint8_t r, uint8_t g, uint8_t b) {
  const auto& p = thumbnailPalette();
  int best = 0, bestDistance = std::numeric_limits<int>::max();
  for (int i = 0; i < 256; ++i) {
    const int dr = p[i][0] - r, dg = p[i][1] - g, db = p[i][2] - b;
    const int d = dr * dr + dg * dg + db * db;
    if (d < bestDistance) best = i, bestDistance = d;
  }
  return static_cast<uint8_t>(best);
}

std::vector<uint8_t> bmp24Bytes(const RgbPicture& p) {
  if (!validSize(p)) return {};
  const uint32_t rowBytes = (static_cast<uint32_t>(p.width) * 3 + 3) & ~3u;
  std::vector<uint8_t> b = headers(p, 24, rowBytes, 0);
  for (int y = p.height - 1; y >= 0; --y) {
    const uint8_t* row = &p.rgb[static_cast<size_t>(y) * static_cast<size_t>(p.width) * 3];
    for (int x = 0; x < p.width; ++x) {
      b.push_back(row[x * 3 + 2]);
      b.push_back(row[x * 3 + 1]);
      b.push_back(row[x * 3]);
    }
    for (uint32_t pad = static_cast<uint32_t>(p.width) * 3; pad < rowBytes; ++pad) b.push_back(0);
  }
  return b;
}

std::vector<uint8_t> bmp8Bytes(const RgbPicture& p) {
  if (!validSize(p)) return {};
  const uint32_t rowBytes = (static_cast<uint32_t>(p.width) + 3) & ~3u;
  std::vector<uint8_t> b = headers(p, 8, rowBytes, 256);
  for (const auto& c : thumbnailPalette()) {
    b.push_back(c[2]), b.push_back(c[1]), b.push_back(c[0]), b.push_back(0);
  }
  for (int y = p.height - 1; y >= 0; --y) {
    const uint8_t* row = &p.rgb[static_cast<size_t>(y) * static_cast<size_t>(p.width) * 3];
    for (int x = 0; x < p.width; ++x) b.push_back(nearestPaletteIndex(row[x * 3], row[x * 3 + 1], row[x * 3 + 2]));
    for (uint32_t pad = static_cast<uint32_t>(p.width); pad < rowBytes; ++pad) b.push_back(0);
  }
  return b;
}

bool writeFileOrRemove(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  ok = (std::fclose(f) == 0) && ok;
  if (!ok) std::remove(path.c_str());
  return ok;
}

bool writeBmp24(const std::string& path, const RgbPicture& picture) {
  const std::vector<uint8_t> bytes = bmp24Bytes(picture);
  if (bytes.empty()) return false;
  return writeFileOrRemove(path, bytes);
}

bool writeBmp8(const std::string& path, const RgbPicture& picture) {
  const std::vector<uint8_t> bytes = bmp8Bytes(picture);
  if (bytes.empty()) return false;
  return writeFileOrRemove(path, bytes);
}

}  // namespace kubrix::viewer
