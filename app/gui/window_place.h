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

// A first place for a window of frame size `size` that has no stored place: its top left corner on
// that of `area` (e.g. the editor, so that the main window's menus and buttons stay free), moved
// as little as needed to lie whole on `screen` (and no larger than it).
QRect placeOver(const QRect& area, QSize size, const QRect& screen);

}  // namespace kubrix::gui
