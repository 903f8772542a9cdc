// The parameter grid: the captioned variables after a run, and the edit rules for their values.
#include <cmath>

#include "engine/engine.h"
#include "engine/number_text.h"
#include "engine/sjis.h"

namespace kubrix {

namespace {

bool captionHas(std::string_view caption, const std::string& word) {
  return findChars(caption, word) != std::string_view::npos;
}

// A number rounded to 4 decimal places, halves away from zero.
long double round4(long double v) { return roundTo(v, 10000.0L); }

}  // namespace

void Engine::fillGrid() {
  grid_.clear();
  for (size_t i = 0; i < vars.size(); ++i) {
    const TGV& v = vars.at(i);
    if (v.caption.empty()) continue;
    GridRow row{v.caption, v.name, v.value};
    long double x;
    if (!captionHas(v.caption, SJ("文字")) && parseDecimal(v.value, x)) {
      const long double r = round4(x);
      row.shown = r == 0 ? std::string("---") : numberText(r);
    }
    grid_.push_back(std::move(row));
  }
}

bool Engine::editParameter(int var, std::string_view text, std::string& reason) {
  if (var < 0 || static_cast<size_t>(var) >= vars.size()) {
    reason = "no such variable";
    return false;
  }
  const TGV& v = vars.at(static_cast<size_t>(var));
  const std::string& caption = v.caption;
  std::string accepted;
  if (caption.empty() || lists.find(v.name) >= 0) {
    // Not a grid row, or a choice from the list of the same name: the text as given.
    accepted.assign(text);
  } else if (captionHas(caption, SJ("公差"))) {
    accepted.assign(cutBytes(text, 10));
  } else if (captionHas(caption, SJ("文字"))) {
    accepted.assign(cutBytes(text, 255));
  } else if (captionHas(caption, SJ("線色")) || captionHas(caption, SJ("ACAD色"))) {
    int32_t c;
    if (!parseInt32(text, c) || c < 1 || c > 255) {
      reason = "a colour index from 1 to 255 is expected";
      return false;
    }
    appendInt(accepted, c);
  } else {
    long double x;
    if (!parseDecimal(cutBytes(text, 32), x) || text.size() > 32) {
      reason = "a number is expected";
      return false;
    }
    appendNumber(accepted, round4(x));
  }
  vars.setValue(static_cast<size_t>(var), accepted);
  return true;
}

}  // namespace kubrix
