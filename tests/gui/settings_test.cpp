// Program start and exit: the settings file (every key, garbage, restart), window placement, the
// exit question, temporary files, the line settings and other settings dialogs, and the script
// named on the command line (missing, binary, other extension, protected).
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QTableWidget>

#include "app/gui/settings_dialogs.h"
#include "app/gui/window_place.h"
#include "files/ini_file.h"
#include "files/script_file.h"
#include "engine/engine.h"
#include "geometry/palette.h"
#include "engine/sjis.h"
#include "interaction/qt/beep.h"
#include "interaction/qt/color_dlg1.h"
#include "tests/gui/gui_test_support.h"

using namespace kubrix::gui;
using namespace kubrix::gui::test;

namespace {

kubrix::IniFile iniOf(const QString& folder) {
  return kubrix::IniFile::parse(readFile(folder + "/Kubrix.ini").toStdString());
}

QString key(const kubrix::IniFile& ini, const char* section, const char* k) {
  const auto v = ini.read(section, k, 512);
  return v ? QString::fromStdString(kubrix::sjisToUtf8(*v)) : QString("<missing>");
}

}  // namespace

class SettingsTest : public QObject {
  Q_OBJECT
 private slots:
  void everyKeyIsWrittenAndSurvivesARestart() {
    QTemporaryDir dir;
    writeFile(dir.filePath("Kubrix.ini"),
              kubrix::utf8ToSjis("[Form]\r\nF1X=40\r\nF1Y=30\r\nF1W=700\r\nF1H=500\r\nF2X=5\r\nF2Y=6\r\nF2W=300\r\nF2H=200\r\n"
                                 "FAX=12\r\nFAY=13\r\n"
                                 "[Comp]\r\nSW=222\r\nSW0=61\r\nSW1=62\r\nSW2=63\r\nCB1=1\r\nH2SW16=77\r\n"
                                 "[Fold]\r\nPSNM=山田\r\nDSNM=Taro\r\n"
                                 "[Set]\r\nLLay1=9\r\nLCol2=200\r\nASep=36\r\n"
                                 "[Keys]\r\nACAD_T=\" AutoCAD \"\r\nACAD_W=0.25\r\nGSU7_C=\"@FI \"\r\n"
                                 "[Mine]\r\nOwn=kept\r\n")
                  .c_str());
    {
      Window w(dir.path());
      w->startUp();
      w->show();
      QVERIFY(w->CheckBox1->isChecked());
      QCOMPARE(w->size(), QSize(700, 500));
      QCOMPARE(w->StringGrid1->columnWidth(1), 62);
      QCOMPARE(w->Splitter1->sizes().first(), 222);
      QVERIFY(w->Memo1->toPlainText().contains("  CAL SetLineLay1 = 9\n  CAL SetLineCol1 = 1\n"));
      QVERIFY(w->Memo1->toPlainText().contains("  CAL SetLineCol2 = 200\n"));
      QVERIFY(w->Memo1->toPlainText().endsWith("  CAL SetArcSep = 36\n  CAL SetCrvSep = 10\n  CAL SetCorSep = 5"));
      w->StringGrid1->setColumnWidth(0, 91);
      w->CheckBox1->setChecked(false);
      QVERIFY(w.close());
      QCOMPARE(w.questions, QStringList{u("終了します。よろしいですか？")});
    }
    const kubrix::IniFile ini = iniOf(dir.path());
    const char* present[][2] = {
        {"Form", "F1X"}, {"Form", "F1Y"}, {"Form", "F1W"}, {"Form", "F1H"}, {"Form", "F2W"}, {"Form", "FAX"},
        {"Comp", "SW"}, {"Comp", "SW0"}, {"Comp", "SW1"}, {"Comp", "SW2"}, {"Comp", "CB1"}, {"Comp", "H2SW16"},
        {"Fold", "DAT1"}, {"Fold", "DAT2"}, {"Fold", "PSNM"}, {"Fold", "DSNM"}, {"Fold", "DSUR"},
        {"Set", "LLay7"}, {"Set", "LCol7"}, {"Set", "ASep"}, {"Set", "CSep"}, {"Set", "RSep"},
        {"Keys", "ACAD_B"}, {"Keys", "ACAD_W"}, {"Keys", "ACAD_S"}, {"Keys", "ACAD_N"}, {"Keys", "ACAD_T"},
        {"Keys", "ACAD_C"}, {"Keys", "GSU6_T"}, {"Keys", "GSU6_C"}, {"Keys", "GSU7_W"}, {"Keys", "GSU7_C"},
        {"Mine", "Own"}};
    for (const auto& k : present) QVERIFY2(key(ini, k[0], k[1]) != "<missing>", k[1]);
    QCOMPARE(key(ini, "Comp", "SW0"), QString("91"));
    QCOMPARE(key(ini, "Comp", "CB1"), QString("0"));
    QCOMPARE(key(ini, "Fold", "PSNM"), u("山田"));
    QCOMPARE(key(ini, "Fold", "DSUR"), QString("No Url"));
    QCOMPARE(key(ini, "Set", "LLay1"), QString("9"));
    QCOMPARE(key(ini, "Set", "LCol3"), QString("3"));
    QCOMPARE(key(ini, "Keys", "ACAD_T"), QString(" AutoCAD "));
    QCOMPARE(key(ini, "Keys", "ACAD_W"), QString("0.25"));
    QCOMPARE(key(ini, "Keys", "GSU6_W"), QString("0.1"));
    QCOMPARE(key(ini, "Keys", "GSU7_C"), QString("@FI "));
    QCOMPARE(key(ini, "Keys", "GSU6_C"), QString("@FE{LEFT}{DOWN}{ENTER}{TAB}A~{TAB}^V{ENTER}"));
    QCOMPARE(key(ini, "Form", "F2X"), QString("5"));
    QCOMPARE(key(ini, "Comp", "H2SW16"), QString("77"));
    QVERIFY(readFile(dir.filePath("Kubrix.ini")).contains("ACAD_T=\" AutoCAD \"\r\n"));
    // And once more through a second window.
    Window again(dir.path());
    again->startUp();
    QCOMPARE(QString::fromStdString(kubrix::sjisToUtf8(again->settings().acad.title)), QString(" AutoCAD "));
    QCOMPARE(again->StringGrid1->columnWidth(0), 91);
    QVERIFY(!again->CheckBox1->isChecked());
  }

