// Keeping stored window positions on screen.
#include "app/gui/window_place.h"

#include <algorithm>

namespace kubrix::gui {

QRect placeOnScreen(int x, int y, int w, int h, const QList<QRect>& screens, QSize minimum, QSize fallback) {
  // Stored values may be anything; keep the arithmetic below far from overflow.
  constexpr int kFar = 1000000;
  const QRect wanted(std::clamp(x, -kFar, kFar), std::clamp(y, -kFar, kFar), std::clamp(w, 0, kFar),
                     std::clamp(h, 0, kFar));
  if (screens.isEmpty()) return QRect(wanted.topLeft(), fallback);
  QSize size = wanted.size();
  if (size.width() < minimum.width() || size.height() < minimum.height()) size = fallback;
  // The screen that holds the title bar area, or the primary one.
  const QRect title(wanted.x(), wanted.y(), std::max(1, std::min(size.width(), 200)), 24);
  const QRect* home = nullptr;
  for (const QRect& s : screens) {
    const QRect part = s.intersected(title);
    if (part.width() >= std::min(title.width(), 100) && part.height() >= 24) {
      home = &s;
      break;
    }
  }
  const QRect screen = home ? *home : screens.front();
  size = size.boundedTo(screen.size()).expandedTo(minimum.boundedTo(screen.size()));
  QPoint pos = home ? wanted.topLeft()
                   : QPoint(screen.x() + (screen.width() - size.width()) / 2, screen.y() + (screen.height() - size.height()) / 2);
  // Whole window inside the screen where possible.
  pos.setX(std::clamp(pos.x(), screen.left(), std::max(screen.left(), screen.right() + 1 - size.width())));
  pos.setY(std::clamp(pos.y(), screen.top(), std::max(screen.top(), screen.bottom() + 1 - size.height())));
  return QRect(pos, size);
}

QRect placeOver(const QRect& area, QSize size, const QRect& screen) {
  size = size.boundedTo(screen.size());
  const int x = std::clamp(area.x(), screen.left(), screen.right() + 1 - size.width());
  const int y = std::clamp(area.y(), screen.top(), screen.bottom() + 1 - size.height());
  return QRect(QPoint(x, y), size);
}

}  // namespace kubrix::gui
