// The variable table TFmHyo1 ("変数表"): the script variables in declaration order and, beside
// them, the elements of the list variable that has the name of the chosen variable. It shows a
// snapshot, taken when shown and when "更新" is clicked.
#pragma once

#include <QWidget>
#include <functional>

#include "app/windows/table_texts.h"

class QPushButton;
class QSplitter;
class QStatusBar;
class QTableWidget;

namespace kubrix {

class TFmHyo1 : public QWidget {
  Q_OBJECT
 public:
  // Fills snapshot with the current stores; false keeps what the table shows (a run is going on).
  using Source = std::function<bool(VariableTableSnapshot& snapshot)>;

  explicit TFmHyo1(QWidget* parent = nullptr);
  void setSource(Source source) { source_ = std::move(source); }
  // A source reading the two stores directly (they must not change while the table reads them).
  void setStores(const VarStore* vars, const ListStore* lists);

  // Fills both grids from a new snapshot ("更新").
  void refresh();
  // The click on a row of StringGrid1: the list of that row's name into StringGrid2.
  void variableRowClicked(int row);

  // Width of the list grid right of the splitter (settings key H1SW). Set before the first show,
  // it is applied when the window is laid out.
  int listGridWidth() const;
  void setListGridWidth(int width);

  QTableWidget* StringGrid1;
  QTableWidget* StringGrid2;
  QSplitter* Splitter1;
  QPushButton* Panel1;
  QStatusBar* StatusBar1;

 protected:
  void showEvent(QShowEvent* e) override;

 private:
  void clearListGrid();
  Source source_;
  VariableTableSnapshot snapshot_;
  int listWidth_ = 180;
  bool laidOut_ = false;
};

}  // namespace kubrix
