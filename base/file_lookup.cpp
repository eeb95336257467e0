#include "base/file_lookup.h"

#include <filesystem>
#include <optional>
#include <system_error>

namespace orv {
namespace {

char lowerAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool sameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
  return true;
}

}  // namespace

std::string findFileIgnoringCase(std::string_view folder, std::string_view name) {
  namespace fs = std::filesystem;
  const std::string exact = std::string(folder) + "/" + std::string(name);
  std::error_code ec;
  if (fs::is_regular_file(exact, ec)) return exact;
  std::optional<std::string> best;
  for (fs::directory_iterator it(fs::path(std::string(folder)), ec), end; !ec && it != end;
       it.increment(ec)) {
    const std::string entry = it->path().filename().string();
    if (!sameIgnoringCase(entry, name)) continue;
    std::error_code typeError;
    if (!it->is_regular_file(typeError)) continue;
    if (!best || entry < *best) best = entry;
  }
  return best ? std::string(folder) + "/" + *best : exact;
}

bool fileExists(const std::string& path) {
  std::error_code ec;
  return std::filesystem::exists(std::filesystem::path(path), ec);
}

}  // namespace orv
