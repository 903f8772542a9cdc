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

}  // namespace

QString distributionFieldFromLine(const QString& line) {
  QString out;
  for (QChar c : line.mid(2))
    if (c > QChar(' ') && c != QChar(0x3000) && c != QChar(0x7F)) out += c;
  return out;
}

FieldsDialog::FieldsDialog(const char* objectName, const char* caption, QWidget* parent) : QDialog(parent) {
  setObjectName(objectName);
  setWindowTitle(u(caption));
  auto* layout = new QVBoxLayout(this);
  form_ = new QFormLayout;
  layout->addLayout(form_);
}

QLineEdit* FieldsDialog::addField(const char* name, const char* label, int maxBytes) {
  auto* e = new QLineEdit(this);
  e->setObjectName(name);
  e->setMinimumWidth(360);
  qt::limitSjisBytes(e, maxBytes);
  form_->addRow(u(label), e);
  return e;
}

void FieldsDialog::addButtons() {
  const qt::OkCancel b = qt::addOkCancel(this, static_cast<QVBoxLayout*>(layout()), "ＯＫ (&Y)", "キャンセル(&N)");
  OKBtn = b.ok;
  CancelBtn = b.cancel;
  connect(OKBtn, &QPushButton::clicked, this, &FieldsDialog::okPressed);
}

void FieldsDialog::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  Edit1->setFocus();
}

void FieldsDialog::okPressed() {
  if (!Edit1->text().isEmpty()) return accept();
  qt::beep();
  Edit1->setFocus();
}

TForm2::TForm2(QWidget* parent) : FieldsDialog("TForm2", "コメント入力", parent) {
  Edit1 = addField("Edit1", "コメント：", 255);
  addButtons();
}

bool TForm2::execute(QString& comment) {
  qt::presetText(Edit1, QString());
  if (exec() != QDialog::Accepted) return false;
  comment = Edit1->text();
  return true;
}

TForm4::TForm4(QWidget* parent) : FieldsDialog("TForm4", "配布用スクリプトファイル", parent) {
  Edit1 = addField("Edit1", "タイトル：", 128);
  Edit2 = addField("Edit2", "作成者名：", 128);
  Edit3 = addField("Edit3", "ＵＲＬ：", 128);
  Edit4 = addField("Edit4", "コメント：", 255);
  addButtons();
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
