// The CAD buttons and settings dialogs in the main window: an empty store, the hand-over without an
// X11 session (the offscreen platform), the three settings dialogs with their checks, and the
// temporary files deleted at exit. The hand-over itself is tested under Xvfb (tests/cad).
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "app/gui/app_paths.h"
#include "engine/engine.h"
#include "engine/sjis.h"
#include "interaction/qt/beep.h"
#include "output/cad/cad_settings_dialog.h"
#include "output/cad/hand_over.h"
#include "tests/gui/gui_test_support.h"

using namespace kubrix::gui;
using namespace kubrix::gui::test;

class CadTest : public QObject {
  Q_OBJECT
 private slots:
  void buttonsSayWhyNothingIsSent() {
    Window w;
    w->startUp();
    int beeps = kubrix::qt::beepCount();
    for (QPushButton* b : {w->Button3, w->Button4, w->Button5}) {
      QVERIFY(b->isEnabled());
      QTest::mouseClick(b, Qt::LeftButton);
      QCOMPARE(w.messages.last(), u("図形データが生成されていません。"));
    }
    QCOMPARE(kubrix::qt::beepCount(), beeps + 3);
    w.run(u("#VAR\ne\n#DRAW\nLINE e, 0, 0, 0, 1, 0, 0\n"));
    beeps = kubrix::qt::beepCount();
    QTest::mouseClick(w->Button3, Qt::LeftButton);
    // This platform shares no clipboard and has no X11 display to send keys on.
    QCOMPARE(w.messages.last(), QString::fromUtf8(kubrix::cad::kNeedsX11Message));
    QVERIFY(w.messages.last().contains("X11"));
    QCOMPARE(kubrix::qt::beepCount(), beeps + 1);
    QVERIFY(w->Button3->toolTip().contains("X11"));
    QVERIFY(!QFile::exists(w.folder() + "/temp.dxf"));
    // During a run the buttons are off.
    w->Memo2->setPlainText("#WHILE 1\n#END\n");
    QTest::mouseClick(w->Button2, Qt::LeftButton);
    QVERIFY(!w->Button4->isEnabled());
    QVERIFY(w.close());
  }

