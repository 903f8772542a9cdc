// The surfaceless EGL context: display, config, pbuffer, compatibility-profile context.
#include "output/render/offscreen_context.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>

#include <cstdio>
#include <algorithm>
#include <cstring>

namespace kubrix::render {

struct OffscreenContext::Egl {
  EGLDisplay display = EGL_NO_DISPLAY;
  EGLSurface surface = EGL_NO_SURFACE;
  EGLContext context = EGL_NO_CONTEXT;
};

namespace {

std::string eglFailure(const char* step) {
  char buf[96];
  snprintf(buf, sizeof buf, "%s failed (EGL error 0x%04X)", step, static_cast<unsigned>(eglGetError()));
  return buf;
}

// The surfaceless platform needs neither a display server nor a GPU: Mesa falls back to its
// software renderer. The default display is the fallback for EGL libraries without the extension.
EGLDisplay surfacelessDisplay() {
  const char* extensions = eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS);
  if (extensions && std::strstr(extensions, "EGL_MESA_platform_surfaceless")) {
    auto getPlatformDisplay =
        reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (getPlatformDisplay) return getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
  }
  return eglGetDisplay(EGL_DEFAULT_DISPLAY);
}

}  // namespace

OffscreenContext::OffscreenContext(int width, int height)
    : egl_(std::make_unique<Egl>()), width_(width), height_(height) {
  Egl& e = *egl_;
  e.display = surfacelessDisplay();
  EGLint major = 0, minor = 0;
  if (e.display == EGL_NO_DISPLAY || !eglInitialize(e.display, &major, &minor)) {
    error_ = eglFailure("eglInitialize");
    e.display = EGL_NO_DISPLAY;
    return;
  }
  static constexpr EGLint kConfig[] = {EGL_SURFACE_TYPE, EGL_PBUFFER_BIT, EGL_RED_SIZE, 8, EGL_GREEN_SIZE, 8,
                                       EGL_BLUE_SIZE, 8, EGL_DEPTH_SIZE, 24, EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT,
                                       EGL_NONE};
  EGLConfig config = nullptr;
  EGLint configs = 0;
  if (!eglChooseConfig(e.display, kConfig, &config, 1, &configs) || configs < 1) {
    error_ = "no EGL configuration with OpenGL, RGB 8-8-8, depth 24 and pbuffers";
    return;
  }
  if (!eglBindAPI(EGL_OPENGL_API)) {
    error_ = eglFailure("eglBindAPI(OpenGL)");
    return;
  }
  const EGLint surfaceAttributes[] = {EGL_WIDTH, width, EGL_HEIGHT, height, EGL_NONE};
  e.surface = eglCreatePbufferSurface(e.display, config, surfaceAttributes);
  if (e.surface == EGL_NO_SURFACE) {
    error_ = eglFailure("eglCreatePbufferSurface");
    return;
  }
  static constexpr EGLint kContext[] = {EGL_CONTEXT_OPENGL_PROFILE_MASK,
                                        EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT, EGL_NONE};
  e.context = eglCreateContext(e.display, config, EGL_NO_CONTEXT, kContext);
  if (e.context == EGL_NO_CONTEXT) {
    error_ = eglFailure("eglCreateContext");
    return;
  }
  if (!eglMakeCurrent(e.display, e.surface, e.surface, e.context)) {
    error_ = eglFailure("eglMakeCurrent");
    return;
  }
  // A pbuffer may be smaller than asked for; a picture of another size would be wrong.
  EGLint w = 0, h = 0;
  eglQuerySurface(e.display, e.surface, EGL_WIDTH, &w);
  eglQuerySurface(e.display, e.surface, EGL_HEIGHT, &h);
  if (w != width || h != height) {
    error_ = "the renderer cannot make a picture of this size";
    return;
  }
  ok_ = true;
}

OffscreenContext::~OffscreenContext() {
  Egl& e = *egl_;
  if (e.display == EGL_NO_DISPLAY) return;
  eglMakeCurrent(e.display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
  if (e.context != EGL_NO_CONTEXT) eglDestroyContext(e.display, e.context);
  if (e.surface != EGL_NO_SURFACE) eglDestroySurface(e.display, e.surface);
  eglTerminate(e.display);
  eglReleaseThread();
}

viewer::RgbPicture OffscreenContext::readPixels() const {
  viewer::RgbPicture p;
  if (!ok_) return p;
  glFinish();
  p.width = width_;
  p.height = height_;
  const size_t row = static_cast<size_t>(width_) * 3;
  p.rgb.resize(row * static_cast<size_t>(height_));
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, width_, height_, GL_RGB, GL_UNSIGNED_BYTE, p.rgb.data());
  // OpenGL counts rows from the bottom.
  for (size_t top = 0, bottom = static_cast<size_t>(height_) - 1; top < bottom; ++top, --bottom)
    std::swap_ranges(p.rgb.begin() + static_cast<ptrdiff_t>(top * row),
                     p.rgb.begin() + static_cast<ptrdiff_t>((top + 1) * row),
                     p.rgb.begin() + static_cast<ptrdiff_t>(bottom * row));
  return p;
}

}  // namespace kubrix::render
