// The dialogs the grid and the line settings use: TInputDlg1, TInputDlg2, TInputDlg4 and the
// colour picker TColorDlg1, and the about box.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/gui/settings_dialogs.h"
#include "geometry/palette.h"
#include "interaction/qt/beep.h"
#include "interaction/qt/color_dlg1.h"
#include "interaction/qt/input_dlg1.h"
#include "interaction/qt/input_dlg2.h"
#include "interaction/qt/input_dlg4.h"
#include "tests/gui/gui_test_support.h"

using namespace kubrix::gui::test;
using namespace kubrix::qt;

class DialogsTest : public QObject {
  Q_OBJECT
 private slots:
  void inputDlg1() {
    TInputDlg1 d;
    QCOMPARE(d.OKBtn->text(), u("OK (&Y)"));
    QCOMPARE(d.CancelBtn->text(), u("キャンセル (&N)"));
    QVERIFY(d.OKBtn->isDefault());
    whenModal([&](QWidget*) {
      QCOMPARE(d.windowTitle(), u("数値入力"));
      QCOMPARE(d.Edit1->selectedText(), QString("7"));
      QTest::keyClicks(d.Edit1, "12");
      QTest::keyClick(d.Edit1, Qt::Key_Return);  // the default button
    });
    QString value = "7";
    QVERIFY(d.ask(u("数値入力"), u("長さ"), value, 32));
    QCOMPARE(value, QString("12"));
    // A length outside 1..255 is no limit.
    whenModal([&](QWidget*) {
      d.Edit1->setText(QString(300, 'a'));
      QTest::mouseClick(d.OKBtn, Qt::LeftButton);
    });
    QVERIFY(d.ask("x", "y", value, 0));
    QCOMPARE(value.size(), 300);
    // A preset longer than the limit is kept; it can be shortened but not lengthened.
    whenModal([&](QWidget*) {
      QCOMPARE(d.Edit1->text(), QString(20, 'b'));
      d.Edit1->end(false);
      QTest::keyClick(d.Edit1, Qt::Key_Backspace);
      QTest::keyClicks(d.Edit1, "cc");
      QCOMPARE(d.Edit1->text(), QString(19, 'b'));
      QTest::mouseClick(d.CancelBtn, Qt::LeftButton);
    });
    value = QString(20, 'b');
    QVERIFY(!d.ask("x", "y", value, 10));
    QVERIFY(!d.confirmed);
    QCOMPARE(value, QString(20, 'b'));
  }

  void inputDlg2() {
    TInputDlg2 d;
    d.items = {"M6", "M8", "M10"};
    d.chosenText = "M10";
    whenModal([&](QWidget*) {
      QCOMPARE(d.ComboBox1->currentIndex(), 2);
      QTest::mouseClick(d.OKBtn, Qt::LeftButton);
    });
    QVERIFY(d.execute());
    QCOMPARE(d.chosenIndex, 2);
    QCOMPARE(d.chosenText, QString("M10"));
    d.chosenText = "none";  // no equal item: the first one
    whenModal([&](QWidget*) {
      QCOMPARE(d.ComboBox1->currentIndex(), 0);
      QTest::mouseClick(d.CancelBtn, Qt::LeftButton);
    });
    QVERIFY(!d.execute());
    // OK with no item beeps and keeps the dialog open.
    d.items.clear();
    const int beeps = beepCount();
    whenModal([&](QWidget*) {
      QTest::mouseClick(d.OKBtn, Qt::LeftButton);
      QVERIFY(d.isVisible());
      QCOMPARE(beepCount(), beeps + 1);
      d.reject();
    });
    QVERIFY(!d.execute());
  }

