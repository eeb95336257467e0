// SAS files: text exports of a resistivity instrument that records the
// coordinates of the four electrodes of every reading. Header lines up to the
// column header (" No. Time ..."), then one line of 22 fields per reading,
// numbered from 1 without gaps.
#pragma once

#include "core/curve/curve_window_state.h"
#include "core/curve/instrument_file.h"

namespace orv {

// AB/2 (or MN/2) from the coordinates of two electrodes, m, in the float32
// steps of the instrument's own software: the horizontal distance first, then
// with the height difference.
float sasHalfSpacing(float x1, float y1, float z1, float x2, float y2, float z2);

// Branch of a reading by its MN/2 (1..5), or 0 from 115 m on, where the
// branch tables have no slot.
int sasBranchOfMnHalf(float mnHalf);

// Reads the file at path into the readings of s: AB/2 and MN/2 from the
// electrodes, the branch from MN/2, the IP reference and the resistivity;
// the decay samples of each reading are cleared. Generates the default IP
// windows from the current timing while none are defined. Reading stops at
// the first line that does not convert or breaks the running numbers, and
// after MaxReadings lines. Readings with a resistivity <= 0 or MN/2 of 115 m
// and more are left out. code 0: the file cannot be opened, nothing changed.
InstrumentReadResult readSasData(CurveWindowState& s, const char* path);

}  // namespace orv
