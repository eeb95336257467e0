// The section window's database file commands: saving the database under a
// name that never overwrites a file, and reading a database file over the
// current one. Qt-free; they talk to the user through session.dialogs.
#pragma once

#include <string>

#include "commands/section/section_session.h"

namespace orv {

// "Ulož db naměřených dat a výsledků jako" (withDialog) and the saving of
// "Ulož db naměřených dat a výsledků ": the save dialog (when asked for)
// proposes fileName and a cancel keeps it; then the first free name of
// fileName, baseFileName.vdb_1, .vdb_2, ... is written and named in the
// window's caption.
void saveDatabase(SectionSession& session, bool withDialog);

// "Ulož db naměřených dat a výsledků ": asks for a name only while no
// database file has been opened or saved yet.
void saveDatabaseOrAsk(SectionSession& session);

// "Otevři db naměřených dat a výsledků ": the open dialog until an existing
// file is chosen, then the file is read over the database; the view, the
// selection and the curve window's transfer state are set for the new data.
void readDatabase(SectionSession& session);

// The view a database just read is shown in: the widest view limits and the
// default curve size.
void setViewForReadDatabase(SectionWindowState& view);

// The message of a file that ended before its counts were met.
std::string incompleteDatabaseMessage(int pointsRead);

}  // namespace orv
