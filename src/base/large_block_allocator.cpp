#include "base/large_block_allocator.h"

#include <sys/mman.h>

#include <cstdint>

namespace zenavo::large_block {

namespace {
std::size_t MappedSize(std::size_t bytes) {
  return (bytes + kHugePage - 1) / kHugePage * kHugePage;
}
}  // namespace

// A large block is mapped with one spare huge page, then trimmed so that it starts on a
// huge-page boundary (huge pages must be aligned to their size).
void* Allocate(std::size_t bytes) {
  if (bytes < kHugePage) return ::operator new(bytes);
  const std::size_t size = MappedSize(bytes);
  void* mapped = ::mmap(nullptr, size + kHugePage, PROT_READ | PROT_WRITE,
                        MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapped == MAP_FAILED) throw std::bad_alloc();
  const auto start = reinterpret_cast<std::uintptr_t>(mapped);
  const std::uintptr_t aligned = (start + kHugePage - 1) / kHugePage * kHugePage;
  if (aligned > start) ::munmap(mapped, aligned - start);
  if (const std::uintptr_t tail = start + size + kHugePage - (aligned + size))
    ::munmap(reinterpret_cast<void*>(aligned + size), tail);
  void* block = reinterpret_cast<void*>(aligned);
  ::madvise(block, size, MADV_HUGEPAGE);  // a hint: without huge pages the block still works
  return block;
}

void Free(void* block, std::size_t bytes) {
  if (!block) return;
  if (bytes < kHugePage)
    ::operator delete(block);
  else
    ::munmap(block, MappedSize(bytes));
}

}  // namespace zenavo::large_block