  void settingsDialogsCheckAndStore() {
    Window w;
    w->startUp();
    w->show();
    struct Case {
      kubrix::cad::TFmSetCad* dialog;
      void (TScrForm::*open)();
      const char* title;
      kubrix::CadSettings* settings;
    };
    const Case cases[] = {{w->FmSetACAD, &TScrForm::MnuSetAcadClick, "AutoCAD出力設定", &w->settings().acad},
                          {w->FmSetGSU6, &TScrForm::MnuSetGsu6Click, "SketchUp6出力設定", &w->settings().gsu6},
                          {w->FmSetGSU7, &TScrForm::MnuSetGsu7Click, "SketchUp7出力設定", &w->settings().gsu7}};
    QStringList refusals;
    for (const Case& c : cases) {
      c.dialog->showMessage = [&refusals](const QString& m) { refusals << m; };
      const std::string command = c.settings->command;
      int beeps = kubrix::qt::beepCount();
      whenModal([&](QWidget* m) {
        QCOMPARE(m, static_cast<QWidget*>(c.dialog));
        auto* d = c.dialog;
        QCOMPARE(d->windowTitle(), u(c.title));
        QCOMPARE(d->Edit1->text(), QString("0.1"));
        QCOMPARE(d->Edit3->text(), QString::fromStdString(command));
        QCOMPARE(d->Edit4->text(), QString("0"));
        QCOMPARE(d->ComboBox1->count(), 5);
        QCOMPARE(d->ComboBox1->itemText(4), u("×10000"));
        QCOMPARE(d->OKBtn->text(), u("ＯＫ (&Y)"));
        QCOMPARE(d->CancelBtn->text(), u("キャンセル(&N)"));
        QVERIFY(d->OKBtn->isDefault());
        QVERIFY(d->Memo1->isReadOnly());
        QVERIFY(d->Memo1->toPlainText().contains("LibreCAD"));
        d->Edit1->setText("60.5");
        QTest::mouseClick(d->OKBtn, Qt::LeftButton);
        QVERIFY(d->isVisible());
        QCOMPARE(QApplication::focusWidget(), d->Edit1);
        d->Edit1->setText("-1");
        QTest::mouseClick(d->OKBtn, Qt::LeftButton);
        d->Edit1->setText("1234567");  // at most 6 characters
        QCOMPARE(d->Edit1->text(), QString("123456"));
        d->Edit1->setText("60");
        d->Edit4->setText("-1");
        QTest::mouseClick(d->OKBtn, Qt::LeftButton);
        QVERIFY(d->isVisible());
        QCOMPARE(QApplication::focusWidget(), d->Edit4);
        d->Edit4->setText("7");
        d->CheckBox1->setChecked(true);
        d->CheckBox2->setChecked(true);
        d->Edit2->setText(u(" 図面 "));
        d->Edit3->setText("^O{10}^A^V{ENTER}");
        d->ComboBox1->setCurrentIndex(3);
        QTest::mouseClick(d->OKBtn, Qt::LeftButton);
      });
      (w.operator->()->*c.open)();
      QCOMPARE(kubrix::qt::beepCount(), beeps + 3);
      QCOMPARE(c.settings->waitSeconds, 60.0);
      QVERIFY(c.settings->maximise && c.settings->numbered);
      QCOMPARE(c.settings->currentNumber, 7);
      QCOMPARE(c.settings->scaleIndex, 3);
      QCOMPARE(QString::fromStdString(kubrix::sjisToUtf8(c.settings->title)), u(" 図面 "));
      QCOMPARE(c.settings->command, std::string("^O{10}^A^V{ENTER}"));
      // Not a number reads as 0 (accepted); cancel keeps everything.
      whenModal([&](QWidget*) {
        c.dialog->Edit1->setText("abc");
        c.dialog->Edit4->setText("x");
        QTest::mouseClick(c.dialog->OKBtn, Qt::LeftButton);
      });
      (w.operator->()->*c.open)();
      QCOMPARE(c.settings->waitSeconds, 0.0);
      QCOMPARE(c.settings->currentNumber, 0);
      whenModal([&](QWidget*) {
        c.dialog->Edit3->setText("changed");
        QTest::mouseClick(c.dialog->CancelBtn, Qt::LeftButton);
      });
      (w.operator->()->*c.open)();
      QCOMPARE(c.settings->command, std::string("^O{10}^A^V{ENTER}"));
    }
    const QStringList perDialog = {u("コマンドキー送信ウエイト時間は、0～60秒以内で入力して下さい。"),
                                   u("コマンドキー送信ウエイト時間は、0～60秒以内で入力して下さい。"),
                                   u("番号は0以上の値で入力して下さい。")};
    QCOMPARE(refusals, perDialog + perDialog + perDialog);
    // The AutoCAD dialog's place goes to the settings file.
    QVERIFY(w->settings().acadDialog.x && w->settings().acadDialog.y);
    QVERIFY(!w->settings().gsu6.title.empty());
  }

  void temporaryFilesOfTheSessionAreDeletedAtExit() {
    QTemporaryDir dir;
    for (const char* f : {"temp.dxf", "temp0.dae", "temp1.dae", "temp5.dxf", "temp9.dae", "keep.dxf"})
      writeFile(dir.filePath(f), "x");
    QCOMPARE(deleteTemporaryCadFiles(dir.path(), {dir.filePath("temp5.dxf"), dir.filePath("gone.dxf")}), 4);
    for (const char* f : {"temp.dxf", "temp0.dae", "temp1.dae", "temp5.dxf"}) QVERIFY2(!QFile::exists(dir.filePath(f)), f);
    QVERIFY(QFile::exists(dir.filePath("temp9.dae")));  // after a gap, and not written in this session
    QVERIFY(QFile::exists(dir.filePath("keep.dxf")));
  }
};

QObject* makeCadTest() { return new CadTest; }

#include "cad_test.moc"
