// orvplus.ini: the settings of the additions (the accurate forward problem
// and the equivalence tolerance), kept apart from orvwin.ini so that the
// field's settings file stays exactly as its own tools read and write it.
//
// The file lies beside orvwin.ini in the start-up folder (its name found
// without regard to letter case). Windows-1250 text, CR LF line ends, numbers
// in the C locale; the keys are plain ASCII words without diacritics:
//
//   doplnky programu ORV (presna prima uloha, ekvivalence)
//   presna_prima_uloha_dlouhy_filtr_(1=ano_0=ne) 0
//   ekvivalence_pripustne_zhorseni_SSQ_(podil) 0.1
//
// Lines are found by their key (the text before the last blank), so their
// order does not matter and unknown lines are skipped. A missing file, a
// missing line or a damaged value means that entry's default: the accurate
// forward off, the tolerance 0.1. Nothing is said to the user about it: the
// additions are optional.
#pragma once

#include <string>

#include "core/curve/curve_window_state.h"

namespace orv {

inline constexpr const char* AdditionsFileName = "orvplus.ini";
inline constexpr double DefaultEquivalenceTolerance = 0.1;

// accurateForward off, equivalenceTolerance 0.1.
void applyDefaultAdditions(CurveWindowState& s);

// A tolerance the program can work with: finite and above zero.
bool validEquivalenceTolerance(double q);

// The file in StartFolder (set by readSettings before this is used).
std::string additionsIoPath(const CurveWindowState& s);

// Reads the file at path into s, from the defaults; a file that cannot be
// opened leaves the defaults and returns false.
bool readAdditionsFile(CurveWindowState& s, const char* path);
// The same for the file beside orvwin.ini.
bool readAdditions(CurveWindowState& s);

// The complete file text.
std::string additionsFileText(const CurveWindowState& s);

// Written through a temporary renamed over the old file; false when that
// failed (the old file is then as it was).
bool writeAdditionsFile(const CurveWindowState& s, const char* path);
// The file beside orvwin.ini; while it does not exist and both additions hold
// their defaults nothing is written, so a user who never switches an addition
// on finds the start-up folder as before.
bool writeAdditions(const CurveWindowState& s);

}  // namespace orv
