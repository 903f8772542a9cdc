// The dialogs scripts open: the message box's width rule and range line, the yes/no question, and
// every interaction command answered in the real dialogs while the run waits on its worker thread,
// with the same log as the headless runner given the same answers; Escape and closing the window
// while a dialog waits end the run cleanly.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>

#include "engine/engine.h"
#include "geometry/palette.h"
#include "interaction/qt/beep.h"
#include "interaction/qt/color_dlg1.h"
#include "interaction/qt/input_dlg1.h"
#include "interaction/qt/input_dlg2.h"
#include "interaction/qt/input_dlg4.h"
#include "interaction/qt/mes_dlg1.h"
#include "interaction/qt/yn_dlg1.h"
#include "tests/gui/gui_test_support.h"

using namespace kubrix::gui::test;
using namespace kubrix::qt;

namespace {

using Step = std::function<void(QWidget*)>;

// Answers the modal dialogs that open one after another, one step each.
void answerInTurn(std::vector<Step> steps) {
  if (steps.empty()) return;
  whenModal([steps](QWidget* m) {
    steps.front()(m);
    answerInTurn(std::vector<Step>(steps.begin() + 1, steps.end()));
  });
}

// The log kubrix-run writes for a UTF-8 script with an answers file (UTF-8 lines).
QString headlessLogWithAnswers(const QString& script, const QStringList& answers) {
  QTemporaryDir dir;
  writeFile(dir.filePath("s.kx"), script.toUtf8());
  writeFile(dir.filePath("a.txt"), (answers.join('\n') + '\n').toUtf8());
  QProcess p;
  p.start(KUBRIX_RUN_PATH, {"--encoding", "utf8", "--answers", dir.filePath("a.txt"), dir.filePath("s.kx")});
  p.waitForFinished(60000);
  return QString::fromUtf8(p.readAllStandardOutput());
}

int textWidth(const QLabel* l) { return l->text().isEmpty() ? 0 : l->fontMetrics().horizontalAdvance(l->text()); }

QPoint swatchPixel(int index) {
  const QPoint c = ColorChart::cellOf(index);
  return {c.x() * 20 + 7, c.y() * 18 + 9};
}

}  // namespace

class InteractionTest : public QObject {
  Q_OBJECT
 private slots:
  void messageBoxWidthRuleAndRangeLine() {
    QCOMPARE(TMesDlg1::dialogWidth(120, 80, 0), 300);
    QCOMPARE(TMesDlg1::dialogWidth(300, 300, 300), 300);
    QCOMPARE(TMesDlg1::dialogWidth(301, 0, 0), 307);
    QCOMPARE(TMesDlg1::dialogWidth(100, 305, 0), 311);
    QCOMPARE(TMesDlg1::dialogWidth(400, 403, 0), 406);   // not wider than 406: stays
    QCOMPARE(TMesDlg1::dialogWidth(400, 405, 410), 416);  // the second line, then the range line

    TMesDlg1 d;
    QCOMPARE(d.OKBtn->text(), u("OK (&Y)"));
    d.captionText = u("題名");
    d.line1 = u("一行目");
    d.line2 = u("二行目");
    d.rangeMin = "0";
    d.rangeMax = "10";
    whenModal([&](QWidget*) {
      QCOMPARE(d.windowTitle(), u("題名"));
      QCOMPARE(d.Label3->text(), u("入力範囲：0 ～ 10"));
      QCOMPARE(d.width(), 300);
      QCOMPARE(d.OKBtn->x(), (d.width() - d.OKBtn->width()) / 2);
      QTest::keyClick(&d, Qt::Key_Return);
    });
    d.execute();
    QVERIFY(!d.isVisible());

    // No range line; a long second line widens the dialog to its width + 6, the button stays centred.
    d.rangeMin.clear();
    d.rangeMax.clear();
    d.line2 = QString(80, QChar(0x3042));
    whenModal([&](QWidget*) {
      QCOMPARE(d.Label3->text(), QString());
      const int w = TMesDlg1::dialogWidth(textWidth(d.Label1), textWidth(d.Label2), textWidth(d.Label3));
      QVERIFY(w > 300);
      QCOMPARE(w, textWidth(d.Label2) + 6);
      QCOMPARE(d.width(), w);
      QVERIFY(d.Label2->geometry().right() < d.width());
      QCOMPARE(d.OKBtn->x(), (d.width() - d.OKBtn->width()) / 2);
      QTest::mouseClick(d.OKBtn, Qt::LeftButton);
    });
    d.execute();
  }

