// An OpenGL context without a window or display: Mesa's surfaceless EGL platform with a pbuffer of
// the picture's size, so that pictures can be drawn by a program started without any X server.
// The context offers the fixed-function pipeline (compatibility profile).
#pragma once

#include <memory>
#include <string>

#include "output/render/bmp_writer.h"

namespace kubrix::render {

class OffscreenContext {
 public:
  // Creates a context with a colour (RGB 8-8-8) and depth (24 bits) buffer of width x height and
  // makes it current on this thread. When that fails, ok() is false and error() says why (UTF-8).
  OffscreenContext(int width, int height);
  ~OffscreenContext();
  OffscreenContext(const OffscreenContext&) = delete;
  OffscreenContext& operator=(const OffscreenContext&) = delete;

  bool ok() const { return ok_; }
  const std::string& error() const { return error_; }
  int width() const { return width_; }
  int height() const { return height_; }

  // The colour buffer after glFinish, as top-down RGB rows; empty when the context is not ok.
  viewer::RgbPicture readPixels() const;

 private:
  struct Egl;
  std::unique_ptr<Egl> egl_;
  int width_, height_;
  bool ok_ = false;
  std::string error_;
};

}  // namespace kubrix::render
