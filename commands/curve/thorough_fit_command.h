// The thorough fit as the curve window runs it, in the frame of the
// inversion.
#pragma once

#include "commands/curve/curve_session.h"
#include "core/interpretation/thorough_fit.h"

namespace orv {

// The menu command: fitToMinimumCore with a progress dialog, redrawn as the
// inversion redraws, written back to the section point when the sounding
// came from there, and followed by the message of fit_verdict.h when the
// model is not to be trusted. A model that cannot be inverted is refused
// with its reason and stays as it is; stopped, nothing changes.
void thoroughFit(CurveSession& c);

}  // namespace orv
