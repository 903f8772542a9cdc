// TInputDlg1.
#include "interaction/qt/input_dlg1.h"

#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "interaction/qt/dialog_parts.h"

namespace kubrix::qt {

TInputDlg1::TInputDlg1(QWidget* parent) : QDialog(parent) {
  setObjectName("TInputDlg1");
  auto* layout = new QVBoxLayout(this);
  Label1 = new QLabel(this);
  Label1->setObjectName("Label1");
  Edit1 = new QLineEdit(this);
  Edit1->setObjectName("Edit1");
  Edit1->setMinimumWidth(320);
  Label1->setBuddy(Edit1);
  layout->addWidget(Label1);
  layout->addWidget(Edit1);
  layout->addSpacing(6);
  const OkCancel b = addOkCancel(this, layout);
  OKBtn = b.ok;
  CancelBtn = b.cancel;
  connect(OKBtn, &QPushButton::clicked, this, [this] {
    valueText = Edit1->text();
    accept();
  });
  limitSjisBytes(Edit1, 0);
}

void TInputDlg1::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  Edit1->setFocus();
  Edit1->selectAll();
}

bool TInputDlg1::execute() {
  setWindowTitle(captionText);
  Label1->setText(promptText);
  limitSjisBytes(Edit1, maxLength >= 1 && maxLength <= 255 ? maxLength : 0);
  presetText(Edit1, valueText);
  Edit1->selectAll();
  confirmed = exec() == QDialog::Accepted;
  return confirmed;
}

bool TInputDlg1::ask(const QString& caption, const QString& prompt, QString& value, int maxBytes) {
  captionText = caption;
  promptText = prompt;
  valueText = value;
  maxLength = maxBytes;
  if (!execute()) return false;
  value = valueText;
  return true;
}

}  // namespace kubrix::qt
