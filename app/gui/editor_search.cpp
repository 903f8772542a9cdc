// Search and replacement in the editor, and the two search dialogs.
#include "app/gui/editor_search.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextBlock>
#include <QVBoxLayout>
#include <vector>

namespace kubrix::gui {

namespace {

bool isWordChar(QChar c) { return c.isLetterOrNumber() || c == '_'; }

bool wholeWordAt(QChar before, bool hasBefore, const QString& text, int end) {
  if (hasBefore && isWordChar(before)) return false;
  return end >= text.size() || !isWordChar(text[end]);
}

Qt::CaseSensitivity caseOf(SearchOptions o) { return o.matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive; }

}  // namespace

int findForward(const QString& text, const QString& needle, int from, int to, SearchOptions o) {
  if (needle.isEmpty()) return -1;
  const int limit = to < 0 ? static_cast<int>(text.size()) : std::min(to, static_cast<int>(text.size()));
  for (int pos = std::max(0, from);;) {
    pos = static_cast<int>(text.indexOf(needle, pos, caseOf(o)));
    if (pos < 0 || pos + needle.size() > limit) return -1;
    const int end = pos + static_cast<int>(needle.size());
    if (!o.wholeWord || wholeWordAt(pos > 0 ? text[pos - 1] : QChar(), pos > 0, text, end)) return pos;
    ++pos;
  }
}

int findBackward(const QString& text, const QString& needle, int to, SearchOptions o) {
  if (needle.isEmpty()) return -1;
  int from = std::min(to, static_cast<int>(text.size())) - static_cast<int>(needle.size());
  while (from >= 0) {
    const int pos = static_cast<int>(text.lastIndexOf(needle, from, caseOf(o)));
    if (pos < 0) return -1;
    const int end = pos + static_cast<int>(needle.size());
    if (!o.wholeWord || wholeWordAt(pos > 0 ? text[pos - 1] : QChar(), pos > 0, text, end)) return pos;
    from = pos - 1;
  }
  return -1;
}

void selectRange(QPlainTextEdit* editor, int pos, int length) {
  QTextCursor c = editor->textCursor();
  c.setPosition(pos);
  c.setPosition(pos + length, QTextCursor::KeepAnchor);
  editor->setTextCursor(c);
  editor->ensureCursorVisible();
  editor->setFocus();
}

void replaceAt(QPlainTextEdit* editor, int pos, int needleLength, const QString& replacement) {
  QTextCursor c = editor->textCursor();
  c.setPosition(pos);
  c.setPosition(pos + needleLength, QTextCursor::KeepAnchor);
  c.insertText(replacement);
  selectRange(editor, pos, static_cast<int>(replacement.size()));
}

int replaceAll(QPlainTextEdit* editor, int from, const QString& needle, const QString& replacement, SearchOptions o) {
  if (needle.isEmpty()) return 0;
  const QString text = editor->toPlainText();
  // Where the replacements fall in the original text. The search after a replacement starts behind
  // it, so the character before a later occurrence may be the replacement's last one.
  std::vector<int> hits;
  const int n = static_cast<int>(needle.size());
  // The character before original position pos once the hits so far are replaced; false when none.
  auto charBefore = [&](int pos, QChar& c) {
    for (size_t h = hits.size(); h > 0 && hits[h - 1] + n == pos; --h) {
      if (!replacement.isEmpty()) {
        c = replacement.back();
        return true;
      }
      pos = hits[h - 1];
    }
    if (pos == 0) return false;
    c = text[pos - 1];
    return true;
  };
  for (int pos = std::max(0, from);;) {
    pos = static_cast<int>(text.indexOf(needle, pos, caseOf(o)));
    if (pos < 0) break;
    if (o.wholeWord) {
      QChar before;
      const bool hasBefore = charBefore(pos, before);
      if (!wholeWordAt(before, hasBefore, text, pos + n)) {
        ++pos;
        continue;
      }
    }
    hits.push_back(pos);
    pos += n;
  }
  if (hits.empty()) return 0;
  QTextCursor c(editor->document());
  c.beginEditBlock();
  for (auto it = hits.rbegin(); it != hits.rend(); ++it) {
    c.setPosition(*it);
    c.setPosition(*it + n, QTextCursor::KeepAnchor);
    c.insertText(replacement);
  }
  c.endEditBlock();
  const int delta = static_cast<int>(replacement.size()) - n;
  const int caret = hits.back() + static_cast<int>(hits.size() - 1) * delta + static_cast<int>(replacement.size());
  QTextCursor caretCursor = editor->textCursor();
  caretCursor.setPosition(caret);
  editor->setTextCursor(caretCursor);
  return static_cast<int>(hits.size());
}

namespace {

QString u(const char* s) { return QString::fromUtf8(s); }

}  // namespace

TFindDialog::TFindDialog(QWidget* parent) : QDialog(parent) {
  setObjectName("FindDialog1");
  setWindowTitle(u("検索"));
  setModal(false);
  auto* grid = new QGridLayout(this);
  auto* label = new QLabel(u("検索する文字列(&N):"), this);
  FindEdit = new QLineEdit(this);
  FindEdit->setObjectName("FindEdit");
  label->setBuddy(FindEdit);
  FindNextBtn = new QPushButton(u("次を検索(&F)"), this);
  FindNextBtn->setDefault(true);
  auto* cancel = new QPushButton(u("キャンセル"), this);
  WholeWord = new QCheckBox(u("単語単位で探す(&W)"), this);
  MatchCase = new QCheckBox(u("大文字と小文字を区別する(&C)"), this);
  auto* direction = new QGroupBox(u("方向"), this);
  Up = new QRadioButton(u("上へ(&U)"), direction);
  Down = new QRadioButton(u("下へ(&D)"), direction);
  Down->setChecked(true);
  auto* dirRow = new QHBoxLayout(direction);
  dirRow->addWidget(Up);
  dirRow->addWidget(Down);
  grid->addWidget(label, 0, 0);
  grid->addWidget(FindEdit, 0, 1, 1, 2);
  grid->addWidget(FindNextBtn, 0, 3);
  grid->addWidget(WholeWord, 1, 0, 1, 2);
  grid->addWidget(direction, 1, 2, 2, 1);
  grid->addWidget(cancel, 1, 3);
  grid->addWidget(MatchCase, 2, 0, 1, 2);
  grid->setColumnStretch(1, 1);
  FindEdit->setMinimumWidth(200);
  FindNextBtn->setEnabled(false);
  connect(FindEdit, &QLineEdit::textChanged, this, [this](const QString& t) { FindNextBtn->setEnabled(!t.isEmpty()); });
  connect(FindNextBtn, &QPushButton::clicked, this, &TFindDialog::findNext);
  connect(cancel, &QPushButton::clicked, this, &QDialog::close);
}

QString TFindDialog::findText() const { return FindEdit->text(); }
SearchOptions TFindDialog::options() const { return {MatchCase->isChecked(), WholeWord->isChecked()}; }
bool TFindDialog::downward() const { return Down->isChecked(); }

TReplaceDialog::TReplaceDialog(QWidget* parent) : QDialog(parent) {
  setObjectName("ReplaceDialog1");
  setWindowTitle(u("置換"));
  setModal(false);
  auto* grid = new QGridLayout(this);
  auto* findLabel = new QLabel(u("検索する文字列(&N):"), this);
  auto* replaceLabel = new QLabel(u("置換後の文字列(&P):"), this);
  FindEdit = new QLineEdit(this);
  FindEdit->setObjectName("FindEdit");
  ReplaceEdit = new QLineEdit(this);
  ReplaceEdit->setObjectName("ReplaceEdit");
  findLabel->setBuddy(FindEdit);
  replaceLabel->setBuddy(ReplaceEdit);
  FindNextBtn = new QPushButton(u("次を検索(&F)"), this);
  FindNextBtn->setDefault(true);
  ReplaceBtn = new QPushButton(u("置換して次に(&R)"), this);
  ReplaceAllBtn = new QPushButton(u("すべて置換(&A)"), this);
  auto* cancel = new QPushButton(u("キャンセル"), this);
  WholeWord = new QCheckBox(u("単語単位で探す(&W)"), this);
  MatchCase = new QCheckBox(u("大文字と小文字を区別する(&C)"), this);
  grid->addWidget(findLabel, 0, 0);
  grid->addWidget(FindEdit, 0, 1);
  grid->addWidget(FindNextBtn, 0, 2);
  grid->addWidget(replaceLabel, 1, 0);
  grid->addWidget(ReplaceEdit, 1, 1);
  grid->addWidget(ReplaceBtn, 1, 2);
  grid->addWidget(ReplaceAllBtn, 2, 2);
  grid->addWidget(WholeWord, 3, 0, 1, 2);
  grid->addWidget(cancel, 3, 2);
  grid->addWidget(MatchCase, 4, 0, 1, 2);
  grid->setColumnStretch(1, 1);
  FindEdit->setMinimumWidth(200);
  for (QPushButton* b : {FindNextBtn, ReplaceBtn, ReplaceAllBtn}) b->setEnabled(false);
  connect(FindEdit, &QLineEdit::textChanged, this, [this](const QString& t) {
    for (QPushButton* b : {FindNextBtn, ReplaceBtn, ReplaceAllBtn}) b->setEnabled(!t.isEmpty());
  });
  connect(FindNextBtn, &QPushButton::clicked, this, &TReplaceDialog::findNext);
  connect(ReplaceBtn, &QPushButton::clicked, this, &TReplaceDialog::replace);
  connect(ReplaceAllBtn, &QPushButton::clicked, this, &TReplaceDialog::replaceAll);
  connect(cancel, &QPushButton::clicked, this, &QDialog::close);
}

QString TReplaceDialog::findText() const { return FindEdit->text(); }
QString TReplaceDialog::replaceText() const { return ReplaceEdit->text(); }
SearchOptions TReplaceDialog::options() const { return {MatchCase->isChecked(), WholeWord->isChecked()}; }

}  // namespace kubrix::gui
