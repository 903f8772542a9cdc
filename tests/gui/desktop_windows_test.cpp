// The secondary windows joined to the main window: the viewer opens after a run that left figures
// and is closed before the next run, the View and Help menus show the tables and the help, and the
// windows' places travel through the settings file with the main window's.
#include <QAction>
#include <QMenuBar>
#include <QScreen>
#include <QPlainTextEdit>
#include <QTableWidget>

#include "app/gui/desktop_windows.h"
#include "tests/gui/gui_test_support.h"

using namespace kubrix;
using namespace kubrix::gui;
using namespace kubrix::gui::test;

namespace {

// Offscreen there is no OpenGL: the viewer says so in a message, which the tests record.
void quietViewer(DesktopWindows& d, QStringList& messages) {
  d.viewer().ui().message = [&messages](ViewerUi::Icon, const QString& m) { messages << m; };
}

}  // namespace

class DesktopWindowsTest : public QObject {
  Q_OBJECT
 private slots:
  void viewerFollowsTheRuns() {
    Window w;
    DesktopWindows d(*w);
    QStringList viewerMessages;
    quietViewer(d, viewerMessages);
    w->startUp();
    w->show();
    w.run("#VAR\ne\n#DRAW\nLINE e, 0, 0, 0, 10, 0, 0\n");
    QVERIFY(d.viewer().isVisible());
    QCOMPARE(d.viewer().viewScale(), 10.0);
    // A run that draws nothing closes the viewer and leaves it closed.
    w.run("#VAR\ne\n#DRAW\n");
    QVERIFY(!d.viewer().isVisible());
  }

  void menusShowTheTablesAndTheHelp() {
    Window w;
    DesktopWindows d(*w);
    QStringList viewerMessages;
    quietViewer(d, viewerMessages);
    w->startUp();
    QVERIFY(w->MnuViewVars->isEnabled());
    QVERIFY(w->MnuViewData->isEnabled());
    QVERIFY(w->MnuHelpScript->isEnabled());
    w.run("#VAR\nn=2\ne\n#LIST\nL=1,2,3\n#DRAW\nTEN e, 1, 2, 3\nTEN e, 4, 5, 6\nLINE e, 0, 0, 0, 1, 0, 0\n");
    w->MnuViewData->trigger();
    QVERIFY(d.dataTable().isVisible());
    QCOMPARE(d.dataTable().statusText(),
             u("直線 1，点 2，三角面 0，四角面 0，？ 0　　削除データ含（直線 1，点 2，三角面 0，四角面 0，？ 0）"));
    w->MnuViewVars->trigger();
    QVERIFY(d.variableTable().isVisible());
    bool foundN = false;
    for (int r = 0; r < d.variableTable().StringGrid1->rowCount(); ++r) {
      const QTableWidgetItem* item = d.variableTable().StringGrid1->item(r, 1);
      foundN = foundN || (item && item->text() == "n");
    }
    QVERIFY(foundN);
    w->MnuHelpScript->trigger();
    QVERIFY(d.help().isVisible());
    // Closing the program closes them all.
    QVERIFY(w.close());
    QVERIFY(!d.dataTable().isVisible());
    QVERIFY(!d.variableTable().isVisible());
    QVERIFY(!d.help().isVisible());
  }

  void placesSurviveARestart() {
    QTemporaryDir dir;
    {
      Window w(dir.path());
      DesktopWindows d(*w);
      w->startUp();
      d.dataTable().setGeometry(31, 42, 640, 380);
      d.dataTable().show();
      QVERIFY(w.close());
    }
    const QByteArray ini = readFile(dir.path() + "/Kubrix.ini");
    QVERIFY2(ini.contains("F4W=640"), ini.constData());
    {
      Window w(dir.path());
      DesktopWindows d(*w);
      w->startUp();
      QCOMPARE(d.dataTable().width(), 640);
      QCOMPARE(d.dataTable().height(), 380);
    }
  }

  // The help window was never opened in the first session: on the next start it still opens over the
  // editor, not in the top-left corner of the screen over the main window's menus.
  void aWindowNeverShownStillOpensOverTheEditorAfterARestart() {
    QTemporaryDir dir;
    {
      Window w(dir.path());
      DesktopWindows d(*w);
      w->startUp();
      w->show();
      QVERIFY(QTest::qWaitForWindowExposed(&*w));
      QVERIFY(w.close());
    }
    QVERIFY(readFile(dir.path() + "/Kubrix.ini").contains("F5X="));  // every layout key is still written
    {
      Window w(dir.path());
      DesktopWindows d(*w);
      w->startUp();
      w->show();
      QVERIFY(QTest::qWaitForWindowExposed(&*w));
      w->MnuHelpScript->trigger();
      const QRect help = d.help().frameGeometry();
      const QRect menus(w->menuBar()->mapToGlobal(QPoint(0, 0)), w->menuBar()->size());
      QVERIFY2(!help.intersects(menus), qPrintable(QString("help at %1,%2").arg(help.x()).arg(help.y())));
      QVERIFY(w->screen()->availableGeometry().contains(help.topLeft()));
    }
  }
};

QObject* makeDesktopWindowsTest() { return new DesktopWindowsTest; }

#include "desktop_windows_test.moc"