  void garbageSettingsGiveAUsableWindow() {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const char* files[] = {
        "[Form]\r\nF1X=abc\r\nF1Y=-99999999999\r\nF1W=99999999999999999999\r\nF1H=0x7fffffff\r\n[Comp]\r\nSW=-5\r\nSW0=1e9\r\n"
        "[Set]\r\nASep=abc\r\nLLay1=\r\n[Keys]\r\nACAD_W=nan\r\n",
        "[Form]\r\nF1X=100000\r\nF1Y=-80000\r\nF1W=640\r\nF1H=480\r\n",  // far off screen
        "[Form]\r\nF1X=2147483647\r\nF1Y=2147483647\r\nF1W=2147483647\r\nF1H=2147483647\r\n",
        "\x00\x01\xff\xfe[[[=\r\n=\r\n[Form\r\nF1X",
        ""};
    for (const char* text : files) {
      QTemporaryDir dir;
      writeFile(dir.filePath("Kubrix.ini"), QByteArray(text, static_cast<int>(strlen(text) + (text[0] == 0 ? 20 : 0))));
      Window w(dir.path());
      w->startUp();
      w->show();
      QVERIFY2(screen.contains(QRect(w->pos(), w->size())),
               qPrintable(QString("%1 %2,%3 %4x%5 on %6x%7").arg(text).arg(w->x()).arg(w->y()).arg(w->width()).arg(w->height()).arg(screen.width()).arg(screen.height())));
      QVERIFY(w->width() >= 400 && w->height() >= 300);
      QVERIFY(w->Splitter1->sizes().first() > 0);
      w.run(u("#VAR\ne\n#DRAW\nLINE e, 0, 0, 0, SetArcSep, 1, 0\n"));
      QVERIFY(w.log().contains(u("直線作図")));
    }
  }

