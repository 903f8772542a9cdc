// Placing a window from stored values so that it can be reached: a size that is too small or
// larger than the screen is corrected, and a window that lies off every screen is moved onto one.
#pragma once

#include <QList>
#include <QRect>
#include <QSize>

namespace kubrix::gui {

// x, y, w, h: the stored frame position and size (any values, also garbage); screens: the available
// areas of the screens (the first is the primary one). Returns a rectangle of at least minimum and
// at most the screen's size that lies on the screen holding the stored title-bar area, or centred
// on the primary screen when no screen holds it; a stored size below minimum gives fallback.
QRect placeOnScreen(int x, int y, int w, int h, const QList<QRect>& screens, QSize minimum, QSize fallback);

}  // namespace kubrix::gui
