// The desktop program's engine host.
#include "app/gui/gui_host.h"

#include <QFileInfo>
#include <QThread>

#include "engine/sjis.h"
#include "interaction/qt/beep.h"
#include "interaction/qt/script_dialogs.h"
#include "interaction/speech.h"

namespace kubrix::gui {

void GuiHost::statusChanged(int panel, std::string_view text) {
  // Emitted on the worker thread: the connection to the window is queued.
  emit statusText(panel, QString::fromStdString(sjisToUtf8(text)));
}

void GuiHost::beep() {
  QMetaObject::invokeMethod(this, [] { qt::beep(); }, Qt::QueuedConnection);
}

std::string GuiHost::scriptPath() {
  const std::lock_guard lock(pathMutex_);
  return scriptPath_;
}

void GuiHost::setScriptPath(const QString& path) {
  // A script named on the command line may be given relative to the working folder.
  std::string sjis = path.isEmpty() ? std::string() : utf8ToSjis(QFileInfo(path).absoluteFilePath().toStdString());
  const std::lock_guard lock(pathMutex_);
  scriptPath_ = std::move(sjis);
}

void GuiHost::onUiThread(const std::function<void()>& fn) {
  if (QThread::currentThread() == thread()) {
    fn();
    return;
  }
  QMetaObject::invokeMethod(this, [&fn] { fn(); }, Qt::BlockingQueuedConnection);
}

bool GuiHost::waitForDialog(std::function<bool()> ask) {
  if (!dialogs_ || escape.load()) return false;
  if (QThread::currentThread() == thread()) return ask();
  struct Answer {
    bool done = false, ok = false;
  };
  auto answer = std::make_shared<Answer>();
  // Queued, not blocking: when the run is ended while the dialog is open, the worker goes on at
  // once, and the dialog's answer lands in the shared record nobody reads any more.
  QMetaObject::invokeMethod(
      this,
      [this, answer, ask = std::move(ask)] {
        const bool ok = !escape.load() && ask();
        std::lock_guard lock(m_);
        answer->ok = ok;
        answer->done = true;
        answered_.notify_all();
      },
      Qt::QueuedConnection);
  std::unique_lock lock(m_);
  answered_.wait(lock, [&] { return answer->done || escape.load(); });
  return answer->done && answer->ok && !escape.load();
}

template <class Q, class Fn>
bool GuiHost::askCopy(Q& question, Fn ask) {
  auto copy = std::make_shared<Q>(question);
  if (!waitForDialog([copy, ask] { return ask(*copy); })) return false;
  question = std::move(*copy);
  return true;
}

void GuiHost::abortDialogs() {
  {
    std::lock_guard lock(m_);
    escape = true;
    answered_.notify_all();
  }
  if (dialogs_) dialogs_->closeOpen();
}

bool GuiHost::dialogOpen() const { return dialogs_ && dialogs_->openDialog(); }

void GuiHost::showMessage(const MessageText& m) {
  waitForDialog([this, m] {
    dialogs_->showMessage(m);
    return true;
  });
}

bool GuiHost::askYesNo(const YesNoQuestion& q) {
  return waitForDialog([this, q] { return dialogs_->askYesNo(q); });
}

bool GuiHost::askText(TextQuestion& q) {
  return askCopy(q, [this](TextQuestion& c) { return dialogs_->askText(c); });
}

bool GuiHost::askItem(ItemQuestion& q) {
  return askCopy(q, [this](ItemQuestion& c) { return dialogs_->askItem(c); });
}

bool GuiHost::askValues(std::vector<ValueRow>& rows) {
  return askCopy(rows, [this](std::vector<ValueRow>& c) { return dialogs_->askValues(c); });
}

bool GuiHost::askColour(int& index) {
  return askCopy(index, [this](int& c) { return dialogs_->askColour(c); });
}

void GuiHost::speak(std::string_view text) {
  if (speech_) speech_->speak(text);
}

bool GuiHost::speaking() { return speech_ && speech_->playing(); }

void GuiHost::stopSpeaking() {
  if (speech_) speech_->stop();
}

}  // namespace kubrix::gui
