// A contiguous array of plain records (the figure store's elements, the export writers' text). It
// grows with realloc: a large block is moved by remapping its pages instead of copying them, which
// keeps a drawing of millions of faces from copying (and touching) its whole store at every doubling.
#pragma once

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <new>
#include <type_traits>
#include <utility>


namespace kubrix {

template <typename T>
class PlainBuffer {
  static_assert(std::is_trivially_copyable_v<T>, "PlainBuffer holds plain records only");

 public:
  PlainBuffer() = default;
  PlainBuffer(const PlainBuffer& o) { assign(o); }
  PlainBuffer(PlainBuffer&& o) noexcept { swap(o); }
  PlainBuffer& operator=(const PlainBuffer& o) {
    if (this != &o) assign(o);
    return *this;
  }
  PlainBuffer& operator=(PlainBuffer&& o) noexcept {
    PlainBuffer(std::move(o)).swap(*this);
    return *this;
  }
  ~PlainBuffer() { std::free(data_); }

  size_t size() const { return size_; }
  size_t capacity() const { return capacity_; }
  bool empty() const { return size_ == 0; }
  T* data() { return data_; }
  const T* data() const { return data_; }
  T& operator[](size_t i) { return data_[i]; }
  const T& operator[](size_t i) const { return data_[i]; }
  T* begin() { return data_; }
  T* end() { return data_ + size_; }
  const T* begin() const { return data_; }
  const T* end() const { return data_ + size_; }

  // Appends v; throws std::bad_alloc (leaving the buffer as it was) when it cannot grow.
  void push_back(const T& v) {
    if (size_ == capacity_) grow(capacity_ < 16 ? 16 : capacity_ * 2);
    data_[size_++] = v;
  }
  // Makes room for at least n elements in all.
  void reserve(size_t n) {
    if (n > capacity_) grow(n);
  }
  // Sets the size to n (n no more than the capacity); the elements beyond the old size are as the
  // caller wrote them into the reserved room.
  void setSize(size_t n) { size_ = n; }
  // Empties the buffer and keeps its memory for the next elements.
  void clear() { size_ = 0; }
  void swap(PlainBuffer& o) noexcept {
    std::swap(data_, o.data_);
    std::swap(size_, o.size_);
    std::swap(capacity_, o.capacity_);
  }

 private:
  void grow(size_t n) {
    if (n > static_cast<size_t>(-1) / sizeof(T)) throw std::bad_alloc();
    void* p = std::realloc(data_, n * sizeof(T));
    if (!p) throw std::bad_alloc();
    data_ = static_cast<T*>(p);
    capacity_ = n;
  }
  void assign(const PlainBuffer& o) {
    if (o.size_ > capacity_) grow(o.size_);
    if (o.size_) std::memcpy(static_cast<void*>(data_), o.data_, o.size_ * sizeof(T));
    size_ = o.size_;
  }

  T* data_ = nullptr;
  size_t size_ = 0;
  size_t capacity_ = 0;
};

}  // namespace kubrix
