// What the section window asks of the curve window. The curve window
// implements it; tests use a recording stand-in.
#pragma once

#include "core/curve/curve_window_state.h"

namespace orv {

class CurveLink {
 public:
  virtual ~CurveLink() = default;

  // The curve window's state: the section copies soundings in and out of it
  // and clears its fromSection flag directly.
  virtual CurveWindowState& state() = 0;
  // Shows or hides the transfer button "<-".
  virtual void setTransferButtonVisible(bool visible) = 0;
  // A point has just been copied into state(): the curve window sets
  // fromSection, processes the readings already in memory, clears the
  // interpretation state, shows "..." with the focus, hides "<-", sets its
  // caption, computes the forward problem when there is a model, sets
  // modelActive and redraws itself. It reports its own failures.
  virtual void takeOverLoadedPoint() = 0;
  // Redraws the curve window's picture from state(). While the curve window
  // holds a point of the section (fromSection), the readings the section has
  // just copied in are derived first (their logarithms, grid cells and the
  // display bounds), so the picture shows that point and not the last one.
  virtual void redraw() = 0;
  // After a sounding has been filed: the OAX file that follows the current one
  // in its folder is read (nothing when the sounding did not come from a
  // folder walk or the folder has no further file).
  virtual void loadNextInstrumentFile() {}
};

}  // namespace orv