  void yesNoQuestion() {
    TYNDlg1 d;
    QCOMPARE(d.YesBtn->text(), u("はい (&Y)"));
    QCOMPARE(d.NoBtn->text(), u("いいえ (&N)"));
    QVERIFY(d.YesBtn->isDefault());
    d.captionText = u("確認");
    d.line1 = u("続けますか");
    whenModal([&](QWidget*) {
      QCOMPARE(QApplication::focusWidget(), d.YesBtn);
      QCOMPARE(d.Label1->text(), u("続けますか"));
      QTest::keyClick(d.YesBtn, Qt::Key_Return);
    });
    QVERIFY(d.execute());
    whenModal([&](QWidget*) { QTest::mouseClick(d.NoBtn, Qt::LeftButton); });
    QVERIFY(!d.execute());
    whenModal([&](QWidget*) { d.close(); });  // closing answers no
    QVERIFY(!d.execute());
  }

  void everyCommandInItsDialogLogsAsTheHeadlessRunner() {
    const QString script = u(
        "#VAR\nf=9\na=0\nv=5\ns=abc\ni=0\nit=M10\nm1=1\nm2=0\nc=3\n"
        "#LIST\nL=M6,M8,M10\n"
        "#DRAW\n"
        "MESSAGE \"題名\", \"一行目\", \"二行目\", 0, 10\n"
        "INP_YN a, \"確認\", \"続けますか\", \"\"\n"
        "INP_NUM f, v, \"長さ\"\n"
        "INP_NUM f, v, \"長さ\"\n"
        "INP_STR f, s, \"名前\"\n"
        "INP_SEL f, i, it, L, \"ねじ\"\n"
        "INP_NS2 f, 1, \"位置\", m1, L, 0, \"数\", m2, \"1,2\"\n"
        "INP_COL f, c\n"
        "INP_STR f, s, \"名前\"\n");
    Window w;
    w->show();
    const int beeps = beepCount();
    answerInTurn({
        [&](QWidget* m) {
          QCOMPARE(m, w->MesDlg1);
          QCOMPARE(w->MesDlg1->Label3->text(), u("入力範囲：0 ～ 10"));
          QTest::mouseClick(w->MesDlg1->OKBtn, Qt::LeftButton);
        },
        [&](QWidget* m) {
          QCOMPARE(m, w->YNDlg1);
          QTest::mouseClick(w->YNDlg1->YesBtn, Qt::LeftButton);
        },
        [&](QWidget* m) {
          QCOMPARE(m, w->InputDlg1);
          QCOMPARE(w->InputDlg1->windowTitle(), u("数値入力"));
          QCOMPARE(w->InputDlg1->Edit1->selectedText(), QString("5"));
          QTest::keyClicks(w->InputDlg1->Edit1, "abc");
          QTest::keyClick(w->InputDlg1->Edit1, Qt::Key_Return);
        },
        [&](QWidget*) {
          QCOMPARE(w->InputDlg1->Edit1->text(), QString("0"));  // the stored answer is the preset now
          w->InputDlg1->Edit1->clear();
          QTest::mouseClick(w->InputDlg1->OKBtn, Qt::LeftButton);
        },
        [&](QWidget*) {
          QCOMPARE(w->InputDlg1->windowTitle(), u("文字入力"));
          QTest::mouseClick(w->InputDlg1->CancelBtn, Qt::LeftButton);
        },
        [&](QWidget* m) {
          QCOMPARE(m, w->InputDlg2);
          QCOMPARE(w->InputDlg2->ComboBox1->currentIndex(), 2);  // the item variable's text
          QTest::mouseClick(w->InputDlg2->OKBtn, Qt::LeftButton);
        },
        [&](QWidget* m) {
          QCOMPARE(m, w->InputDlg4);
          QCOMPARE(w->InputDlg4->Boxes[0]->currentIndex(), 1);
          QCOMPARE(w->InputDlg4->Boxes[1]->currentText(), QString("0"));
          QVERIFY(w->InputDlg4->Boxes[2]->isHidden());
          w->InputDlg4->Boxes[1]->setEditText("0012.50");
          QTest::mouseClick(w->InputDlg4->OKBtn, Qt::LeftButton);
        },
        [&](QWidget* m) {
          QCOMPARE(m, w->ColorDlg1);
          QCOMPARE(w->ColorDlg1->Label3->text(), QString("3"));
          QTest::mouseClick(w->ColorDlg1->Image1, Qt::LeftButton, {}, swatchPixel(250));
          QCOMPARE(w->ColorDlg1->Label3->text(), QString("7"));  // black is found first as 7
          QTest::mouseClick(w->ColorDlg1->Image1, Qt::LeftButton, {}, swatchPixel(137));
          QTest::mouseClick(w->ColorDlg1->OKBtn, Qt::LeftButton);
        },
        [&](QWidget*) {
          w->InputDlg1->Edit1->insert(u("日本"));
          QTest::mouseClick(w->InputDlg1->OKBtn, Qt::LeftButton);
        },
    });
    w.run(script);
    QVERIFY(!w->isRunning());
    QCOMPARE(beepCount(), beeps + 1);  // the empty figure store at the end
    const QString log = w.log();
    QVERIFY2(log.contains(u("<数値入力> <1> [0]\n")), qPrintable(log));
    QVERIFY(log.contains(u("<数値入力> <1> []\n")));
    QVERIFY(log.contains(u("<文字入力> <0> [abc]\n")));
    QVERIFY(log.contains(u("<選択指定> <1> 「M10」[2]\n")));
    QVERIFY(log.contains(u("<２数値入力／選択指定> <1>\n")));
    QVERIFY(log.contains(u("<色指定> <1> [137]\n")));
    const int index = kubrix::paletteIndex(kubrix::paletteColour(137));
    QCOMPARE(index, 137);
    const QString headless = headlessLogWithAnswers(script, {"1", "abc", "", "<cancel>", "2", "1", "0012.50", "137", u("日本")});
    QCOMPARE(log + '\n', headless);
    auto value = [&](const char* name) {
      return QString::fromStdString(w->engine().vars.value(static_cast<size_t>(w->engine().vars.find(name))));
    };
    QCOMPARE(value("m1"), QString("1"));
    QCOMPARE(value("m2"), QString("12.5"));
  }

