// Program folder, settings folder and the temporary files of the CAD hand-over.
#include "app/gui/app_paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace kubrix::gui {

namespace {

QString withSlash(QString folder) {
  if (!folder.endsWith('/')) folder += '/';
  return folder;
}

// True when the settings file can be written in folder: the folder is writable and an existing
// settings file is writable too.
bool canKeepSettingsIn(const QString& folder) {
  const QFileInfo dir(folder);
  if (!dir.isDir() || !dir.isWritable()) return false;
  const QFileInfo ini(folder + "Kubrix.ini");
  return !ini.exists() || ini.isWritable();
}

}  // namespace

QString installedDataFolder(const QString& programFolder) {
  const QDir bin(programFolder);
  if (bin.dirName() != QLatin1String("bin")) return {};
  const QString data = QDir::cleanPath(bin.absoluteFilePath(QStringLiteral("../share/kubrix")));
  return QFileInfo(data).isDir() ? withSlash(data) : QString();
}

AppPaths AppPaths::forProgram() { return forProgramFolder(QCoreApplication::applicationDirPath()); }

AppPaths AppPaths::forProgramFolder(const QString& folder) {
  AppPaths p;
  p.programFolder = withSlash(folder);
  if (installedDataFolder(p.programFolder).isEmpty() && canKeepSettingsIn(p.programFolder)) {
    p.dataFolder = p.programFolder;
  } else {
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty() || !QDir::isAbsolutePath(config)) config = QDir::homePath() + "/.config";
    p.dataFolder = withSlash(config) + "kubrix/";
    QDir().mkpath(p.dataFolder);
  }
  return p;
}

AppPaths AppPaths::inFolder(const QString& folder) {
  AppPaths p;
  p.programFolder = withSlash(folder);
  p.dataFolder = p.programFolder;
  return p;
}

int deleteTemporaryCadFiles(const QString& folder, const QStringList& written) {
  const QString dir = withSlash(folder);
  int deleted = 0;
  for (const char* name : {"temp.dxf", "temp.dae"})
    if (QFile::exists(dir + name) && QFile::remove(dir + name)) ++deleted;
  for (const char* pattern : {"temp%1.dxf", "temp%1.dae"}) {
    for (int n = 0;; ++n) {
      const QString path = dir + QString(pattern).arg(n);
      if (!QFile::exists(path)) break;
      if (QFile::remove(path)) ++deleted;
    }
  }
  for (const QString& path : written)
    if (QFile::exists(path) && QFile::remove(path)) ++deleted;
  return deleted;
}

}  // namespace kubrix::gui
