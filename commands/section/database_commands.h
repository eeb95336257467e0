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
// window's caption. Returns whether the database was written; it then counts
// as unchanged.
bool saveDatabase(SectionSession& session, bool withDialog);

// "Ulož db naměřených dat a výsledků ": asks for a name only while no
// database file has been opened or saved yet.
bool saveDatabaseOrAsk(SectionSession& session);

// Before a road that would drop unsaved changes (closing the program,
// opening another database): when the database changed since it was last
// read or saved, "Databáze byla změněna. Uložit změny?" with Ano (saved as
// saveDatabaseOrAsk saves), Ne and Storno. False, and the road must stop,
// after Storno or a save that failed.
bool mayDropDatabase(SectionSession& session);

// "Otevři db naměřených dat a výsledků ": after mayDropDatabase, the open
// dialog until an existing file is chosen; the file is read into fresh memory
// and taken over only when it is a database. The view, the selection and the
// curve window's transfer state are then set for the new data. A file that
// is no database, or cannot be opened, leaves everything as it was.
void readDatabase(SectionSession& session);

// The view a database just read is shown in: the widest view limits and the
// default curve size.
void setViewForReadDatabase(SectionWindowState& view);

// The message of a file that ended before its counts were met.
std::string incompleteDatabaseMessage(int pointsRead);

// The message of a file whose first record is not that of a database.
std::string notDatabaseMessage(const std::string& path);

}  // namespace orv
