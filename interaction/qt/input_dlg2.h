// TInputDlg2 ("選択入力"): a choice from a list.
#pragma once

#include <QDialog>
#include <QStringList>

class QComboBox;
class QLabel;
class QPushButton;

namespace kubrix::qt {

class TInputDlg2 : public QDialog {
  Q_OBJECT
 public:
  explicit TInputDlg2(QWidget* parent = nullptr);

  // Fields kept between uses.
  bool confirmed = false;
  QString promptText;
  QStringList items;
  QString chosenText;  // on show: the wanted text; after OK: the chosen item
  int chosenIndex = -1;

  // Fills the list, shows the dialog modally and returns confirmed. On show the first item is
  // selected, then the first item equal to chosenText if there is one. OK without a selection beeps.
  bool execute();

  QLabel* Label1;
  QComboBox* ComboBox1;
  QPushButton* OKBtn;
  QPushButton* CancelBtn;

 protected:
  void showEvent(QShowEvent* e) override;
};

}  // namespace kubrix::qt
