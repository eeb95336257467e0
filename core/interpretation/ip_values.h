// Apparent polarisability of every reading in every IP window, from the
// sampled decay of the potential after the current is switched off.
#pragma once

#include "core/curve/curve_window_state.h"

namespace orv {

// ipValue[j][w] of readings j < readingCount and windows w < ipWindowCount:
// the samples of reading j whose time lies in [ipWindowStart[w],
// ipWindowEnd[w]] (both ends included) are summed; n of them give
// sum / n / readingIpReference[j] * ipMaxShown (float32, in this order, a
// negative result 0), a zero reference leaves the plain sum, no sample 0.
// Then the readings of one grid index (overlapping branches) all take the
// mean of their values. Does nothing for a sounding loaded from the section,
// whose values are the stored ones. Returns the largest value (-9999 when
// there is none).
float computeIpValues(CurveWindowState& s);

// The largest ipValue of readings j < readingCount and windows
// w < ipWindowCount, starting from -9999.
float largestIpValue(const CurveWindowState& s);

// Whether the sounding in the curve window carries IP: for one read from a
// file, a reading with decay samples; for one loaded from the section, which
// keeps only its values, a value other than 0. A resistivity-only sounding
// read after an IP file has none, whatever windows are defined.
bool soundingHasIp(const CurveWindowState& s);

// Readings and windows that hold IP values, clamped to the arrays.
int ipReadingCount(const CurveWindowState& s);
int ipWindowsDefined(const CurveWindowState& s);

}  // namespace orv
