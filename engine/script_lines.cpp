// Splitting a script text into lines.
#include "engine/script_lines.h"

#include "engine/sjis.h"

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
  // A lead byte that ends a line has no second byte: it would swallow the first byte of whatever a
  // message puts after it. It becomes "?", as any other byte that is no character.
  for (size_t l = 0; l < starts_.size(); ++l) {
    const std::string_view s(text_.data() + starts_[l], lengths_[l]);
    size_t i = 0;
    while (i < s.size() && i + charLen(s, i) < s.size()) i += charLen(s, i);
    if (i < s.size() && isLeadByte(static_cast<unsigned char>(s[i])) && i + 1 == s.size()) text_[starts_[l] + i] = '?';
  }
}

}  // namespace kubrix
