// OAX files of the ODRAM field instruments: one sounding per file. Line 1
// ignored, line 2 the date and time, lines 3 and 4 ignored; a line 5 starting
// with ";" opens the IP header (variant A: window lines, the impulse section
// with the timing of the current cycle, the table header, then per reading a
// "U" block of potential decay samples, an optional "I" block of current
// samples and a row of thirteen numbers). Otherwise (variant B) line 5 and
// the lines after it are rows of thirteen numbers only.
#pragma once

#include "core/curve/curve_window_state.h"
#include "core/curve/instrument_file.h"

namespace orv {

// Reads the file at path into dateText, the readings, the decay samples and
// the IP timing of s, and generates the default IP windows while none are
// defined. Rows with a resistivity <= 0 and rows with a branch number outside
// 1..5 are left out (the next row takes their slot). Nothing is written
// beyond MaxReadings readings or MaxDecaySamples samples; what had to be
// left out is in the result's notice. A file without the impulse section
// yields no reading. code 0: the file cannot be opened, nothing changed.
InstrumentReadResult readOaxData(CurveWindowState& s, const char* path);

}  // namespace orv
