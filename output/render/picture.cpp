// Off-screen pictures: the viewer's frame in a surfaceless context, written as PNG or BMP.
#include "output/render/picture.h"

#include <cstring>

#include "output/export/export.h"
#include "files/replacing_file.h"
#include "output/render/figure_renderer.h"
#include "output/render/offscreen_context.h"
#include "output/render/png_writer.h"
#include "output/render/view_scale.h"
#include "output/render/view_state.h"

namespace kubrix::render {

bool parseViewPreset(std::string_view text, ViewPreset& view) {
  static constexpr struct {
    const char* name;
    ViewPreset view;
  } kViews[] = {{"xy", ViewPreset::XY}, {"xz", ViewPreset::XZ}, {"yz", ViewPreset::YZ}, {"xyz", ViewPreset::XYZ}};
  for (const auto& v : kViews)
    if (text == v.name) {
      view = v.view;
      return true;
    }
  return false;
}

bool parsePictureSize(std::string_view text, int& width, int& height) {
  const size_t x = text.find('x');
  if (x == std::string_view::npos) return false;
  auto side = [](std::string_view digits, int& out) {
    if (digits.empty() || digits.size() > 5) return false;
    int v = 0;
    for (char c : digits) {
      if (c < '0' || c > '9') return false;
      v = v * 10 + (c - '0');
    }
    if (v < 1 || v > kMaxPictureSide) return false;
    out = v;
    return true;
  };
  int w = 0, h = 0;
  if (!side(text.substr(0, x), w) || !side(text.substr(x + 1), h)) return false;
  width = w, height = h;
  return true;
}

bool renderPicture(const FigureStore& store, const PictureOptions& options, viewer::RgbPicture& picture,
                   std::string& error) {
  if (options.width < 1 || options.height < 1 || options.width > kMaxPictureSide ||
      options.height > kMaxPictureSide) {
    error = "picture size out of range";
    return false;
  }
  OffscreenContext context(options.width, options.height);
  if (!context.ok()) {
    error = "no off-screen OpenGL context: " + context.error();
    return false;
  }
  viewer::FigureRenderer renderer;
  if (!renderer.buildLists(store, viewer::computeViewScale(store))) {
    error = "no OpenGL display lists";
    return false;
  }
  // As the viewer after a run: the resize handling gives the "X-Y" view, then the preset follows.
  viewer::ViewState view;
  view.presetXY();
  switch (options.view) {
    case ViewPreset::XY: break;
    case ViewPreset::XZ: view.presetXZ(); break;
    case ViewPreset::YZ: view.presetYZ(); break;
    case ViewPreset::XYZ: view.presetXYZ(); break;
  }
  viewer::FrameOptions frame;
  frame.axes = options.axes;
  frame.colourMode = options.colourMode;
  // The viewer's panel covers the top of its client area, which the projection spans too.
  renderer.frame(viewer::Viewport{options.width, options.height, viewer::kPanelHeight}, view.modelView, frame);
  picture = context.readPixels();
  renderer.deleteLists();
  return true;
}

bool isPictureExtension(std::string_view ext) { return ext == ".png" || ext == ".bmp"; }

bool writePictureFile(const FigureStore& store, const PictureOptions& options, const std::string& path,
                      std::string_view ext, std::string& error) {
  if (store.count() == 0) {
    error = kExportNoFiguresMessage;
    return false;
  }
  viewer::RgbPicture picture;
  if (!renderPicture(store, options, picture, error)) return false;
  const std::vector<uint8_t> bytes = ext == ".png" ? pngBytes(picture) : viewer::bmp24Bytes(picture);
  if (bytes.empty()) {
    error = "the picture could not be encoded";
    return false;
  }
  int err = 0;
  if (!writeFileReplacing(path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), &err)) {
    error = strerror(err);
    return false;
  }
  return true;
}

}  // namespace kubrix::render
