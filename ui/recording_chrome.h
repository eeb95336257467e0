// A window chrome that only remembers what was asked of it; for command tests.
#pragma once

#include <map>
#include <string>

#include "ui/window_chrome.h"

namespace ui {

class RecordingChrome : public WindowChrome {
 public:
  std::string caption;
  bool optimiseVisible = false;
  bool transferVisible = false;
  Button focused = Button::Transfer;
  bool anyFocus = false;
  Cursor cursor = Cursor::Arrow;
  std::map<std::string, bool> checked;
  ScreenSize screen{1600, 1000};
  int placedWidth = -1;
  int otherWindowShown = 0;

  void setCaption(std::string_view utf8) override { caption = std::string(utf8); }
  void setButtonVisible(Button b, bool visible) override {
    (b == Button::Optimise ? optimiseVisible : transferVisible) = visible;
  }
  void focusButton(Button b) override {
    focused = b;
    anyFocus = true;
  }
  void setCursor(Cursor c) override { cursor = c; }
  void setChecked(std::string_view item, bool on) override { checked[std::string(item)] = on; }
  ScreenSize screenSize() const override { return screen; }
  void placeDockedRight(int width) override { placedWidth = width; }
  void showOtherWindow() override { ++otherWindowShown; }
};

}  // namespace ui
