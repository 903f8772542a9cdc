// What the variable table and the data table show, as plain data: snapshots of the stores taken
// when a table is filled, and the texts of the data table's memo, cells and status bar (UTF-8).
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "engine/var_store.h"
#include "geometry/figure_store.h"

namespace kubrix {

// The data table lists at most this many elements (its grid holds one more row, the headings).
inline constexpr size_t kDataTableMaxRows = 32765;
inline constexpr int kDataTableColumns = 17;
extern const std::array<const char*, kDataTableColumns> kDataTableHeadings;

// Element counts by kind: lines, points, triangle faces, quad faces, other kinds.
struct KindCounts {
  std::array<size_t, 5> n{};
};

struct DataTableSnapshot {
  std::vector<FigureElement> rows;  // the first kDataTableMaxRows elements, live or deleted
  KindCounts live, all;             // over the whole store
  std::vector<long long> selection; // element numbers of the selection set, in order
};

// Copies what the data table shows from the store and the selection set.
DataTableSnapshot makeDataTableSnapshot(const FigureStore& store, const std::vector<long long>& selection);

// The memo: "選択図形要素数：" n, then "{", the numbers twenty to a line separated by ",", and "}".
std::vector<std::string> selectionMemoLines(const std::vector<long long>& selection);
// The status bar: live counts, then "　　削除データ含（" the counts with deleted elements "）".
std::string dataTableStatusText(const KindCounts& live, const KindCounts& all);
// The text of one cell: column 0 the number, 1 "○" or "－", 2 the kind, 3 layer, 4 colour, 5..16
// the twelve coordinates.
std::string dataTableCell(const FigureElement& e, size_t number, int column);

struct VariableTableSnapshot {
  std::vector<TGV> vars;
  std::vector<TGLV> lists;
  // The first list of exactly that name, or null.
  const TGLV* findList(const std::string& name) const;
};
VariableTableSnapshot makeVariableTableSnapshot(const VarStore& vars, const ListStore& lists);

}  // namespace kubrix
