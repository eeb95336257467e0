#include "commands/curve/sas_commands.h"

#include <optional>
#include <string>

#include "base/fixed_text.h"
#include "commands/curve/branch_merging_command.h"
#include "commands/curve/derive_readings.h"
#include "core/curve/instrument_file.h"
#include "core/curve/readings_snapshot.h"
#include "core/curve/sas_file.h"
#include "core/interpretation/branch_merging.h"

namespace orv {

int readSasFile(CurveSession& c) {
  CurveWindowState& s = c.s;
  s.mouseDragging = false;
  c.chrome.setCursor(ui::Cursor::Arrow);
  s.hotLayer = s.hotBoundary = -1;
  if (s.fromSection) return deriveReadings(c, ReadingOrigin::InMemory);

  const ReadingsSnapshot previous(s);
  const InstrumentReadResult read = readSasData(s, s.instrumentFilePath);
  if (read.code == 0) {
    c.dialogs.message("Cannot open SAS file.");
    return 0;
  }
  if (deriveReadings(c, ReadingOrigin::Sas) != 1) {
    previous.restore(s);
    return -1;
  }
  const std::string notice = instrumentNoticeText(read.notice);
  if (!notice.empty()) c.dialogs.message(notice);
  return 1;
}

void openSasFile(CurveSession& c) {
  CurveWindowState& s = c.s;
  s.fromSection = false;
  ui::FileDialogRequest request;
  request.title = "Otevřít aparatury SAS amp";
  request.presetName = std::string(textOf(s.instrumentFilePath));
  const std::optional<std::string> path = c.dialogs.openFile(request);
  if (!path || path->empty()) {
    c.dialogs.message("nevybral jste žádný soubor");
    return;
  }
  const std::string previousPath(textOf(s.instrumentFilePath));
  int r = 0;
  if (fitsWhole(s.instrumentFilePath, *path)) {
    setText(s.instrumentFilePath, *path);
    r = readSasFile(c);
  } else {
    c.dialogs.message("Cannot open SAS file.");
  }
  if (r == 1) {
    resetInterpretation(c);
    c.chrome.setCaption("ORV-program na zpracování VES - otevřen: " + *path);
  } else {
    c.dialogs.message(r == 0 ? readingFailedMessage("") : readingFailedMessage(*path));
    setText(s.instrumentFilePath, previousPath);
  }
  s.fromSection = false;
  mergeBranches(c, 2);
}

}  // namespace orv
