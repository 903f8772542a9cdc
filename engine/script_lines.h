// A script text held as one buffer with line offsets, so that a million-line script costs two
// allocations. Lines end at CR LF, LF or CR; a line end at the very end adds no empty line.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kubrix {

class ScriptLines {
 public:
  ScriptLines() = default;
  explicit ScriptLines(std::string text) { assign(std::move(text)); }
  void assign(std::string text);
  size_t size() const { return starts_.size(); }
  std::string_view line(size_t i) const { return std::string_view(text_).substr(starts_[i], lengths_[i]); }
  const std::string& text() const { return text_; }

 private:
  std::string text_;
  std::vector<size_t> starts_;
  std::vector<size_t> lengths_;
};

}  // namespace kubrix
