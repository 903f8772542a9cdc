// The parameter grid: the display rule after a run, and a click on a "*" row opening the dialog
// its caption and list call for; a confirmed value is used by the next run.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>

#include "engine/engine.h"
#include "engine/sjis.h"
#include "interaction/qt/color_dlg1.h"
#include "interaction/qt/input_dlg1.h"
#include "interaction/qt/input_dlg2.h"
#include "interaction/qt/input_dlg4.h"
#include "tests/gui/gui_test_support.h"

using namespace kubrix::gui;
using namespace kubrix::gui::test;
using kubrix::qt::TColorDlg1;
using kubrix::qt::TInputDlg1;
using kubrix::qt::TInputDlg2;
using kubrix::qt::TInputDlg4;

namespace {

const char* kParams =
    "#VAR\n"
    "d=10;*直径\n"
    "k=1.23456;*値\n"
    "n=0;*個数\n"
    "t=abc;*文字列\n"
    "c=3;*線色\n"
    "sz=M6;*サイズ\n"
    "tol=h7;*公差\n"
    "tq=AB;*公差文字\n"
    "x=5;幅\n"
    "e\n"
    "#LIST\n"
    "sz=M6,M8,\"M10,fine\"\n"
    "tol=h7,g6\n"
    "#DRAW\n"
    "LINE e, 0, 0, 0, d, 0, 0\n";

enum Row { kD, kK, kN, kT, kC, kSz, kTol, kTq, kX };

QString cell(Window& w, int row, int col) { return w->StringGrid1->item(row, col)->text(); }

QString value(Window& w, const char* name) {
  return QString::fromStdString(kubrix::sjisToUtf8(w->engine().vars.value(static_cast<size_t>(w->engine().vars.find(name)))));
}

// Clicks a grid row; answer gets the dialog that opens.
void clickRow(Window& w, int row, std::function<void(QWidget*)> answer) {
  whenModal(std::move(answer));
  const QRect r = w->StringGrid1->visualItemRect(w->StringGrid1->item(row, 0));
  QTest::mouseClick(w->StringGrid1->viewport(), Qt::LeftButton, {}, r.center());
}

// Clicks a row and reports whether a dialog opened (it is cancelled).
bool rowOpensDialog(Window& w, int row) {
  auto opened = std::make_shared<bool>(false), looked = std::make_shared<bool>(false);
  QTimer::singleShot(200, [opened, looked] {
    if (QWidget* m = QApplication::activeModalWidget()) {
      *opened = true;
      static_cast<QDialog*>(m)->reject();
    }
    *looked = true;
  });
  const QRect r = w->StringGrid1->visualItemRect(w->StringGrid1->item(row, 0));
  QTest::mouseClick(w->StringGrid1->viewport(), Qt::LeftButton, {}, r.center());
  if (!QTest::qWaitFor([looked] { return *looked; }, 10000)) return false;
  return *opened;
}

}  // namespace

class GridTest : public QObject {
  Q_OBJECT
 private slots:
  void fillFollowsTheDisplayRule() {
    Window w;
    w->startUp();
    w->show();
    w.run(u(kParams));
    QCOMPARE(w->StringGrid1->rowCount(), 9);
    const QStringList shown = {"10", "1.2346", "---", "abc", "3", "M6", "h7", "AB", "5"};
    const QStringList captions = {u("*直径"), u("*値"), u("*個数"), u("*文字列"), u("*線色"),
                                  u("*サイズ"), u("*公差"), u("*公差文字"), u("幅")};
    for (int r = 0; r < 9; ++r) {
      QCOMPARE(cell(w, r, 0), captions[r]);
      QCOMPARE(cell(w, r, 2), shown[r]);
    }
    // The value itself is not rounded, only its display.
    QCOMPARE(value(w, "k"), QString("1.23456"));
  }

  void numericParameterIsUsedByTheNextRunAndResetRestoresIt() {
    Window w;
    w->startUp();
    w->show();
    w.run(u(kParams));
    clickRow(w, kD, [](QWidget* m) {
      auto* d = qobject_cast<TInputDlg1*>(m);
      QVERIFY(d);
      QCOMPARE(d->windowTitle(), u("数値入力"));
      QCOMPARE(d->Label1->text(), u("*直径"));
      QCOMPARE(d->Edit1->text(), QString("10"));
      QCOMPARE(d->Edit1->selectedText(), QString("10"));
      QTest::keyClicks(d->Edit1, "12.34567");
      QTest::mouseClick(d->OKBtn, Qt::LeftButton);
    });
    QCOMPARE(cell(w, kD, 2), QString("12.3457"));
    QCOMPARE(value(w, "d"), QString("12.3457"));
    w.runAgain(false);
    QCOMPARE(cell(w, kD, 2), QString("12.3457"));
    QCOMPARE(w->engine().figures.at(1).p[1].x, 12.3457);
    QVERIFY(w.log().contains(u("直線作図 (<1> 0,0,0 - 12.3457,0,0)")));
    // Text that is no number is ignored; "---" is offered as 0.
    clickRow(w, kN, [](QWidget* m) {
      auto* d = qobject_cast<TInputDlg1*>(m);
      QCOMPARE(d->Edit1->text(), QString("0"));
      d->Edit1->setText("abc");
      QTest::mouseClick(d->OKBtn, Qt::LeftButton);
    });
    QCOMPARE(cell(w, kN, 2), QString("---"));
    QCOMPARE(value(w, "n"), QString("0"));
    // Cancel changes nothing.
    clickRow(w, kD, [](QWidget* m) {
      auto* d = qobject_cast<TInputDlg1*>(m);
      d->Edit1->setText("99");
      QTest::mouseClick(d->CancelBtn, Qt::LeftButton);
    });
    QCOMPARE(value(w, "d"), QString("12.3457"));
    w.runAgain(true);
    QCOMPARE(cell(w, kD, 2), QString("10"));
    QCOMPARE(w->engine().figures.at(1).p[1].x, 10.0);
  }

