// Data table, variable and grid files of kubrix-run.
#include "cli/outputs.h"

#include <cstdio>

#include "engine/number_text.h"
#include "engine/sjis.h"

namespace kubrix {

namespace {
const char* kindText(int32_t kind) {
  switch (kind) {
    case kKindLine: return "直線";
    case kKindPoint: return "点";
    case kKindTriangle: return "三角面";
    case kKindQuad: return "四角面";
    default: return "？";
  }
}
}  // namespace

std::string dataTableText(const FigureStore& fs) {
  std::string out = "No\t有無\tTYP\tLAY\tCOL\tP1X\tP1Y\tP1Z\tP2X\tP2Y\tP2Z\tP3X\tP3Y\tP3Z\tP4X\tP4Y\tP4Z\n";
  const auto& els = fs.elements();
  out.reserve(out.size() + els.size() * 80);
  for (size_t i = 0; i < els.size(); ++i) {
    const FigureElement& e = els[i];
    appendInt(out, static_cast<long long>(i + 1));
    out += e.live ? "\t○\t" : "\t－\t";
    out += kindText(e.kind);
    out += '\t';
    appendInt(out, e.layer);
    out += '\t';
    appendInt(out, e.colour);
    for (const Point3& p : e.p) {
      for (double v : {p.x, p.y, p.z}) {
        out += '\t';
        appendNumber(out, v);
      }
    }
    out += '\n';
  }
  return out;
}

std::string variablesText(const VarStore& vars, const ListStore& lists) {
  std::string sj;
  for (size_t i = 0; i < vars.size(); ++i) {
    const TGV& v = vars.at(i);
    sj += v.caption + "\t" + v.name + "\t" + v.value + "\n";
  }
  for (size_t i = 0; i < lists.size(); ++i) {
    const TGLV& l = lists.at(i);
    sj += "LIST\t" + l.name + "\t";
    appendInt(sj, l.count);
    sj += "\n";
    for (const auto& e : l.elements) sj += "\t" + e + "\n";
  }
  return sjisToUtf8(sj);
}

std::string gridText(const std::vector<GridRow>& grid) {
  std::string sj;
  for (const auto& r : grid) sj += r.caption + "\t" + r.name + "\t" + r.shown + "\n";
  return sjisToUtf8(sj);
}

bool writeFile(const std::string& path, const std::string& text) {
  FILE* f = fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool ok = fwrite(text.data(), 1, text.size(), f) == text.size();
  return (fclose(f) == 0) && ok;
}

}  // namespace kubrix