  void placementKeepsWindowsReachable() {
    const QList<QRect> screens = {QRect(0, 0, 1280, 1024), QRect(1280, 0, 1920, 1080)};
    QCOMPARE(placeOnScreen(100, 50, 800, 600, screens, {400, 300}, {1000, 700}), QRect(100, 50, 800, 600));
    QCOMPARE(placeOnScreen(1500, 100, 800, 600, screens, {400, 300}, {1000, 700}), QRect(1500, 100, 800, 600));
    QCOMPARE(placeOnScreen(9000, 9000, 800, 600, screens, {400, 300}, {1000, 700}), QRect(240, 212, 800, 600));
    QCOMPARE(placeOnScreen(0, 0, 10, 10, screens, {400, 300}, {1000, 700}), QRect(0, 0, 1000, 700));
    QCOMPARE(placeOnScreen(0, 0, 5000, 5000, screens, {400, 300}, {1000, 700}), QRect(0, 0, 1280, 1024));
    QCOMPARE(placeOnScreen(1000, 900, 800, 600, screens, {400, 300}, {1000, 700}), QRect(480, 424, 800, 600));
    QCOMPARE(placeOnScreen(INT_MAX, INT_MIN, INT_MAX, INT_MAX, screens, {400, 300}, {1000, 700}), QRect(0, 0, 1280, 1024));
  }

  void exitQuestionAndTemporaryFiles() {
    Window w;
    w->startUp();
    w->show();
    for (const char* f : {"temp.dxf", "temp.dae", "temp0.dxf", "temp1.dxf", "temp3.dxf"}) writeFile(w.folder() + "/" + f, "x");
    w.answerYes = false;
    QVERIFY(!w->close());
    QVERIFY(w->isVisible());
    QVERIFY(QFile::exists(w.folder() + "/temp.dxf"));
    QVERIFY(!QFile::exists(w.folder() + "/Kubrix.ini"));
    QVERIFY(w.close());
    for (const char* f : {"temp.dxf", "temp.dae", "temp0.dxf", "temp1.dxf"}) QVERIFY2(!QFile::exists(w.folder() + "/" + f), f);
    QVERIFY(QFile::exists(w.folder() + "/temp3.dxf"));  // after a gap the numbered files are left
    QVERIFY(QFile::exists(w.folder() + "/Kubrix.ini"));
  }

  void closingDuringARunEndsTheRun() {
    Window w;
    w->startUp();
    w->show();
    w->Memo2->setPlainText("#WHILE 1\n#END\n");
    QTest::mouseClick(w->Button2, Qt::LeftButton);
    QVERIFY(w->isRunning());
    QVERIFY(w.close());
    QVERIFY(!w->isRunning());
  }

