// TYNDlg1: the yes/no question of INP_YN. Two lines of text, "はい (&Y)" (default, with the focus) and
// "いいえ (&N)"; closing the dialog answers no.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace kubrix::qt {

class TYNDlg1 : public QDialog {
  Q_OBJECT
 public:
  explicit TYNDlg1(QWidget* parent = nullptr);

  // Fields kept between uses.
  QString captionText;
  QString line1, line2;
  bool answer = false;

  // Shows the question modally; returns answer (true for yes).
  bool execute();

  QLabel* Label1;
  QLabel* Label2;
  QPushButton* YesBtn;
  QPushButton* NoBtn;

 protected:
  void showEvent(QShowEvent* e) override;
};

}  // namespace kubrix::qt
