// The counting operator new of allocations.h: the program's replacement of
// the ordinary operators new and delete (plain, array and nothrow), all on
// malloc and free, so that every block is freed the way it was made, the
// sanitizers' checks included.
#include "host/tests/allocations.h"

#include <cstdlib>
#include <new>

namespace {

long made = 0;

void* allocate(std::size_t size) noexcept {
  ++made;
  return std::malloc(size == 0 ? 1 : size);
}

void* allocateOrThrow(std::size_t size) {
  if (void* block = allocate(size)) return block;
  throw std::bad_alloc();
}

}  // namespace

void* operator new(std::size_t size) { return allocateOrThrow(size); }
void* operator new[](std::size_t size) { return allocateOrThrow(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return allocate(size); }
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { std::free(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { std::free(block); }

long TestAllocations::during(const std::function<void()>& step) {
  const long before = made;
  step();
  return made - before;
}
