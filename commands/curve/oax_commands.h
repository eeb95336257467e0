// The curve window's OAX commands: opening one file, and walking through the
// OAX files of a profile's folder one after another.
#pragma once

#include <string>

#include "commands/curve/curve_session.h"

namespace orv {

// Reads instrumentFilePath (with fromSection set only completes the readings
// already in memory). Returns 1 read, 0 the file cannot be opened ("Cannot
// open OAX file." shown), -1 no usable reading. A file that is not read
// leaves the previous sounding and its IP data as they were. What had to be
// left out of a file that was read is told once.
int readInstrumentFile(CurveSession& c);

// "Otevřít OAX" (F11, OtevtOAX1Click); also the double click with inputMode 3.
void openInstrumentFile(CurveSession& c);

// Reads the OAX file that follows current in its folder. Acts only when
// current is still among the folder's OAX files; a file of the walk that
// cannot be read is reported and passed over.
void loadInstrumentFileAfter(CurveSession& c, const std::string& current);

// "<-" and "I": the file after the current sounding's, when that sounding was
// read from an instrument file.
void loadNextInstrumentFile(CurveSession& c);

// "Načti další soubor OAX (bez uložení)" (D): the file after the OAX file
// read last, whatever was loaded since (a KMT record, a typed sounding).
void loadNextInstrumentFileAfterLast(CurveSession& c);

// "(rychlý import OAX z celého pf v adresáři)" (Ctrl+I,
// Importcelhopfvadresi1Click): every OAX file of the chosen file's folder is
// read and its point dialog is stored into the section's current point.
void quickDirectoryImport(CurveSession& c);

// "Import OAX a načti další OAX (po jednom)" (I,
// ImportOAXvadresipojednom1Click): files the sounding as a new point, after
// which the section loads the next file of the folder.
void importOaxAndLoadNext(CurveSession& c);

}  // namespace orv
