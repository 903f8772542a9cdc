// Editor commands: undo, clipboard, find and replace with their messages, the "L:" indicator, the
// jump from the log, the highlighter, and a 10 MB script.
#include <QCheckBox>
#include <QClipboard>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTextBlock>

#include "app/gui/editor_search.h"
#include "app/gui/script_highlighter.h"
#include "engine/engine.h"
#include "tests/gui/gui_test_support.h"

using namespace kubrix::gui;
using namespace kubrix::gui::test;

namespace {

int selStart(Window& w) { return w->Memo2->textCursor().selectionStart(); }
QString selected(Window& w) { return w->Memo2->textCursor().selectedText(); }
void caretAt(Window& w, int pos) {
  QTextCursor c = w->Memo2->textCursor();
  c.setPosition(pos);
  w->Memo2->setTextCursor(c);
}

}  // namespace

class EditorTest : public QObject {
  Q_OBJECT
 private slots:
  void searchRules() {
    const QString t = "abc Abc abcd _abc abc";
    const SearchOptions any{}, caseOnly{true, false}, word{false, true};
    QCOMPARE(findForward(t, "abc", 0, -1, any), 0);
    QCOMPARE(findForward(t, "abc", 1, -1, any), 4);
    QCOMPARE(findForward(t, "abc", 1, -1, caseOnly), 8);
    QCOMPARE(findForward(t, "abc", 1, -1, word), 4);
    QCOMPARE(findForward(t, "abc", 5, -1, word), 18);  // "abcd" and "_abc" are not whole words
    QCOMPARE(findForward(t, "abc", 19, -1, any), -1);
    QCOMPARE(findForward(t, "abc", 0, 2, any), -1);  // must end before the limit
    QCOMPARE(findForward(t, "", 0, -1, any), -1);
    QCOMPARE(findBackward(t, "abc", 18, any), 14);
    QCOMPARE(findBackward(t, "abc", 18, word), 4);
    QCOMPARE(findBackward(t, "abc", 2, any), -1);
    QCOMPARE(findBackward(t, "ABC", 8, caseOnly), -1);
  }

  void findDownUpAndTheEndMessages() {
    Window w;
    w->startUp();
    w->show();
    w->Memo2->setPlainText("LINE a\nline b\nLINE c\n");
    caretAt(w, 0);
    w->MnuEditFindClick();
    QVERIFY(w->FindDialog1->isVisible());
    QCOMPARE(w->statusText(1), u("文字内容を検索します。"));
    w->FindDialog1->FindEdit->setText("LINE");
    QTest::mouseClick(w->FindDialog1->FindNextBtn, Qt::LeftButton);
    QCOMPARE(selStart(w), 0);
    w->FindDialog1Find();
    QCOMPARE(selStart(w), 7);  // case-insensitive by default
    w->FindDialog1->MatchCase->setChecked(true);
    w->FindDialog1Find();
    QCOMPARE(selStart(w), 14);
    w->FindDialog1Find();
    QCOMPARE(w.messages, QStringList{u("文章の最後／最初まで検索し終わりました。")});
    QCOMPARE(selStart(w), 14);  // the selection stays
    w->FindDialog1->Up->setChecked(true);
    w->FindDialog1Find();
    QCOMPARE(selStart(w), 0);
    w->FindDialog1Find();  // from the very start upwards: nothing
    QCOMPARE(w.messages.size(), 2);
    QCOMPARE(w.messages.last(), u("文章の最後／最初まで検索し終わりました。"));
    // Opening the replace dialog closes the find dialog.
    w->MnuEditReplaceClick();
    QVERIFY(!w->FindDialog1->isVisible());
    QVERIFY(w->ReplaceDialog1->isVisible());
    QCOMPARE(w->statusText(1), u("置換された内容は＜元に戻す(UNDO)＞が出来ませんので注意して下さい。"));
    // A run closes both.
    w.run("");
    QVERIFY(!w->ReplaceDialog1->isVisible());
  }

