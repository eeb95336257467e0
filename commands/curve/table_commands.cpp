#include "commands/curve/table_commands.h"

#include <optional>
#include <string>

#include "base/fixed_text.h"
#include "commands/curve/branch_merging_command.h"
#include "commands/curve/composite_editing.h"
#include "commands/curve/derive_readings.h"
#include "core/curve/model_curves_csv.h"
#include "core/curve/readings_snapshot.h"
#include "core/curve/table_file.h"
#include "core/interpretation/branch_merging.h"

namespace orv {

int readTableSounding(CurveSession& c) {
  CurveWindowState& s = c.s;
  s.mouseDragging = false;
  c.chrome.setCursor(ui::Cursor::Arrow);
  s.hotLayer = s.hotBoundary = -1;
  if (s.fromSection) return deriveReadings(c, ReadingOrigin::InMemory);

  const ReadingsSnapshot previous(s);
  const TableReadResult read = readTableFile(s, s.instrumentFilePath);
  const std::string notice = tableNoticeText(read);
  if (!notice.empty()) c.dialogs.message(notice);
  if (read.code != 1) return read.code;
  if (deriveReadings(c, ReadingOrigin::InMemory) != 1) {
    previous.restore(s);
    return -1;
  }
  return 1;
}

void openTableFile(CurveSession& c) {
  CurveWindowState& s = c.s;
  s.fromSection = false;
  ui::FileDialogRequest request;
  request.title = "Otevřít tabulku (CSV/TXT)";
  request.filter = "tabulka měření|*.csv;*.txt|všechny soubory|*.*";
  request.defaultExtension = "csv";
  request.presetName = std::string(textOf(s.instrumentFilePath));
  const std::optional<std::string> path = c.dialogs.openFile(request);
  if (!path || path->empty()) {
    c.dialogs.message("nevybral jste žádný soubor");
    return;
  }
  const std::string previousPath(textOf(s.instrumentFilePath));
  const bool fits = fitsWhole(s.instrumentFilePath, *path);
  if (fits) setText(s.instrumentFilePath, *path);
  if (fits && readTableSounding(c) == 1) {
    resetInterpretation(c);
    c.chrome.setCaption("ORV-program na zpracování VES - otevřen: " + *path);
  } else {
    c.dialogs.message(readingFailedMessage(*path));
    setText(s.instrumentFilePath, previousPath);
  }
  s.fromSection = false;
  mergeBranches(c, 2);
}

void saveModelCurvesCsv(CurveSession& c) {
  CurveWindowState& s = c.s;
  if (!s.compositeReady) {
    c.dialogs.message(MergeBranchesFirstMessage);
    return;
  }
  ui::FileDialogRequest request;
  request.title = "Uložit model a křivky (CSV)";
  request.filter = "tabulka CSV|*.csv";
  request.defaultExtension = "csv";
  const std::string shown(textOf(s.instrumentFilePath));
  request.presetName = modelCurvesCsvName(
      s.sourceKind == SourceKmt ? std::string(textOf(s.soundingFilePath)) : shown);
  const std::optional<std::string> path = c.dialogs.saveFile(request);
  if (!path || path->empty()) {
    c.dialogs.message("Nevybral jste žádný soubor");
    return;
  }
  const std::string written = writeModelCurvesCsv(s, s.computedCurveValid, *path);
  if (written.empty())
    c.dialogs.message("Nemožno vytvořit soubor " + *path);
  else if (written != *path)
    c.dialogs.message("Soubor " + *path + " existuje; model a křivky jsou uloženy do " + written);
}

}  // namespace orv
