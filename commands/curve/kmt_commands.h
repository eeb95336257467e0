// The curve window's KMT commands: reading records of a KMT file one after
// another, and writing the merged sounding as a record of an output file that
// stays open for appending between the save commands.
#pragma once

#include "commands/curve/curve_session.h"

namespace orv {

// Reads record recordIndex of soundingFilePath and completes the readings;
// with fromSection set only the completion runs. Returns 1 read, 0 the file
// cannot be opened, -2 end of file (soundingRecordIndex back to 0), -1 no
// usable reading.
int readRecord(CurveSession& c, int recordIndex);

// The common body of the three reading commands; index 0 lets the user choose
// the file first. A record that cannot be read is replaced by record 0; when
// nothing can be read the previous sounding stays. Ends by merging onto
// branch 2.
void openRecord(CurveSession& c, int recordIndex);

// "Otevřít KMT" (Ctrl+R, OtevtKMT1Click).
void openKmtFile(CurveSession& c);
// "Načti další ze souboru KMT" (Ctrl+D, NatidalKMT1Click); also the
// double-click with inputMode 4.
void readNextKmtRecord(CurveSession& c);
// "Načti byvší (předchozí) ze souboru KMT" (Ctrl+B, N2Click).
void readPreviousKmtRecord(CurveSession& c);

// Writes the merged sounding as one record; with newFile set a file that does
// not exist yet is chosen and created first. Does nothing without a composite
// curve. Returns true when a record has been written.
bool writeRecord(CurveSession& c, bool newFile);

// "Přiuložit KMT " (PiuloitKMT1Click): appends to the open output file, or
// starts a new one.
void appendKmtRecord(CurveSession& c);
// "Uložit do nového souboru KMT" (F12, UloitKMT1Click): only while an output
// file is open; writes the sounding into a new file, which is then closed.
void saveKmtToNewFile(CurveSession& c);

// Closes the KMT output file (used by "Konec").
void closeKmtOutput(CurveWindowState& s);

}  // namespace orv
