#include "base/c_format.h"

#include <locale.h>

#include <cerrno>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace orv {
namespace {

locale_t cLocale() {
  static locale_t loc = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  return loc;
}

// Switches the calling thread to the C locale for one conversion.
class CLocaleScope {
 public:
  CLocaleScope() : previous_(uselocale(cLocale())) {}
  ~CLocaleScope() { uselocale(previous_); }
  CLocaleScope(const CLocaleScope&) = delete;
  CLocaleScope& operator=(const CLocaleScope&) = delete;

 private:
  locale_t previous_;
};

std::string_view trimBlanks(std::string_view t) {
  while (!t.empty() && (t.front() == ' ' || t.front() == '\t')) t.remove_prefix(1);
  while (!t.empty() &&
         (t.back() == ' ' || t.back() == '\t' || t.back() == '\r' || t.back() == '\n'))
    t.remove_suffix(1);
  return t;
}

}  // namespace

std::string cformat(const char* fmt, ...) {
  CLocaleScope scope;
  va_list ap;
  va_start(ap, fmt);
  va_list copy;
  va_copy(copy, ap);
  char small[256];
  int n = std::vsnprintf(small, sizeof small, fmt, ap);
  va_end(ap);
  std::string out;
  if (n < 0) {
    va_end(copy);
    return out;
  }
  if (static_cast<size_t>(n) < sizeof small) {
    out.assign(small, static_cast<size_t>(n));
  } else {
    out.resize(static_cast<size_t>(n) + 1);
    std::vsnprintf(out.data(), out.size(), fmt, copy);
    out.resize(static_cast<size_t>(n));
  }
  va_end(copy);
  return out;
}

int cscan(const char* text, const char* fmt, ...) {
  CLocaleScope scope;
  va_list ap;
  va_start(ap, fmt);
  int r = std::vsscanf(text, fmt, ap);
  va_end(ap);
  return r;
}

std::string formatF(double v) {
  return cformat("%f", v);
}

std::string formatReal(double v) {
  if (std::isnan(v)) return "NAN";
  if (std::isinf(v)) return v > 0 ? "INF" : "-INF";
  // Fifteen significant digits, like the default conversion of a desktop
  // framework, without trailing zeros.
  std::string s = cformat("%.15g", v);
  return s;
}

std::string shortestText(float v) {
  char buf[64];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v);
  if (ec != std::errc()) return formatReal(v);
  return std::string(buf, end);
}

std::optional<double> parseUserReal(std::string_view text) {
  std::string t(trimBlanks(text));
  if (t.empty()) return std::nullopt;
  for (char& c : t)
    if (c == ',') c = '.';
  CLocaleScope scope;
  errno = 0;
  char* end = nullptr;
  double v = std::strtod(t.c_str(), &end);
  if (end == t.c_str() || *end != '\0') return std::nullopt;
  if (!std::isfinite(v)) return std::nullopt;
  return v;
}

std::optional<int> parseUserInt(std::string_view text) {
  std::string_view t = trimBlanks(text);
  if (t.empty()) return std::nullopt;
  if (t.front() == '+') t.remove_prefix(1);
  int v = 0;
  auto [ptr, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
  if (ec != std::errc() || ptr != t.data() + t.size()) return std::nullopt;
  return v;
}

}  // namespace orv
