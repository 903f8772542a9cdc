// The settings dialogs of the main window: TSetLine ("線設定": layer and colour of the seven line
// kinds and the three division counts) and TSetElse ("その他の設定": personal name, author name and
// URL), and the about box.
#pragma once

#include <QDialog>
#include <array>

#include "files/settings.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kubrix::qt {
class TColorDlg1;
}

namespace kubrix::gui {

class TSetLine : public QDialog {
  Q_OBJECT
 public:
  // picker: the colour picker the "色選択" buttons open.
  TSetLine(qt::TColorDlg1* picker, QWidget* parent = nullptr);

  // Fills the fields from the settings, shows the dialog modally; on OK (all values valid) the
  // values are stored into s and true is returned.
  bool execute(Settings& s);

  std::array<QLineEdit*, 7> EditA;  // layers, EditA1..EditA7
  std::array<QLineEdit*, 7> EditB;  // colours, EditB1..EditB7
  std::array<QPushButton*, 7> ColorBtn;
  QLineEdit* Edit1;  // arc segments
  QLineEdit* Edit2;  // curve segments
  QLineEdit* Edit3;  // corner segments
  // Why "ＯＫ" was refused: the field and its range (empty while all is well).
  QLabel* MessageLabel;
  QPushButton* OKBtn;
  QPushButton* CancelBtn;

 protected:
  void showEvent(QShowEvent* e) override;

 private:
  void okPressed();
  void pickColour(int row);
  qt::TColorDlg1* picker_;
  Settings* target_ = nullptr;
};

class TSetElse : public QDialog {
  Q_OBJECT
 public:
  explicit TSetElse(QWidget* parent = nullptr);
  // Fills the fields, shows the dialog modally; on OK stores the three texts (an empty personal name
  // becomes "---") and the reload option.
  bool execute(Settings& s);

  QLineEdit* Edit1;  // personal name
  QLineEdit* Edit2;  // author name
  QLineEdit* Edit3;  // author URL
  QCheckBox* CheckBox1;  // "ファイル変更時に再読込"
  QPushButton* OKBtn;
  QPushButton* CancelBtn;

 protected:
  void showEvent(QShowEvent* e) override;
};

class TAboutBox : public QDialog {
  Q_OBJECT
 public:
  explicit TAboutBox(QWidget* parent = nullptr);
};

// A field's text read as an integer the way the dialogs read them: not an integer counts as 0.
int fieldInt(const QLineEdit* edit);

}  // namespace kubrix::gui
