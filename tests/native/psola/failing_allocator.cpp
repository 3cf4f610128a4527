#include "failing_allocator.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace psola_test {
namespace {

std::atomic<long> countdown{-1};

void* allocate(std::size_t size) noexcept {
  if (countdown.load() >= 0 && countdown.fetch_sub(1) == 0) return nullptr;
  return std::malloc(size == 0 ? 1 : size);
}

}  // namespace

void failAllocation(long n) { countdown = n; }

long allocationsBeforeFailure() { return countdown; }

}  // namespace psola_test

// Every plain form, so that no block is freed by a form that did not make it
// (a sanitizer's runtime brings forms of its own).
void* operator new(std::size_t size) {
  if (void* p = psola_test::allocate(size)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return psola_test::allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return psola_test::allocate(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
