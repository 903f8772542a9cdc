// The log's way from the engine to MemoLog.
#include "app/gui/log_pump.h"

#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <algorithm>

#include "engine/sjis.h"

namespace kubrix::gui {

LogPump::LogPump(QPlainTextEdit* view, int maxLines, QObject* parent)
    : QObject(parent), view_(view), maxLines_(std::max(1, maxLines)) {
  view_->setMaximumBlockCount(maxLines_);
  timer_.setSingleShot(true);
  connect(&timer_, &QTimer::timeout, this, [this] { drain(25); });
}

void LogPump::push(std::string_view block) {
  if (block.empty()) return;
  const size_t lines = static_cast<size_t>(std::count(block.begin(), block.end(), '\n'));
  {
    std::lock_guard lock(mutex_);
    pending_.push_back(Block{std::string(block), lines});
    pendingLines_ += lines;
    // Blocks whose lines the view would push out anyway are not kept.
    while (pending_.size() > 1 && pendingLines_ - pending_.front().lines >= static_cast<size_t>(maxLines_)) {
      pendingLines_ -= pending_.front().lines;
      pending_.pop_front();
    }
  }
  if (!scheduled_.exchange(true)) QMetaObject::invokeMethod(this, [this] { schedule(); }, Qt::QueuedConnection);
}

void LogPump::schedule() {
  if (!timer_.isActive()) timer_.start(30);
}

bool LogPump::hasPending() const {
  std::lock_guard lock(mutex_);
  return !pending_.empty();
}

void LogPump::clear() {
  {
    std::lock_guard lock(mutex_);
    pending_.clear();
    pendingLines_ = 0;
  }
  view_->clear();
}

void LogPump::drainAll() { drain(-1); }

void LogPump::drain(int budgetMs) {
  QElapsedTimer clock;
  clock.start();
  for (;;) {
    Block b;
    bool fillsView = false;
    {
      std::lock_guard lock(mutex_);
      if (pending_.empty()) {
        scheduled_ = false;
        break;
      }
      fillsView = pendingLines_ >= static_cast<size_t>(maxLines_);
      b = std::move(pending_.front());
      pending_.pop_front();
      pendingLines_ -= b.lines;
    }
    // When what waits fills the view by itself, the lines shown now would all be pushed out.
    if (fillsView) view_->clear();
    std::string_view text = b.text;
    if (!text.empty() && text.back() == '\n') text.remove_suffix(1);
    view_->appendPlainText(QString::fromStdString(sjisToUtf8(text)));
    if (budgetMs >= 0 && clock.elapsed() >= budgetMs) {
      timer_.start(10);  // the rest on the next turn, after the window has painted
      return;
    }
  }
  emit caughtUp();
}

}  // namespace kubrix::gui
