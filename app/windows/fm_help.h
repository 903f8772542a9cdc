// The help window TFmHelp ("スクリプト仕様について"): the text file "help.txt" (Shift-JIS) with
// buttons that jump to its chapters and a keyword search that steps through the occurrences.
#pragma once

#include <QString>
#include <QWidget>
#include <array>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QStatusBar;

namespace kubrix {

// The chapter buttons: caption and the heading each searches for (UTF-8).
struct HelpChapter {
  const char* caption;
  const char* heading;
};
extern const std::array<HelpChapter, 7> kHelpChapters;

// Where "help.txt" is: beside the program, else in <prefix>/share/kubrix of an installed program,
// else in the data folders (<data>/kubrix/help.txt). Empty when there is none.
QString findHelpFile();

// The text of a help file: Shift-JIS, or UTF-8 when the bytes are valid UTF-8.
QString helpTextFromBytes(const QByteArray& bytes);

class TFmHelp : public QWidget {
  Q_OBJECT
 public:
  explicit TFmHelp(QWidget* parent = nullptr);

  // The file loaded on show; by default findHelpFile() at that moment. A file that is missing or
  // cannot be read leaves the text empty, with a message naming its path in the text area and the
  // status bar.
  void setHelpPath(const QString& path) { helpPath_ = path; }

  // "Top(&T)": caret to the start, nothing selected.
  void goTop();
  // A chapter button: the first occurrence of its heading from the start; false when not found.
  bool goChapter(int index);
  // "検索(&S)" or Enter in Edit1: the keyword from one character after the caret on; false when
  // not found (nothing changes then).
  bool searchKeyword();

  QPushButton* ButtonTop;
  std::array<QPushButton*, 7> ChapterButtons{};
  QLineEdit* Edit1;
  QPushButton* ButtonSearch;
  QPlainTextEdit* RichEdit1;
  QStatusBar* StatusBar1;

 protected:
  void showEvent(QShowEvent* e) override;
  void closeEvent(QCloseEvent* e) override;

 private:
  bool findFrom(const QString& text, int position);
  QString helpPath_;
};

}  // namespace kubrix
