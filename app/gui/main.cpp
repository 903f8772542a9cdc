// kubrix: the desktop program. The first command-line argument may name a script file (".kx" or
// ".kxp") that is opened and run once the window is shown.
#include <QApplication>
#include <QIcon>
#include <QTimer>

#include "app/gui/app_paths.h"
#include "app/gui/desktop_windows.h"
#include "app/gui/qt_translations.h"
#include "app/gui/scr_form.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Kubrix");
  // Desktop integration of an installed program: the entry kubrix.desktop and the theme icon.
  QGuiApplication::setDesktopFileName("kubrix");
  QApplication::setWindowIcon(QIcon::fromTheme("kubrix"));
  kubrix::gui::installQtTranslations(app);
  const QStringList args = QApplication::arguments();
  const QString script = args.size() > 1 ? args.at(1) : QString();

  kubrix::gui::TScrForm window(kubrix::gui::AppPaths::forProgram());
  kubrix::gui::DesktopWindows windows(window);
  window.startUp();  // settings and layout before the window appears
  window.show();
  QTimer::singleShot(0, &window, [&window, script] { window.startUp(script); });
  return app.exec();
}
