// The equivalence ranges as the curve window shows them: beside each layer's
// rows of the model table.
#pragma once

#include "commands/curve/curve_session.h"
#include "core/interpretation/equivalence.h"

namespace orv {

// "Zobraz rozsahy ekvivalence": the ranges with q = equivalenceTolerance and
// a progress dialog; the model at its minimum is drawn as a fit draws it,
// and the limit and each layer's ranges are written beside its rows of the
// model table (inside the plot's right edge) until the next repaint.
void showEquivalenceRanges(CurveSession& c);

}  // namespace orv
