// The dialogs of saving a script: TForm2 ("コメント入力", the comment of a protected script file)
// and TForm4 ("配布用スクリプトファイル", title, author, URL and comment of a distribution script file).
#pragma once

#include <QDialog>
#include <QString>

class QLineEdit;
class QPushButton;

namespace kubrix::gui {

class TForm2 : public QDialog {
  Q_OBJECT
 public:
  explicit TForm2(QWidget* parent = nullptr);
  // Empties the field and shows the dialog modally; on OK the comment is in comment.
  bool execute(QString& comment);

  QLineEdit* Edit1;  // "コメント：", at most 255 bytes
  QPushButton* OKBtn;
  QPushButton* CancelBtn;

 protected:
  void showEvent(QShowEvent* e) override;

 private:
  void okPressed();
};

// The header fields of a distribution script file as the dialog shows them.
struct DistributionFields {
  QString title, author, url, comment;
};

class TForm4 : public QDialog {
  Q_OBJECT
 public:
  explicit TForm4(QWidget* parent = nullptr);
  // Shows the dialog modally with fields pre-filled; on OK they hold the confirmed texts.
  bool execute(DistributionFields& fields);

  QLineEdit* Edit1;  // "タイトル：", 128 bytes
  QLineEdit* Edit2;  // "作成者名：", 128
  QLineEdit* Edit3;  // "ＵＲＬ：", 128
  QLineEdit* Edit4;  // "コメント：", 255
  QPushButton* OKBtn;
  QPushButton* CancelBtn;

 protected:
  void showEvent(QShowEvent* e) override;

 private:
  void okPressed();
};

// A pre-fill of TForm4: the line from its third character on, with every blank (half-width and
// full-width spaces, control characters) removed.
QString distributionFieldFromLine(const QString& line);

}  // namespace kubrix::gui
