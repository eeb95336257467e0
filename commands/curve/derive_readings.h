// The common completion every reader runs after it has filled the readings,
// and the reset that follows every successful load of a new sounding.
#pragma once

#include <string>
#include <string_view>

#include "commands/curve/curve_session.h"

namespace orv {

// Which reader's completion runs: it decides whether readings with rho <= 0
// take part in the display bounds, and how the origin is recorded.
enum class ReadingOrigin {
  Kmt,              // KMT file: next record index advanced, sourceKind 0
  PlainOax,         // OAX file without IP header
  OaxWithIpHeader,  // OAX file with IP header: readings with rho <= 0 skipped
  Sas,              // SAS file: readings with rho <= 0 skipped
  InMemory,         // typed, drawn or loaded from the section: rho <= 0 skipped
};

// Removes the readings that the grid and the branch tables cannot hold: AB/2
// not a finite number, AB/2 at or below 0.6 m or so large that its grid index
// exceeds 199, and branch numbers outside 1..5. The remaining readings keep
// their order; every per-reading array (readings, IP reference, decay samples,
// IP window values) moves together. A readingCount outside 0..200 is first
// cut to that range. AB/2 values <= 0 are left for deriveReadings to refuse.
// Returns the number of readings removed.
int dropUnusableReadings(CurveWindowState& s);

// Grid indices, logarithms and display bounds of the readings. Returns 1, or
// -1 when no reading has a usable AB/2: the previous derived values stay and
// the caller refuses the sounding (the section is never asked to delete).
int deriveReadings(CurveSession& c, ReadingOrigin origin);

// The refusal of a file that yields no usable reading: "chyba při čtení"
// followed by the file, so that a user walking a folder knows which file it
// was. Without a file (typed or drawn readings) the bare text.
std::string readingFailedMessage(std::string_view shownPath);

// Clears the interpretation of the previous sounding (model, fix marks,
// modes) and hides the buttons "..." and "<-".
void resetInterpretation(CurveSession& c);

}  // namespace orv
