// TYNDlg1.
#include "interaction/qt/yn_dlg1.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "interaction/qt/dialog_parts.h"

namespace kubrix::qt {

TYNDlg1::TYNDlg1(QWidget* parent) : QDialog(parent) {
  setObjectName("TYNDlg1");
  auto* layout = new QVBoxLayout(this);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  Label1 = new QLabel(this);
  Label2 = new QLabel(this);
  Label1->setObjectName("Label1");
  Label2->setObjectName("Label2");
  for (QLabel* l : {Label1, Label2}) {
    l->setTextFormat(Qt::PlainText);
    l->setMinimumWidth(300);
    layout->addWidget(l);
  }
  layout->addSpacing(8);
  const OkCancel b = addOkCancel(this, layout, "はい (&Y)", "いいえ (&N)");
  YesBtn = b.ok;
  NoBtn = b.cancel;
  YesBtn->setObjectName("YesBtn");
  NoBtn->setObjectName("NoBtn");
  connect(YesBtn, &QPushButton::clicked, this, &QDialog::accept);
}

void TYNDlg1::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  YesBtn->setFocus();
}

bool TYNDlg1::execute() {
  setWindowTitle(captionText);
  Label1->setText(line1);
  Label2->setText(line2);
  answer = exec() == QDialog::Accepted;
  return answer;
}

}  // namespace kubrix::qt
