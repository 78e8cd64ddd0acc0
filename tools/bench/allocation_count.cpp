// Replaces the global operator new so the benchmarks can report allocations per
// iteration. In a file of its own: inlined into a caller, GCC would warn that
// free() meets a pointer from operator new, which is the pairing intended here.

#include <atomic>
#include <cstdlib>
#include <new>

namespace orvane::bench {

std::atomic<long> gAllocations{0};

}  // namespace orvane::bench

void* operator new(std::size_t size) {
  orvane::bench::gAllocations.fetch_add(1, std::memory_order_relaxed);
  if (void* block = std::malloc(size == 0 ? 1 : size)) return block;
  throw std::bad_alloc();
}
void operator delete(void* block) noexcept {
  std::free(block);
}
void operator delete(void* block, std::size_t) noexcept {
  std::free(block);
}
