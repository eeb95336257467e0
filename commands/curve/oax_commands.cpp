#include "commands/curve/oax_commands.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "base/fixed_text.h"
#include "commands/curve/branch_merging_command.h"
#include "commands/curve/derive_readings.h"
#include "commands/curve/instrument_commands.h"
#include "core/curve/instrument_file.h"
#include "core/curve/oax_file.h"
#include "core/curve/point_number.h"
#include "core/interpretation/branch_merging.h"

namespace orv {
namespace {

constexpr const char* CannotOpenOax = "Cannot open OAX file.";
constexpr const char* WalkTitle = "ORV-program na zpracování VES načítá soubor: ";
constexpr const char* ImportFailed = "chyba při importu";

bool fileExists(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(std::filesystem::path(path), ec);
}

std::string currentPath(const CurveWindowState& s) {
  return std::string(textOf(s.instrumentFilePath));
}

// One file of a folder walk: read, or reported and the previous sounding kept.
bool readWalkedFile(CurveSession& c, const std::string& path) {
  CurveWindowState& s = c.s;
  if (!fitsWhole(s.instrumentFilePath, path)) {
    c.dialogs.message(CannotOpenOax);
    c.dialogs.message(ImportFailed);
    return false;
  }
  const std::string previousPath = currentPath(s);
  const bool wasLoaded = s.curveLoaded;
  const bool wasFromSection = s.fromSection;
  s.curveLoaded = false;
  s.fromSection = false;
  setText(s.instrumentFilePath, path);
  const int r = readInstrumentFile(c);
  if (r != 1) {
    c.dialogs.message(r == 0 ? std::string(ImportFailed) : std::string(ImportFailed) + ": " + path);
    // The sounding shown stays what it was, also the point it edits.
    setText(s.instrumentFilePath, previousPath);
    s.curveLoaded = wasLoaded;
    s.fromSection = wasFromSection;
    return false;
  }
  resetInterpretation(c);
  c.chrome.setCaption(WalkTitle + path);
  mergeBranches(c, 2);
  return true;
}

}  // namespace

int readInstrumentFile(CurveSession& c) {
  const int r = readInstrumentReadings(
      c, {readOaxData, ReadingOrigin::PlainOax, ReadingOrigin::OaxWithIpHeader, CannotOpenOax});
  // Only a file read from disk is where the folder walk (D) goes on from.
  if (r == 1 && !c.s.fromSection) setText(c.s.lastInstrumentFilePath, c.s.instrumentFilePath);
  return r;
}

void openInstrumentFile(CurveSession& c) {
  ui::FileDialogRequest request;
  request.title = "Otevřít OAX";
  request.filter = "soubor ap.ODRAM |*.OAX";
  request.defaultExtension = "OAX ";
  openInstrumentReadings(c, request, readInstrumentFile, CannotOpenOax);
}

void loadNextInstrumentFile(CurveSession& c) {
  if (c.s.sourceKind == SourceInstrument) loadInstrumentFileAfter(c, currentPath(c.s));
}

void loadNextInstrumentFileAfterLast(CurveSession& c) {
  loadInstrumentFileAfter(c, std::string(textOf(c.s.lastInstrumentFilePath)));
}

void loadInstrumentFileAfter(CurveSession& c, const std::string& current) {
  CurveWindowState& s = c.s;
  const std::string folder = folderOfPath(current);
  const std::string name(fileNameOfPath(current));
  if (!fileExists(current)) return;
  const std::vector<std::string> files = listOaxFiles(folder);
  std::size_t at = 0;
  while (at < files.size() && files[at] != name) ++at;
  bool failed = false;
  for (std::size_t next = at + 1; next < files.size(); ++next) {
    const std::string path = joinFolder(folder, files[next]);
    if (!fileExists(path)) continue;
    if (readWalkedFile(c, path)) {
      s.pointPosition = static_cast<float>(pointNumberFromFileName(s));
      return;
    }
    failed = true;
  }
  // No further file could be read: the sounding shown is merged afresh.
  if (failed) mergeBranches(c, 2);
}

void quickDirectoryImport(CurveSession& c) {
  CurveWindowState& s = c.s;
  ui::FileDialogRequest request;
  request.title = "Otevři soubor v adresáři všech VES daného profilu ";
  request.filter = "pf VES z aparatury ODRAM|*.OAX";
  request.defaultExtension = "OAX";
  request.presetName = currentPath(s);
  const std::optional<std::string> chosen = c.dialogs.openFile(request);
  if (!chosen || chosen->empty()) {
    c.dialogs.message("nevybral jste žádný soubor");
    return;
  }
  const std::string folder = folderOfPath(*chosen);
  for (const std::string& name : listOaxFiles(folder)) {
    const std::string path = joinFolder(folder, name);
    if (!fileExists(path) || !readWalkedFile(c, path)) continue;
    const bool exactExtension = name.size() >= 4 && name.compare(name.size() - 4, 4, ".OAX") == 0;
    s.pointPosition =
        static_cast<float>(exactExtension ? pointNumberFromFileName(s) : s.pointNumber);
    c.section.describeCurrentPoint();
  }
}

void importOaxAndLoadNext(CurveSession& c) {
  if (c.s.fromSection) {
    c.dialogs.message(
        "Reinterpretovanou křivku VES nelze znovu vložit do stejného profilu, neb je už tam");
    return;
  }
  c.section.insertPoint();
}

}  // namespace orv
