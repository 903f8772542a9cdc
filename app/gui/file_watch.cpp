// The debounced file watch.
#include "app/gui/file_watch.h"

#include <QFileInfo>

namespace kubrix::gui {

FileWatch::FileWatch(int quietMs, QObject* parent) : QObject(parent) {
  timer_.setSingleShot(true);
  timer_.setInterval(quietMs);
  connect(&timer_, &QTimer::timeout, this, &FileWatch::quiet);
  connect(&watcher_, &QFileSystemWatcher::fileChanged, this, &FileWatch::touched);
  connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, &FileWatch::touched);
}

void FileWatch::watch(const QString& path) {
  if (path == path_) return;
  timer_.stop();
  if (!watcher_.files().isEmpty()) watcher_.removePaths(watcher_.files());
  if (!watcher_.directories().isEmpty()) watcher_.removePaths(watcher_.directories());
  path_ = path;
  rewatch();
}

void FileWatch::rewatch() {
  if (path_.isEmpty()) return;
  // A file replaced by a rename, or removed, drops out of the watch: it is watched again when it is
  // back. Its folder tells when that happens.
  const QString folder = QFileInfo(path_).absolutePath();
  if (!watcher_.directories().contains(folder)) watcher_.addPath(folder);
  if (!watcher_.files().contains(path_) && QFileInfo::exists(path_)) watcher_.addPath(path_);
}

void FileWatch::touched() {
  if (path_.isEmpty()) return;
  timer_.start();  // each change restarts the wait: a burst of writes is reported once
}

void FileWatch::quiet() {
  rewatch();
  emit settled(path_);
}

}  // namespace kubrix::gui
