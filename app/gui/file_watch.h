// A debounced watch of one file: changes to the file, and to its folder (editors that save by
// writing a new file and renaming it over the old one replace the watched file), are gathered until
// the file has been quiet for a moment, then reported once.
#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>

namespace kubrix::gui {

class FileWatch : public QObject {
  Q_OBJECT
 public:
  // quietMs: how long the file must stay unchanged before settled() is emitted.
  explicit FileWatch(int quietMs = 300, QObject* parent = nullptr);

  // Watches path (an absolute file path); an empty path stops watching.
  void watch(const QString& path);
  const QString& path() const { return path_; }

 signals:
  // The watched file changed, was replaced, removed or created, and has been quiet since.
  void settled(const QString& path);

 private:
  void touched();
  void quiet();
  void rewatch();

  QFileSystemWatcher watcher_;
  QTimer timer_;
  QString path_;
};

}  // namespace kubrix::gui
