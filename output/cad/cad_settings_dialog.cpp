// TFmSetACAD, TFmSetGSU6 and TFmSetGSU7.
#include "output/cad/cad_settings_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "engine/number_text.h"
#include "interaction/qt/beep.h"
#include "interaction/qt/dialog_parts.h"

namespace kubrix::cad {

namespace {

QString u(const char* s) { return QString::fromUtf8(s); }

// The settings file reads these back through a buffer of 255 bytes: 254 survive a restart.
constexpr int kTextBytes = 254;

}  // namespace

const char* const kKeySyntaxHelp =
    "コマンドキーの書き方\n"
    "  英字・数字はそのキーを押します（大文字も小文字も同じキー）。\n"
    "  ^ は Ctrl、@ は Alt、~ は Shift を、次のキーを押す間だけ押したままにします。\n"
    "    例：^V（Ctrl+V）  @FI（Alt+F の後に I）  ~{TAB}（Shift+Tab）\n"
    "  {…} はキーの名前です：{ENTER} {TAB} {ESC} {BKSP} {DELETE} {INSERT}\n"
    "    {HOME} {END} {PGUP} {PGDN} {LEFT} {RIGHT} {UP} {DOWN} {SPACE}\n"
    "    {SHIFT} {PRTSC} {F1}～{F12}（大文字・小文字は区別しません）\n"
    "  {TAB 3} のように空白と回数を書くと、そのキーを回数だけ押します。\n"
    "  {10} のように数だけを書くと、数×0.1秒待ちます（{10} で1秒）。\n"
    "  * + - . / はテンキーのキー、空白はスペースキーです。\n"
    "  キーを押す前に毎回「ウエイト時間」だけ待ちます。\n"
    "  一時ファイルのパスがクリップボードに入っているので、^V で貼り付けられます。\n"
    "  {X文字列} は、その文字列をクリップボードに入れて ^V に置き換えます\n"
    "  （最初の1つだけ。} がないときは何も送りません）。\n"
    "\n"
    "Linux で動くCADの例（一時ファイルのDXFを開く）\n"
    "  LibreCAD  タイトルバーに含む文字：LibreCAD\n"
    "            コマンドキー：^O{10}^A^V{ENTER}\n"
    "  FreeCAD   タイトルバーに含む文字：FreeCAD\n"
    "            コマンドキー：^I{10}^A^V{ENTER}\n"
    "  ^O（開く）や ^I（インポート）でファイルの画面を出し、{10} で1秒待って\n"
    "  からファイル名の欄を ^A で選び、パスを貼り付けて Enter を押します。\n"
    "  画面が出るのが遅いときは {10} の数を大きくして下さい。\n"
    "\n"
    "キーはX11のセッションで送ります（Waylandだけのセッションでは使えません）。";

TFmSetCad::TFmSetCad(const char* objectName, const char* caption, QWidget* parent) : QDialog(parent) {
  setObjectName(objectName);
  setWindowTitle(u(caption));
  showMessage = [this](const QString& text) { QMessageBox::information(this, windowTitle(), text); };
  auto* layout = new QVBoxLayout(this);
  auto* grid = new QGridLayout;
  auto edit = [this](const char* name, int maxBytes) {
    auto* e = new QLineEdit(this);
    e->setObjectName(name);
    qt::limitSjisBytes(e, maxBytes);
    return e;
  };
  Edit1 = edit("Edit1", 6);
  Edit1->setMaxLength(6);
  Edit1->setFixedWidth(80);
  Edit2 = edit("Edit2", kTextBytes);
  Edit3 = edit("Edit3", kTextBytes);
  Edit4 = edit("Edit4", 11);
  Edit4->setFixedWidth(80);
  CheckBox1 = new QCheckBox(u("キー送信時、最大化表示する"), this);
  CheckBox1->setObjectName("CheckBox1");
  CheckBox2 = new QCheckBox(u("一時ファイルに番号付けを行う"), this);
  CheckBox2->setObjectName("CheckBox2");
  ComboBox1 = new QComboBox(this);
  ComboBox1->setObjectName("ComboBox1");
  ComboBox1->addItems({u("×1"), u("×10"), u("×100"), u("×1000"), u("×10000")});
  int row = 0;
  // One row: a caption (none for the check boxes), the field and a note after it.
  auto addRow = [&](const char* caption, QWidget* field, const char* note) {
    if (caption) grid->addWidget(new QLabel(u(caption), this), row, 0);
    const bool narrow = note || field == ComboBox1;
    auto* line = new QHBoxLayout;
    line->addWidget(field, narrow ? 0 : 1);
    if (note) line->addWidget(new QLabel(u(note), this));
    if (narrow) line->addStretch(1);
    grid->addLayout(line, row++, 1);
  };
  addRow("コマンドキー送信ウエイト時間", Edit1, "秒");
  addRow(nullptr, CheckBox1, nullptr);
  addRow(nullptr, CheckBox2, nullptr);
  addRow("タイトルバーに含む文字", Edit2, nullptr);
  addRow("コマンドキー", Edit3, nullptr);
  addRow("現在の番号：", Edit4, "（※この値は本ソフト終了時には保持されません）");
  addRow("出力倍率指定：", ComboBox1, nullptr);
  grid->setColumnStretch(1, 1);
  layout->addLayout(grid);
  Memo1 = new QPlainTextEdit(this);
  Memo1->setObjectName("Memo1");
  Memo1->setReadOnly(true);
  Memo1->setPlainText(u(kKeySyntaxHelp));
  // Fixed pitch keeps the examples' columns.
  QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  for (const char* family : {"Noto Sans Mono CJK JP", "IPAGothic", "VL Gothic"})
    if (QFontDatabase::families().contains(family)) {
      fixed = QFont(family, fixed.pointSize());
      break;
    }
  Memo1->setFont(fixed);
  Memo1->setMinimumSize(620, 240);
  layout->addWidget(Memo1, 1);
  const qt::OkCancel b = qt::addOkCancel(this, layout, "ＯＫ (&Y)", "キャンセル(&N)");
  OKBtn = b.ok;
  CancelBtn = b.cancel;
  connect(OKBtn, &QPushButton::clicked, this, &TFmSetCad::okPressed);
}

bool TFmSetCad::execute(CadSettings& s) {
  qt::presetText(Edit1, QString::fromStdString(shortestNumberText(s.waitSeconds)));
  CheckBox1->setChecked(s.maximise);
  CheckBox2->setChecked(s.numbered);
  qt::presetText(Edit2, qt::fromSjis(s.title));
  qt::presetText(Edit3, qt::fromSjis(s.command));
  qt::presetText(Edit4, QString::number(s.currentNumber));
  ComboBox1->setCurrentIndex(s.scaleIndex >= 0 && s.scaleIndex <= 4 ? s.scaleIndex : 0);
  target_ = &s;
  const bool ok = exec() == QDialog::Accepted;
  target_ = nullptr;
  return ok;
}

void TFmSetCad::okPressed() {
  auto refuse = [this](QLineEdit* field, const char* text) {
    qt::beep();
    showMessage(u(text));
    field->setFocus();
    field->selectAll();
  };
  double wait = 0;
  if (!parseDouble(qt::toSjis(Edit1->text()), wait)) wait = 0;  // not a number: 0
  if (!(wait >= 0 && wait <= 60)) return refuse(Edit1, "コマンドキー送信ウエイト時間は、0～60秒以内で入力して下さい。");
  int32_t number = 0;
  if (!parseInt32(qt::toSjis(Edit4->text()), number)) number = 0;
  if (number < 0) return refuse(Edit4, "番号は0以上の値で入力して下さい。");
  if (target_) {
    target_->waitSeconds = wait;
    target_->maximise = CheckBox1->isChecked();
    target_->numbered = CheckBox2->isChecked();
    target_->title = qt::toSjis(Edit2->text());
    target_->command = qt::toSjis(Edit3->text());
    target_->currentNumber = number;
    target_->scaleIndex = ComboBox1->currentIndex();
  }
  accept();
}

}  // namespace kubrix::cad
