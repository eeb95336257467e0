// One heap block, zero-filled by calloc, holding a plain state struct. Pages
// that are never written stay untouched, so a large database costs nothing
// until it is filled.
#pragma once

#include <cstdlib>
#include <new>
#include <type_traits>

namespace orv {

template <class T>
class ZeroedBlock {
  static_assert(std::is_trivially_default_constructible_v<T>);
  static_assert(std::is_trivially_destructible_v<T>);

 public:
  ZeroedBlock() : p_(static_cast<T*>(std::calloc(1, sizeof(T)))) {
    if (!p_) throw std::bad_alloc();
    ::new (static_cast<void*>(p_)) T;  // default-init: keeps the zeroes
  }
  ~ZeroedBlock() { std::free(p_); }
  ZeroedBlock(const ZeroedBlock&) = delete;
  ZeroedBlock& operator=(const ZeroedBlock&) = delete;

  T& operator*() const { return *p_; }
  T* operator->() const { return p_; }
  T* get() const { return p_; }

 private:
  T* p_;
};

}  // namespace orv
