// What a new user meets in the first minutes: Qt's own buttons in Japanese, a script named at start
// that cannot be opened, the help file beside the program, where the viewer first opens, tables
// that follow the runs, and a refused line setting that says why.
#include <QAction>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QStatusBar>
#include <QTableView>
#include <QTableWidget>

#include "app/gui/desktop_windows.h"
#include "app/gui/qt_translations.h"
#include "app/gui/settings_dialogs.h"
#include "tests/gui/gui_test_support.h"

using namespace kubrix;
using namespace kubrix::gui;
using namespace kubrix::gui::test;

namespace {

// A button's text without its mnemonic: "はい(&Y)" reads "はい".
QString plain(QString text) {
  text.remove(QRegularExpression("\\(&.\\)"));
  text.remove('&');
  return text;
}

QRect globalRect(const QWidget* w) { return QRect(w->mapToGlobal(QPoint(0, 0)), w->size()); }

const char* kTwoLines = "#VAR\ne\n#DRAW\nLINE e, 0, 0, 0, 10, 0, 0\nTEN e, 1, 2, 3\n";

}  // namespace

class NewUserTest : public QObject {
  Q_OBJECT
 private slots:
  void messageBoxButtonsSpeakJapanese() {
    QVERIFY2(installQtTranslations(*QCoreApplication::instance()), "qtbase_ja is not installed (qt6-translations-l10n)");
    QTemporaryDir dir;
    TScrForm form(AppPaths::inFolder(dir.path()));  // its own message boxes, as the program shows them
    QString yes, no;
    whenModal([&](QWidget* m) {
      auto* box = qobject_cast<QMessageBox*>(m);
      QVERIFY(box);
      yes = plain(box->button(QMessageBox::Yes)->text());
      no = plain(box->button(QMessageBox::No)->text());
      box->button(QMessageBox::No)->click();
    });
    QVERIFY(!form.askYesNo(u("終了します。よろしいですか？")));
    QCOMPARE(yes, u("はい"));
    QCOMPARE(no, u("いいえ"));
  }

  void missingScriptAtStartIsReported() {
    Window w;
    w->startUp();
    w->show();
    const QString path = w.folder() + "/none.kx";
    w->startUp(path);
    const QString text = u("スクリプトファイル「%1」が見つかりません。").arg(QDir::toNativeSeparators(path));
    QCOMPARE(w.messages, QStringList{text});
    QCOMPARE(w->statusText(1), text);
    QVERIFY(!w->isRunning());  // nothing to run
    QCOMPARE(w->windowTitle(), QString("Kubrix"));
  }

