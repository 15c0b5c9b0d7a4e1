// A growable byte array for a table's texts: an append is a capacity check and a copy, and its
// block comes from the LargeBlockAllocator.
#pragma once

#include <algorithm>
#include <cstring>
#include <functional>
#include <string_view>
#include <utility>

#include "base/large_block_allocator.h"

namespace zenavo {

class ByteStore {
 public:
  ByteStore() = default;
  ByteStore(const ByteStore& other) { Append(other.View()); }
  ByteStore(ByteStore&& other) noexcept
      : data_(std::exchange(other.data_, nullptr)),
        size_(std::exchange(other.size_, 0)),
        capacity_(std::exchange(other.capacity_, 0)) {}
  ByteStore& operator=(ByteStore other) noexcept {
    std::swap(data_, other.data_);
    std::swap(size_, other.size_);
    std::swap(capacity_, other.capacity_);
    return *this;
  }
  ~ByteStore() { LargeBlockAllocator<char>().deallocate(data_, capacity_); }

  const char* Data() const { return data_; }
  std::size_t Size() const { return size_; }
  std::string_view View() const { return {data_, size_}; }
  // Whether `p` points at one of the stored bytes.
  bool Holds(const char* p) const {
    return std::less_equal<const char*>()(data_, p) && std::less<const char*>()(p, data_ + size_);
  }

  // Room for `more` bytes beyond the current size.
  void Reserve(std::size_t more) {
    if (more > capacity_ - size_) Reallocate(std::max(size_ + more, capacity_ * 2));
  }
  // `text` must not lie in this store (see AppendOwn).
  void Append(std::string_view text) {
    if (text.empty()) return;
    Reserve(text.size());
    std::memcpy(data_ + size_, text.data(), text.size());
    size_ += text.size();
  }
  // Appends `count` of this store's own bytes from `position`.
  void AppendOwn(std::size_t position, std::size_t count) {
    if (count == 0) return;
    Reserve(count);
    std::memcpy(data_ + size_, data_ + position, count);
    size_ += count;
  }
  void Truncate(std::size_t size) { size_ = std::min(size, size_); }

 private:
  void Reallocate(std::size_t capacity) {
    LargeBlockAllocator<char> allocator;
    char* data = allocator.allocate(capacity);
    if (size_) std::memcpy(data, data_, size_);
    allocator.deallocate(data_, capacity_);
    data_ = data;
    capacity_ = capacity;
  }

  char* data_ = nullptr;
  std::size_t size_ = 0, capacity_ = 0;
};

}  // namespace zenavo
