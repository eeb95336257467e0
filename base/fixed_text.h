// Fixed text buffers of the data model: NUL-terminated Windows-1250 bytes,
// cut to the buffer size minus one byte.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace orv {

// Copies src into dst[capacity], cutting it to capacity - 1 bytes.
void copyCut(char* dst, std::size_t capacity, std::string_view src);

template <std::size_t N>
void setText(char (&dst)[N], std::string_view src) {
  copyCut(dst, N, src);
}

// Whether src fits dst whole. A path kept cut would name another file, so
// the commands refuse one that does not fit.
template <std::size_t N>
constexpr bool fitsWhole(const char (&)[N], std::string_view src) {
  return src.size() < N;
}

// The text held in a buffer, never reading past its end even when the
// terminating NUL is missing.
template <std::size_t N>
std::string_view textOf(const char (&buf)[N]) {
  std::size_t n = 0;
  while (n < N && buf[n] != '\0') ++n;
  return std::string_view(buf, n);
}

// Shown text (UTF-8) of a Windows-1250 buffer, and the reverse.
template <std::size_t N>
std::string shownText(const char (&buf)[N]);
template <std::size_t N>
void setTextFromUtf8(char (&dst)[N], std::string_view utf8);

}  // namespace orv

#include "base/cp1250.h"

namespace orv {

template <std::size_t N>
std::string shownText(const char (&buf)[N]) {
  return cp1250ToUtf8(textOf(buf));
}

template <std::size_t N>
void setTextFromUtf8(char (&dst)[N], std::string_view utf8) {
  copyCut(dst, N, utf8ToCp1250(utf8));
}

}  // namespace orv
