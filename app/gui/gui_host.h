// The engine's host in the desktop program. The engine runs on a worker thread; everything it asks
// of the window goes through here: the Escape flag (an atomic the window sets when Escape is
// pressed), status texts and beeps (queued to the user-interface thread), and calls that must run on
// the user-interface thread while the worker waits (the dialogs a script opens).
#pragma once

#include <QObject>
#include <QString>
#include <atomic>
#include <functional>
#include <mutex>
#include <string>

#include "engine/host.h"

namespace kubrix::gui {

class GuiHost : public QObject, public Host {
  Q_OBJECT
 public:
  explicit GuiHost(QObject* parent = nullptr) : QObject(parent) {}

  // Set by the window when Escape is pressed during a run, cleared before each run.
  std::atomic<bool> escape{false};

  bool escapePressed() override { return escape.load(std::memory_order_relaxed); }
  void statusChanged(int panel, std::string_view text) override;
  void beep() override;
  // The open script's path as CP932 (empty for a script never opened or saved), set by the window
  // before each run; GETFNAME reads it on the worker thread.
  std::string scriptPath() override;
  void setScriptPath(const QString& path);

  // Runs fn on the user-interface thread and returns when it has run (directly when called there).
  void onUiThread(const std::function<void()>& fn);

 private:
  std::mutex pathMutex_;
  std::string scriptPath_;

 signals:
  // A status panel's text changed (delivered on the user-interface thread).
  void statusText(int panel, const QString& text);
};

}  // namespace kubrix::gui
