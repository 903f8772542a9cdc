// Answer rules of the interaction dialogs.
#include "interaction/dialog_rules.h"

#include <cstdint>

#include "engine/number_text.h"
#include "geometry/palette.h"

namespace kubrix {

int wantedPosition(const std::vector<std::string>& items, std::string_view wanted) {
  for (size_t i = 0; i < items.size(); ++i)
    if (items[i] == wanted) return static_cast<int>(i);
  return items.empty() ? -1 : 0;
}

int rowPreset(int mode, const std::vector<std::string>& items, std::string_view value) {
  const int n = static_cast<int>(items.size());
  if (mode == 1) {
    int32_t pos = 0;
    return parseInt32(value, pos) && pos >= 0 && pos < n ? pos : -1;
  }
  if (mode == 2) {
    for (int i = 0; i < n; ++i)
      if (items[static_cast<size_t>(i)] == value) return i;
  }
  return -1;
}

int pickedColourIndex(int index) { return paletteIndex(paletteColour(index)); }

std::string numberAnswer(std::string_view text) {
  if (text.empty()) return {};
  long double v = 0;
  if (!parseDecimal(text, v)) v = 0;
  return numberText(v);
}

}  // namespace kubrix