  void textParametersTakeTheTextWithinTheirLength() {
    Window w;
    w->startUp();
    w->show();
    w.run(u(kParams));
    clickRow(w, kT, [](QWidget* m) {
      auto* d = qobject_cast<TInputDlg1*>(m);
      QCOMPARE(d->windowTitle(), u("文字入力"));
      QCOMPARE(d->maxLength, 255);
      d->Edit1->clear();
      QTest::keyClicks(d->Edit1, "1.5 m");
      QTest::mouseClick(d->OKBtn, Qt::LeftButton);
    });
    QCOMPARE(cell(w, kT, 2), QString("1.5 m"));
    // "公差" without a list: at most 10 bytes; two-byte characters count twice.
    clickRow(w, kTq, [](QWidget* m) {
      auto* d = qobject_cast<TInputDlg1*>(m);
      QCOMPARE(d->windowTitle(), u("文字入力"));
      d->Edit1->clear();
      QTest::keyClicks(d->Edit1, "0123456789AB");
      QCOMPARE(d->Edit1->text(), QString("0123456789"));
      d->Edit1->setText(u("±0.1"));
      QTest::keyClicks(d->Edit1, "23456789");
      QCOMPARE(d->Edit1->text(), u("±0.123456"));
      QTest::mouseClick(d->OKBtn, Qt::LeftButton);
    });
    QCOMPARE(cell(w, kTq, 2), u("±0.123456"));
    QCOMPARE(value(w, "tq"), u("±0.123456"));
  }

  void colourParameterUsesThePicker() {
    Window w;
    w->startUp();
    w->show();
    w.run(u(kParams));
    clickRow(w, kC, [](QWidget* m) {
      auto* d = qobject_cast<TColorDlg1*>(m);
      QVERIFY(d);
      QCOMPARE(d->Label3->text(), QString("3"));
      const QPoint cellPos = kubrix::qt::ColorChart::cellOf(5);
      QTest::mouseClick(d->Image1, Qt::LeftButton, {}, QPoint(cellPos.x() * 20 + 10, cellPos.y() * 18 + 9));
      QCOMPARE(d->Label3->text(), QString("5"));
      QTest::mouseClick(d->OKBtn, Qt::LeftButton);
    });
    QCOMPARE(cell(w, kC, 2), QString("5"));
    QCOMPARE(value(w, "c"), QString("5"));
  }

  void listParametersOfferTheListElements() {
    Window w;
    w->startUp();
    w->show();
    w.run(u(kParams));
    clickRow(w, kSz, [](QWidget* m) {
      auto* d = qobject_cast<TInputDlg2*>(m);
      QVERIFY(d);
      QCOMPARE(d->windowTitle(), u("選択入力"));
      QCOMPARE(d->Label1->text(), u("*サイズ"));
      QCOMPARE(d->ComboBox1->count(), 3);
      QCOMPARE(d->ComboBox1->currentText(), QString("M6"));
      QVERIFY(!d->ComboBox1->isEditable());
      d->ComboBox1->setCurrentIndex(2);
      QTest::mouseClick(d->OKBtn, Qt::LeftButton);
    });
    QCOMPARE(cell(w, kSz, 2), QString("M10,fine"));
    // "公差" with a list: one editable row with the list as suggestions.
    clickRow(w, kTol, [](QWidget* m) {
      auto* d = qobject_cast<TInputDlg4*>(m);
      QVERIFY(d);
      QCOMPARE(d->windowTitle(), u("複数選択入力"));
      QCOMPARE(d->Labels[0]->text(), u("*公差"));
      QVERIFY(d->Boxes[0]->isEditable());
      QCOMPARE(d->Boxes[0]->count(), 2);
      QCOMPARE(d->Boxes[0]->currentText(), QString("h7"));
      QVERIFY(d->Boxes[1]->isHidden());
      d->Boxes[0]->setEditText("js9");
      QTest::mouseClick(d->OKBtn, Qt::LeftButton);
    });
    QCOMPARE(cell(w, kTol, 2), QString("js9"));
    w.runAgain(false);
    QCOMPARE(cell(w, kSz, 2), QString("M10,fine"));
    QCOMPARE(cell(w, kTol, 2), QString("js9"));
  }

  void rowsWithoutStarAndAnEmptyGridOpenNothing() {
    Window w;
    w->startUp();
    w->show();
    QVERIFY(!rowOpensDialog(w, 0));  // the reset grid: one empty row
    w.run(u(kParams));
    QVERIFY(!rowOpensDialog(w, kX));
    QVERIFY(rowOpensDialog(w, kK));
  }
};

QObject* makeGridTest() { return new GridTest; }

#include "grid_test.moc"
