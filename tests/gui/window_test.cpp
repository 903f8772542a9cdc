// The main window: its parts and captions, runs on the worker thread (status texts, cursor, log,
// grid, beep, viewer hook), Escape, the log switch and a long log.
#include <QAction>
#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QTextBlock>
#include <thread>

#include "app/gui/log_pump.h"
#include "engine/engine.h"
#include "interaction/qt/beep.h"
#include "tests/gui/gui_test_support.h"

using namespace kubrix::gui;
using namespace kubrix::gui::test;

namespace {

const char* kLine =
    "#VAR\n"
    "d=10;*直径\n"
    "e\n"
    "#DRAW\n"
    "LINE e, 0, 0, 0, d, 0, 0\n";

const QRegularExpression kFinished(u("^スクリプト終了しました。（\\d\\d:\\d\\d:\\d\\d\\.\\d\\d\\d）$"));

}  // namespace

class WindowTest : public QObject {
  Q_OBJECT
 private slots:
  void partsAndCaptions() {
    Window w;
    w->startUp();
    QCOMPARE(w->windowTitle(), QString("Kubrix"));
    QCOMPARE(w->Button1->text(), u("標準値に戻す"));
    QCOMPARE(w->Button2->text(), u("実　行"));
    QCOMPARE(w->CheckBox1->text(), u("Log出力をしない"));
    QCOMPARE(w->Button3->text(), u("ACAD出力"));
    QCOMPARE(w->Button4->text(), u("SU 出力"));
    QCOMPARE(w->Button5->text(), u("GSU7 出力"));
    QCOMPARE(w->PageControl1->tabPosition(), QTabWidget::South);
    QCOMPARE(w->PageControl1->tabText(0), QString("Run"));
    QCOMPARE(w->PageControl1->tabText(1), QString("Log"));
    QCOMPARE(w->StringGrid1->columnCount(), 3);
    QCOMPARE(w->StringGrid1->horizontalHeaderItem(0)->text(), u("諸元名"));
    QCOMPARE(w->StringGrid1->horizontalHeaderItem(1)->text(), u("変数名"));
    QCOMPARE(w->StringGrid1->horizontalHeaderItem(2)->text(), u("変数値"));
    QCOMPARE(w->StringGrid1->rowCount(), 1);
    QVERIFY(w->Memo1->isReadOnly());
    QVERIFY(!w->Memo2->isReadOnly());
    QVERIFY(w->MemoLog->isReadOnly());
    QCOMPARE(w->Memo2->lineWrapMode(), QPlainTextEdit::NoWrap);
    QCOMPARE(w->StatusPanel0->width(), 120);

    // Every menu item, in order, with its state: the commands that join later are disabled.
    QStringList items;
    for (QAction* menu : w->menuBar()->actions()) {
      items << menu->text();
      for (QAction* a : menu->menu()->actions())
        items << (a->isSeparator() ? QString("-") : QString("  %1%2").arg(a->text(), a->isEnabled() ? "" : " (off)"));
    }
    const QStringList expected = {
        u("ファイル(&F)"), u("  新規作成(&N)"), u("  開く(&O)..."), u("  名前を付けて保存(&A)..."),
        u("  上書き保存(&S)"), "-", u("  閉じる(&C)"),
        u("編集(&E)"), u("  元に戻す(&U)"), u("  切り取り(&T)"), u("  コピー(&C)"), u("  貼り付け(&P)"), u("  削除(&L)"),
        u("  検索(&F)..."), u("  置換(&R)..."), u("  すべて選択(&A)"),
        u("表示(&V)"), u("  変数表(&V) (off)"), u("  データ表(&D) (off)"),
        u("設定(&S)"), u("  線設定(&L)..."), u("  その他の設定(&E)..."), "-", u("  AutoCAD出力設定(&A)..."),
        u("  SketchUp6出力設定(&G)..."), u("  SketchUp7出力設定(&7)..."),
        u("ヘルプ(&H)"), u("  スクリプト仕様について(&S)... (off)"), u("  このアプリケーションについて(&A)...")};
    QCOMPARE(items, expected);
    QCOMPARE(w->MnuEditFind->shortcut(), QKeySequence("Ctrl+F"));
    QCOMPARE(w->MnuEditReplace->shortcut(), QKeySequence("Ctrl+H"));
    QCOMPARE(w->MnuEditReplace->objectName(), QString("MnuEditReplace"));
    // The header: 17 declarations and 17 CAL lines from the default line settings.
    const QStringList header = w->Memo1->toPlainText().split('\n');
    QCOMPARE(header.size(), 36);
    QCOMPARE(header.first(), QString("#VAR"));
    QCOMPARE(header.at(18), QString("#DRAW"));
    QCOMPARE(header.last(), QString("  CAL SetCorSep = 5"));
  }

  void runShowsLogGridStatusAndTheViewer() {
    Window w;
    w->startUp();
    w->show();
    w->PageControl1->setCurrentIndex(1);
    w.run(u(kLine));
    QCOMPARE(w->PageControl1->currentWidget(), w->TabRun);
    QVERIFY2(kFinished.match(w->statusText(1)).hasMatch(), qPrintable(w->statusText(1)));
    QCOMPARE(w->statusText(0), QString());
    QCOMPARE(w.log() + "\n", headlessLog(u(kLine)));
    QVERIFY(w.log().contains(u("     4: 直線作図 (<1> 0,0,0 - 10,0,0)")));
    QCOMPARE(w->StringGrid1->rowCount(), 1);
    QCOMPARE(w->StringGrid1->item(0, 0)->text(), u("*直径"));
    QCOMPARE(w->StringGrid1->item(0, 1)->text(), QString("d"));
    QCOMPARE(w->StringGrid1->item(0, 2)->text(), QString("10"));
    QCOMPARE(w.viewerShown, 1);
    QVERIFY(!QApplication::overrideCursor());
    QVERIFY(w->Button2->isEnabled());

    // A second run keeps the store: the declaration is reported as existing.
    w.runAgain(false);
    QVERIFY(w.log().contains(u("     1: 変数「d」は既に定義されています。")));
    QCOMPARE(w.viewerShown, 2);
  }

