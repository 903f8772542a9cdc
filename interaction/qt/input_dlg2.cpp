// TInputDlg2.
#include "interaction/qt/input_dlg2.h"

#include <QComboBox>
#include <QLabel>
#include <QVBoxLayout>

#include "interaction/qt/beep.h"
#include "interaction/qt/dialog_parts.h"

namespace kubrix::qt {

TInputDlg2::TInputDlg2(QWidget* parent) : QDialog(parent) {
  setObjectName("TInputDlg2");
  setWindowTitle(QString::fromUtf8("選択入力"));
  auto* layout = new QVBoxLayout(this);
  Label1 = new QLabel(this);
  Label1->setObjectName("Label1");
  ComboBox1 = new QComboBox(this);
  ComboBox1->setObjectName("ComboBox1");
  ComboBox1->setEditable(false);
  ComboBox1->setMinimumWidth(320);
  ComboBox1->setMaxVisibleItems(20);
  Label1->setBuddy(ComboBox1);
  layout->addWidget(Label1);
  layout->addWidget(ComboBox1);
  layout->addSpacing(6);
  const OkCancel b = addOkCancel(this, layout);
  OKBtn = b.ok;
  CancelBtn = b.cancel;
  connect(OKBtn, &QPushButton::clicked, this, [this] {
    if (ComboBox1->currentIndex() < 0) {
      beep();
      return;
    }
    chosenIndex = ComboBox1->currentIndex();
    chosenText = ComboBox1->currentText();
    accept();
  });
}

void TInputDlg2::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  ComboBox1->setFocus();
}

bool TInputDlg2::execute() {
  Label1->setText(promptText);
  ComboBox1->clear();
  ComboBox1->addItems(items);
  ComboBox1->setCurrentIndex(items.isEmpty() ? -1 : 0);
  const int wanted = static_cast<int>(items.indexOf(chosenText));
  if (wanted >= 0) ComboBox1->setCurrentIndex(wanted);
  confirmed = exec() == QDialog::Accepted;
  return confirmed;
}

}  // namespace kubrix::qt
