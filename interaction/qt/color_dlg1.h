// TColorDlg1 ("色指定"): the colour picker. A chart of swatches of the 255 palette colours; a press
// on the chart takes the colour under the pointer; OK gives that colour's palette index.
#pragma once

#include <QColor>
#include <QDialog>
#include <QImage>
#include <QWidget>

class QLabel;
class QPushButton;

namespace kubrix::qt {

// The swatch chart (Image1), 480 x 198 pixels.
class ColorChart : public QWidget {
  Q_OBJECT
 public:
  explicit ColorChart(QWidget* parent = nullptr);
  const QImage& image() const { return image_; }
  QSize sizeHint() const override { return image_.size(); }
  // The chart position (column, row) of a colour index, or (-1, -1) when the chart does not show it.
  static QPoint cellOf(int index);

 signals:
  void picked(QColor colour);

 protected:
  void paintEvent(QPaintEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;

 private:
  QImage image_;
};

class TColorDlg1 : public QDialog {
  Q_OBJECT
 public:
  explicit TColorDlg1(QWidget* parent = nullptr);

  // Fields kept between uses.
  bool confirmed = false;
  int colourIndex = 1;

  // Shows the picker modally, preset to colourIndex; after OK colourIndex is the chosen index.
  bool execute();
  // The colour shown in Label1 and its index.
  QColor shownColour() const { return shown_; }
  int shownIndex() const;

  ColorChart* Image1;
  QLabel* Label1;
  QLabel* Label2;
  QLabel* Label3;
  QPushButton* OKBtn;
  QPushButton* CancelBtn;

 private:
  void showColour(QColor c);
  QColor shown_;
};

}  // namespace kubrix::qt
