// TInputDlg1: one text field with a prompt, for numbers and texts ("数値入力", "文字入力").
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace kubrix::qt {

class TInputDlg1 : public QDialog {
  Q_OBJECT
 public:
  explicit TInputDlg1(QWidget* parent = nullptr);

  // Fields kept between uses.
  bool confirmed = false;
  QString captionText;
  QString promptText;
  QString valueText;
  int maxLength = 0;  // CP932 bytes; applied only from 1 to 255 (0: no limit)

  // Shows the dialog modally with the fields; on OK valueText holds the edit text. Returns confirmed.
  bool execute();
  // The same with the fields given.
  bool ask(const QString& caption, const QString& prompt, QString& value, int maxBytes);

  QLabel* Label1;
  QLineEdit* Edit1;
  QPushButton* OKBtn;
  QPushButton* CancelBtn;

 protected:
  void showEvent(QShowEvent* e) override;
};

}  // namespace kubrix::qt
