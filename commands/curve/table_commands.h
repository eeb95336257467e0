// The curve window's spreadsheet commands: a sounding read from a table of
// readings (CSV or TXT), and the interpretation saved as a table.
#pragma once

#include "commands/curve/curve_session.h"

namespace orv {

// Reads instrumentFilePath as a table of readings and completes them; with
// fromSection set only the readings in memory are completed. Returns 1 read,
// 0 the file cannot be opened, -1 no usable reading; the lines left out are
// told in one message. A file that is not read leaves the previous sounding
// as it was.
int readTableSounding(CurveSession& c);

// "Otevřít tabulku (CSV/TXT)": choose a file and load it as a sounding, as
// the other readers do (completion, reset, merge onto branch 2). A file
// without a usable reading is refused with "chyba při čtení: <file>".
void openTableFile(CurveSession& c);

// "Uložit model a křivky (CSV)": the model and the curves per grid cell into
// a new file (a name taken gives way to name_1.csv, ...). Needs a composite
// curve.
void saveModelCurvesCsv(CurveSession& c);

}  // namespace orv
