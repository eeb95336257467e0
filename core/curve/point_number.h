// The chainage a sounding proposes for its point: the point number of a KMT
// record, or the number in an OAX file's name ("pf1_120.OAX" → 120).
#pragma once

#include <optional>
#include <string_view>

#include "core/curve/curve_window_state.h"

namespace orv {

// The number written left of the first ".OAX" or ".oax" of a bare file name
// (letters between the number and the dot are passed over; a minus sign after
// a non-digit makes it negative). Nothing when the name has no such
// extension, no digit before it, or a number beyond an integer.
std::optional<int> numberInOaxFileName(std::string_view fileName);

// The number written left of the first ".OAX" or ".oax" of the file name;
// pointNumber for a KMT sounding, and also when the name holds no such
// number.
int pointNumberFromFileName(const CurveWindowState& s);

}  // namespace orv
