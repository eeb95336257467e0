#include "curve/curve_construction.h"

#include "curve/settings_file.h"

namespace orv {

int curveWindowWidth(const CurveWindowState& s, const ui::WindowChrome& chrome) {
  return chrome.screenSize().width * s.screenSplitPercent / 100;
}

void constructCurveState(CurveSession& c) {
  setInitialCurveState(c.s);
  c.chrome.setButtonVisible(ui::Button::Optimise, false);
  c.chrome.setButtonVisible(ui::Button::Transfer, false);
  readSettings(c.s, c.dialogs);
  finishCurveStateConstruction(c.s);
  c.chrome.placeDockedRight(curveWindowWidth(c.s, c.chrome));
}

}  // namespace orv