  void replaceAndReplaceAllFromTheCaret() {
    Window w;
    w->startUp();
    w->show();
    w->Memo2->setPlainText("x = 1\nx = 2\nx = 3\nxx = 4\n");
    caretAt(w, 6);  // start of the second line
    w->MnuEditReplaceClick();
    w->ReplaceDialog1->FindEdit->setText("x");
    w->ReplaceDialog1->ReplaceEdit->setText("yy");
    w->ReplaceDialog1->WholeWord->setChecked(true);
    QTest::mouseClick(w->ReplaceDialog1->ReplaceAllBtn, Qt::LeftButton);
    QCOMPARE(w->Memo2->toPlainText(), QString("x = 1\nyy = 2\nyy = 3\nxx = 4\n"));
    QCOMPARE(w.messages.last(), u("文章の最後まで置換し終わりました。（2箇所）"));
    QCOMPARE(w->Memo2->textCursor().position(), 15);
    QVERIFY(!w->Memo2->textCursor().hasSelection());
    QTest::mouseClick(w->ReplaceDialog1->ReplaceAllBtn, Qt::LeftButton);
    QCOMPARE(w.messages.last(), u("文章の最後まで置換し終わりました。（0箇所）"));
    // Undo takes the whole replace-all back.
    w->MnuEditUndoClick();
    QCOMPARE(w.messages.last(), u("直前の編集作業を元に戻しました"));
    QCOMPARE(w->Memo2->toPlainText(), QString("x = 1\nx = 2\nx = 3\nxx = 4\n"));
    // Find next, then replace: the search starts behind the selection.
    caretAt(w, 0);
    w->ReplaceDialog1->WholeWord->setChecked(false);
    w->ReplaceDialog1Find();
    QCOMPARE(selStart(w), 0);
    w->ReplaceDialog1Replace();
    QCOMPARE(w->Memo2->toPlainText(), QString("x = 1\nyy = 2\nx = 3\nxx = 4\n"));
    QCOMPARE(selected(w), QString("yy"));
    caretAt(w, 26);  // the end of the text
    w->ReplaceDialog1Replace();
    QCOMPARE(w.messages.last(), u("文章の最後まで置換し終わりました。"));
    w->ReplaceDialog1Find();
    QCOMPARE(w.messages.last(), u("文章の最後まで検索し終わりました。"));
  }

  void replaceAllWholeWordSeesTheReplacementBeforeIt() {
    QPlainTextEdit e;
    e.setPlainText("aaa");
    // After "a" becomes "b" the next "a" follows "b", a word character: not a whole word.
    QCOMPARE(replaceAll(&e, 0, "a", "b", {false, true}), 0);
    e.setPlainText("a a a");
    QCOMPARE(replaceAll(&e, 0, "a", "", {false, true}), 3);
    QCOMPARE(e.toPlainText(), QString("  "));
  }

  void undoAndClipboardCommands() {
    Window w;
    w->startUp();
    w->show();
    w->MnuEditUndoClick();
    QCOMPARE(w.messages.last(), u("編集作業は行われておりません"));
    QCOMPARE(w->statusText(1), QString());
    w->PageControl1->setCurrentWidget(w->TabLog);
    QTest::keyClicks(w->Memo2, "LINE e");
    w->MnuEditSelectAllClick();
    QCOMPARE(w->PageControl1->currentWidget(), w->TabRun);
    QCOMPARE(selected(w), QString("LINE e"));
    w->MnuEditCopyClick();
    QCOMPARE(QApplication::clipboard()->text(), QString("LINE e"));
    w->MnuEditCutClick();
    QCOMPARE(w->Memo2->toPlainText(), QString());
    w->MnuEditPasteClick();
    w->MnuEditPasteClick();
    QCOMPARE(w->Memo2->toPlainText(), QString("LINE eLINE e"));
    w->MnuEditSelectAllClick();
    w->MnuEditDeleteClick();
    QCOMPARE(w->Memo2->toPlainText(), QString());
    w->MnuEditUndoClick();
    QCOMPARE(w->Memo2->toPlainText(), QString("LINE eLINE e"));
  }

  void lineIndicatorShowsTheLineBeforeTheKeyOrClick() {
    Window w;
    w->startUp();
    w->show();
    w->Memo2->setPlainText("a\nb\nc");
    caretAt(w, 0);
    QTest::keyClick(w->Memo2, Qt::Key_Down);
    QCOMPARE(w->statusText(0), QString("L:0"));
    QTest::keyClick(w->Memo2, Qt::Key_Down);
    QCOMPARE(w->statusText(0), QString("L:1"));
    const QRect third = w->Memo2->cursorRect(QTextCursor(w->Memo2->document()->findBlockByNumber(2)));
    QTest::mouseClick(w->Memo2->viewport(), Qt::LeftButton, {}, third.center());
    QCOMPARE(w->statusText(0), QString("L:2"));  // the caret was on line 2 before the click
    QCOMPARE(w->Memo2->textCursor().blockNumber(), 2);
  }

  void rightClickInTheLogJumpsToTheScriptLine() {
    Window w;
    w->startUp();
    w->show();
    w.run(u("#VAR\nd=10;*直径\ne\n#DRAW\nLINE e, 0, 0, 0, d, 0, 0\n"));
    w->PageControl1->setCurrentWidget(w->TabLog);
    w.log();
    const QTextBlock last = w->MemoLog->document()->lastBlock();
    QCOMPARE(last.text(), u("     4: 直線作図 (<1> 0,0,0 - 10,0,0)"));
    QTest::mouseClick(w->MemoLog->viewport(), Qt::RightButton, {}, w->MemoLog->cursorRect(QTextCursor(last)).center());
    QCOMPARE(w->MemoLog->textCursor().selectedText(), last.text());
    QCOMPARE(w->PageControl1->currentWidget(), w->TabRun);
    QCOMPARE(selected(w), QString("LINE e, 0, 0, 0, d, 0, 0"));
    QCOMPARE(w->statusText(0), QString("L:4"));
    // A line shorter than six characters is selected and nothing more happens.
    w->MemoLog->setPlainText("  12\nabcdefg");
    w->PageControl1->setCurrentWidget(w->TabLog);
    QTest::mouseClick(w->MemoLog->viewport(), Qt::RightButton, {},
                      w->MemoLog->cursorRect(QTextCursor(w->MemoLog->document()->firstBlock())).center());
    QCOMPARE(w->MemoLog->textCursor().selectedText(), QString("  12"));
    QCOMPARE(w->PageControl1->currentWidget(), w->TabLog);
    // Text that is no number jumps to line 0.
    QTest::mouseClick(w->MemoLog->viewport(), Qt::RightButton, {},
                      w->MemoLog->cursorRect(QTextCursor(w->MemoLog->document()->lastBlock())).center());
    QCOMPARE(w->statusText(0), QString("L:0"));
    QCOMPARE(selected(w), QString("#VAR"));
  }

