// Where the desktop program keeps its settings and temporary files: beside a program that is not
// installed (a build folder, an unpacked folder) when that folder is writable; in
// $XDG_CONFIG_HOME/kubrix/ (or ~/.config/kubrix/) for an installed program, whoever runs it.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <unistd.h>

#include "app/gui/app_paths.h"

using namespace kubrix::gui;

namespace {

// Sets an environment variable for the life of the object and restores it afterwards.
struct EnvValue {
  EnvValue(const char* name, const QByteArray& value) : name_(name), had_(qEnvironmentVariableIsSet(name)), old_(qgetenv(name)) {
    qputenv(name, value);
  }
  ~EnvValue() {
    if (had_) qputenv(name_, old_);
    else qunsetenv(name_);
  }
  const char* name_;
  bool had_;
  QByteArray old_;
};

}  // namespace

class AppPathsTest : public QObject {
  Q_OBJECT
 private slots:
  void aProgramThatIsNotInstalledKeepsItsFilesBesideIt() {
    QTemporaryDir root;
    QVERIFY(QDir(root.path()).mkpath("build"));
    const AppPaths p = AppPaths::forProgramFolder(root.filePath("build"));
    QCOMPARE(p.programFolder, root.filePath("build") + "/");
    QCOMPARE(p.dataFolder, p.programFolder);
    QCOMPARE(p.settingsFile(), root.filePath("build/Kubrix.ini"));
    // A folder named bin without an installed data folder beside it is a portable copy too.
    QVERIFY(QDir(root.path()).mkpath("portable/bin"));
    QCOMPARE(AppPaths::forProgramFolder(root.filePath("portable/bin")).dataFolder, root.filePath("portable/bin/"));
  }

  void anInstalledProgramKeepsItsFilesInTheConfigFolder() {
    QTemporaryDir root;
    QVERIFY(QDir(root.path()).mkpath("usr/bin"));
    QVERIFY(QDir(root.path()).mkpath("usr/share/kubrix/examples"));
    const EnvValue config("XDG_CONFIG_HOME", root.filePath("config").toUtf8());
    const QString bin = root.filePath("usr/bin");
    QCOMPARE(installedDataFolder(bin), root.filePath("usr/share/kubrix/"));
    QCOMPARE(installedDataFolder(bin + "/"), root.filePath("usr/share/kubrix/"));
    // The bin folder is writable here, as it is for root: the settings still go to the config folder.
    const AppPaths p = AppPaths::forProgramFolder(bin);
    QCOMPARE(p.programFolder, bin + "/");
    QCOMPARE(p.dataFolder, root.filePath("config/kubrix/"));
    QCOMPARE(p.settingsFile(), root.filePath("config/kubrix/Kubrix.ini"));
    QVERIFY(QFileInfo(p.dataFolder).isDir());
    QVERIFY(!QFile::exists(bin + "/Kubrix.ini"));
  }

  void withoutAnAbsoluteConfigHomeTheConfigFolderIsInTheHomeFolder() {
    QTemporaryDir root;
    QVERIFY(QDir(root.path()).mkpath("home"));
    QVERIFY(QDir(root.path()).mkpath("usr/bin"));
    QVERIFY(QDir(root.path()).mkpath("usr/share/kubrix"));
    const EnvValue home("HOME", root.filePath("home").toUtf8());
    for (const QByteArray& value : {QByteArray(), QByteArray("relative/config")}) {
      const EnvValue config("XDG_CONFIG_HOME", value);
      QCOMPARE(AppPaths::forProgramFolder(root.filePath("usr/bin")).dataFolder, root.filePath("home/.config/kubrix/"));
    }
  }

  void aFolderWithoutWriteAccessSendsTheSettingsToTheConfigFolder() {
    if (geteuid() == 0) QSKIP("root may write into any folder");
    QTemporaryDir root;
    QVERIFY(QDir(root.path()).mkpath("ro"));
    const EnvValue config("XDG_CONFIG_HOME", root.filePath("config").toUtf8());
    QFile::setPermissions(root.filePath("ro"), QFile::ReadOwner | QFile::ExeOwner);
    QCOMPARE(AppPaths::forProgramFolder(root.filePath("ro")).dataFolder, root.filePath("config/kubrix/"));
    QFile::setPermissions(root.filePath("ro"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  }
};

QObject* makeAppPathsTest() { return new AppPathsTest; }

#include "app_paths_test.moc"
