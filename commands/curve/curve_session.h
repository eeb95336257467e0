// Everything a curve-window command works with: the state, the user's
// dialogs, the picture, the window around it and the section window.
#pragma once

#include "commands/curve/section_link.h"
#include "core/curve/curve_window_state.h"
#include "ui/canvas.h"
#include "ui/dialogs.h"
#include "ui/window_chrome.h"

namespace orv {

struct CurveSession {
  CurveWindowState& s;
  ui::Dialogs& dialogs;
  ui::Canvas& canvas;
  ui::WindowChrome& chrome;
  SectionLink& section;
};

}  // namespace orv
