// The interpretation of a sounding as a spreadsheet table: the layered model
// and, per grid cell of the sounding, AB/2, the measured composite curve and
// the model's computed curve. UTF-8, one header line, comma-separated,
// C-locale numbers, CR LF line ends.
#pragma once

#include <string>

#include "core/curve/curve_window_state.h"

namespace orv {

// The header line names every column; a model row fills the layer's
// columns (druh "model"), a curve row the cell's (druh "křivka"), the other
// cells stay empty. withComputed: computedRho belongs to the current model,
// otherwise its column stays empty.
std::string formatModelCurvesCsv(const CurveWindowState& s, bool withComputed);

// The name proposed for the table of the sounding at path: its extension
// replaced by ".csv" ("sounding.csv" without one).
std::string modelCurvesCsvName(const std::string& soundingPath);

// Writes the table into the first free name of first, first_1.csv,
// first_2.csv, ... (never over an existing file). Returns the name written,
// "" when no file could be written.
std::string writeModelCurvesCsv(const CurveWindowState& s, bool withComputed,
                                const std::string& first);

}  // namespace orv
