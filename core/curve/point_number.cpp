#include "core/curve/point_number.h"

#include <charconv>
#include <string_view>

#include "base/fixed_text.h"

namespace orv {
namespace {

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

std::string_view fileNamePart(std::string_view path) {
  const std::size_t slash = path.find_last_of("/\\");
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::optional<int> numberInOaxFileName(std::string_view name) {
  std::size_t dot = name.find(".OAX");
  const std::size_t lower = name.find(".oax");
  if (lower < dot) dot = lower;
  if (dot == std::string_view::npos) return std::nullopt;
  // The nearest digit left of the dot ends the number; what stands between
  // them ("pf1_120a.OAX") is passed over.
  std::ptrdiff_t e = static_cast<std::ptrdiff_t>(dot) - 1;
  while (e >= 0 && !isDigit(name[e])) --e;
  if (e < 0) return std::nullopt;
  std::ptrdiff_t c = e;
  while (c >= 0 && isDigit(name[c])) --c;
  std::ptrdiff_t start = c + 1;
  if (c >= 0 && name[c] == '-' && (c == 0 || !isDigit(name[c - 1])))
    start = c;
  else if (c >= 0 && name[c] == '+')
    start = c + 1;  // from_chars takes no plus sign; the value is the same
  int value = 0;
  const char* first = name.data() + start;
  const char* last = name.data() + e + 1;
  const auto [ptr, ec] = std::from_chars(first, last, value);
  if (ec != std::errc() || ptr != last) return std::nullopt;  // beyond int
  return value;
}

int pointNumberFromFileName(const CurveWindowState& s) {
  if (s.sourceKind == SourceKmt) return s.pointNumber;
  return numberInOaxFileName(fileNamePart(textOf(s.instrumentFilePath))).value_or(s.pointNumber);
}

}  // namespace orv
