// The engine's host in the desktop program. The engine runs on a worker thread; everything it asks
// of the window goes through here: the Escape flag (an atomic the window sets when Escape is
// pressed), status texts and beeps (queued to the user-interface thread), the dialogs a script opens
// (shown modally by the user-interface thread while the worker waits) and speech.
#pragma once

#include <QObject>
#include <QString>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "engine/host.h"

namespace kubrix {
class Speech;
}
namespace kubrix::qt {
class ScriptDialogs;
}

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

  // The dialogs scripts open and the speech engine (both may be absent: dialogs then cancel and
  // speech is off). Set on the user-interface thread while no run is going on.
  void setDialogs(qt::ScriptDialogs* dialogs) { dialogs_ = dialogs; }
  void setSpeech(Speech* speech) { speech_ = speech; }

  // Ends the run's waiting for a dialog: sets the Escape flag, wakes the worker (its dialog counts as
  // cancelled) and closes the open dialog. Called on the user-interface thread.
  void abortDialogs();
  // True while a dialog of a script is open.
  bool dialogOpen() const;

  void showMessage(const MessageText& m) override;
  bool askYesNo(const YesNoQuestion& q) override;
  bool askText(TextQuestion& q) override;
  bool askItem(ItemQuestion& q) override;
  bool askValues(std::vector<ValueRow>& rows) override;
  bool askColour(int& index) override;
  void speak(std::string_view text) override;
  bool speaking() override;
  void stopSpeaking() override;

 signals:
  // A status panel's text changed (delivered on the user-interface thread).
  void statusText(int panel, const QString& text);

 private:
  // Runs ask on the user-interface thread and waits for its answer; false when the run is being
  // ended (Escape, closing) before or while the dialog is open.
  bool waitForDialog(std::function<bool()> ask);
  // The same for a question the dialog fills in: the dialog works on a copy, which comes back on OK,
  // so a worker that stopped waiting is never written to.
  template <class Q, class Fn>
  bool askCopy(Q& question, Fn ask);

  std::mutex pathMutex_;
  std::string scriptPath_;
  qt::ScriptDialogs* dialogs_ = nullptr;
  Speech* speech_ = nullptr;
  std::mutex m_;
  std::condition_variable answered_;
};

}  // namespace kubrix::gui
