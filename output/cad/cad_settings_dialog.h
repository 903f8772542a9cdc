// The settings dialogs of the CAD hand-over: TFmSetACAD ("AutoCAD出力設定"), TFmSetGSU6
// ("SketchUp6出力設定") and TFmSetGSU7 ("SketchUp7出力設定"), one form with the key wait time,
// maximise and numbering, the title text, the command keys, the current number and the output
// scale, and a memo that explains the key strings with examples.
#pragma once

#include <QDialog>
#include <functional>

#include "files/settings.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace kubrix::cad {

class TFmSetCad : public QDialog {
  Q_OBJECT
 public:
  TFmSetCad(const char* objectName, const char* caption, QWidget* parent = nullptr);

  // Fills the fields from s and shows the dialog modally; on OK (the checks passed) the fields are
  // stored into s and true is returned.
  bool execute(CadSettings& s);

  // The refusal messages (default: a message box). Tests replace it.
  std::function<void(const QString&)> showMessage;

  QLineEdit* Edit1;       // key wait time, seconds
  QCheckBox* CheckBox1;   // maximise when sending keys
  QCheckBox* CheckBox2;   // number the temporary files
  QLineEdit* Edit2;       // title text
  QLineEdit* Edit3;       // command keys
  QLineEdit* Edit4;       // current number
  QComboBox* ComboBox1;   // output scale
  QPlainTextEdit* Memo1;  // the key syntax
  QPushButton* OKBtn;
  QPushButton* CancelBtn;

 private:
  void okPressed();
  CadSettings* target_ = nullptr;
};

class TFmSetACAD : public TFmSetCad {
  Q_OBJECT
 public:
  explicit TFmSetACAD(QWidget* parent = nullptr) : TFmSetCad("TFmSetACAD", "AutoCAD出力設定", parent) {}
};

class TFmSetGSU6 : public TFmSetCad {
  Q_OBJECT
 public:
  explicit TFmSetGSU6(QWidget* parent = nullptr) : TFmSetCad("TFmSetGSU6", "SketchUp6出力設定", parent) {}
};

class TFmSetGSU7 : public TFmSetCad {
  Q_OBJECT
 public:
  explicit TFmSetGSU7(QWidget* parent = nullptr) : TFmSetCad("TFmSetGSU7", "SketchUp7出力設定", parent) {}
};

// The explanation the dialogs show (UTF-8).
extern const char* const kKeySyntaxHelp;

}  // namespace kubrix::cad
