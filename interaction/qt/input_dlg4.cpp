// TInputDlg4.
#include "interaction/qt/input_dlg4.h"

#include <QComboBox>
#include <QCompleter>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QAbstractItemView>
#include <algorithm>

#include "interaction/qt/beep.h"
#include "interaction/dialog_rules.h"
#include "interaction/qt/dialog_parts.h"

namespace kubrix::qt {

TInputDlg4::TInputDlg4(QWidget* parent) : QDialog(parent) {
  setObjectName("TInputDlg4");
  setWindowTitle(QString::fromUtf8("複数選択入力"));
  auto* layout = new QVBoxLayout(this);
  auto* grid = new QGridLayout;
  for (int i = 0; i < 4; ++i) {
    Labels[i] = new QLabel(this);
    Labels[i]->setObjectName(QString("Label%1").arg(i + 1));
    Boxes[i] = new QComboBox(this);
    Boxes[i]->setObjectName(QString("ComboBox%1").arg(i + 1));
    Boxes[i]->setMinimumWidth(260);
    Boxes[i]->setMaxVisibleItems(20);
    Boxes[i]->installEventFilter(this);
    Labels[i]->setBuddy(Boxes[i]);
    grid->addWidget(Labels[i], i, 0);
    grid->addWidget(Boxes[i], i, 1);
  }
  grid->setColumnStretch(1, 1);
  layout->addLayout(grid);
  layout->addSpacing(6);
  const OkCancel b = addOkCancel(this, layout);
  OKBtn = b.ok;
  CancelBtn = b.cancel;
  connect(OKBtn, &QPushButton::clicked, this, &TInputDlg4::okPressed);
}

int TInputDlg4::count() const { return std::clamp(rowCount, 1, 4); }

void TInputDlg4::prepareRow(int i) {
  QComboBox* box = Boxes[static_cast<size_t>(i)];
  const Row& row = rows[static_cast<size_t>(i)];
  const bool shown = i < count();
  Labels[static_cast<size_t>(i)]->setVisible(shown);
  box->setVisible(shown);
  box->setEnabled(shown);
  if (!shown) return;
  Labels[static_cast<size_t>(i)]->setText(row.label);
  if (box->lineEdit()) box->lineEdit()->removeEventFilter(this);
  box->clear();
  box->setEditable(!isListMode(row.mode));
  box->addItems(row.items);
  if (box->lineEdit()) {
    box->lineEdit()->installEventFilter(this);
    box->setInsertPolicy(QComboBox::NoInsert);
    if (box->completer()) box->completer()->setCaseSensitivity(Qt::CaseSensitive);
  }
  if (isListMode(row.mode)) {
    std::vector<std::string> items;
    items.reserve(static_cast<size_t>(row.items.size()));
    for (const QString& item : row.items) items.push_back(toSjis(item));
    box->setCurrentIndex(rowPreset(row.mode, items, toSjis(row.value)));
  } else {
    box->setCurrentIndex(-1);
    box->setEditText(row.value);
  }
}

void TInputDlg4::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  Boxes[0]->setFocus();
}

bool TInputDlg4::execute() {
  for (int i = 0; i < 4; ++i) prepareRow(i);
  adjustSize();
  confirmed = exec() == QDialog::Accepted;
  return confirmed;
}

void TInputDlg4::okPressed() {
  for (int i = 0; i < count(); ++i) {
    QComboBox* box = Boxes[static_cast<size_t>(i)];
    const int mode = rows[static_cast<size_t>(i)].mode;
    const bool refused = isListMode(mode) ? box->currentIndex() < 0 : refusedFreeText(toSjis(box->currentText()));
    if (refused) {
      beep();
      box->setFocus();
      return;
    }
  }
  for (int i = 0; i < count(); ++i) {
    QComboBox* box = Boxes[static_cast<size_t>(i)];
    Row& row = rows[static_cast<size_t>(i)];
    row.value = row.mode == 1 ? QString::number(box->currentIndex()) : box->currentText();
  }
  accept();
}

bool TInputDlg4::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return QDialog::eventFilter(watched, event);
  const auto* key = static_cast<QKeyEvent*>(event);
  if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) return QDialog::eventFilter(watched, event);
  for (int i = 0; i < count(); ++i) {
    QComboBox* box = Boxes[static_cast<size_t>(i)];
    if (watched != box && watched != box->lineEdit()) continue;
    if (box->view() && box->view()->isVisible()) return false;  // Enter picks from the open list
    if (i + 1 < count()) Boxes[static_cast<size_t>(i + 1)]->setFocus();
    else OKBtn->setFocus();
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace kubrix::qt
