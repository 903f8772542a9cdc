// Moves the run log from the engine (worker thread) into the log view (MemoLog) in batches: the
// engine's log sink hands over blocks of finished lines; the user-interface thread takes them on a
// timer and appends them with a time budget per turn, so a long log neither slows the run nor
// stops the window from painting. The view keeps at most maxLines lines (the oldest go first);
// lines that would be pushed out before they are shown are dropped while still waiting.
#pragma once

#include <QObject>
#include <QTimer>
#include <atomic>
#include <deque>
#include <mutex>
#include <string>
#include <string_view>

class QPlainTextEdit;

namespace kubrix::gui {

class LogPump : public QObject {
  Q_OBJECT
 public:
  LogPump(QPlainTextEdit* view, int maxLines, QObject* parent = nullptr);

  // Any thread: a block of CP932 log text, lines ending in "\n".
  void push(std::string_view block);
  // User-interface thread: empties the view and drops what is waiting.
  void clear();
  // User-interface thread: appends everything that is waiting, however long it takes.
  void drainAll();
  bool hasPending() const;
  int maxLines() const { return maxLines_; }

 signals:
  // Everything pushed so far is in the view.
  void caughtUp();

 private:
  struct Block {
    std::string text;
    size_t lines;
  };
  void schedule();
  void drain(int budgetMs);

  QPlainTextEdit* view_;
  int maxLines_;
  QTimer timer_;
  mutable std::mutex mutex_;
  std::deque<Block> pending_;
  size_t pendingLines_ = 0;
  std::atomic<bool> scheduled_{false};
};

}  // namespace kubrix::gui
