// What a command changes on its window besides the picture.
#pragma once

#include <string_view>

namespace ui {

enum class Cursor { Arrow, Cross, SizeVertical, SizeHorizontal, Wait };

// The curve window's two buttons: "..." starts the inversion, "<-" files the
// sounding into the section.
enum class Button { Optimise, Transfer };

struct ScreenSize {
  int width;
  int height;
};

class WindowChrome {
 public:
  virtual ~WindowChrome() = default;

  virtual void setCaption(std::string_view utf8) = 0;
  virtual void setButtonVisible(Button b, bool visible) = 0;
  virtual void focusButton(Button b) = 0;
  virtual void setCursor(Cursor c) = 0;
  // Check mark of a menu item, named by its object name ("lockScale1" ...).
  virtual void setChecked(std::string_view item, bool checked) = 0;
  virtual ScreenSize screenSize() const = 0;
  // Normal window state, the given width and the full screen height, docked to
  // the right edge of the screen (the curve window) or the left (the section).
  virtual void placeDockedRight(int width) = 0;
  // Shows the other long-lived window.
  virtual void showOtherWindow() = 0;
};

}  // namespace ui
