// TInputDlg4 ("複数選択入力"): up to four rows, each a label and a combo box whose kind is set by the
// row's mode: 1 choose from the list (answer: the position), 2 choose from the list (answer: the
// item), 3 free text with the list as suggestions, anything else free entry of a number.
#pragma once

#include <QDialog>
#include <QStringList>
#include <array>

class QComboBox;
class QLabel;
class QPushButton;

namespace kubrix::qt {

class TInputDlg4 : public QDialog {
  Q_OBJECT
 public:
  explicit TInputDlg4(QWidget* parent = nullptr);

  struct Row {
    int mode = 0;
    QString label;
    QString value;  // on show: the preset; after OK: the answer
    QStringList items;
  };

  // Fields kept between uses.
  bool confirmed = false;
  int rowCount = 1;  // 1 to 4
  std::array<Row, 4> rows;

  // Shows the dialog modally and returns confirmed; after OK each shown row's value is its answer.
  bool execute();

  std::array<QLabel*, 4> Labels;    // Label1..Label4
  std::array<QComboBox*, 4> Boxes;  // ComboBox1..ComboBox4
  QPushButton* OKBtn;
  QPushButton* CancelBtn;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* e) override;

 private:
  void prepareRow(int i);
  void okPressed();
  int count() const;
};

}  // namespace kubrix::qt
