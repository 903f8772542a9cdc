// Colours in the script editor: comments (from "//" to the end of the line), section markers
// (#VAR, #CALC, #DRAW, #LIST), control lines (#IF, #ELSE, #END, #WHILE, #GOTO, #EXIT), label lines
// ("*name") and the keyword of a draw line when it is a command of the language. The lines are
// recognised as the run loop reads them (blanks do not count, case does not matter). Each line is
// looked at once with a single scan, so a script of hundreds of thousands of lines stays usable.
#pragma once

#include <QSyntaxHighlighter>
#include <QTextCharFormat>

namespace kubrix::gui {

class ScriptHighlighter : public QSyntaxHighlighter {
  Q_OBJECT
 public:
  explicit ScriptHighlighter(QTextDocument* doc);

  enum class Kind { None, Comment, Section, Control, Label, Keyword };
  // What a line is, as the highlighter colours it.
  static Kind lineKind(const QString& line);
  // True when word (any case) is a command keyword of the language.
  static bool isKeyword(const QString& word);

 protected:
  void highlightBlock(const QString& text) override;

 private:
  QTextCharFormat comment_, section_, control_, label_, keyword_;
};

}  // namespace kubrix::gui
