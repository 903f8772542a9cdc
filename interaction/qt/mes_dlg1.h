// TMesDlg1: the message box of MESSAGE. Two lines of text and an optional range line
// ("入力範囲：" min " ～ " max) above one centred OK button; the dialog is as wide as its widest line
// needs, at least 300 pixels.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace kubrix::qt {

class TMesDlg1 : public QDialog {
  Q_OBJECT
 public:
  explicit TMesDlg1(QWidget* parent = nullptr);

  // Fields kept between uses.
  QString captionText;
  QString line1, line2;
  QString rangeMin, rangeMax;  // both empty: no range line

  // Lays the dialog out for the fields and shows it modally until OK or closing.
  void execute();

  // The client width for labels of these text widths: the first line's width, but at least 300 (a
  // wider one gets 6 pixels more); then a wider second line, then a wider range line, each + 6.
  static int dialogWidth(int width1, int width2, int width3);

  QLabel* Label1;
  QLabel* Label2;
  QLabel* Label3;
  QPushButton* OKBtn;

 private:
  void layOut();
};

}  // namespace kubrix::qt
