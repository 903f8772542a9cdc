// The dialogs of saving a script: TForm2 ("コメント入力", the comment of a protected script file)
// and TForm4 ("配布用スクリプトファイル", title, author, URL and comment of a distribution script file).
#pragma once

#include <QDialog>
#include <QString>

class QFormLayout;
class QLineEdit;
class QPushButton;

namespace kubrix::gui {

// A dialog of labelled fields whose OK needs the first field filled: an empty one beeps and keeps
// the focus there. The first field has the focus on show.
class FieldsDialog : public QDialog {
  Q_OBJECT
 public:
  QLineEdit* Edit1;
  QPushButton* OKBtn;
  QPushButton* CancelBtn;

 protected:
  FieldsDialog(const char* objectName, const char* caption, QWidget* parent);
  // A field below the others (name "Edit<n>", at most maxBytes CP932 bytes).
  QLineEdit* addField(const char* name, const char* label, int maxBytes);
  // The OK and cancel buttons, after the last field.
  void addButtons();
  void showEvent(QShowEvent* e) override;

 private:
  void okPressed();
  QFormLayout* form_;
};

class TForm2 : public FieldsDialog {
  Q_OBJECT
 public:
  explicit TForm2(QWidget* parent = nullptr);
  // Empties the field ("コメント：", 255 bytes) and shows the dialog modally; on OK the comment is
  // in comment.
  bool execute(QString& comment);
};

// The header fields of a distribution script file as the dialog shows them.
struct DistributionFields {
  QString title, author, url, comment;
};

class TForm4 : public FieldsDialog {
  Q_OBJECT
 public:
  explicit TForm4(QWidget* parent = nullptr);
  // Shows the dialog modally with fields pre-filled; on OK they hold the confirmed texts.
  bool execute(DistributionFields& fields);

  // Edit1 "タイトル：" (128 bytes)
  QLineEdit* Edit2;  // "作成者名：", 128
  QLineEdit* Edit3;  // "ＵＲＬ：", 128
  QLineEdit* Edit4;  // "コメント：", 255
};

// A pre-fill of TForm4: the line from its third character on, with every blank (half-width and
// full-width spaces, control characters) removed.
QString distributionFieldFromLine(const QString& line);

}  // namespace kubrix::gui