  void lineSettingsAreCheckedAndRewriteTheHeader() {
    Window w;
    w->startUp();
    w->show();
    const int beeps = kubrix::qt::beepCount();
    whenModal([&](QWidget* m) {
      auto* d = qobject_cast<TSetLine*>(m);
      QVERIFY(d);
      QCOMPARE(d->windowTitle(), u("線設定"));
      QCOMPARE(d->EditB[6]->text(), QString("7"));
      QCOMPARE(QApplication::focusWidget(), d->EditA[0]);
      d->EditA[2]->setText("256");
      d->EditB[1]->setText("0");
      QTest::mouseClick(d->OKBtn, Qt::LeftButton);
      QVERIFY(d->isVisible());
      QCOMPARE(QApplication::focusWidget(), d->EditB[1]);  // row 2's colour comes before row 3's layer
      d->EditB[1]->setText("x");
      QTest::mouseClick(d->OKBtn, Qt::LeftButton);
      QCOMPARE(QApplication::focusWidget(), d->EditB[1]);  // no integer: 0
      d->EditB[1]->setText("12");
      QTest::mouseClick(d->OKBtn, Qt::LeftButton);
      QCOMPARE(QApplication::focusWidget(), d->EditA[2]);
      d->EditA[2]->setText("255");
      d->Edit1->setText("2");
      QTest::mouseClick(d->OKBtn, Qt::LeftButton);
      QCOMPARE(QApplication::focusWidget(), d->Edit1);
      d->Edit1->setText("1000");
      d->Edit3->setText("501");
      QTest::mouseClick(d->OKBtn, Qt::LeftButton);
      QCOMPARE(QApplication::focusWidget(), d->Edit3);
      d->Edit3->setText("500");
      // The colour button opens the picker with the row's colour.
      whenModal([](QWidget* p) {
        auto* picker = qobject_cast<kubrix::qt::TColorDlg1*>(p);
        QVERIFY(picker);
        QCOMPARE(picker->Label3->text(), QString("4"));
        const QPoint c = kubrix::qt::ColorChart::cellOf(100);
        QTest::mouseClick(picker->Image1, Qt::LeftButton, {}, QPoint(c.x() * 20 + 3, c.y() * 18 + 3));
        QTest::mouseClick(picker->OKBtn, Qt::LeftButton);
      });
      QTest::mouseClick(d->ColorBtn[3], Qt::LeftButton);
      QCOMPARE(d->EditB[3]->text(), QString("100"));  // a colour of its own in the palette
      QTest::mouseClick(d->OKBtn, Qt::LeftButton);
    });
    w->MnuSetLineClick();
    QCOMPARE(w->statusText(1), u("線設定を行います。"));
    QCOMPARE(kubrix::qt::beepCount(), beeps + 5);
    QCOMPARE(w->settings().lineColour[1], 12);
    QCOMPARE(w->settings().lineLayer[2], 255);
    QCOMPARE(w->settings().lineColour[3], 100);
    QCOMPARE(w->settings().arcSegments, 1000);
    QCOMPARE(w->settings().cornerSegments, 500);
    QVERIFY(w->Memo1->toPlainText().contains("  CAL SetLineCol4 = 100\n"));
    // The figure store was empty: no run.
    QVERIFY(w.log().isEmpty());
    QCOMPARE(w->statusText(1), u("線設定を行います。"));

    // With figures, a confirmed change runs the script again with the new header.
    w.run(u("#VAR\ne\n#DRAW\nLINE e, 0, 0, 0, SetArcSep, 0, 0\n"));
    whenModal([](QWidget* m) {
      auto* d = qobject_cast<TSetLine*>(m);
      d->Edit1->setText("24");
      QTest::mouseClick(d->OKBtn, Qt::LeftButton);
    });
    w->MnuSetLineClick();
    w->waitForRun();
    QVERIFY(w.log().contains(u("直線作図 (<1> 0,0,0 - 24,0,0)")));
    // Cancel keeps everything.
    whenModal([](QWidget* m) {
      auto* d = qobject_cast<TSetLine*>(m);
      d->Edit1->setText("99");
      QTest::mouseClick(d->CancelBtn, Qt::LeftButton);
    });
    w->MnuSetLineClick();
    QCOMPARE(w->settings().arcSegments, 24);
  }

  void otherSettingsDialog() {
    Window w;
    w->startUp();
    whenModal([](QWidget* m) {
      auto* d = qobject_cast<TSetElse*>(m);
      QVERIFY(d);
      QCOMPARE(d->windowTitle(), u("その他の設定"));
      QCOMPARE(d->Edit1->text(), QString("---"));
      QCOMPARE(d->Edit2->text(), QString("No Name"));
      d->Edit1->clear();
      d->Edit2->setText(u("山田 太郎"));
      d->Edit3->setText(QString(200, 'u'));
      QCOMPARE(d->Edit3->text().size(), 128);
      QTest::mouseClick(d->OKBtn, Qt::LeftButton);
    });
    w->MnuSetElseClick();
    QCOMPARE(w->statusText(1), u("その他の設定を行います。"));
    QCOMPARE(w->settings().personalName, std::string("---"));
    QCOMPARE(QString::fromStdString(kubrix::sjisToUtf8(w->settings().authorName)), u("山田 太郎"));
    QCOMPARE(w->settings().authorUrl, std::string(128, 'u'));
  }

