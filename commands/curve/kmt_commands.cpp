#include "commands/curve/kmt_commands.h"

#include <cstdint>
#include <optional>
#include <string>

#include "base/c_format.h"
#include "base/file_lookup.h"
#include "base/fixed_text.h"
#include "commands/curve/branch_merging_command.h"
#include "commands/curve/derive_readings.h"
#include "core/curve/kmt_file.h"
#include "core/curve/readings_snapshot.h"
#include "core/interpretation/branch_merging.h"

namespace orv {
namespace {

constexpr const char* OpenFilter = "soubor ap.KALOMET|*.KMT";
constexpr const char* SaveFilter = "soubor typu kalomet|*.KMT";
constexpr const char* KmtExtension = "KMT";

std::string recordTitle(const CurveWindowState& s) {
  return "ORV-otevřen: " + std::string(textOf(s.soundingFilePath)) +
         " bod: " + cformat("%i", s.pointNumber) + " pf: " + cformat("%i", s.profileNumber) +
         " lok: " + shownText(s.localityText) + " datum: " + shownText(s.dateText);
}

ui::FileDialogRequest kmtDialog(const CurveWindowState& s, const char* title, const char* filter) {
  ui::FileDialogRequest r;
  r.title = title;
  r.filter = filter;
  r.defaultExtension = KmtExtension;
  r.presetName = std::string(textOf(s.soundingFilePath));
  return r;
}

// The save dialog is shown until a name of a file that does not exist yet is
// picked. Cancelling twice in a row gives up: the first cancel may be a slip,
// the second is the user's answer.
std::optional<std::string> chooseNewKmtFile(CurveSession& c) {
  const ui::FileDialogRequest request = kmtDialog(c.s, "Uložit do nového souboru KMT", SaveFilter);
  int cancels = 0;
  for (;;) {
    std::optional<std::string> path = c.dialogs.saveFile(request);
    if (!path || path->empty()) {
      c.dialogs.message("Nevybral jste žádný soubor");
      if (++cancels >= 2) return std::nullopt;
      continue;
    }
    cancels = 0;
    if (fileExists(*path)) {
      c.dialogs.message("Vybraný soubor existuje. Zvolte jiný název!");
      continue;
    }
    if (!fitsWhole(c.s.soundingFilePath, *path)) {
      c.dialogs.message("Nemožno vytvořit zvolený soubor KMT !");
      return std::nullopt;
    }
    return path;
  }
}

template <std::size_t N>
void askText(CurveSession& c, const char* caption, char (&text)[N]) {
  std::optional<std::string> answer = c.dialogs.inputQuery(caption, "", shownText(text));
  if (answer) setTextFromUtf8(text, *answer);
}

void askInteger(CurveSession& c, const char* caption, int32_t& value) {
  std::optional<std::string> answer = c.dialogs.inputQuery(caption, "", cformat("%i", value));
  if (!answer) return;
  std::optional<int> v = parseUserInt(*answer);
  if (v)
    value = *v;
  else
    c.dialogs.message("Soustřeďte se (celé číslo)!");
}

int32_t clampToInt32(int64_t v) {
  if (v > INT32_MAX) return INT32_MAX;
  if (v < INT32_MIN) return INT32_MIN;
  return static_cast<int32_t>(v);
}

// The next point continues the chainage step of the last two saved points.
void proposeNextPointNumber(CurveWindowState& s) {
  const int64_t step = static_cast<int64_t>(s.pointNumber) - s.previousPointNumber;
  s.pointNumberStep = clampToInt32(step);
  s.previousPointNumber = s.pointNumber;
  s.pointNumber = clampToInt32(static_cast<int64_t>(s.pointNumber) + step);
}

void closeHandle(CurveWindowState& s) {
  if (s.soundingOutputHandle) std::fclose(s.soundingOutputHandle);
  s.soundingOutputHandle = nullptr;
}

}  // namespace

int readRecord(CurveSession& c, int recordIndex) {
  CurveWindowState& s = c.s;
  if (s.fromSection) return deriveReadings(c, ReadingOrigin::Kmt);

  s.mouseDragging = false;
  c.chrome.setCursor(ui::Cursor::Arrow);
  s.hotLayer = s.hotBoundary = -1;

  const KmtReadResult read = readKmtRecord(s, s.soundingFilePath, recordIndex);
  if (read.code == 0) {
    c.dialogs.message("Cannot open KMT file.");
    return 0;
  }
  if (read.code == -2) {
    c.dialogs.message("Konec souboru KMT. Toto bude opět první VES.");
    s.soundingRecordIndex = 0;
    return -2;
  }
  const std::string title = recordTitle(s);
  const int r = deriveReadings(c, ReadingOrigin::Kmt);
  const std::string notice = kmtNoticeText(read);
  if (r == 1 && !notice.empty()) c.dialogs.message(notice);
  // The caption names the record only once its readings have been taken, so
  // that a record replaced by record 0 never shows up in it.
  if (r == 1) c.chrome.setCaption(title);
  return r;
}

void openRecord(CurveSession& c, int recordIndex) {
  CurveWindowState& s = c.s;
  if (recordIndex == 0) {
    std::optional<std::string> path = c.dialogs.openFile(kmtDialog(s, "Otevřít KMT", OpenFilter));
    if (!path) {
      // Nothing is read, but the sounding on screen is merged afresh as
      // after any read.
      c.dialogs.message("nevybral jste žádný soubor");
      s.fromSection = false;
      mergeBranches(c, 2);
      return;
    }
    if (!fitsWhole(s.kmtOpenDialogFileName, *path)) {
      c.dialogs.message("Cannot open KMT file.");
      c.dialogs.message("záznam nenačten");
      s.fromSection = false;
      mergeBranches(c, 2);
      return;
    }
    setText(s.kmtOpenDialogFileName, *path);
  }
  // The records come from the file chosen in the open dialog, now or the last
  // time, even when a save has named another file since.
  if (s.kmtOpenDialogFileName[0] != '\0') setText(s.soundingFilePath, s.kmtOpenDialogFileName);

  const ReadingsSnapshot previous(s);

  int r = readRecord(c, recordIndex);
  if (r != 1) {
    if (r == -2) s.soundingRecordIndex = 0;
    r = readRecord(c, 0);
  }
  if (r <= 0) {
    c.dialogs.message("záznam nenačten");
    previous.restore(s);
  } else {
    resetInterpretation(c);
  }
  s.fromSection = false;
  mergeBranches(c, 2);
}

void openKmtFile(CurveSession& c) {
  c.s.soundingRecordIndex = 0;
  c.s.fromSection = false;
  openRecord(c, 0);
}

void readNextKmtRecord(CurveSession& c) {
  c.s.fromSection = false;
  openRecord(c, c.s.soundingRecordIndex);
}

void readPreviousKmtRecord(CurveSession& c) {
  CurveWindowState& s = c.s;
  if (s.soundingRecordIndex <= 1) return;
  s.soundingRecordIndex -= 2;
  s.fromSection = false;
  openRecord(c, s.soundingRecordIndex);
}

bool writeRecord(CurveSession& c, bool newFile) {
  CurveWindowState& s = c.s;
  if (!s.compositeReady) return false;
  // The output counts as open after a first append whose file was never
  // created (cancelled, refused, or nothing merged yet): such an append
  // starts the new file it could not start then.
  if (!newFile && !s.soundingOutputHandle) newFile = true;

  if (newFile) {
    std::optional<std::string> path = chooseNewKmtFile(c);
    if (!path) return false;
    setText(s.soundingFilePath, *path);
    closeHandle(s);
    // "x": never replaces a file, even one created since the dialog closed.
    std::FILE* f = std::fopen(path->c_str(), "wbx");
    if (!f) {
      c.dialogs.message("Nemožno vytvořit zvolený soubor KMT !");
      return false;
    }
    s.soundingOutputHandle = f;
    s.soundingOutputOpen = true;
    askText(c, "Zadej jméno operátora:", s.operatorText);
    askText(c, "Zadej jméno lokality:", s.localityText);
  }

  proposeNextPointNumber(s);
  askInteger(c, "Zadej číslo bodu či metráž bodu na profilu: ", s.pointNumber);
  askInteger(c, "Zadej číslo profilu:", s.profileNumber);

  const std::string bytes = formatKmtRecord(s, newFile);
  const bool written =
      std::fwrite(bytes.data(), 1, bytes.size(), s.soundingOutputHandle) == bytes.size();
  // Flushed at once: the file stays open until the window closes, and a
  // record must not be lost if the program is ended abnormally.
  return std::fflush(s.soundingOutputHandle) == 0 && written;
}

void appendKmtRecord(CurveSession& c) {
  writeRecord(c, !c.s.soundingOutputOpen);
  c.s.soundingOutputOpen = true;
}

void saveKmtToNewFile(CurveSession& c) {
  CurveWindowState& s = c.s;
  if (!s.soundingOutputOpen) return;
  closeHandle(s);
  writeRecord(c, true);
  // This file is not appended to again; the next append starts another one.
  closeHandle(s);
  s.soundingOutputOpen = false;
}

void closeKmtOutput(CurveWindowState& s) {
  closeHandle(s);
  s.soundingOutputOpen = false;
}

}  // namespace orv
