// An allocator for the few large, long-lived stores of a big table. Blocks of 2 MiB and more are
// mapped directly and offered to the kernel for transparent huge pages, so a table of several
// megabytes is backed by a handful of page faults instead of thousands (each first touch of a
// 4 KiB page costs microseconds on a virtual machine). Smaller blocks come from operator new.
#pragma once

#include <cstddef>
#include <new>

namespace zenavo {

namespace large_block {
inline constexpr std::size_t kHugePage = std::size_t{2} << 20;
void* Allocate(std::size_t bytes);
void Free(void* block, std::size_t bytes);
}  // namespace large_block

template <class T>
struct LargeBlockAllocator {
  using value_type = T;

  LargeBlockAllocator() = default;
  template <class U>
  LargeBlockAllocator(const LargeBlockAllocator<U>&) noexcept {}

  T* allocate(std::size_t n) { return static_cast<T*>(large_block::Allocate(n * sizeof(T))); }
  void deallocate(T* block, std::size_t n) noexcept { large_block::Free(block, n * sizeof(T)); }

  template <class U>
  bool operator==(const LargeBlockAllocator<U>&) const noexcept {
    return true;
  }
};

}  // namespace zenavo
