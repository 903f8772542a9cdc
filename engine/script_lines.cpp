// Splitting a script text into lines.
#include "engine/script_lines.h"

namespace kubrix {

void ScriptLines::assign(std::string text) {
  text_ = std::move(text);
  starts_.clear();
  lengths_.clear();
  const size_t n = text_.size();
  size_t start = 0;
  for (size_t i = 0; i < n; ++i) {
    const char c = text_[i];
    if (c != '\r' && c != '\n') continue;
    starts_.push_back(start);
    lengths_.push_back(i - start);
    if (c == '\r' && i + 1 < n && text_[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < n) {
    starts_.push_back(start);
    lengths_.push_back(n - start);
  }
}

}  // namespace kubrix
