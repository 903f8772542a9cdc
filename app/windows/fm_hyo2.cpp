// The data table window.
#include "app/windows/fm_hyo2.h"

#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QSplitter>
#include <QStatusBar>
#include <QTableView>

#include "app/windows/refresh_bar.h"

namespace kubrix {

void DataTableModel::setRows(std::vector<FigureElement> rows) {
  beginResetModel();
  rows_ = std::move(rows);
  endResetModel();
}

int DataTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int DataTableModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kDataTableColumns; }

QVariant DataTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || static_cast<size_t>(index.row()) >= rows_.size()) return {};
  if (role == Qt::DisplayRole)
    return QString::fromStdString(
        dataTableCell(rows_[static_cast<size_t>(index.row())], static_cast<size_t>(index.row()) + 1, index.column()));
  if (role == Qt::TextAlignmentRole)
    return QVariant::fromValue(index.column() == 1 || index.column() == 2 ? Qt::AlignCenter
                                                                           : Qt::AlignRight | Qt::AlignVCenter);
  return {};
}

QVariant DataTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < kDataTableColumns)
    return QString::fromUtf8(kDataTableHeadings[static_cast<size_t>(section)]);
  return QAbstractTableModel::headerData(section, orientation, role);
}

TFmHyo2::TFmHyo2(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("TFmHyo2"));
  setWindowTitle(QStringLiteral("データ表"));
  resize(760, 480);

  model_ = new DataTableModel(this);
  StringGrid1 = new QTableView(this);
  StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
  StringGrid1->setModel(model_);
  StringGrid1->verticalHeader()->hide();
  StringGrid1->verticalHeader()->setDefaultSectionSize(StringGrid1->fontMetrics().height() + 6);
  StringGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
  StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
  StringGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  StringGrid1->horizontalHeader()->setDefaultSectionSize(64);

  Memo1 = new QPlainTextEdit(this);
  Memo1->setObjectName(QStringLiteral("Memo1"));
  Memo1->setReadOnly(true);
  Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
  Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

  auto* split = new QSplitter(Qt::Vertical, this);
  split->addWidget(StringGrid1);
  split->addWidget(Memo1);
  split->setStretchFactor(0, 1);
  split->setSizes({380, 80});

  const RefreshBar bottom = layOutWithRefreshBar(this, split);
  Panel1 = bottom.button;
  StatusBar1 = bottom.bar;
  // One text for the whole bar; a label keeps it where transient messages would not.
  status_ = new QLabel(StatusBar1);
  StatusBar1->addWidget(status_, 1);

  connect(Panel1, &QPushButton::clicked, this, &TFmHyo2::refresh);
}

void TFmHyo2::setStore(const FigureStore* store, std::function<std::vector<long long>()> selection) {
  if (!store) {
    source_ = nullptr;
    return;
  }
  source_ = [store, selection = std::move(selection)](DataTableSnapshot& s) {
    s = makeDataTableSnapshot(*store, selection ? selection() : std::vector<long long>{});
    return true;
  };
}

void TFmHyo2::showEvent(QShowEvent* e) {
  QWidget::showEvent(e);
  if (!e->spontaneous()) refresh();
}

void TFmHyo2::refresh() {
  DataTableSnapshot s;
  if (source_ && !source_(s)) return;
  QStringList memo;
  for (const std::string& line : selectionMemoLines(s.selection)) memo << QString::fromStdString(line);
  Memo1->setPlainText(memo.join('\n'));
  model_->setRows(std::move(s.rows));
  status_->setText(QString::fromStdString(dataTableStatusText(s.live, s.all)));
}

QString TFmHyo2::statusText() const { return status_->text(); }

}  // namespace kubrix
