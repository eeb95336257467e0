#include "commands/section/contour_grids_command.h"

#include <cstdio>
#include <optional>

#include "commands/section/database_commands.h"
#include "core/section/boundary_lines.h"
#include "ui/new_file_choice.h"

namespace orv {
namespace {

constexpr const char* GridDialogTitle = "Uložení dat pro zobrazení ve WINSURFu";
constexpr const char* GridFilter = "forWinsurf|*.DAT";
constexpr const char* GridExtension = "DAT";
constexpr const char* CannotOpenGrid = "Cannot open UCM_output file.";

constexpr const char* PictureFilter = "souboryJPG|*.jpg|souboryJPG|*.JPG";
constexpr const char* PictureExtension = "jpg";

bool profileHasNoPoints(const SectionDatabase& db) {
  const SectionProfile* p = currentProfilePtr(db);
  return !p || profilePointCount(*p) == 0;
}

// The grid file dialog until a name of no existing file is chosen; empty when
// the user gave up.
std::string chooseGridFile(ui::Dialogs& dialogs) {
  ui::FileDialogRequest r;
  r.title = GridDialogTitle;
  r.filter = GridFilter;
  r.defaultExtension = GridExtension;
  return ui::chooseNewFile(dialogs, r, ui::RetryPreset::Original).value_or(std::string());
}

template <class Write>
void exportGrid(SectionSession& session, Write write) {
  const std::string path = chooseGridFile(session.dialogs);
  if (path.empty()) return;
  // Created exclusively: a file that appeared since the dialog is not
  // overwritten either.
  std::FILE* out = std::fopen(path.c_str(), "wbx");
  if (!out) {
    session.dialogs.message(CannotOpenGrid);
    return;
  }
  bool written = write(out);
  written = std::fclose(out) == 0 && written;
  if (!written) {
    // A grid cut short (a full disk, a folder gone) would be contoured as if
    // it were whole: the file created here goes again, as a cut drawing does.
    std::remove(path.c_str());
    session.dialogs.message(CannotOpenGrid);
  }
}

}  // namespace

void exportModelGrid(SectionSession& session) {
  if (profileHasNoPoints(session.db)) {
    readDatabase(session);
    return;
  }
  exportGrid(session, [&](std::FILE* out) { return writeModelGrid(session.db, out); });
}

void exportPseudoSection(SectionSession& session) {
  if (profileHasNoPoints(session.db)) {
    readDatabase(session);
    return;
  }
  exportGrid(session, [&](std::FILE* out) { return writePseudoSectionGrid(session.db, out); });
}

void exportIpPseudoSection(SectionSession& session) {
  if (profileHasNoPoints(session.db)) {
    readDatabase(session);
    return;
  }
  exportGrid(session, [&](std::FILE* out) {
    return writeIpPseudoSectionGrid(session.db, session.view.currentIpWindow, out);
  });
}

void exportLayerGrid(SectionSession& session) {
  exportGrid(session,
             [&](std::FILE* out) { return writeLayerGrid(session.db, session.view, out); });
}

void savePictureWithLegend(SectionSession& session, const PictureWriter& savePicture) {
  if (profileHasNoPoints(session.db)) {
    readDatabase(session);
    return;
  }
  session.view.drawLegend = true;
  if (session.redraw) session.redraw();
  if (savePicture) savePicture(false);
  session.view.drawLegend = false;
}

void saveColoursOnlyPicture(SectionSession& session, const PictureWriter& savePicture) {
  if (profileHasNoPoints(session.db)) {
    readDatabase(session);
    return;
  }
  session.view.drawLegend = true;
  session.view.coloursOnly = true;
  if (session.redraw) session.redraw();
  if (savePicture) savePicture(false);
  session.view.drawLegend = false;
  session.view.coloursOnly = false;
  if (session.redraw) session.redraw();
}

void saveDxfCompanionPicture(SectionSession& session, const PictureWriter& savePicture) {
  const bool coloursOnly = session.view.coloursOnly;
  session.view.coloursOnly = true;
  if (session.redraw) session.redraw();
  if (savePicture) savePicture(true);
  session.view.coloursOnly = coloursOnly;
  if (session.redraw) session.redraw();
}

std::string pictureFileName(ui::Dialogs& dialogs, bool useDxfName, const std::string& dxfFileName) {
  if (useDxfName) return dxfFileName + ".JPG";
  ui::FileDialogRequest r;
  r.filter = PictureFilter;
  r.defaultExtension = PictureExtension;
  const std::optional<std::string> chosen = dialogs.saveFile(r);
  return chosen ? *chosen : std::string();
}

}  // namespace orv
