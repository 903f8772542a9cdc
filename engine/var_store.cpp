// Variable and list stores.
#include "engine/var_store.h"

#include "engine/number_text.h"

namespace kubrix {

int VarStore::add(std::string caption, std::string name, std::string value) {
  const int pos = static_cast<int>(vars_.size());
  index_.emplace(name, pos);  // keeps an earlier record of the same name: first match wins
  vars_.push_back(TGV{std::move(caption), std::move(name), std::move(value)});
  num_.emplace_back();
  ++generation_;
  return pos;
}

void VarStore::setValue(size_t i, std::string_view text) {
  vars_[i].value.assign(text.data(), text.size());
  num_[i].state = -1;
}

void VarStore::clear() {
  vars_.clear();
  num_.clear();
  index_.clear();
  ++generation_;
}

NumberRead VarStore::number(size_t i, long double& out) const {
  NumCache& c = num_[i];
  if (c.state < 0) {
    const std::string& v = vars_[i].value;
    if (v.empty()) {
      c.state = static_cast<int8_t>(NumberRead::Empty);
    } else if (parseDecimal(v, c.value)) {
      c.state = static_cast<int8_t>(NumberRead::Number);
    } else {
      c.state = static_cast<int8_t>(NumberRead::Unreadable);
    }
  }
  out = c.value;
  return static_cast<NumberRead>(c.state);
}

int ListStore::add(std::string name, std::vector<std::string> elements) {
  const int pos = static_cast<int>(lists_.size());
  index_.emplace(name, pos);
  TGLV rec;
  rec.name = std::move(name);
  rec.count = static_cast<int32_t>(elements.size());
  rec.elements = std::move(elements);
  lists_.push_back(std::move(rec));
  return pos;
}

void ListStore::clear() {
  lists_.clear();
  index_.clear();
}

ListStore::ElementStatus ListStore::element(std::string_view name, long long index, std::string_view& text) const {
  text = {};
  const int l = find(name);
  if (l < 0) return ElementStatus::NoSuchList;
  const TGLV& rec = lists_[static_cast<size_t>(l)];
  if (index < 0 || index >= rec.count) return ElementStatus::OutOfRange;
  text = rec.elements[static_cast<size_t>(index)];
  return ElementStatus::Ok;
}

int ListStore::findElement(std::string_view name, std::string_view text) const {
  const int l = find(name);
  if (l < 0) return -1;
  const TGLV& rec = lists_[static_cast<size_t>(l)];
  if (rec.count == 0) return -1;
  for (int i = 0; i < rec.count; ++i)
    if (rec.elements[static_cast<size_t>(i)] == text) return i;
  return -2;
}

}  // namespace kubrix
