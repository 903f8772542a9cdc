// Takes the pictures of scripts/screenshots.sh: the main window after a run of an example, the line
// settings dialog and the colour picker, the CAD settings and comment dialogs, the 3D viewer, the
// variable and data tables, the help window and the exit question (a message box with Qt's buttons),
// each grabbed from the screen (run it on an X display, e.g. under xvfb-run with the xcb platform).
// Usage: kubrix_screenshots OUTPUT_FOLDER SCRIPT
#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

#include "app/gui/desktop_windows.h"
#include "app/gui/qt_translations.h"
#include "app/gui/scr_form.h"
#include "app/gui/script_file_dialogs.h"
#include "app/gui/settings_dialogs.h"
#include "interaction/qt/color_dlg1.h"

namespace {

// Grabs the window from the screen; fromWidget renders the widget itself instead (for windows that
// may lie under others on a display without a window manager).
bool save(QWidget* w, const QString& path, bool fromWidget = false) {
  QApplication::processEvents();
  const QRect r = w->frameGeometry();
  QPixmap shot = fromWidget ? QPixmap() : w->screen()->grabWindow(0, r.x(), r.y(), r.width(), r.height());
  if (shot.isNull()) shot = w->grab();
  const bool ok = shot.save(path);
  printf("%s %s (%dx%d)\n", ok ? "wrote" : "could not write", qPrintable(path), shot.width(), shot.height());
  return ok;
}

// Grabs the modal dialog once it is painted, then closes it.
void grabModal(const QString& path, bool& ok) {
  QTimer::singleShot(600, [path, &ok] {
    if (QWidget* m = QApplication::activeModalWidget()) {
      ok = save(m, path) && ok;
      static_cast<QDialog*>(m)->reject();
    } else {
      ok = false;
    }
  });
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  kubrix::gui::installQtTranslations(app);
  if (argc < 3) {
    fprintf(stderr, "usage: kubrix_screenshots OUTPUT_FOLDER SCRIPT\n");
    return 2;
  }
  const QString out = QString::fromLocal8Bit(argv[1]);
  QDir().mkpath(out);
  QTemporaryDir settings;
  kubrix::gui::TScrForm w(kubrix::gui::AppPaths::inFolder(settings.path()));
  kubrix::gui::DesktopWindows windows(w);
  const auto askExit = w.askYesNo;  // the program's own question box, pictured below
  w.askYesNo = [](const QString&) { return true; };
  w.startUp();
  w.resize(1100, 720);
  w.move(20, 20);
  w.show();
  w.startUp(QString::fromLocal8Bit(argv[2]));
  w.waitForRun();
  windows.viewer().move(1140, 20);  // beside the main window, so both pictures are whole
  bool ok = true;
  QTimer::singleShot(500, [&] {
    ok = save(&w, out + "/main-window.png") && ok;
    w.PageControl1->setCurrentWidget(w.TabLog);
    QTimer::singleShot(300, [&] {
      ok = save(&w, out + "/main-window-log.png") && ok;
      w.PageControl1->setCurrentWidget(w.TabRun);
      grabModal(out + "/line-settings.png", ok);
      w.MnuSetLineClick();
      grabModal(out + "/colour-picker.png", ok);
      w.ColorDlg1->colourIndex = 5;
      w.ColorDlg1->execute();
      grabModal(out + "/other-settings.png", ok);
      w.MnuSetElseClick();
      grabModal(out + "/cad-settings.png", ok);
      w.MnuSetAcadClick();
      grabModal(out + "/comment-dialog.png", ok);
      QString comment;
      w.Form2->execute(comment);
      windows.viewer().raise();
      QTimer::singleShot(500, [&] {
        ok = save(&windows.viewer(), out + "/viewer.png") && ok;
        w.MnuViewVars->trigger();
        w.MnuViewData->trigger();
        w.MnuHelpScript->trigger();
        QTimer::singleShot(500, [&] {
          ok = save(&windows.variableTable(), out + "/variable-table.png", true) && ok;
          ok = save(&windows.dataTable(), out + "/data-table.png", true) && ok;
          ok = save(&windows.help(), out + "/help.png", true) && ok;
          grabModal(out + "/exit-question.png", ok);
          askExit(QString::fromUtf8("終了します。よろしいですか？"));
          w.close();
          app.exit(ok ? 0 : 1);
        });
      });
    });
  });
  return app.exec();
}
