// Thumbnails: an off-screen context and framebuffer of 128 x 128 pixels.
#include "output/viewer/thumbnail_renderer.h"

#include <QMessageBox>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <cstdio>

#include "output/render/bmp_writer.h"
#include "output/render/figure_renderer.h"
#include "output/viewer/gl_support.h"
#include "output/render/view_scale.h"

namespace kubrix {

struct TForm5::Gl {
  QOpenGLContext context;
  QOffscreenSurface surface;
  std::unique_ptr<QOpenGLFramebufferObject> fbo;
  viewer::FigureRenderer renderer;
  bool current() { return context.makeCurrent(&surface); }
};

TForm5::TForm5(std::function<void(const QString&)> message) : message_(std::move(message)) {
  if (!message_)
    message_ = [](const QString& text) {
      QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Kubrix"), text, QMessageBox::Ok);
      box.exec();
    };
}

TForm5::~TForm5() { close(); }

bool TForm5::show() {
  if (gl_) return true;
  auto gl = std::make_unique<Gl>();
  gl->context.setFormat(viewer::viewerSurfaceFormat());
  bool ok = gl->context.create();
  if (ok) {
    gl->surface.setFormat(gl->context.format());
    gl->surface.create();
    ok = gl->surface.isValid() && gl->current() && viewer::hasFixedFunction(gl->context);
  }
  if (ok) {
    QOpenGLFramebufferObjectFormat format;
    format.setAttachment(QOpenGLFramebufferObject::Depth);
    gl->fbo = std::make_unique<QOpenGLFramebufferObject>(kClientSize, kClientSize, format);
    ok = gl->fbo->isValid();
    if (!ok) gl->fbo.reset();
    gl->context.doneCurrent();
  }
  if (!ok) {
    message_(viewer::openGlUnavailableMessage());
    return false;
  }
  gl_ = std::move(gl);
  view_.reset();
  return true;
}

void TForm5::prepare(const FigureStore& store) {
  view_.reset();
  view_.presetXY();  // the resize handling of the 128 x 128 area
  view_.presetXYZ();
  if (!gl_ || !gl_->current()) return;
  gl_->renderer.buildLists(store, viewer::computeViewScale(store));
  gl_->context.doneCurrent();
}

QImage TForm5::renderFrame() {
  if (!gl_ || !gl_->current()) return {};
  gl_->fbo->bind();
  viewer::Viewport vp{kClientSize, kClientSize, 0};
  viewer::FrameOptions options;
  options.axes = false;
  options.colourMode = false;
  gl_->renderer.frame(vp, view_.modelView, options);
  QImage image = gl_->fbo->toImage();
  gl_->fbo->release();
  gl_->context.doneCurrent();
  return image;
}

int TForm5::writeThumbnails(const std::string& prefix) {
  if (!gl_) return 0;
  view_.presetXYZ();
  int written = 0;
  constexpr int w = kClientSize, h = kClientSize;
  for (int n = 0; n < kThumbnailCount; ++n) {
    const QImage frame = renderFrame();
    viewer::RgbPicture centre;
    if (!frame.isNull()) {
      const QImage part = frame.copy(w / 2 - w / 4, h / 2 - h / 4, w / 2, h / 2).convertToFormat(QImage::Format_RGB888);
      centre.width = part.width();
      centre.height = part.height();
      centre.rgb.resize(static_cast<size_t>(centre.width) * static_cast<size_t>(centre.height) * 3);
      for (int y = 0; y < centre.height; ++y)
        std::copy_n(part.constScanLine(y), centre.width * 3, &centre.rgb[static_cast<size_t>(y * centre.width * 3)]);
    }
    const std::string path = prefix + std::to_string(n) + ".bmp";
    if (viewer::writeBmp8(path, centre)) ++written;
    else std::remove(path.c_str());
    view_.modelView = view_.modelView * viewer::rotation(45, 0, 0, 1);
    view_.angleZ += 45;
  }
  return written;
}

void TForm5::close() {
  if (!gl_) return;
  if (gl_->current()) {
    gl_->renderer.deleteLists();
    gl_->fbo.reset();
    gl_->context.doneCurrent();
  }
  gl_.reset();
}

int writeThumbnailFiles(const FigureStore& store, const std::string& prefix, std::function<void(const QString&)> message) {
  TForm5 form(std::move(message));
  if (!form.show()) return 0;
  form.prepare(store);
  const int written = form.writeThumbnails(prefix);
  form.close();
  return written;
}

}  // namespace kubrix
