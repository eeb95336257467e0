// Counts heap allocations of the benchmark program: the global operator new
// is replaced, and (outside the sanitizer builds, whose runtime owns malloc)
// malloc and calloc forward to the C library while counting.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <new>

namespace bench_support {
inline std::atomic<long> allocations{0};
}  // namespace bench_support

// The replaced operators pair new with malloc and delete with free on purpose.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t n) {
  ++bench_support::allocations;
  if (void* p = std::malloc(n ? n : 1)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t n) {
  return operator new(n);
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete[](void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
  std::free(p);
}

#if !defined(__SANITIZE_ADDRESS__)
extern "C" {
void* __libc_malloc(std::size_t);
void* __libc_calloc(std::size_t, std::size_t);
void* malloc(std::size_t n) {
  ++bench_support::allocations;
  return __libc_malloc(n);
}
void* calloc(std::size_t n, std::size_t size) {
  ++bench_support::allocations;
  return __libc_calloc(n, size);
}
}
#endif
