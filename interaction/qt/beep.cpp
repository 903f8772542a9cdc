// The warning beep.
#include "interaction/qt/beep.h"

#include <QApplication>
#include <atomic>

namespace kubrix::qt {

namespace {
std::atomic<int> gBeeps{0};
}

void beep() {
  gBeeps.fetch_add(1, std::memory_order_relaxed);
  QApplication::beep();
}

int beepCount() { return gBeeps.load(std::memory_order_relaxed); }

}  // namespace kubrix::qt
