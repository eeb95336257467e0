#include "commands/section/database_commands.h"

#include <cstdio>
#include <optional>

#include "base/c_format.h"
#include "base/file_lookup.h"
#include "base/fixed_text.h"
#include "base/next_free_name.h"
#include "base/zeroed_block.h"
#include "commands/section/section_operations.h"
#include "core/section/vdb_file.h"

namespace orv {
namespace {

constexpr const char* SaveFilter = "databáze bodů VES|*.vdb";
// The numbered alternatives are listed too.
constexpr const char* OpenFilter = "databáze bodů VES|*.vdb*";
constexpr const char* VdbExtension = "vdb";
constexpr const char* NumberedExtension = ".vdb_";
constexpr const char* CannotCreate = "Nemožno vytvořit zvolený soubor KMT !";
constexpr const char* NothingChosen = "Nevybral jste žádný soubor";
constexpr const char* CannotOpen = "Cannot open input file.";

// The view after a read shows every point a locality can hold.
constexpr float ReadViewChainage = 1000000.0f;
constexpr float ReadViewElevation = 10000.0f;
constexpr float ReadCurvePixelsPerDecade = 33.0f;

ui::FileDialogRequest vdbDialog(const SectionDatabase& db, const char* title, const char* filter) {
  ui::FileDialogRequest r;
  r.title = title;
  r.filter = filter;
  r.defaultExtension = VdbExtension;
  r.presetName = std::string(textOf(db.fileName));
  return r;
}

// A path longer than the name buffers would be kept cut, and a later save
// would create a file of another name.
bool fitsNameBuffer(const std::string& path) {
  return path.size() < static_cast<std::size_t>(PathCapacity);
}

}  // namespace

std::string incompleteDatabaseMessage(int pointsRead) {
  return cformat("Soubor databáze je neúplný - počet načtených bodů: %d.", pointsRead);
}

std::string notDatabaseMessage(const std::string& path) {
  return "Soubor " + path + " není databáze VDB.";
}

bool saveDatabase(SectionSession& session, bool withDialog) {
  SectionDatabase& db = session.db;
  if (withDialog) {
    const std::optional<std::string> path =
        session.dialogs.saveFile(vdbDialog(db, "Uložit databázi bodů VES", SaveFilter));
    if (path && !path->empty()) {
      if (!fitsNameBuffer(*path)) {
        session.dialogs.message(CannotCreate);
        return false;
      }
      setText(db.fileName, *path);
    }
    // A cancelled dialog does not cancel the save: it goes under the current
    // name.
    setText(db.baseFileName, textOf(db.fileName));
  }

  const std::string first(textOf(db.fileName));
  NewFile out = createNextFreeFile(first, textOf(db.baseFileName), NumberedExtension);
  if (out.file && !fitsNameBuffer(out.name)) {
    std::fclose(out.file);
    std::remove(out.name.c_str());
    out.file = nullptr;
  }
  if (!out.file) {
    session.dialogs.message(CannotCreate);
    return false;
  }
  setText(db.fileName, out.name);
  bool written = writeVdb(db, out.file);
  written = std::fclose(out.file) == 0 && written;
  if (!written) {
    // A half-written file would later read as a database that lost points.
    std::remove(out.name.c_str());
    session.dialogs.message("Soubor " + out.name +
                            " se nepodařilo celý zapsat - databáze nebyla uložena!");
    return false;
  }
  db.changed = false;
  if (session.setCaption) session.setCaption(sectionCaption(db));
  return true;
}

void setViewForReadDatabase(SectionWindowState& view) {
  view.curvePixelsPerDecade = ReadCurvePixelsPerDecade;
  view.viewMinChainage = -ReadViewChainage;
  view.viewMaxChainage = ReadViewChainage;
  view.viewMinElevation = -ReadViewElevation;
  view.viewMaxElevation = ReadViewElevation;
}

bool saveDatabaseOrAsk(SectionSession& session) {
  return saveDatabase(session, session.db.baseFileName[0] == '\0');
}

bool mayDropDatabase(SectionSession& session) {
  if (!session.db.changed) return true;
  switch (session.dialogs.ask("Databáze byla změněna. Uložit změny?", true)) {
    case ui::Answer::Yes:
      return saveDatabaseOrAsk(session);
    case ui::Answer::No:
      return true;
    case ui::Answer::Cancel:
      break;
  }
  return false;
}

void readDatabase(SectionSession& session) {
  if (!mayDropDatabase(session)) return;
  SectionDatabase& db = session.db;
  session.view.curvePixelsPerDecade = ReadCurvePixelsPerDecade;
  if (session.showIfNeverShown) session.showIfNeverShown();

  // The database keeps its names until a file has been read into it.
  ui::FileDialogRequest request = vdbDialog(db, "Otevřít databázi bodů VES", OpenFilter);
  std::string path;
  for (;;) {
    const std::optional<std::string> chosen = session.dialogs.openFile(request);
    if (!chosen || chosen->empty()) {
      session.dialogs.message(NothingChosen);
      return;
    }
    path = *chosen;
    if (!fitsNameBuffer(path)) {
      session.dialogs.message(CannotOpen);
      return;
    }
    request.presetName = path;
    if (fileExists(path)) break;
    session.dialogs.message("Soubor" + path + "nexistuje. Zvolte jiný název!");
  }

  // Read into fresh memory: a damaged or foreign file never mixes into the
  // open database, and nothing of that one stands beside what the file
  // carried.
  ZeroedBlock<SectionDatabase> fresh;
  setInitialDatabaseState(*fresh);
  const VdbReadResult read = readVdb(*fresh, path.c_str());
  if (read.code != 1) {
    session.dialogs.message(read.code == -1 ? notDatabaseMessage(path) : std::string(CannotOpen));
    return;
  }
  takeOverDatabase(db, *fresh);
  setText(db.fileName, path);
  setText(db.baseFileName, path);

  setViewForReadDatabase(session.view);
  db.currentProfile = 0;
  db.currentPoint = 0;
  if (session.redraw) session.redraw();

  // The curve window may have held a point of the database just replaced:
  // a model change there must not be written into the point of the same
  // index in the new one. Its sounding may be filed into the new database.
  CurveWindowState& curve = session.curve.state();
  curve.fromSection = false;
  if (curve.modelActive || curve.modelBoundaryCount > 0)
    session.curve.setTransferButtonVisible(true);

  if (read.truncated) session.dialogs.message(incompleteDatabaseMessage(read.pointsRead));
}

}  // namespace orv
