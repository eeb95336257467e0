#include "core/curve/additions_file.h"

#include <cmath>
#include <cstring>
#include <filesystem>
#include <string_view>

#include "base/c_format.h"
#include "base/file_lookup.h"
#include "base/fixed_text.h"
#include "base/line_reader.h"
#include "base/replacing_file.h"

namespace orv {

namespace {

constexpr const char* kHeader = "doplnky programu ORV (presna prima uloha, ekvivalence)";
constexpr const char* kAccurateKey = "presna_prima_uloha_dlouhy_filtr_(1=ano_0=ne)";
constexpr const char* kToleranceKey = "ekvivalence_pripustne_zhorseni_SSQ_(podil)";

// The line without its line end, split at its last blank.
bool splitLine(const char* line, std::string_view& key, std::string& value) {
  std::string_view text(line);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
    text.remove_suffix(1);
  const std::size_t blank = text.rfind(' ');
  if (blank == std::string_view::npos) return false;
  key = text.substr(0, blank);
  value = std::string(text.substr(blank + 1));
  return true;
}

// The whole value as one number in the C locale.
bool scanWhole(const std::string& value, double& out) {
  char rest = 0;
  return !value.empty() && cscan(value.c_str(), "%lf%c", &out, &rest) == 1;
}

// The file text of the two values; an unusable tolerance is written as the
// default.
std::string additionsText(bool accurate, double q) {
  // Every byte is ASCII, so the text is Windows-1250 as it stands.
  std::string text = std::string(kHeader) + "\r\n";
  text += std::string(kAccurateKey) + (accurate ? " 1" : " 0") + "\r\n";
  if (!validEquivalenceTolerance(q)) q = DefaultEquivalenceTolerance;
  text += std::string(kToleranceKey) + " " + formatReal(q) + "\r\n";
  return text;
}

}  // namespace

void applyDefaultAdditions(CurveWindowState& s) {
  s.accurateForward = false;
  s.equivalenceTolerance = DefaultEquivalenceTolerance;
}

bool validEquivalenceTolerance(double q) {
  return std::isfinite(q) && q > 0.0;
}

std::string additionsIoPath(const CurveWindowState& s) {
  return findFileIgnoringCase(textOf(s.StartFolder), AdditionsFileName);
}

bool readAdditionsFile(CurveWindowState& s, const char* path) {
  applyDefaultAdditions(s);
  LineReader in(path);
  if (!in.ok()) return false;
  char line[200];
  bool lineStart = true;
  while (in.next(line, sizeof line)) {
    // The rest of an overlong line is no line of its own.
    const bool wasStart = lineStart;
    lineStart = std::strchr(line, '\n') != nullptr;
    std::string_view key;
    std::string value;
    if (!wasStart || !splitLine(line, key, value)) continue;
    double v = 0.0;
    if (!scanWhole(value, v)) continue;
    if (key == kAccurateKey && (v == 0.0 || v == 1.0)) s.accurateForward = v == 1.0;
    if (key == kToleranceKey && validEquivalenceTolerance(v)) s.equivalenceTolerance = v;
  }
  return true;
}

bool readAdditions(CurveWindowState& s) {
  return readAdditionsFile(s, additionsIoPath(s).c_str());
}

std::string additionsFileText(const CurveWindowState& s) {
  return additionsText(s.accurateForward, s.equivalenceTolerance);
}

bool writeAdditionsFile(const CurveWindowState& s, const char* path) {
  return replaceFileContents(path, additionsFileText(s));
}

bool writeAdditions(const CurveWindowState& s) {
  // Before the start-up folder is known there is no place for the file.
  if (textOf(s.StartFolder).empty()) return true;
  const std::string path = additionsIoPath(s);
  // A folder where the additions were never used gets no file of them.
  std::error_code error;
  if (additionsFileText(s) == additionsText(false, DefaultEquivalenceTolerance) &&
      !std::filesystem::exists(path, error))
    return true;
  return writeAdditionsFile(s, path.c_str());
}

}  // namespace orv
