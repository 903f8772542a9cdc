// Loading Qt's Japanese translations.
#include "app/gui/qt_translations.h"

#include <QCoreApplication>
#include <QFile>
#include <QLibraryInfo>
#include <QTranslator>
#include <cstdio>

namespace kubrix::gui {

bool installQtTranslations(QCoreApplication& app) {
  const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
  auto* translator = new QTranslator(&app);
  if (!translator->load(QStringLiteral("qtbase_ja"), folder) || !QCoreApplication::installTranslator(translator)) {
    fprintf(stderr, "kubrix: Qt's Japanese translations (qtbase_ja) were not found in %s\n", QFile::encodeName(folder).constData());
    delete translator;
    return false;
  }
  return true;
}

}  // namespace kubrix::gui
