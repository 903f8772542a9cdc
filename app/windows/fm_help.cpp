// The help window.
#include "app/windows/fm_help.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTextDocument>
#include <QVBoxLayout>

#include "engine/sjis.h"

namespace kubrix {

const std::array<HelpChapter, 7> kHelpChapters = {{
    {"変数について(&V)", "★変数"},
    {"作図命令(&D)", "★作図命令"},
    {"変換ﾏﾄﾘｯｸｽ(&T)", "＜変換マトリックス関連命令＞"},
    {"3D作図(&3)", "＜３Ｄ図形作図命令＞"},
    {"図形取得(&G)", "＜図形取得関連命令＞"},
    {"入力関連(&I)", "＜入力関連命令＞"},
    {"数値計算(&C)", "＜数値計算関連＞"},
}};

QString findHelpFile() {
  const QString beside = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("help.txt"));
  if (QFileInfo::exists(beside)) return beside;
  // An installed program: <prefix>/bin beside <prefix>/share/kubrix, then the data folders.
  const QString shared = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("../share/kubrix/help.txt"));
  if (QFileInfo::exists(shared)) return QDir::cleanPath(shared);
  return QStandardPaths::locate(QStandardPaths::GenericDataLocation, QStringLiteral("kubrix/help.txt"));
}

QString helpTextFromBytes(const QByteArray& bytes) {
  const std::string_view raw(bytes.constData(), static_cast<size_t>(bytes.size()));
  if (isValidUtf8(raw)) return QString::fromUtf8(bytes);
  return QString::fromStdString(sjisToUtf8(raw));
}

TFmHelp::TFmHelp(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("TFmHelp"));
  setWindowTitle(QStringLiteral("スクリプト仕様について"));
  resize(820, 600);

  auto* buttons = new QHBoxLayout;
  buttons->setSpacing(2);
  ButtonTop = new QPushButton(QStringLiteral("Top(&T)"), this);
  connect(ButtonTop, &QPushButton::clicked, this, &TFmHelp::goTop);
  buttons->addWidget(ButtonTop);
  for (size_t i = 0; i < kHelpChapters.size(); ++i) {
    auto* b = new QPushButton(QString::fromUtf8(kHelpChapters[i].caption), this);
    connect(b, &QPushButton::clicked, this, [this, i] { goChapter(static_cast<int>(i)); });
    buttons->addWidget(b);
    ChapterButtons[i] = b;
  }
  buttons->addStretch(1);

  auto* search = new QHBoxLayout;
  search->addWidget(new QLabel(QStringLiteral("検索キーワード："), this));
  Edit1 = new QLineEdit(this);
  Edit1->setObjectName(QStringLiteral("Edit1"));
  search->addWidget(Edit1, 1);
  ButtonSearch = new QPushButton(QStringLiteral("検索(&S)"), this);
  search->addWidget(ButtonSearch);
  connect(ButtonSearch, &QPushButton::clicked, this, &TFmHelp::searchKeyword);
  connect(Edit1, &QLineEdit::returnPressed, this, &TFmHelp::searchKeyword);

  RichEdit1 = new QPlainTextEdit(this);
  RichEdit1->setObjectName(QStringLiteral("RichEdit1"));
  RichEdit1->setReadOnly(true);
  RichEdit1->setLineWrapMode(QPlainTextEdit::NoWrap);
  RichEdit1->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
  StatusBar1 = new QStatusBar(this);
  StatusBar1->setObjectName(QStringLiteral("StatusBar1"));

  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(2, 2, 2, 0);
  column->setSpacing(2);
  column->addLayout(buttons);
  column->addLayout(search);
  column->addWidget(RichEdit1, 1);
  column->addWidget(StatusBar1);
}

void TFmHelp::showEvent(QShowEvent* e) {
  QWidget::showEvent(e);
  if (e->spontaneous()) return;
  RichEdit1->clear();
  const QString found = helpPath_.isEmpty() ? findHelpFile() : helpPath_;
  // Where none was found, the place it belongs: beside the program.
  const QString path = QDir::toNativeSeparators(
      found.isEmpty() ? QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("help.txt")) : found);
  QFile file(found);
  QString problem;
  if (found.isEmpty() || !QFileInfo::exists(found))
    problem = QStringLiteral("ヘルプファイル「%1」が見つかりません。").arg(path);
  else if (!QFileInfo(found).isFile() || !file.open(QIODevice::ReadOnly))
    problem = QStringLiteral("ヘルプファイル「%1」を読み込めません。").arg(path);
  // The text stays empty then (the buttons find nothing), and the window says why.
  RichEdit1->setPlaceholderText(problem);
  if (!problem.isEmpty()) {
    StatusBar1->showMessage(problem);
    return;
  }
  StatusBar1->clearMessage();
  RichEdit1->setPlainText(helpTextFromBytes(file.readAll()));
}

void TFmHelp::closeEvent(QCloseEvent* e) {
  RichEdit1->clear();
  QWidget::closeEvent(e);
}

void TFmHelp::goTop() {
  QTextCursor c = RichEdit1->textCursor();
  c.movePosition(QTextCursor::Start);
  RichEdit1->setTextCursor(c);
  RichEdit1->ensureCursorVisible();
  RichEdit1->setFocus();
}

bool TFmHelp::findFrom(const QString& text, int position) {
  if (text.isEmpty()) return false;
  const QTextCursor found = RichEdit1->document()->find(text, position);  // case-insensitive
  if (found.isNull()) return false;
  RichEdit1->setTextCursor(found);
  RichEdit1->ensureCursorVisible();
  RichEdit1->setFocus();
  return true;
}

bool TFmHelp::goChapter(int index) {
  if (index < 0 || static_cast<size_t>(index) >= kHelpChapters.size()) return false;
  return findFrom(QString::fromUtf8(kHelpChapters[static_cast<size_t>(index)].heading), 0);
}

bool TFmHelp::searchKeyword() {
  // The caret is the start of the selection, so a second search finds the next occurrence.
  return findFrom(Edit1->text(), RichEdit1->textCursor().selectionStart() + 1);
}

}  // namespace kubrix