  void unreadableScriptAtStartIsReportedBeforeItRuns() {
    Window w;
    w->startUp();
    w->show();
    const QString path = w.folder() + "/picture.kx";
    writeFile(path, QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\0\x10", 24));
    QString statusWhileTold;
    w->showMessage = [&](const QString& m) {
      w.messages << m;
      statusWhileTold = w->statusText(1);
    };
    w->startUp(path);
    const QString first = u("スクリプトファイル「%1」を読み込めません。").arg(QDir::toNativeSeparators(path));
    QCOMPARE(w.messages, QStringList{first + u("\nスクリプトとして読めるテキストではありません。")});
    QCOMPARE(statusWhileTold, first);
    w->waitForRun();  // the empty script still runs, as the reset button does
    QCOMPARE(w->statusText(1), u("スクリプトが空状態です。"));
    QVERIFY(w->Memo2->toPlainText().isEmpty());
    QCOMPARE(w->windowTitle(), QString("Kubrix"));
  }

  void helpMenuShowsTheHelpFileBesideTheProgram() {
    Window w;
    DesktopWindows d(*w);
    w->startUp();
    w->MnuHelpScript->trigger();
    QVERIFY(d.help().isVisible());
    QVERIFY2(d.help().RichEdit1->toPlainText().contains(u("★変数")), qPrintable(d.help().StatusBar1->currentMessage()));
    QVERIFY(d.help().StatusBar1->currentMessage().isEmpty());
  }

  void viewerFirstOpensOverTheEditorNotOverMenusAndButtons() {
    Window w;
    DesktopWindows d(*w);
    QStringList viewerMessages;
    d.viewer().ui().message = [&viewerMessages](ViewerUi::Icon, const QString& m) { viewerMessages << m; };
    w->startUp();  // fresh settings: no stored places
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(&*w));
    w.run(kTwoLines);
    QVERIFY(d.viewer().isVisible());
    const QRect viewer = d.viewer().frameGeometry();
    const QRect screen = w->screen()->availableGeometry();
    QVERIFY2(screen.contains(viewer), qPrintable(QString("viewer %1,%2 %3x%4 on screen %5x%6, editor at %7,%8")
                                                     .arg(viewer.x()).arg(viewer.y()).arg(viewer.width()).arg(viewer.height())
                                                     .arg(screen.width()).arg(screen.height())
                                                     .arg(globalRect(w->Memo2).x()).arg(globalRect(w->Memo2).y())));
    QVERIFY(!viewer.intersects(globalRect(w->menuBar())));
    QVERIFY(!viewer.intersects(globalRect(w->Button1->parentWidget())));  // the panel of run buttons
    // The tables and the help window likewise.
    w->MnuViewData->trigger();
    QVERIFY(!d.dataTable().frameGeometry().intersects(globalRect(w->menuBar())));
    QVERIFY(screen.contains(d.dataTable().frameGeometry()));
    // A stored place is kept: a window moved by the user opens there next time.
    d.viewer().move(screen.topLeft() + QPoint(5, 7));
    const QPoint moved = d.viewer().pos();
    w.runAgain();
    QCOMPARE(d.viewer().pos(), moved);
  }

  void openTablesFollowTheRuns() {
    Window w;
    DesktopWindows d(*w);
    d.viewer().ui().message = [](ViewerUi::Icon, const QString&) {};
    w->startUp();
    w->show();
    w.run("#VAR\nn=1;*数\ne\n#DRAW\nTEN e, 1, 2, 3\n");
    w->MnuViewData->trigger();
    w->MnuViewVars->trigger();
    QCOMPARE(d.dataTable().StringGrid1->model()->rowCount(), 1);
    // The next run's results appear without "更新".
    w.run(kTwoLines);
    QCOMPARE(d.dataTable().StringGrid1->model()->rowCount(), 2);
    QCOMPARE(d.dataTable().statusText(),
             u("直線 1，点 1，三角面 0，四角面 0，？ 0　　削除データ含（直線 1，点 1，三角面 0，四角面 0，？ 0）"));
    bool foundN = false;
    for (int r = 0; r < d.variableTable().StringGrid1->rowCount(); ++r) {
      const QTableWidgetItem* item = d.variableTable().StringGrid1->item(r, 1);
      foundN = foundN || (item && item->text() == "n");
    }
    QVERIFY(!foundN);  // the stores were emptied by the reset run
  }

  void refusedLineSettingSaysWhy() {
    Window w;
    w->startUp();
    w->show();
    QString said, saidAfterFix;
    whenModal([&](QWidget* m) {
      auto* dlg = qobject_cast<TSetLine*>(m);
      QVERIFY(dlg);
      QVERIFY(dlg->MessageLabel->text().isEmpty());
      dlg->EditA[0]->setText("300");
      QTest::mouseClick(dlg->OKBtn, Qt::LeftButton);
      QVERIFY(dlg->isVisible());
      said = dlg->MessageLabel->text();
      dlg->EditA[0]->setText("3");
      dlg->Edit2->setText("0");
      QTest::mouseClick(dlg->OKBtn, Qt::LeftButton);
      saidAfterFix = dlg->MessageLabel->text();
      QTest::mouseClick(dlg->CancelBtn, Qt::LeftButton);
    });
    w->MnuSetLineClick();
    QCOMPARE(said, u("外径線のレイヤは 0～255 の整数で入力してください。"));
    QCOMPARE(saidAfterFix, u("曲線区間分割数は 1～1000 の整数で入力してください。"));
  }
};

QObject* makeNewUserTest() { return new NewUserTest; }

#include "new_user_test.moc"
