// TColorDlg1 and its swatch chart.
#include "interaction/qt/color_dlg1.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>

#include "geometry/palette.h"
#include "interaction/qt/dialog_parts.h"

namespace kubrix::qt {

namespace {

constexpr int kCellW = 20, kCellH = 18;
constexpr int kRowOrder[10] = {8, 6, 4, 2, 0, 1, 3, 5, 7, 9};

QColor toQColor(Rgb c) { return QColor(c.r, c.g, c.b); }

Rgb toRgb(QColor c) {
  return Rgb{static_cast<uint8_t>(c.red()), static_cast<uint8_t>(c.green()), static_cast<uint8_t>(c.blue())};
}

}  // namespace

ColorChart::ColorChart(QWidget* parent) : QWidget(parent), image_(480, 198, QImage::Format_RGB32) {
  setObjectName("Image1");
  setFixedSize(image_.size());
  setCursor(Qt::CrossCursor);
  image_.fill(Qt::white);
  QPainter p(&image_);
  auto cell = [&](int c, int r, int index) { p.fillRect(kCellW * c, kCellH * r, kCellW, kCellH, toQColor(paletteColour(index))); };
  for (int i = 1; i <= 9; ++i) cell(i - 1, 0, i);
  for (int i = 250; i <= 255; ++i) cell(9 + i - 250, 0, i);
  for (int j = 0; j < 10; ++j)
    for (int c = 0; c < 24; ++c) cell(c, j + 1, 10 + 10 * c + kRowOrder[j]);
}

QPoint ColorChart::cellOf(int index) {
  if (index >= 1 && index <= 9) return {index - 1, 0};
  if (index >= 250 && index <= 255) return {9 + index - 250, 0};
  if (index >= 10 && index <= 249) {
    const int c = (index - 10) / 10, k = (index - 10) % 10;
    for (int j = 0; j < 10; ++j)
      if (kRowOrder[j] == k) return {c, j + 1};
  }
  return {-1, -1};
}

void ColorChart::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.drawImage(0, 0, image_);
}

void ColorChart::mousePressEvent(QMouseEvent* e) {
  const QPoint pt = e->position().toPoint();
  if (!image_.rect().contains(pt)) return;
  // The white background beside the first row is no palette colour: a press there picks nothing.
  const QColor c = image_.pixelColor(pt);
  if (c == QColor(Qt::white)) return;
  emit picked(c);
}

TColorDlg1::TColorDlg1(QWidget* parent) : QDialog(parent) {
  setObjectName("TColorDlg1");
  setWindowTitle(QString::fromUtf8("色指定"));
  auto* layout = new QVBoxLayout(this);
  Image1 = new ColorChart(this);
  layout->addWidget(Image1, 0, Qt::AlignHCenter);
  auto* row = new QHBoxLayout;
  Label1 = new QLabel(this);
  Label1->setObjectName("Label1");
  Label1->setFixedSize(60, 36);
  Label1->setAutoFillBackground(true);
  Label1->setFrameShape(QFrame::Box);
  Label3 = new QLabel(this);
  Label3->setObjectName("Label3");
  Label3->setMinimumWidth(40);
  Label2 = new QLabel(QString::fromUtf8("※白色（＝背景色）はありません"), this);
  Label2->setObjectName("Label2");
  row->addWidget(Label1);
  row->addWidget(Label3);
  row->addSpacing(12);
  row->addWidget(Label2);
  row->addStretch(1);
  layout->addLayout(row);
  const OkCancel b = addOkCancel(this, layout);
  OKBtn = b.ok;
  CancelBtn = b.cancel;
  connect(Image1, &ColorChart::picked, this, [this](QColor c) { showColour(c); });
  connect(OKBtn, &QPushButton::clicked, this, [this] {
    colourIndex = shownIndex();
    accept();
  });
  setFixedSize(sizeHint());
}

int TColorDlg1::shownIndex() const { return paletteIndex(toRgb(shown_)); }

void TColorDlg1::showColour(QColor c) {
  shown_ = c;
  QPalette pal = Label1->palette();
  pal.setColor(QPalette::Window, c);
  Label1->setPalette(pal);
  Label3->setText(QString::number(shownIndex()));
}

bool TColorDlg1::execute() {
  showColour(toQColor(paletteColour(colourIndex)));
  confirmed = exec() == QDialog::Accepted;
  return confirmed;
}

}  // namespace kubrix::qt
