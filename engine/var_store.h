// The variable store (records TGV) and the list store (records TGLV) of the script engine.
// Both are ordered by declaration; lookups give the first record of a name, as a linear search
// would, through a hash index that is kept in step with the records.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kubrix {

inline constexpr size_t kMaxNameBytes = 16;
inline constexpr size_t kMaxCaptionBytes = 32;

struct StringHash {
  using is_transparent = void;
  size_t operator()(std::string_view s) const noexcept { return std::hash<std::string_view>{}(s); }
};

struct TGV {
  std::string caption;
  std::string name;
  std::string value;
};

struct TGLV {
  std::string name;
  int32_t count = 0;
  std::vector<std::string> elements;
};

enum class NumberRead { Number, Empty, Unreadable };

class VarStore {
 public:
  // Position (0-based) of the first variable with exactly this name, or -1.
  int find(std::string_view name) const {
    auto it = index_.find(name);
    return it == index_.end() ? -1 : it->second;
  }
  size_t size() const { return vars_.size(); }
  const TGV& at(size_t i) const { return vars_[i]; }
  const std::string& value(size_t i) const { return vars_[i].value; }

  // Appends a variable; the caller has checked that the name is new.
  int add(std::string caption, std::string name, std::string value);
  void setValue(size_t i, std::string_view text);
  void clear();

  // The value of variable i read as a number (cached until the value changes).
  NumberRead number(size_t i, long double& out) const;

  // Changes whenever a variable is added or the store is emptied; caches of find() compare it.
  uint64_t generation() const { return generation_; }

 private:
  struct NumCache {
    int8_t state = -1;  // -1 unknown, else a NumberRead
    long double value = 0;
  };
  std::vector<TGV> vars_;
  mutable std::vector<NumCache> num_;
  std::unordered_map<std::string, int, StringHash, std::equal_to<>> index_;
  uint64_t generation_ = 1;
};

class ListStore {
 public:
  int find(std::string_view name) const {
    auto it = index_.find(name);
    return it == index_.end() ? -1 : it->second;
  }
  size_t size() const { return lists_.size(); }
  const TGLV& at(size_t i) const { return lists_[i]; }
  int add(std::string name, std::vector<std::string> elements);
  void clear();

  enum class ElementStatus { Ok, NoSuchList, OutOfRange };
  // Element index of list name; the text is empty unless the status is Ok.
  ElementStatus element(std::string_view name, long long index, std::string_view& text) const;
  // Index of the first element equal to text; -1 when the list is missing or empty, -2 when no element is equal.
  int findElement(std::string_view name, std::string_view text) const;

 private:
  std::vector<TGLV> lists_;
  std::unordered_map<std::string, int, StringHash, std::equal_to<>> index_;
};

}  // namespace kubrix