  void inputDlg4() {
    TInputDlg4 d;
    d.rowCount = 3;
    d.rows[0] = {1, "pos", "1", {"a", "b", "c"}};
    d.rows[1] = {2, "item", "zz", {"a", "b"}};
    d.rows[2] = {0, "num", "2.5", {"1", "2"}};
    const int beeps = beepCount();
    whenModal([&](QWidget*) {
      QCOMPARE(d.Boxes[0]->currentIndex(), 1);
      QVERIFY(!d.Boxes[0]->isEditable());
      QCOMPARE(d.Boxes[1]->currentIndex(), -1);
      QVERIFY(d.Boxes[2]->isEditable());
      QCOMPARE(d.Boxes[2]->currentText(), QString("2.5"));
      QVERIFY(d.Labels[3]->isHidden());
      QVERIFY(!d.Boxes[3]->isEnabled());
      QCOMPARE(QApplication::focusWidget(), d.Boxes[0]);
      // Enter moves to the next row, and after the last row to OK.
      QTest::keyClick(d.Boxes[0], Qt::Key_Return);
      QCOMPARE(QApplication::focusWidget(), d.Boxes[1]);
      // A list row without a choice is refused.
      QTest::mouseClick(d.OKBtn, Qt::LeftButton);
      QCOMPARE(beepCount(), beeps + 1);
      QCOMPARE(QApplication::focusWidget(), d.Boxes[1]);
      d.Boxes[1]->setCurrentIndex(1);
      // A free row of blanks only (full-width space included) is refused.
      d.Boxes[2]->setEditText(u(" 　"));
      QTest::mouseClick(d.OKBtn, Qt::LeftButton);
      QCOMPARE(beepCount(), beeps + 2);
      QCOMPARE(QApplication::focusWidget(), d.Boxes[2]);
      d.Boxes[2]->setEditText("3.75");
      QTest::keyClick(d.Boxes[2]->lineEdit(), Qt::Key_Return);
      QCOMPARE(QApplication::focusWidget(), d.OKBtn);
      QTest::mouseClick(d.OKBtn, Qt::LeftButton);
    });
    QVERIFY(d.execute());
    QCOMPARE(d.rows[0].value, QString("1"));
    QCOMPARE(d.rows[1].value, QString("b"));
    QCOMPARE(d.rows[2].value, QString("3.75"));
  }

  void colourChartAndPicker() {
    ColorChart chart;
    QCOMPARE(chart.image().size(), QSize(480, 198));
    // Every index 1..255 has one swatch in its palette colour; the rest of row 0 is white.
    QSet<QPoint> cells;
    for (int i = 1; i <= 255; ++i) {
      const QPoint c = ColorChart::cellOf(i);
      QVERIFY2(c.x() >= 0, qPrintable(QString::number(i)));
      cells.insert(c);
      const kubrix::Rgb rgb = kubrix::paletteColour(i);
      QCOMPARE(chart.image().pixelColor(c.x() * 20 + 19, c.y() * 18 + 17), QColor(rgb.r, rgb.g, rgb.b));
      QCOMPARE(chart.image().pixelColor(c.x() * 20, c.y() * 18), QColor(rgb.r, rgb.g, rgb.b));
    }
    QCOMPARE(cells.size(), 255);
    QCOMPARE(ColorChart::cellOf(10), QPoint(0, 5));
    QCOMPARE(ColorChart::cellOf(18), QPoint(0, 1));
    QCOMPARE(ColorChart::cellOf(249), QPoint(23, 10));
    QCOMPARE(chart.image().pixelColor(479, 0), QColor(Qt::white));

    TColorDlg1 d;
    QCOMPARE(d.windowTitle(), u("色指定"));
    QCOMPARE(d.Label2->text(), u("※白色（＝背景色）はありません"));
    d.colourIndex = 0;  // outside 1..255: grey
    whenModal([&](QWidget*) {
      QCOMPARE(d.shownColour(), QColor(136, 136, 136));
      QCOMPARE(d.Label3->text(), QString("7"));  // grey is no palette colour
      QTest::mouseClick(d.Image1, Qt::LeftButton, {}, QPoint(470, 5));  // white background: nothing picked
      QCOMPARE(d.shownColour(), QColor(136, 136, 136));
      QCOMPARE(d.Label1->palette().color(QPalette::Window), QColor(136, 136, 136));
      const QPoint c = ColorChart::cellOf(120);
      QTest::mouseClick(d.Image1, Qt::LeftButton, {}, QPoint(c.x() * 20 + 5, c.y() * 18 + 5));
      QTest::mouseClick(d.OKBtn, Qt::LeftButton);
    });
    QVERIFY(d.execute());
    QCOMPARE(d.colourIndex, kubrix::paletteIndex(kubrix::paletteColour(120)));
    whenModal([&](QWidget*) { QTest::mouseClick(d.CancelBtn, Qt::LeftButton); });
    QVERIFY(!d.execute());
  }

  void aboutBox() {
    kubrix::gui::TAboutBox box;
    whenModal([&](QWidget* m) {
      QCOMPARE(m, &box);
      box.accept();
    });
    QCOMPARE(box.exec(), int(QDialog::Accepted));
  }
};

QObject* makeDialogsTest() { return new DialogsTest; }

#include "dialogs_test.moc"
