// TScrForm: the edit menu, find and replace, the "L:" line indicator and the jump from the log.
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTextBlock>

#include "app/gui/editor_search.h"
#include "app/gui/gui_host.h"
#include "app/gui/scr_form.h"

namespace kubrix::gui {

namespace {

QString u(const char* s) { return QString::fromUtf8(s); }

}  // namespace

void TScrForm::MnuEditUndoClick() {
  PageControl1->setCurrentWidget(TabRun);
  Memo2->setFocus();
  if (Memo2->document()->isUndoAvailable()) {
    Memo2->undo();
    showMessage(u("直前の編集作業を元に戻しました"));
  } else {
    showMessage(u("編集作業は行われておりません"));
  }
  setStatusText(1, QString());
}

// A protected script's text stays in the hidden editor: these commands leave it alone, so that it
// can be neither copied out nor changed.
#define KUBRIX_EDIT_COMMAND(name, action) \
  void TScrForm::name() {                 \
    PageControl1->setCurrentWidget(TabRun); \
    if (!Memo2->isHidden()) {             \
      Memo2->setFocus();                  \
      action;                             \
    }                                     \
    setStatusText(1, QString());          \
  }

KUBRIX_EDIT_COMMAND(MnuEditCutClick, Memo2->cut())
KUBRIX_EDIT_COMMAND(MnuEditCopyClick, Memo2->copy())
KUBRIX_EDIT_COMMAND(MnuEditPasteClick, Memo2->paste())
KUBRIX_EDIT_COMMAND(MnuEditDeleteClick, Memo2->textCursor().removeSelectedText())
KUBRIX_EDIT_COMMAND(MnuEditSelectAllClick, Memo2->selectAll())

#undef KUBRIX_EDIT_COMMAND

void TScrForm::closeSearchDialogs() {
  FindDialog1->close();
  ReplaceDialog1->close();
}

void TScrForm::MnuEditFindClick() {
  PageControl1->setCurrentWidget(TabRun);
  Memo2->setFocus();
  ReplaceDialog1->close();
  FindDialog1->show();
  FindDialog1->raise();
  FindDialog1->activateWindow();
  setStatusText(1, u("文字内容を検索します。"));
}

void TScrForm::MnuEditReplaceClick() {
  PageControl1->setCurrentWidget(TabRun);
  Memo2->setFocus();
  FindDialog1->close();
  ReplaceDialog1->show();
  ReplaceDialog1->raise();
  ReplaceDialog1->activateWindow();
  setStatusText(1, u("置換された内容は＜元に戻す(UNDO)＞が出来ませんので注意して下さい。"));
}

void TScrForm::FindDialog1Find() {
  const QTextCursor c = Memo2->textCursor();
  const QString needle = FindDialog1->findText();
  int pos = -1;
  if (FindDialog1->downward()) pos = findForward(Memo2->toPlainText(), needle, c.selectionEnd(), -1, FindDialog1->options());
  else if (c.selectionStart() > 0) pos = findBackward(Memo2->toPlainText(), needle, c.selectionStart(), FindDialog1->options());
  PageControl1->setCurrentWidget(TabRun);
  if (pos < 0) showMessage(u("文章の最後／最初まで検索し終わりました。"));
  else selectRange(Memo2, pos, static_cast<int>(needle.size()));
}

void TScrForm::ReplaceDialog1Find() {
  const QString needle = ReplaceDialog1->findText();
  const int pos = findForward(Memo2->toPlainText(), needle, Memo2->textCursor().selectionEnd(), -1, ReplaceDialog1->options());
  PageControl1->setCurrentWidget(TabRun);
  if (pos < 0) showMessage(u("文章の最後まで検索し終わりました。"));
  else selectRange(Memo2, pos, static_cast<int>(needle.size()));
}

void TScrForm::ReplaceDialog1Replace() {
  const QString needle = ReplaceDialog1->findText();
  PageControl1->setCurrentWidget(TabRun);
  const int pos = findForward(Memo2->toPlainText(), needle, Memo2->textCursor().selectionEnd(), -1, ReplaceDialog1->options());
  if (pos < 0) showMessage(u("文章の最後まで置換し終わりました。"));
  else replaceAt(Memo2, pos, static_cast<int>(needle.size()), ReplaceDialog1->replaceText());
}

void TScrForm::ReplaceDialog1ReplaceAll() {
  PageControl1->setCurrentWidget(TabRun);
  const int count = replaceAll(Memo2, Memo2->textCursor().selectionEnd(), ReplaceDialog1->findText(),
                               ReplaceDialog1->replaceText(), ReplaceDialog1->options());
  Memo2->ensureCursorVisible();
  Memo2->setFocus();
  showMessage(u("文章の最後まで置換し終わりました。（%1箇所）").arg(count));
}

void TScrForm::showCaretLine() { setStatusText(0, QString("L:%1").arg(Memo2->textCursor().blockNumber())); }

void TScrForm::MemoLogJump() {
  QTextCursor c = MemoLog->textCursor();
  c.movePosition(QTextCursor::StartOfBlock);
  c.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
  MemoLog->setTextCursor(c);
  const QString line = c.selectedText();
  if (line.size() < 6) return;
  bool ok = false;
  int n = line.left(6).trimmed().toInt(&ok);
  if (!ok) n = 0;
  PageControl1->setCurrentWidget(TabRun);
  const QTextBlock b = Memo2->document()->findBlockByNumber(n);
  if (b.isValid()) {
    QTextCursor e(b);
    e.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    Memo2->setTextCursor(e);
    Memo2->ensureCursorVisible();
  }
  Memo2->setFocus();
  setStatusText(0, QString("L:%1").arg(n));
}

bool TScrForm::eventFilter(QObject* watched, QEvent* e) {
  const QEvent::Type type = e->type();
  if (worker_ && type == QEvent::KeyPress && static_cast<QKeyEvent*>(e)->key() == Qt::Key_Escape &&
      !QApplication::activePopupWidget()) {
    // Escape ends the run, also while it waits for a dialog of the script (which then closes);
    // other modal windows keep their Escape.
    if (host_->dialogOpen()) host_->abortDialogs();
    else if (!QApplication::activeModalWidget()) host_->escape = true;
  }
  if (watched == Memo2 && type == QEvent::KeyPress) {
    showCaretLine();
  } else if (watched == Memo2->viewport() && type == QEvent::MouseButtonPress) {
    showCaretLine();
  } else if (watched == MemoLog->viewport() && type == QEvent::MouseButtonPress &&
             static_cast<QMouseEvent*>(e)->button() == Qt::RightButton) {
    // The right press first puts the caret on the line under the pointer, then jumps.
    MemoLog->setTextCursor(MemoLog->cursorForPosition(static_cast<QMouseEvent*>(e)->position().toPoint()));
    MemoLogJump();
    return true;
  }
  return QMainWindow::eventFilter(watched, e);
}

}  // namespace kubrix::gui
