// TMesDlg1.
#include "interaction/qt/mes_dlg1.h"

#include <QLabel>
#include <QPushButton>
#include <algorithm>

#include "interaction/qt/dialog_parts.h"

namespace kubrix::qt {

namespace {

constexpr int kTop = 14, kLineGap = 6, kButtonGap = 16, kBottom = 12;

int textWidth(const QLabel* l) { return l->text().isEmpty() ? 0 : l->fontMetrics().horizontalAdvance(l->text()); }

}  // namespace

TMesDlg1::TMesDlg1(QWidget* parent) : QDialog(parent) {
  setObjectName("TMesDlg1");
  Label1 = new QLabel(this);
  Label2 = new QLabel(this);
  Label3 = new QLabel(this);
  int n = 1;
  for (QLabel* l : {Label1, Label2, Label3}) {
    l->setObjectName(QString("Label%1").arg(n++));
    l->setTextFormat(Qt::PlainText);
    l->setMargin(0);
    l->setIndent(0);
  }
  OKBtn = new QPushButton(QString::fromUtf8(kOkCaption), this);
  OKBtn->setObjectName("OKBtn");
  OKBtn->setDefault(true);
  OKBtn->setAutoDefault(true);
  OKBtn->resize(std::max(96, OKBtn->fontMetrics().horizontalAdvance(OKBtn->text()) + 28), OKBtn->sizeHint().height());
  connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
}

int TMesDlg1::dialogWidth(int width1, int width2, int width3) {
  int w = width1 <= 300 ? 300 : width1 + 6;
  if (width2 > w) w = width2 + 6;
  if (width3 > w) w = width3 + 6;
  return w;
}

void TMesDlg1::layOut() {
  const int w1 = textWidth(Label1), w2 = textWidth(Label2), w3 = textWidth(Label3);
  const int w = dialogWidth(w1, w2, w3);
  // The lines stand left-aligned in a block centred in the dialog.
  const int x = (w - std::max({w1, w2, w3})) / 2;
  const int h = Label1->fontMetrics().height();
  int y = kTop;
  for (QLabel* l : {Label1, Label2, Label3}) {
    l->setGeometry(x, y, std::max(textWidth(l), 1), h);
    y += h + kLineGap;
  }
  y += kButtonGap - kLineGap;
  OKBtn->move((w - OKBtn->width()) / 2, y);
  setFixedSize(w, y + OKBtn->height() + kBottom);
}

void TMesDlg1::execute() {
  setWindowTitle(captionText);
  Label1->setText(line1);
  Label2->setText(line2);
  const bool range = !rangeMin.isEmpty() || !rangeMax.isEmpty();
  Label3->setText(range ? QString::fromUtf8("入力範囲：") + rangeMin + QString::fromUtf8(" ～ ") + rangeMax : QString());
  layOut();
  OKBtn->setFocus();
  exec();
}

}  // namespace kubrix::qt