  void emptyScriptBeepsAndDoesNotShowTheViewer() {
    Window w;
    w->startUp();
    w.run(u(kLine));
    const int beeps = kubrix::qt::beepCount();
    w.run(u(" 　\n\t\n"));
    QCOMPARE(w->statusText(1), u("スクリプトが空状態です。"));
    QCOMPARE(w.log(), QString());
    QCOMPARE(w->StringGrid1->rowCount(), 1);
    QCOMPARE(w->StringGrid1->item(0, 0)->text(), QString());
    QCOMPARE(w->engine().figures.count(), size_t{0});
    QCOMPARE(kubrix::qt::beepCount(), beeps + 1);
    QCOMPARE(w.viewerShown, 1);
    // A script that draws nothing beeps too.
    w.run(u("#VAR\nx=1\n"));
    QCOMPARE(kubrix::qt::beepCount(), beeps + 2);
  }

  void escapeEndsAnEndlessLoopWhileTheWindowKeepsWorking() {
    Window w;
    w->startUp();
    w->show();
    w->Memo2->setPlainText(u("#VAR\ni=0\n#DRAW\n#WHILE 1\n  CAL i=i+1\n#END\n"));
    w->CheckBox1->setChecked(true);
    QTest::mouseClick(w->Button2, Qt::LeftButton);
    QVERIFY(w->isRunning());
    QCOMPARE(w->statusText(1), u("スクリプト実行中です。（[ESC]：中断）"));
    QVERIFY(QApplication::overrideCursor());
    QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    QVERIFY(!w->Button2->isEnabled());
    // The user-interface thread goes on: timers fire and the editor takes keys during the run.
    int ticks = 0;
    QTimer t;
    connect(&t, &QTimer::timeout, [&] { ++ticks; });
    t.start(5);
    QTRY_VERIFY(ticks >= 5);
    QTest::keyClicks(w->Memo2, "abc");
    QVERIFY(w->isRunning());
    // A click on the run button does nothing while running.
    w->Button2Click();
    QTest::keyClick(w->Memo2, Qt::Key_Escape);
    w->waitForRun();
    QVERIFY(!w->isRunning());
    QVERIFY(kFinished.match(w->statusText(1)).hasMatch());
    QVERIFY(w->engine().vars.value(static_cast<size_t>(w->engine().vars.find("i"))) != "0");
    QVERIFY(!QApplication::overrideCursor());
  }

  void logOffWritesNoLog() {
    Window w;
    w->startUp();
    w->CheckBox1->setChecked(true);
    w.run(u(kLine));
    QCOMPARE(w.log(), QString());
    QCOMPARE(w->engine().figures.count(), size_t{1});
    w->CheckBox1->setChecked(false);
    w.runAgain();
    QCOMPARE(w.log().count('\n'), 2);
  }

  void longLogReachesTheViewInBlocks() {
    Window w;
    w->startUp();
    w->show();
    // 3 log lines per pass: 60,002 lines in all.
    const QString script = u("#VAR\ni=0\n#DRAW\n#WHILE i<20000\n  CAL i=i+1\n#END\n");
    w->Memo2->setPlainText(script);
    QTest::mouseClick(w->Button1, Qt::LeftButton);
    w->waitForRun();
    const QString log = w.log();
    QCOMPARE(log.count('\n') + 1, 60002);
    QCOMPARE(log + "\n", headlessLog(script));
    QVERIFY(!w->logPump().hasPending());
  }

  void logViewKeepsTheNewestLinesWhenFull() {
    QPlainTextEdit view;
    LogPump pump(&view, 100);
    std::string block;
    for (int i = 0; i < 250; ++i) block += std::to_string(i) + "\n";
    pump.push(block.substr(0, 400));
    pump.push(block.substr(400));
    pump.drainAll();
    QCOMPARE(view.document()->blockCount(), 100);
    QCOMPARE(view.document()->firstBlock().text(), QString("150"));
    QCOMPARE(view.document()->lastBlock().text(), QString("249"));
    // Blocks pushed from another thread arrive through the event loop.
    std::thread worker([&] { pump.push("250\n251\n"); });
    worker.join();
    QTRY_COMPARE(view.document()->lastBlock().text(), QString("251"));
  }

  void exampleFromTheExamplesFolderRunsLikeTheHeadlessRunner() {
    Window w;
    w->startUp(QString(KUBRIX_EXAMPLES_DIR) + "/house.kx");
    w->waitForRun();
    QCOMPARE(w->windowTitle(), "Kubrix - " + QString(KUBRIX_EXAMPLES_DIR) + "/house.kx");
    QCOMPARE(w.log() + "\n", headlessLog(QString::fromUtf8(readFile(QString(KUBRIX_EXAMPLES_DIR) + "/house.kx"))));
    QVERIFY(w->engine().figures.count() > 0);
    QCOMPARE(w.viewerShown, 1);
  }
};

QObject* makeWindowTest() { return new WindowTest; }

#include "window_test.moc"
