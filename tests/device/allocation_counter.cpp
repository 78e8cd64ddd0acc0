#include "tests/device/allocation_counter.h"

#include <atomic>
#include <cstdlib>
#include <new>

// Kept in a file of its own: where GCC can inline these into a caller it warns
// that free() meets a pointer from operator new, which is exactly the pairing
// intended here.

namespace {

std::atomic<bool> gCounting{false};
std::atomic<long> gAllocations{0};

}  // namespace

namespace orvane::test {

void StartCountingAllocations() {
  gAllocations = 0;
  gCounting = true;
}

long StopCountingAllocations() {
  gCounting = false;
  return gAllocations;
}

}  // namespace orvane::test

void* operator new(std::size_t size) {
  if (gCounting) ++gAllocations;
  if (void* block = std::malloc(size == 0 ? 1 : size)) return block;
  throw std::bad_alloc();
}
void operator delete(void* block) noexcept {
  std::free(block);
}
void operator delete(void* block, std::size_t) noexcept {
  std::free(block);
}
