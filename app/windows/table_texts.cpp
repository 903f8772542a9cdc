// Snapshots and texts of the variable and data tables.
#include "app/windows/table_texts.h"

#include <algorithm>

#include "engine/number_text.h"

namespace kubrix {

const std::array<const char*, kDataTableColumns> kDataTableHeadings = {
    "No",  "有無", "TYP", "LAY", "COL", "P1X", "P1Y", "P1Z", "P2X",
    "P2Y", "P2Z",  "P3X", "P3Y", "P3Z", "P4X", "P4Y", "P4Z"};

namespace {

size_t kindSlot(int32_t kind) {
  switch (kind) {
    case kKindLine: return 0;
    case kKindPoint: return 1;
    case kKindTriangle: return 2;
    case kKindQuad: return 3;
    default: return 4;
  }
}

}  // namespace

DataTableSnapshot makeDataTableSnapshot(const FigureStore& store, const std::vector<long long>& selection) {
  DataTableSnapshot s;
  const auto& elements = store.elements();
  s.rows.assign(elements.begin(), elements.begin() + static_cast<std::ptrdiff_t>(std::min(elements.size(), kDataTableMaxRows)));
  for (const FigureElement& e : elements) {
    const size_t slot = kindSlot(e.kind);
    ++s.all.n[slot];
    if (e.live) ++s.live.n[slot];
  }
  s.selection = selection;
  return s;
}

std::vector<std::string> selectionMemoLines(const std::vector<long long>& selection) {
  std::vector<std::string> lines;
  std::string first = "選択図形要素数：";
  appendInt(first, static_cast<long long>(selection.size()));
  lines.push_back(std::move(first));
  std::string line;
  for (size_t i = 0; i < selection.size(); ++i) {
    if (i == 0) line = "{";
    appendInt(line, selection[i]);
    line += (i + 1 == selection.size()) ? "}" : ",";
    if ((i + 1) % 20 == 0 || i + 1 == selection.size()) {
      lines.push_back(std::move(line));
      line.clear();
    }
  }
  return lines;
}

std::string dataTableStatusText(const KindCounts& live, const KindCounts& all) {
  static const char* const kNames[5] = {"直線 ", "，点 ", "，三角面 ", "，四角面 ", "，？ "};
  std::string s;
  for (size_t i = 0; i < 5; ++i) {
    s += kNames[i];
    appendInt(s, static_cast<long long>(live.n[i]));
  }
  s += "　　削除データ含（";
  for (size_t i = 0; i < 5; ++i) {
    s += kNames[i];
    appendInt(s, static_cast<long long>(all.n[i]));
  }
  s += "）";
  return s;
}

std::string dataTableCell(const FigureElement& e, size_t number, int column) {
  std::string s;
  switch (column) {
    case 0: appendInt(s, static_cast<long long>(number)); break;
    case 1: s = e.live ? "○" : "－"; break;
    case 2: {
      static const char* const kKinds[5] = {"直線", "点", "三角面", "四角面", "？"};
      s = kKinds[kindSlot(e.kind)];
      break;
    }
    case 3: appendInt(s, e.layer); break;
    case 4: appendInt(s, e.colour); break;
    default:
      if (column >= 5 && column < kDataTableColumns) {
        const Point3& p = e.p[static_cast<size_t>((column - 5) / 3)];
        const int c = (column - 5) % 3;
        appendNumber(s, c == 0 ? p.x : c == 1 ? p.y : p.z);
      }
      break;
  }
  return s;
}

const TGLV* VariableTableSnapshot::findList(const std::string& name) const {
  for (const TGLV& l : lists)
    if (l.name == name) return &l;
  return nullptr;
}

VariableTableSnapshot makeVariableTableSnapshot(const VarStore& vars, const ListStore& lists) {
  VariableTableSnapshot s;
  s.vars.reserve(vars.size());
  for (size_t i = 0; i < vars.size(); ++i) s.vars.push_back(vars.at(i));
  s.lists.reserve(lists.size());
  for (size_t i = 0; i < lists.size(); ++i) s.lists.push_back(lists.at(i));
  return s;
}

}  // namespace kubrix
