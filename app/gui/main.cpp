// kubrix: the desktop program. The first command-line argument may name a script file (".kx" or
// ".kxp") that is opened and run once the window is shown.
#include <QApplication>
#include <QIcon>
#include <QTimer>
#include <cstdio>
#include <cstring>

#include "app/gui/app_paths.h"
#include "app/gui/desktop_windows.h"
#include "app/gui/qt_translations.h"
#include "app/gui/scr_form.h"

namespace {

constexpr const char* kUsage =
    "Usage: kubrix [SCRIPT]\n"
    "Opens the Kubrix window: a script editor with a parameter grid, the log and a 3D viewer.\n"
    "A SCRIPT (.kx plain text, .kxp protected) is opened and run at start.\n"
    "The menu \"ヘルプ\" shows the script language reference (help.txt).\n"
    "Scripts run without a window with kubrix-run (kubrix-run --help).\n";

}  // namespace

int main(int argc, char** argv) {
  // Asked on a terminal, these answer there and need no window (and no display).
  if (argc == 2 && (!std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "-h")))
    return std::fputs(kUsage, stdout) < 0;
  if (argc == 2 && !std::strcmp(argv[1], "--version")) return std::puts("kubrix " KUBRIX_VERSION) < 0;
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
