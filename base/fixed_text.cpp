#include "base/fixed_text.h"

#include <cstring>

namespace orv {

void copyCut(char* dst, std::size_t capacity, std::string_view src) {
  if (capacity == 0) return;
  std::size_t n = src.size() < capacity - 1 ? src.size() : capacity - 1;
  if (n) std::memmove(dst, src.data(), n);
  dst[n] = '\0';
}

}  // namespace orv
