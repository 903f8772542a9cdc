// The script editor's highlighter.
#include "app/gui/script_highlighter.h"

#include <QSet>

#include "engine/command_table.h"

namespace kubrix::gui {

namespace {

bool isBlank(QChar c) { return c.unicode() <= 32 || c.unicode() == 0x3000; }

const QSet<QString>& keywords() {
  static const QSet<QString> set = [] {
    QSet<QString> s;
    for (const Keyword& k : kKeywords) s.insert(QString::fromLatin1(k.name.data(), static_cast<qsizetype>(k.name.size())));
    return s;
  }();
  return set;
}

// The line up to "//" with every blank removed, in upper case (ASCII letters only).
QString packedKey(const QString& line, int end) {
  QString key;
  key.reserve(end);
  for (int i = 0; i < end; ++i) {
    const QChar c = line[i];
    if (isBlank(c)) continue;
    key += (c >= 'a' && c <= 'z') ? QChar(c.unicode() - 32) : c;
  }
  return key;
}

}  // namespace

ScriptHighlighter::ScriptHighlighter(QTextDocument* doc) : QSyntaxHighlighter(doc) {
  comment_.setForeground(QColor(0, 128, 0));
  section_.setForeground(QColor(0, 0, 160));
  section_.setFontWeight(QFont::Bold);
  control_.setForeground(QColor(128, 0, 128));
  control_.setFontWeight(QFont::Bold);
  label_.setForeground(QColor(0, 128, 128));
  keyword_.setForeground(QColor(0, 0, 255));
}

bool ScriptHighlighter::isKeyword(const QString& word) { return keywords().contains(word.toUpper()); }

ScriptHighlighter::Kind ScriptHighlighter::lineKind(const QString& line) {
  int end = static_cast<int>(line.indexOf(QLatin1String("//")));
  if (end < 0) end = static_cast<int>(line.size());
  int first = 0;
  while (first < end && isBlank(line[first])) ++first;
  if (first == end) return end < line.size() ? Kind::Comment : Kind::None;
  if (line[first] == '*') return Kind::Label;
  if (line[first] == '#') {
    const QString key = packedKey(line, end);
    if (key == "#VAR" || key == "#CALC" || key == "#DRAW" || key == "#LIST") return Kind::Section;
    if (key == "#ELSE" || key == "#END" || key == "#EXIT" || key.startsWith("#IF") || key.startsWith("#WHILE") ||
        key.startsWith("#GOTO"))
      return Kind::Control;
  }
  int last = first;
  while (last < end && !isBlank(line[last]) && line[last] != ',') ++last;
  return isKeyword(line.mid(first, last - first)) ? Kind::Keyword : Kind::None;
}

void ScriptHighlighter::highlightBlock(const QString& text) {
  const int comment = static_cast<int>(text.indexOf(QLatin1String("//")));
  const int end = comment < 0 ? static_cast<int>(text.size()) : comment;
  if (comment >= 0) setFormat(comment, static_cast<int>(text.size()) - comment, comment_);
  int first = 0;
  while (first < end && isBlank(text[first])) ++first;
  if (first == end) return;
  switch (lineKind(text)) {
    case Kind::Section: setFormat(first, end - first, section_); break;
    case Kind::Control: setFormat(first, end - first, control_); break;
    case Kind::Label: setFormat(first, end - first, label_); break;
    case Kind::Keyword: {
      int last = first;
      while (last < end && !isBlank(text[last]) && text[last] != ',') ++last;
      setFormat(first, last - first, keyword_);
      break;
    }
    default: break;
  }
}

}  // namespace kubrix::gui
