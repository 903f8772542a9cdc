// PNG encoding into memory with libpng; the file is written in one piece.
#include "output/render/png_writer.h"

#include <png.h>

#include <csetjmp>

namespace kubrix::render {

namespace {

void appendBytes(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}

void noFlush(png_structp) {}

}  // namespace

std::vector<uint8_t> pngBytes(const viewer::RgbPicture& picture) {
  std::vector<uint8_t> out;
  if (picture.empty() || picture.rgb.size() < static_cast<size_t>(picture.width) * picture.height * 3) return out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!png) return out;
  png_infop info = png_create_info_struct(png);
  if (!info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, info ? &info : nullptr);
    return {};
  }
  png_set_write_fn(png, &out, appendBytes, noFlush);
  png_set_IHDR(png, info, static_cast<png_uint_32>(picture.width), static_cast<png_uint_32>(picture.height), 8,
               PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  const size_t row = static_cast<size_t>(picture.width) * 3;
  for (int y = 0; y < picture.height; ++y)
    png_write_row(png, const_cast<png_bytep>(picture.rgb.data() + static_cast<size_t>(y) * row));
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return out;
}

bool writePng(const std::string& path, const viewer::RgbPicture& picture) {
  const std::vector<uint8_t> bytes = pngBytes(picture);
  if (bytes.empty()) return false;
  return viewer::writeFileOrRemove(path, bytes);
}

}  // namespace kubrix::render
