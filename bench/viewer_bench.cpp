// Viewer speed with a large store: display-list build time and time per frame for 1,000,000
// triangle faces, on the renderer alone and through the viewer window. Needs an X display with
// OpenGL (xvfb-run -a env QT_QPA_PLATFORM=xcb build/kubrix_viewer_bench [faces]); prints figures.
#include <QApplication>
#include <QElapsedTimer>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <QTest>
#include <QToolButton>
#include <GL/gl.h>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "output/render/figure_renderer.h"
#include "output/viewer/gl_support.h"
#include "output/viewer/scr_screen.h"
#include "output/render/view_scale.h"

namespace {

// A wavy sheet of triangles; colours change every `run` faces (1: every face a new colour).
kubrix::FigureStore makeSheet(long faces, int run) {
  kubrix::FigureStore fs;
  const long cols = static_cast<long>(std::sqrt(faces / 2.0));
  const long rows = (faces / 2 + cols - 1) / cols;
  auto z = [](double x, double y) { return 0.5 * std::sin(x * 0.05) * std::cos(y * 0.07); };
  long n = 0;
  for (long r = 0; r < rows && n < faces; ++r)
    for (long c = 0; c < cols && n < faces; ++c) {
      const double x0 = c, y0 = r, x1 = c + 1, y1 = r + 1;
      const kubrix::Point3 a{x0, y0, z(x0, y0)}, b{x1, y0, z(x1, y0)}, p{x1, y1, z(x1, y1)}, d{x0, y1, z(x0, y1)};
      fs.colour = static_cast<int32_t>(1 + (n / run) % 200);
      fs.appendTriangle(a, b, p);
      ++n;
      if (n < faces) {
        fs.appendTriangle(a, p, d);
        ++n;
      }
    }
  return fs;
}

double ms(const QElapsedTimer& t) { return t.nsecsElapsed() / 1e6; }

void rendererFigures(const kubrix::FigureStore& fs, const char* what) {
  QOpenGLContext context;
  context.setFormat(kubrix::viewer::viewerSurfaceFormat());
  QOffscreenSurface surface;
  if (!context.create()) return void(std::printf("no OpenGL context\n"));
  surface.setFormat(context.format());
  surface.create();
  if (!context.makeCurrent(&surface)) return void(std::printf("context not current\n"));
  QOpenGLFramebufferObject fbo(681, 414, QOpenGLFramebufferObject::Depth);
  fbo.bind();
  kubrix::viewer::FigureRenderer renderer;
  QElapsedTimer t;
  t.start();
  const double scale = kubrix::viewer::computeViewScale(fs);
  renderer.buildLists(fs, scale);
  glFinish();
  const double build = ms(t);
  kubrix::viewer::ViewState view;
  view.presetXYZ();
  const kubrix::viewer::Viewport vp{681, 414, 41};
  renderer.frame(vp, view.modelView, {});  // the first frame uploads the list
  glFinish();
  const int frames = 10;
  t.restart();
  for (int i = 0; i < frames; ++i) {
    view.press(true, 0, 0);
    view.dragTo(-3, 0, kubrix::viewer::TurnAxis::Z);
    renderer.frame(vp, view.modelView, {});
    glFinish();
  }
  std::printf("%-34s list build %8.1f ms, frame %7.1f ms (%zu faces drawn)\n", what, build, ms(t) / frames,
              renderer.drawnElements());
  renderer.deleteLists();
  fbo.release();
  context.doneCurrent();
}

void windowFigures(const kubrix::FigureStore& fs) {
  kubrix::TScrScreen viewer;
  viewer.ui().message = [](kubrix::ViewerUi::Icon, const QString& m) { std::printf("%s\n", qPrintable(m)); };
  QElapsedTimer t;
  t.start();
  viewer.openAfterRun(fs);
  if (!QTest::qWaitForWindowExposed(&viewer) || !viewer.openGlReady()) return void(std::printf("viewer has no OpenGL\n"));
  viewer.capturePicture();
  std::printf("%-34s %8.1f ms\n", "window: open, build, first picture", ms(t));
  const int frames = 10;
  t.restart();
  for (int i = 0; i < frames; ++i) {
    viewer.SpeedButton1->click();
    viewer.capturePicture();
  }
  std::printf("%-34s %8.1f ms (frame and read-back)\n", "window: picture after a view change", ms(t) / frames);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const long faces = argc > 1 ? std::atol(argv[1]) : 1000000;
  QElapsedTimer t;
  t.start();
  const kubrix::FigureStore fs = makeSheet(faces, 1000);
  std::printf("%ld triangle faces generated in %.1f ms\n", static_cast<long>(fs.count()), ms(t));
  rendererFigures(fs, "renderer, colour runs of 1000:");
  rendererFigures(makeSheet(faces, 1), "renderer, a new colour every face:");
  windowFigures(fs);
  return 0;
}
