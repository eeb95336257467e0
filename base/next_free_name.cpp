#include "base/next_free_name.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

namespace orv {
namespace {

// Far beyond anything a user saves; it only keeps a folder full of numbered
// copies from turning into an endless loop.
constexpr int LastNumber = 1000000;

bool nameTaken(const std::string& name) {
  std::error_code ec;
  // A dangling link still holds the name: creating through it would write
  // wherever it points.
  return std::filesystem::symlink_status(std::filesystem::path(name), ec).type() !=
             std::filesystem::file_type::not_found &&
         !ec;
}

// Creates name exclusively. Returns the handle, or nullptr with taken telling
// whether the name was taken after all.
std::FILE* createExclusive(const std::string& name, bool& taken) {
  errno = 0;
  std::FILE* f = std::fopen(name.c_str(), "wbx");
  taken = !f && errno == EEXIST;
  return f;
}

}  // namespace

std::string numberedName(std::string_view base, std::string_view numberedExtension, int n,
                         std::string_view afterNumber) {
  if (n == 0) return std::string(base);
  const std::size_t slash = base.find_last_of('/');
  const std::size_t nameStart = slash == std::string_view::npos ? 0 : slash + 1;
  std::size_t dot = base.find_last_of('.');
  // A dot in a folder name, or the leading dot of a hidden file, is no
  // extension.
  if (dot == std::string_view::npos || dot <= nameStart) dot = base.size();
  std::string name(base.substr(0, dot));
  name += numberedExtension;
  name += std::to_string(n);
  name += afterNumber;
  return name;
}

NewFile createNextFreeFile(const std::string& first, std::string_view base,
                           std::string_view numberedExtension, std::string_view afterNumber) {
  NewFile out;
  out.name = first;
  bool taken = nameTaken(first);
  if (!taken) {
    out.file = createExclusive(first, taken);
    if (out.file || !taken) return out;
  }
  for (int n = 1; n <= LastNumber; ++n) {
    out.name = numberedName(base, numberedExtension, n, afterNumber);
    if (nameTaken(out.name)) continue;
    out.file = createExclusive(out.name, taken);
    if (out.file || !taken) return out;
  }
  return out;
}

}  // namespace orv
