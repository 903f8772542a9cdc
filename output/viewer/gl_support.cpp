// The OpenGL probe and surface format.
#include "output/viewer/gl_support.h"

#include <QGuiApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>

namespace kubrix::viewer {

QString openGlUnavailableMessage() { return QStringLiteral("OPENGLが利用出来ません"); }

QSurfaceFormat viewerSurfaceFormat() {
  QSurfaceFormat f;
  f.setRenderableType(QSurfaceFormat::OpenGL);
  f.setVersion(2, 1);
  f.setProfile(QSurfaceFormat::CompatibilityProfile);
  f.setRedBufferSize(8);
  f.setGreenBufferSize(8);
  f.setBlueBufferSize(8);
  f.setDepthBufferSize(24);
  f.setSwapBehavior(QSurfaceFormat::DoubleBuffer);
  return f;
}

bool hasFixedFunction(const QOpenGLContext& context) {
  if (context.isOpenGLES()) return false;
  const QSurfaceFormat f = context.format();
  return f.profile() == QSurfaceFormat::CompatibilityProfile || f.version() < qMakePair(3, 1);
}

namespace {

bool probe() {
  const QString platform = QGuiApplication::platformName();
  // These platforms may hand out a context, but they cannot show a QOpenGLWidget.
  if (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal")) return false;
  QOpenGLContext context;
  context.setFormat(viewerSurfaceFormat());
  if (!context.create()) return false;
  QOffscreenSurface surface;
  surface.setFormat(context.format());
  surface.create();
  if (!surface.isValid() || !context.makeCurrent(&surface)) return false;
  const bool ok = hasFixedFunction(context);
  context.doneCurrent();
  return ok;
}

}  // namespace

bool openGlUsable() {
  static const bool usable = probe();
  return usable;
}

}  // namespace kubrix::viewer
