// The data table TFmHyo2 ("データ表"): every figure element with its kind, layer, colour and
// coordinates (the first 32765 of them), the selection set in a memo and the counts by kind in the
// status bar. It shows a snapshot, taken when shown and when "更新" is clicked.
#pragma once

#include <QAbstractTableModel>
#include <QWidget>
#include <functional>

#include "app/windows/table_texts.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QStatusBar;
class QTableView;

namespace kubrix {

// The grid's rows, formatted when shown.
class DataTableModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  using QAbstractTableModel::QAbstractTableModel;
  void setRows(std::vector<FigureElement> rows);
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  std::vector<FigureElement> rows_;
};

class TFmHyo2 : public QWidget {
  Q_OBJECT
 public:
  // Fills snapshot with the current store and selection; false keeps what the table shows.
  using Source = std::function<bool(DataTableSnapshot& snapshot)>;

  explicit TFmHyo2(QWidget* parent = nullptr);
  void setSource(Source source) { source_ = std::move(source); }
  // A source reading the store and asking selection() for the selection set.
  void setStore(const FigureStore* store, std::function<std::vector<long long>()> selection = {});

  void refresh();  // "更新"
  QString statusText() const;

  QTableView* StringGrid1;
  QPlainTextEdit* Memo1;
  QPushButton* Panel1;
  QStatusBar* StatusBar1;

 protected:
  void showEvent(QShowEvent* e) override;

 private:
  Source source_;
  DataTableModel* model_;
  QLabel* status_;
};

}  // namespace kubrix
