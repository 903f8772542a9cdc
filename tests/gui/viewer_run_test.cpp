// The main window with a real viewer (an X display with OpenGL: Xvfb and Mesa): a large drawing is
// compiled for the viewer in parts with its progress in the status bar, Escape leaves the viewer
// closed for that run, and the next run gives the store's memory back first.
#include <QCheckBox>
#include <QPlainTextEdit>
#include <QRegularExpression>

#include "app/gui/desktop_windows.h"
#include "output/viewer/gl_support.h"
#include "engine/engine.h"
#include "tests/gui/gui_test_support.h"

using namespace kubrix;
using namespace kubrix::gui;
using namespace kubrix::gui::test;

namespace {

const char* kManyLines =
    "#VAR\n"
    "i\n"
    "e\n"
    "#DRAW\n"
    "CAL i=0\n"
    "#WHILE i<20000\n"
    "  LINE e, 0, 0, 0, i, 1, 0\n"
    "  CAL i=i+1\n"
    "#END\n";

}  // namespace

class ViewerRunTest : public QObject {
  Q_OBJECT
 private slots:
  void largeDrawingCountsItsListsAndEscapeSkipsTheViewer() {
    if (!viewer::openGlUsable()) QSKIP("needs an X display with OpenGL");
    Window w;
    DesktopWindows d(*w);
    d.viewer().ui().message = [](ViewerUi::Icon, const QString& m) { QFAIL(qPrintable(m)); };
    d.viewer().setListPart(400);
    w->startUp();
    w->show();
    w->CheckBox1->setChecked(true);  // no log: the run is quick
    QStringList shown;
    int ends = 0;
    connect(&d.viewer(), &TScrScreen::listsProgress, this, [&] { shown << w->statusText(1); });
    connect(&d.viewer(), &TScrScreen::listsEnded, this, [&] { ++ends; });

    w.run(kManyLines);
    QVERIFY(d.viewer().isVisible());
    QVERIFY(!d.viewer().listsBuilt());
    QTRY_COMPARE_WITH_TIMEOUT(ends, 1, 20000);
    QVERIFY(d.viewer().listsBuilt());
    QVERIFY(shown.size() >= 10);
    QCOMPARE(shown.first(), u("表示データを作成中です。0%（[ESC]：表示しない）"));
    QVERIFY(shown.last().contains(QRegularExpression(u("^表示データを作成中です。9\\d%"))));
    // The run's own status comes back.
    QVERIFY2(w->statusText(1).contains(QRegularExpression(u("^スクリプト終了しました。（[0-9:.]+）$"))),
             qPrintable(w->statusText(1)));

    // Escape while the lists are compiled: the viewer stays closed, the store keeps the figures.
    const qsizetype reported = shown.size();
    w.runAgain();
    QVERIFY(d.viewer().isVisible());
    QTRY_VERIFY(shown.size() > reported);  // the build is under way
    QTest::keyClick(w->Memo2, Qt::Key_Escape);
    QVERIFY(!d.viewer().isVisible());
    QCOMPARE(ends, 2);
    QCOMPARE(w->statusText(1), u("3D表示を中止しました。"));
    QCOMPARE(w->engine().figures.count(), size_t{20000});

    // The next run gives the store's memory back before it starts.
    QVERIFY(w->engine().figures.elements().capacity() >= 20000);
    w.run("#VAR\ne\n#DRAW\n");
    QCOMPARE(w->engine().figures.elements().capacity(), size_t{0});
    QVERIFY(!d.viewer().isVisible());
  }
};

QObject* makeViewerRunTest() { return new ViewerRunTest; }

#include "viewer_run_test.moc"
