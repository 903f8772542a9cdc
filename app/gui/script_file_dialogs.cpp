// TForm2 and TForm4.
#include "app/gui/script_file_dialogs.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "interaction/qt/beep.h"
#include "interaction/qt/dialog_parts.h"

namespace kubrix::gui {

namespace {

QString u(const char* s) { return QString::fromUtf8(s); }

constexpr const char* kOk = "ＯＫ (&Y)";
constexpr const char* kCancel = "キャンセル(&N)";

QLineEdit* field(QWidget* parent, QFormLayout* form, const char* name, const char* label, int maxBytes) {
  auto* e = new QLineEdit(parent);
  e->setObjectName(name);
  e->setMinimumWidth(360);
  qt::limitSjisBytes(e, maxBytes);
  form->addRow(u(label), e);
  return e;
}

// A refused OK: beep and the focus on the field.
void refuse(QLineEdit* e) {
  qt::beep();
  e->setFocus();
}

}  // namespace

QString distributionFieldFromLine(const QString& line) {
  QString out;
  for (QChar c : line.mid(2))
    if (c > QChar(' ') && c != QChar(0x3000) && c != QChar(0x7F)) out += c;
  return out;
}

TForm2::TForm2(QWidget* parent) : QDialog(parent) {
  setObjectName("TForm2");
  setWindowTitle(u("コメント入力"));
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  Edit1 = field(this, form, "Edit1", "コメント：", 255);
  layout->addLayout(form);
  const qt::OkCancel b = qt::addOkCancel(this, layout, kOk, kCancel);
  OKBtn = b.ok;
  CancelBtn = b.cancel;
  connect(OKBtn, &QPushButton::clicked, this, &TForm2::okPressed);
}

void TForm2::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  Edit1->setFocus();
}

void TForm2::okPressed() {
  if (Edit1->text().isEmpty()) return refuse(Edit1);
  accept();
}

bool TForm2::execute(QString& comment) {
  qt::presetText(Edit1, QString());
  if (exec() != QDialog::Accepted) return false;
  comment = Edit1->text();
  return true;
}

TForm4::TForm4(QWidget* parent) : QDialog(parent) {
  setObjectName("TForm4");
  setWindowTitle(u("配布用スクリプトファイル"));
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  Edit1 = field(this, form, "Edit1", "タイトル：", 128);
  Edit2 = field(this, form, "Edit2", "作成者名：", 128);
  Edit3 = field(this, form, "Edit3", "ＵＲＬ：", 128);
  Edit4 = field(this, form, "Edit4", "コメント：", 255);
  layout->addLayout(form);
  const qt::OkCancel b = qt::addOkCancel(this, layout, kOk, kCancel);
  OKBtn = b.ok;
  CancelBtn = b.cancel;
  connect(OKBtn, &QPushButton::clicked, this, &TForm4::okPressed);
}

void TForm4::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  Edit1->setFocus();
}

void TForm4::okPressed() {
  if (Edit1->text().isEmpty()) return refuse(Edit1);
  accept();
}

bool TForm4::execute(DistributionFields& f) {
  qt::presetText(Edit1, f.title);
  qt::presetText(Edit2, f.author);
  qt::presetText(Edit3, f.url);
  qt::presetText(Edit4, f.comment);
  if (exec() != QDialog::Accepted) return false;
  f = {Edit1->text(), Edit2->text(), Edit3->text(), Edit4->text()};
  return true;
}

}  // namespace kubrix::gui
