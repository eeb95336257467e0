#include "commands/curve/curve_construction.h"

#include <cstdint>

#include "core/curve/additions_file.h"
#include "core/curve/settings_file.h"

namespace orv {

int curveWindowWidth(const CurveWindowState& s, const ui::WindowChrome& chrome) {
  // The split read at start-up is not range-checked, so the product may not
  // fit 32 bits; the window framework bounds the width to the screen.
  const int64_t w = static_cast<int64_t>(chrome.screenSize().width) * s.screenSplitPercent / 100;
  return w > INT32_MAX ? INT32_MAX : (w < INT32_MIN ? INT32_MIN : static_cast<int>(w));
}

void constructCurveState(CurveSession& c) {
  setInitialCurveState(c.s);
  c.chrome.setButtonVisible(ui::Button::Optimise, false);
  c.chrome.setButtonVisible(ui::Button::Transfer, false);
  readSettings(c.s, c.dialogs);
  readAdditions(c.s);
  finishCurveStateConstruction(c.s);
  c.chrome.placeDockedRight(curveWindowWidth(c.s, c.chrome));
}

}  // namespace orv
