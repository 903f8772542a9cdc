// Where the desktop program keeps its files: the program folder (settings file "Kubrix.ini",
// "help.txt", temporary CAD files) when it is writable, otherwise $XDG_CONFIG_HOME/kubrix/ for the
// settings and temporary files. An installed program (<prefix>/bin beside <prefix>/share/kubrix)
// always keeps them in $XDG_CONFIG_HOME/kubrix/: it never writes into a system folder, not even
// when its user could.
#pragma once

#include <QString>
#include <QStringList>

namespace kubrix::gui {

struct AppPaths {
  QString programFolder;  // the executable's folder, with a trailing "/"
  QString dataFolder;     // settings file and temporary files, with a trailing "/"
  QString settingsFile() const { return dataFolder + "Kubrix.ini"; }

  // The paths of the running program.
  static AppPaths forProgram();
  // The paths of a program file in folder, with the settings in $XDG_CONFIG_HOME/kubrix/ (or
  // ~/.config/kubrix/) when they cannot be kept beside it; that folder is created.
  static AppPaths forProgramFolder(const QString& folder);
  // Everything in one folder (tests, portable use).
  static AppPaths inFolder(const QString& folder);
};

// Deletes "temp.dxf" and "temp.dae" in folder, then "temp0.dxf", "temp1.dxf", ... while the next
// numbered file exists, the numbered ".dae" files likewise, and the files in written (the temporary
// files of this session, whatever their numbers). Deletion errors are ignored. Returns the number
// of files deleted.
int deleteTemporaryCadFiles(const QString& folder, const QStringList& written = {});

// The installed data folder of a program in programFolder, "<prefix>/share/kubrix/" with a trailing
// "/", when programFolder is "<prefix>/bin" of an installation; otherwise empty.
QString installedDataFolder(const QString& programFolder);

}  // namespace kubrix::gui
