// OpenGL availability for the viewer and the thumbnail renderer: the surface format they ask for
// (a compatibility profile, so display lists, lighting and immediate mode work) and a probe that
// tells whether such a context can be had at all. Without one the windows draw nothing and make
// no OpenGL call.
#pragma once

#include <QString>
#include <QSurfaceFormat>

class QOpenGLContext;

namespace kubrix::viewer {

// The message shown when OpenGL cannot be used (UTF-8 text of the program).
QString openGlUnavailableMessage();

// Version 2.1, compatibility profile, RGB 8-8-8, depth 24, double buffered.
QSurfaceFormat viewerSurfaceFormat();

// True when the context offers the fixed-function pipeline (a compatibility profile or a version
// before 3.1).
bool hasFixedFunction(const QOpenGLContext& context);

// Whether a fixed-function context can be created and made current on this platform (checked
// once, then remembered). Platforms without windowed OpenGL ("offscreen", "minimal") give false.
bool openGlUsable();

}  // namespace kubrix::viewer