  void highlighterKnowsTheLinesAsTheRunLoopReadsThem() {
    using K = ScriptHighlighter::Kind;
    QCOMPARE(ScriptHighlighter::lineKind("#VAR"), K::Section);
    QCOMPARE(ScriptHighlighter::lineKind(" # var // start"), K::Section);
    QCOMPARE(ScriptHighlighter::lineKind(u("#DRAW　")), K::Section);
    QCOMPARE(ScriptHighlighter::lineKind("#VAR x"), K::None);
    QCOMPARE(ScriptHighlighter::lineKind("#IFa>b"), K::Control);
    QCOMPARE(ScriptHighlighter::lineKind("#while i < 3"), K::Control);
    QCOMPARE(ScriptHighlighter::lineKind("#END"), K::Control);
    QCOMPARE(ScriptHighlighter::lineKind("#ENDIF"), K::None);
    QCOMPARE(ScriptHighlighter::lineKind("#GOTO *L1"), K::Control);
    QCOMPARE(ScriptHighlighter::lineKind("#Exit"), K::Control);
    QCOMPARE(ScriptHighlighter::lineKind("*LOOP1"), K::Label);
    QCOMPARE(ScriptHighlighter::lineKind("  // note"), K::Comment);
    QCOMPARE(ScriptHighlighter::lineKind("  line2d a, 0,0,1,1 // x"), K::Keyword);
    QCOMPARE(ScriptHighlighter::lineKind("S_MOVN,a"), K::Keyword);
    QCOMPARE(ScriptHighlighter::lineKind("LINES a"), K::None);
    QCOMPARE(ScriptHighlighter::lineKind("a=1"), K::None);
    QVERIFY(ScriptHighlighter::isKeyword("inp_col"));
    QVERIFY(!ScriptHighlighter::isKeyword("#VAR"));
    // The formats land on the document.
    QTextDocument doc;
    ScriptHighlighter h(&doc);
    doc.setPlainText("#VAR // c\nLINE e");
    h.rehighlight();
    const auto formats = doc.firstBlock().layout()->formats();
    QCOMPARE(formats.size(), 2);
    QCOMPARE(formats.at(1).start, 5);
    QCOMPARE(doc.lastBlock().layout()->formats().at(0).length, 4);
    // The editor colours what is loaded into it.
    Window w;
    w->Memo2->setPlainText("#VAR // c\nLINE e");
    QCoreApplication::processEvents();
    QCOMPARE(w->Memo2->document()->firstBlock().layout()->formats().size(), 2);
    QCOMPARE(w->Memo2->document()->lastBlock().layout()->formats().size(), 1);
  }

  void tenMegabyteScriptStaysUsable() {
    Window w;
    w->startUp();
    w->show();
    QString big;
    big.reserve(10'500'000);
    big += "#VAR\ni=0\n#DRAW\n";
    for (int n = 0; big.size() < 10'000'000; ++n) big += QString("CAL i=i+1 // line %1 of a long script\n").arg(n);
    QElapsedTimer t;
    t.start();
    w->Memo2->setPlainText(big);
    const int blocks = w->Memo2->document()->blockCount();
    QVERIFY(blocks > 200000);
    // Typing at the end, searching and running all work on it.
    w->Memo2->moveCursor(QTextCursor::End);
    QTest::keyClicks(w->Memo2, "LINE e");
    QCOMPARE(w->statusText(0), QString("L:%1").arg(blocks - 1));
    caretAt(w, 0);
    w->FindDialog1->FindEdit->setText("line 200000 of");
    w->FindDialog1Find();
    QCOMPARE(w->Memo2->textCursor().blockNumber(), 200003);
    w->CheckBox1->setChecked(true);
    w.runAgain();
    QCOMPARE(w->engine().vars.value(static_cast<size_t>(w->engine().vars.find("i"))),
             std::to_string(blocks - 4));
    qInfo("10 MB script: %d lines, loaded, edited, searched and run in %lld ms", blocks, t.elapsed());
  }
};

QObject* makeEditorTest() { return new EditorTest; }

#include "editor_test.moc"
