// The desktop program's engine host.
#include "app/gui/gui_host.h"

#include <QFileInfo>
#include <QThread>

#include "engine/sjis.h"
#include "interaction/qt/beep.h"

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

}  // namespace kubrix::gui
