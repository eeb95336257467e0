// The curve window's SAS command: one SAS file read as one sounding.
#pragma once

#include "commands/curve/curve_session.h"

namespace orv {

// Reads instrumentFilePath as a SAS file (with fromSection set only completes
// the readings in memory). Returns 1 read, 0 the file cannot be opened
// ("Cannot open SAS file." shown), -1 no usable reading; a file that is not
// read leaves the previous sounding as it was.
int readSasFile(CurveSession& c);

// "Otevřít aparatury SAS amp" (OtevtaparaturySASamp1Click).
void openSasFile(CurveSession& c);

}  // namespace orv
