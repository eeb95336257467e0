#include "core/curve/instrument_file.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <filesystem>
#include <optional>

#include "base/c_format.h"
#include "core/curve/ip_window_layout.h"
#include "core/curve/point_number.h"

namespace orv {
namespace {

constexpr int32_t DefaultWindowLength = 150;  // ms
constexpr int32_t DefaultWindowDelay = 100;   // ms

}  // namespace

std::string instrumentNoticeText(const InstrumentReadNotice& n) {
  std::string text;
  auto add = [&text](const std::string& line) {
    if (!text.empty()) text += "\n";
    text += line;
  };
  if (n.readingsCapped)
    add(
        cformat("Soubor obsahuje víc měření, než lze načíst (nejvýše %i); zbytek souboru nebyl "
                "načten.",
                MaxReadings));
  if (n.samplesCapped)
    add(cformat("Vybíjecí křivka některého měření má víc než %i vzorků; načteno je prvních %i.",
                MaxDecaySamples, MaxDecaySamples));
  if (n.truncatedBlock)
    add("Soubor končí uprostřed měření nebo je v něm poškozené místo; načtena jsou měření před "
        "ním.");
  if (n.droppedBranch > 0)
    add(cformat("Vynecháno měření s číslem větve mimo 1 až 5: %i", n.droppedBranch));
  if (n.droppedWideMn > 0)
    add(cformat("Vynecháno měření s MN/2 od 115 m výše (víc než 5 větví nelze zpracovat): %i",
                n.droppedWideMn));
  return text;
}

void generateDefaultIpWindows(CurveWindowState& s) {
  if (s.ipWindowCount >= 0) return;
  s.ipWindowLength = DefaultWindowLength;
  s.ipWindowDelay = DefaultWindowDelay;
  // A tail shorter than the delay leaves no window; timing from a damaged
  // file must not overflow.
  int64_t count = (static_cast<int64_t>(s.ipTailTime) - s.ipWindowDelay) / s.ipWindowLength;
  count = std::clamp<int64_t>(count, 0, MaxIpWindows);
  s.ipWindowCount = static_cast<int32_t>(count);
  layOutIpWindows(s);
}

bool hasOaxExtension(std::string_view name) {
  if (name.size() < 4) return false;
  const std::string_view ext = name.substr(name.size() - 4);
  const char* want = ".OAX";
  for (int i = 0; i < 4; ++i)
    if (std::toupper(static_cast<unsigned char>(ext[i])) != want[i]) return false;
  return true;
}

bool oaxWalkOrderLess(std::string_view a, std::string_view b) {
  const std::optional<int> na = numberInOaxFileName(a);
  const std::optional<int> nb = numberInOaxFileName(b);
  if (na.has_value() != nb.has_value()) return na.has_value();
  if (na && *na != *nb) return *na < *nb;
  return a < b;
}

std::vector<std::string> listOaxFiles(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  const std::filesystem::path dir =
      folder.empty() ? std::filesystem::path(".") : std::filesystem::path(folder);
  for (std::filesystem::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code fileEc;
    if (!it->is_regular_file(fileEc)) continue;
    std::string name = it->path().filename().string();
    if (hasOaxExtension(name)) names.push_back(std::move(name));
  }
  std::sort(names.begin(), names.end(),
            [](const std::string& x, const std::string& y) { return oaxWalkOrderLess(x, y); });
  return names;
}

std::string folderOfPath(std::string_view path) {
  const std::size_t cut = path.find_last_of('/');
  if (cut == std::string_view::npos) return "";
  if (cut == 0) return "/";
  return std::string(path.substr(0, cut));
}

std::string_view fileNameOfPath(std::string_view path) {
  const std::size_t cut = path.find_last_of('/');
  return cut == std::string_view::npos ? path : path.substr(cut + 1);
}

std::string joinFolder(const std::string& folder, std::string_view name) {
  if (folder.empty()) return std::string(name);
  if (folder.back() == '/') return folder + std::string(name);
  return folder + "/" + std::string(name);
}

}  // namespace orv
