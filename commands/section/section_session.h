// Everything a section-window command works with: the database, the window's
// own state, the user's dialogs, the curve window, and the two things only
// the window itself can do (redraw its picture, show the point dialog).
#pragma once

#include <functional>
#include <string>

#include "commands/section/curve_link.h"
#include "commands/section/point_parameters.h"
#include "core/section/section_database.h"
#include "core/section/section_window_state.h"
#include "ui/canvas.h"
#include "ui/dialogs.h"
#include "ui/window_chrome.h"

namespace orv {

struct SectionSession {
  SectionDatabase& db;
  SectionWindowState& view;
  ui::Dialogs& dialogs;
  CurveLink& curve;
  // Redraws the section picture from db and view.
  std::function<void()> redraw;
  // Shows the point parameters dialog modally (its mode is
  // view.editingExistingPoint) and returns its fields as it was closed.
  std::function<PointFields()> pointDialog;
  // Sets the section window's caption (UTF-8).
  std::function<void(const std::string&)> setCaption = {};
  // Shows the section window unless it has been shown before.
  std::function<void()> showIfNeverShown = {};
  // Check marks, cursor and screen of the section window (nullptr: none).
  ui::WindowChrome* chrome = nullptr;
  // The section picture, for what a command draws straight into it (the
  // status line of a click); nullptr: no picture.
  ui::Canvas* canvas = nullptr;
  // Size of the window's client area in pixels.
  std::function<ui::ScreenSize()> clientSize = {};
  // Lets the window show what was drawn and waits (the IP window animation).
  std::function<void(int milliseconds)> pause = {};
};

}  // namespace orv