  void commandLineFiles() {
    QTemporaryDir dir;
    const int beeps = kubrix::qt::beepCount();
    {  // missing: nothing runs; the window says so
      Window w;
      w->startUp(dir.filePath("none.kx"));
      QVERIFY(!w->isRunning());
      QCOMPARE(w->statusText(1), u("スクリプトファイル「%1」が見つかりません。").arg(dir.filePath("none.kx")));
      QCOMPARE(w.messages.size(), 1);
    }
    {  // binary: not loaded, the empty editor runs and beeps
      writeFile(dir.filePath("bin.kx"), QByteArray("\x00\x01\x02\x03\x04\x05\x06\x07", 8).repeated(100));
      Window w;
      w->startUp(dir.filePath("bin.kx"));
      w->waitForRun();
      QCOMPARE(w->windowTitle(), QString("Kubrix"));
      QCOMPARE(w->Memo2->toPlainText(), QString());
      QCOMPARE(w->statusText(1), u("スクリプトが空状態です。"));
      QCOMPARE(kubrix::qt::beepCount(), beeps + 1);
    }
    {  // another extension: not loaded, still run
      writeFile(dir.filePath("a.txt"), "#VAR\ne\n#DRAW\nLINE e, 0, 0, 0, 1, 0, 0\n");
      Window w;
      w->startUp(dir.filePath("a.txt"));
      w->waitForRun();
      QCOMPARE(w->Memo2->toPlainText(), QString());
      QCOMPARE(kubrix::qt::beepCount(), beeps + 2);
      QCOMPARE(QString::fromStdString(w->settings().openFolder), dir.path());
    }
    {  // Shift-JIS with CR LF, upper-case extension
      writeFile(dir.filePath("B.KX"), kubrix::utf8ToSjis("#VAR\r\nd=3;*長さ\r\ne\r\n#DRAW\r\nLINE e, 0, 0, 0, d, 0, 0\r\n").c_str());
      Window w;
      w->startUp(dir.filePath("B.KX"));
      w->waitForRun();
      QCOMPARE(w->windowTitle(), "Kubrix - " + dir.filePath("B.KX"));
      QCOMPARE(w->Memo2->toPlainText(), u("#VAR\nd=3;*長さ\ne\n#DRAW\nLINE e, 0, 0, 0, d, 0, 0\n"));
      QCOMPARE(w->StringGrid1->item(0, 0)->text(), u("*長さ"));
      QCOMPARE(w.viewerShown, 1);
    }
    {  // protected: editor and log hidden, the script runs
      const std::string kxp = *kubrix::writeProtectedScript("c", "me", {"#VAR", "e", "#DRAW", "LINE e, 0, 0, 0, 2, 0, 0"});
      writeFile(dir.filePath("p.kxp"), QByteArray(kxp.data(), static_cast<int>(kxp.size())));
      Window w;
      w->startUp(dir.filePath("p.kxp"));
      w->show();
      w->waitForRun();
      QVERIFY(w->Memo2->isHidden());
      QVERIFY(w->MemoLog->isHidden());
      QCOMPARE(w->engine().figures.count(), size_t{1});
      QCOMPARE(w->windowTitle(), "Kubrix - " + dir.filePath("p.kxp"));
    }
    {  // a protected file without its marker: nothing loaded, editor stays hidden
      writeFile(dir.filePath("q.kxp"), "#VAR\n");
      Window w;
      w->startUp(dir.filePath("q.kxp"));
      w->waitForRun();
      QVERIFY(w->Memo2->isHidden());
      QCOMPARE(w->windowTitle(), QString("Kubrix"));
    }
  }
};

QObject* makeSettingsTest() { return new SettingsTest; }

#include "settings_test.moc"
