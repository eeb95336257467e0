// The thorough fit as the curve window runs it, in the frame of the
// inversion.
#pragma once

#include "commands/curve/curve_session.h"
#include "core/interpretation/thorough_fit.h"

namespace orv {

// The menu command: the inversion's run and the continuation, redrawn as the
// inversion redraws, written back to the section point when the sounding
// came from there. A model that cannot be inverted is refused with its
// reason and stays as it is.
void thoroughFit(CurveSession& c);

}  // namespace orv
