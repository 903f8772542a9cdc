// Text search and replacement in the script editor, and the find and replace dialogs
// (FindDialog1, ReplaceDialog1): non-modal, one open at a time.
#pragma once

#include <QDialog>
#include <QTextDocument>

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace kubrix::gui {

struct SearchOptions {
  bool matchCase = false;
  bool wholeWord = false;
};

// The first occurrence of needle in text that starts at or after from and ends at or before to
// (to < 0: the end of the text); its position, or -1. Whole word: the characters before and after
// the occurrence are no letters, digits or "_".
int findForward(const QString& text, const QString& needle, int from, int to, SearchOptions o);
// The last occurrence that ends at or before to; -1 when none.
int findBackward(const QString& text, const QString& needle, int to, SearchOptions o);
// Selects [pos, pos + length) in the editor, scrolls it into view and focuses the editor.
void selectRange(QPlainTextEdit* editor, int pos, int length);
// Replaces at the selection [pos, pos + needleLength) and selects the inserted text.
void replaceAt(QPlainTextEdit* editor, int pos, int needleLength, const QString& replacement);
// Replace all from position from: repeatedly the first occurrence at or after the current start is
// replaced and the start moves behind the replacement. The whole replacement is one undo step; the
// caret ends behind the last replacement (or stays) with an empty selection. Returns the count.
int replaceAll(QPlainTextEdit* editor, int from, const QString& needle, const QString& replacement, SearchOptions o);

class TFindDialog : public QDialog {
  Q_OBJECT
 public:
  explicit TFindDialog(QWidget* parent = nullptr);
  QString findText() const;
  SearchOptions options() const;
  bool downward() const;

  QLineEdit* FindEdit;
  QCheckBox* WholeWord;
  QCheckBox* MatchCase;
  QRadioButton* Up;
  QRadioButton* Down;
  QPushButton* FindNextBtn;

 signals:
  void findNext();
};

class TReplaceDialog : public QDialog {
  Q_OBJECT
 public:
  explicit TReplaceDialog(QWidget* parent = nullptr);
  QString findText() const;
  QString replaceText() const;
  SearchOptions options() const;

  QLineEdit* FindEdit;
  QLineEdit* ReplaceEdit;
  QCheckBox* WholeWord;
  QCheckBox* MatchCase;
  QPushButton* FindNextBtn;
  QPushButton* ReplaceBtn;
  QPushButton* ReplaceAllBtn;

 signals:
  void findNext();
  void replace();
  void replaceAll();
};

}  // namespace kubrix::gui