  void escapeInAWaitingDialogEndsTheRun() {
    Window w;
    w->show();
    whenModal([&](QWidget* m) {
      QCOMPARE(m, w->InputDlg1);
      QVERIFY(w.log().contains(u("「e」")));  // the lines before the waiting one are shown
      QTest::keyClick(w->InputDlg1->Edit1, Qt::Key_Escape);
    });
    w.run(u("#VAR\nf=1\nv=5\ne\n#DRAW\nINP_NUM f, v, \"長さ\"\nLINE e, 0,0,0, 1,1,1\n"));
    QVERIFY(!w->isRunning());
    QVERIFY(!w->InputDlg1->isVisible());
    const QString log = w.log();
    QVERIFY2(log.endsWith(u("<数値入力> <0> [5]")), qPrintable(log));  // cancelled, and no line after it
    QCOMPARE(w->engine().figures.count(), size_t{0});
    // The next run asks again.
    whenModal([&](QWidget*) { QTest::mouseClick(w->InputDlg1->OKBtn, Qt::LeftButton); });
    w.runAgain();
    QVERIFY(w.log().contains(u("直線作図")));
  }

  void closingTheWindowWhileADialogWaitsEndsTheRun() {
    Window w;
    w->show();
    bool closed = false;
    whenModal([&](QWidget* m) {
      QCOMPARE(m, w->InputDlg4);
      closed = w.close();  // from inside the dialog's event loop
    });
    w->Memo2->setPlainText(u("#VAR\nf=1\nm=0\nn=0\n#DRAW\nINP_NS2 f, 1, a, m, \"x,y\", 0, b, n, \"\"\n"));
    QTest::mouseClick(w->Button1, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(closed, 10000);
    QVERIFY(!w->isRunning());
    QVERIFY(!w->isVisible());
    QVERIFY(!w->InputDlg4->isVisible());
  }

  void colourChartPixelGivesItsIndexAndTheBackgroundPicksNothing() {
    // The picker tells the background from the swatches by its white, which no palette colour is.
    for (int i = 1; i <= 255; ++i) QVERIFY(kubrix::paletteColour(i) != (kubrix::Rgb{255, 255, 255}));
    TColorDlg1 d;
    d.colourIndex = 45;
    whenModal([&](QWidget*) {
      QCOMPARE(d.Label3->text(), QString("45"));
      for (int i : {1, 9, 10, 18, 19, 120, 249, 250, 255}) {
        QTest::mouseClick(d.Image1, Qt::LeftButton, {}, swatchPixel(i));
        QCOMPARE(d.Label3->text(), QString::number(kubrix::paletteIndex(kubrix::paletteColour(i))));
      }
      // The corners of a swatch belong to it: column 2 of row 3 is index 10 + 20 + 4 = 34.
      QTest::mouseClick(d.Image1, Qt::LeftButton, {}, QPoint(40, 54));
      QCOMPARE(d.Label3->text(), QString("34"));
      QTest::mouseClick(d.Image1, Qt::LeftButton, {}, QPoint(59, 71));
      QCOMPARE(d.Label3->text(), QString("34"));
      // The white beside the first row is no colour: the shown colour stays.
      QTest::mouseClick(d.Image1, Qt::LeftButton, {}, QPoint(470, 5));
      QCOMPARE(d.Label3->text(), QString("34"));
      QTest::mouseClick(d.OKBtn, Qt::LeftButton);
    });
    QVERIFY(d.execute());
    QCOMPARE(d.colourIndex, 34);
    // Cancel keeps the field.
    whenModal([&](QWidget*) {
      QTest::mouseClick(d.Image1, Qt::LeftButton, {}, swatchPixel(5));
      QTest::mouseClick(d.CancelBtn, Qt::LeftButton);
    });
    QVERIFY(!d.execute());
    QCOMPARE(d.colourIndex, 34);
  }

  void severalValuesRowsPresetsAndRefusals() {
    TInputDlg4 d;
    d.rowCount = 4;
    d.rows[0] = {1, "hex", "$2", {"a", "b", "c"}};  // a whole number in any of its forms
    d.rows[1] = {1, "out", "3", {"a", "b", "c"}};   // outside the list: no selection
    d.rows[2] = {2, "item", "b", {"a", "b"}};
    d.rows[3] = {3, "text", "wood", {"wood", "steel"}};
    const int beeps = beepCount();
    whenModal([&](QWidget*) {
      QCOMPARE(d.Boxes[0]->currentIndex(), 2);
      QCOMPARE(d.Boxes[1]->currentIndex(), -1);
      QCOMPARE(d.Boxes[2]->currentIndex(), 1);
      QCOMPARE(d.Boxes[3]->currentText(), QString("wood"));
      QTest::keyClick(d.Boxes[0], Qt::Key_Return);
      QTest::keyClick(d.Boxes[1], Qt::Key_Return);
      QTest::keyClick(d.Boxes[2], Qt::Key_Return);
      QVERIFY(d.Boxes[3]->hasFocus());
      QTest::keyClick(d.Boxes[3]->lineEdit(), Qt::Key_Return);
      QCOMPARE(QApplication::focusWidget(), d.OKBtn);
      QTest::keyClick(d.OKBtn, Qt::Key_Space);  // row 2 has no choice: refused
      QCOMPARE(beepCount(), beeps + 1);
      QVERIFY(d.isVisible());
      QCOMPARE(QApplication::focusWidget(), d.Boxes[1]);
      QTest::mouseClick(d.CancelBtn, Qt::LeftButton);
    });
    QVERIFY(!d.execute());
    QCOMPARE(d.rows[0].value, QString("$2"));  // cancel leaves the rows as they were
  }
};

QObject* makeInteractionTest() { return new InteractionTest; }

#include "interaction_test.moc"
