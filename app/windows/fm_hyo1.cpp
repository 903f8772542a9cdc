// The variable table window.
#include "app/windows/fm_hyo1.h"

#include <algorithm>
#include <QHeaderView>
#include <QPushButton>
#include <QShowEvent>
#include <QSplitter>
#include <QStatusBar>
#include <QTableWidget>

#include "app/windows/refresh_bar.h"
#include "engine/sjis.h"

namespace kubrix {

namespace {

QString fromSjis(const std::string& s) { return QString::fromStdString(sjisToUtf8(s)); }

QTableWidget* makeGrid(QWidget* parent, const char* name, const QStringList& headings) {
  auto* g = new QTableWidget(1, static_cast<int>(headings.size()), parent);
  g->setObjectName(QString::fromUtf8(name));
  g->setHorizontalHeaderLabels(headings);
  g->verticalHeader()->hide();
  g->verticalHeader()->setDefaultSectionSize(g->fontMetrics().height() + 6);
  g->setSelectionBehavior(QAbstractItemView::SelectRows);
  g->setSelectionMode(QAbstractItemView::SingleSelection);
  g->setEditTriggers(QAbstractItemView::NoEditTriggers);
  g->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  g->horizontalHeader()->setStretchLastSection(false);
  return g;
}

void setCell(QTableWidget* g, int row, int col, const QString& text) { g->setItem(row, col, new QTableWidgetItem(text)); }

}  // namespace

TFmHyo1::TFmHyo1(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("TFmHyo1"));
  setWindowTitle(QStringLiteral("変数表"));
  resize(520, 400);

  Splitter1 = new QSplitter(Qt::Horizontal, this);
  Splitter1->setObjectName(QStringLiteral("Splitter1"));
  StringGrid1 = makeGrid(Splitter1, "StringGrid1", {QStringLiteral("諸元名"), QStringLiteral("変数名"), QStringLiteral("変数値")});
  StringGrid2 = makeGrid(Splitter1, "StringGrid2", {QStringLiteral("No"), QStringLiteral("要素")});
  // The element numbers need little room; the elements take the rest of the grid's width, so the
  // column is whole whatever width the grid is given.
  StringGrid2->setColumnWidth(0, StringGrid2->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 12);
  StringGrid2->horizontalHeader()->setStretchLastSection(true);
  Splitter1->addWidget(StringGrid1);
  Splitter1->addWidget(StringGrid2);
  Splitter1->setStretchFactor(0, 1);

  const RefreshBar bottom = layOutWithRefreshBar(this, Splitter1);
  Panel1 = bottom.button;
  StatusBar1 = bottom.bar;

  connect(Panel1, &QPushButton::clicked, this, &TFmHyo1::refresh);
  connect(StringGrid1, &QTableWidget::currentCellChanged, this,
          [this](int row, int, int previousRow, int) {
            if (row != previousRow) variableRowClicked(row);
          });
  connect(StringGrid1, &QTableWidget::cellClicked, this, [this](int row, int) { variableRowClicked(row); });
}

void TFmHyo1::setStores(const VarStore* vars, const ListStore* lists) {
  if (!vars || !lists) {
    source_ = nullptr;
    return;
  }
  source_ = [vars, lists](VariableTableSnapshot& s) {
    s = makeVariableTableSnapshot(*vars, *lists);
    return true;
  };
}

void TFmHyo1::showEvent(QShowEvent* e) {
  QWidget::showEvent(e);
  if (e->spontaneous()) return;
  if (!laidOut_) {
    laidOut_ = true;
    setListGridWidth(listWidth_);
  }
  refresh();
}

int TFmHyo1::listGridWidth() const { return laidOut_ ? Splitter1->sizes().value(1) : listWidth_; }

void TFmHyo1::setListGridWidth(int width) {
  listWidth_ = std::max(width, 1);
  if (!laidOut_) return;
  const int total = Splitter1->width() - Splitter1->handleWidth();
  Splitter1->setSizes({std::max(total - listWidth_, 1), listWidth_});
}

void TFmHyo1::clearListGrid() {
  StringGrid2->clearContents();
  StringGrid2->setRowCount(1);
}

void TFmHyo1::refresh() {
  VariableTableSnapshot next;
  if (source_ && !source_(next)) return;
  snapshot_ = std::move(next);

  const QSignalBlocker block(StringGrid1);
  StringGrid1->clearContents();
  const int rows = static_cast<int>(snapshot_.vars.size());
  StringGrid1->setRowCount(rows > 0 ? rows : 1);
  for (int r = 0; r < rows; ++r) {
    const TGV& v = snapshot_.vars[static_cast<size_t>(r)];
    setCell(StringGrid1, r, 0, fromSjis(v.caption));
    setCell(StringGrid1, r, 1, fromSjis(v.name));
    setCell(StringGrid1, r, 2, fromSjis(v.value));
  }
  clearListGrid();
  StringGrid1->setCurrentCell(0, 0);
  StringGrid1->selectRow(0);
  variableRowClicked(0);
}

void TFmHyo1::variableRowClicked(int row) {
  clearListGrid();
  if (row < 0 || static_cast<size_t>(row) >= snapshot_.vars.size()) return;
  const TGLV* list = snapshot_.findList(snapshot_.vars[static_cast<size_t>(row)].name);
  if (!list) return;
  const int count = static_cast<int>(std::min<size_t>(static_cast<size_t>(std::max(list->count, 0)), list->elements.size()));
  if (count == 0) return;
  StringGrid2->setRowCount(count);
  for (int i = 0; i < count; ++i) {
    setCell(StringGrid2, i, 0, QString::number(i + 1));
    setCell(StringGrid2, i, 1, fromSjis(list->elements[static_cast<size_t>(i)]));
  }
}

}  // namespace kubrix
