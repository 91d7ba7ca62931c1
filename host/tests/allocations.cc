// The counting operator new of allocations.h: the program's replacement of
// the ordinary operator new and delete, on malloc and free.
#include "host/tests/allocations.h"

#include <cstdlib>
#include <new>

namespace {
long made = 0;
}  // namespace

void* operator new(std::size_t size) {
  ++made;
  if (void* block = std::malloc(size == 0 ? 1 : size)) return block;
  throw std::bad_alloc();
}

void operator delete(void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }

long TestAllocations::during(const std::function<void()>& step) {
  const long before = made;
  step();
  return made - before;
}
