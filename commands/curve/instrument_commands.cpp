#include "commands/curve/instrument_commands.h"

#include <optional>
#include <string>

#include "base/fixed_text.h"
#include "commands/curve/branch_merging_command.h"
#include "core/curve/readings_snapshot.h"

namespace orv {

int readInstrumentReadings(CurveSession& c, const InstrumentFormat& format) {
  CurveWindowState& s = c.s;
  s.mouseDragging = false;
  c.chrome.setCursor(ui::Cursor::Arrow);
  s.hotLayer = s.hotBoundary = -1;
  if (s.fromSection) return deriveReadings(c, ReadingOrigin::InMemory);

  const ReadingsSnapshot previous(s);
  const InstrumentReadResult read = format.read(s, s.instrumentFilePath);
  if (read.code == 0) {
    c.dialogs.message(format.cannotOpen);
    return 0;
  }
  const int r = deriveReadings(c, read.ipHeader ? format.ipHeaderOrigin : format.origin);
  if (r != 1) {
    previous.restore(s);
    return r;
  }
  const std::string notice = instrumentNoticeText(read.notice);
  if (!notice.empty()) c.dialogs.message(notice);
  return 1;
}

void openInstrumentReadings(CurveSession& c, ui::FileDialogRequest request,
                            int (*read)(CurveSession& c), const char* cannotOpen) {
  CurveWindowState& s = c.s;
  s.fromSection = false;
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
    r = read(c);
  } else {
    c.dialogs.message(cannotOpen);
  }
  if (r == 1) {
    resetInterpretation(c);
    c.chrome.setCaption("ORV-program na zpracování VES - otevřen: " + *path);
  } else {
    // The previous sounding stays on screen under its own name.
    c.dialogs.message(r == 0 ? readingFailedMessage("") : readingFailedMessage(*path));
    setText(s.instrumentFilePath, previousPath);
  }
  s.fromSection = false;
  mergeBranches(c, 2);
}

}  // namespace orv
