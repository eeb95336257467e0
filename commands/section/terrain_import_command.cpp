#include "commands/section/terrain_import_command.h"

#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "base/c_format.h"
#include "base/cp1250.h"
#include "base/file_lookup.h"

namespace orv {
namespace {

constexpr const char* NothingChosen = "Nevybral jste žádný soubor";
constexpr const char* CannotOpen = "Cannot open input file.txt or ter";
constexpr const char* NoTitleAndCount = "Nejsou dvě data na prvním řádku: akce-pf, ,pocetlomu";
constexpr const char* TooManyBreaks = "Příliš mnoho lomů terénu";
constexpr const char* BadBreak = "Nečte body lomu terénu!";

// Runs the whole reading of a command; false when it ended without breaks.
bool readTerrainFile(SectionSession& session, SectionProfile& profile) {
  if (session.showIfNeverShown) session.showIfNeverShown();
  std::string path;
  for (;;) {
    const std::optional<std::string> chosen = session.dialogs.openFile(ui::FileDialogRequest{});
    if (!chosen || chosen->empty()) {
      session.dialogs.message(NothingChosen);
      return false;
    }
    path = *chosen;
    if (fileExists(path)) break;
    session.dialogs.message("Soubor" + path + "nexistuje. Zvolte jiný název!");
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    session.dialogs.message(CannotOpen);
    return false;
  }
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());

  const TerrainRead read = readTerrainBreaks(text, profile);
  if (read.status == TerrainReadStatus::NoTitleAndCount) {
    session.dialogs.message(NoTitleAndCount);
    return false;
  }
  session.dialogs.message("nadpis souboru lomů terénu: " + cp1250ToUtf8(read.title) +
                          " počet lomů terénu je " + cformat("%d", read.count));
  if (read.status == TerrainReadStatus::TooManyBreaks) {
    session.dialogs.message(TooManyBreaks);
    return false;
  }
  if (read.status == TerrainReadStatus::BadBreak) {
    session.dialogs.message(BadBreak);
    return false;
  }
  return true;
}

template <class Apply>
void importTerrain(SectionSession& session, Apply apply) {
  SectionProfile* p = currentProfilePtr(session.db);
  if (!p) return;
  if (!readTerrainFile(session, *p)) return;
  apply(*p);
  session.db.changed = true;
  if (session.redraw) session.redraw();
}

}  // namespace

void importTerrainAlongSurface(SectionSession& session) {
  importTerrain(session, applyTerrainAlongSurface);
}

void importTerrainHeights(SectionSession& session) {
  importTerrain(session, applyTerrainHeights);
}

}  // namespace orv
