#include "core/curve/instrument_text.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace orv {
namespace {

bool isBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

}  // namespace

InstrumentText::InstrumentText(const char* path) {
  std::FILE* f = std::fopen(path, "rb");
  if (!f) return;
  ok_ = true;
  char chunk[65536];
  std::size_t n;
  while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) bytes_.append(chunk, n);
  std::fclose(f);
}

bool InstrumentText::nextLine(InstrumentLine& buf) {
  if (pos_ >= bytes_.size()) {
    buf[0] = '\0';
    return false;
  }
  std::size_t end = bytes_.find('\n', pos_);
  const std::size_t next = end == std::string::npos ? bytes_.size() : end + 1;
  if (end == std::string::npos) end = bytes_.size();
  if (end > pos_ && bytes_[end - 1] == '\r') --end;
  std::size_t len = end - pos_;
  if (len > InstrumentLineBuffer - 1) len = InstrumentLineBuffer - 1;
  std::memcpy(buf, bytes_.data() + pos_, len);
  buf[len] = '\0';
  pos_ = next;
  return true;
}

void InstrumentText::skipRestOfLine() {
  const std::size_t end = bytes_.find('\n', pos_);
  pos_ = end == std::string::npos ? bytes_.size() : end + 1;
}

bool InstrumentText::anyLineStartsWith(char c) const {
  std::size_t p = pos_;
  while (p < bytes_.size()) {
    if (bytes_[p] == c) return true;
    const std::size_t end = bytes_.find('\n', p);
    if (end == std::string::npos) return false;
    p = end + 1;
  }
  return false;
}

void InstrumentText::skipBlanks() {
  while (pos_ < bytes_.size() && isBlank(bytes_[pos_])) ++pos_;
}

bool InstrumentText::readInt(int32_t& v) {
  skipBlanks();
  const char* p = bytes_.data() + pos_;
  const char* const end = bytes_.data() + bytes_.size();
  bool negative = false;
  if (p < end && (*p == '+' || *p == '-')) negative = *p++ == '-';
  if (p < end && (*p == '+' || *p == '-')) return false;
  int base = 10;
  if (p < end && *p == '0') {
    base = 8;
    if (end - p > 2 && (p[1] == 'x' || p[1] == 'X') &&
        std::isxdigit(static_cast<unsigned char>(p[2]))) {
      base = 16;
      p += 2;
    }
  }
  int64_t magnitude = 0;
  const auto [last, ec] = std::from_chars(p, end, magnitude, base);
  if (ec != std::errc()) return false;
  const int64_t value = negative ? -magnitude : magnitude;
  if (value < INT32_MIN || value > INT32_MAX) return false;
  v = static_cast<int32_t>(value);
  pos_ = static_cast<std::size_t>(last - bytes_.data());
  return true;
}

bool InstrumentText::readFloat(float& v) {
  skipBlanks();
  const char* p = bytes_.data() + pos_;
  const char* const end = bytes_.data() + bytes_.size();
  // from_chars takes no plus sign; the C conversion does.
  const bool plus = p < end && *p == '+';
  if (plus) ++p;
  if (plus && p < end && *p == '-') return false;
  float value = 0;
  const auto [last, ec] = std::from_chars(p, end, value, std::chars_format::general);
  if (ec != std::errc() || !std::isfinite(value)) return false;
  v = value;
  pos_ = static_cast<std::size_t>(last - bytes_.data());
  return true;
}

bool textAt(const char* line, std::size_t pos, const char* text) {
  const std::size_t n = std::strlen(text);
  const std::size_t len = std::strlen(line);
  return len >= pos + n && std::memcmp(line + pos, text, n) == 0;
}

}  // namespace orv
