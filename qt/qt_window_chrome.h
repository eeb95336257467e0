// WindowChrome of a QMainWindow: caption, the two buttons, the image's
// cursor, check marks of the window's actions, docking on the screen.
#pragma once

#include <functional>

#include "ui/window_chrome.h"

class QMainWindow;
class QPushButton;

namespace ui {

class ImageWidget;

class QtWindowChrome : public WindowChrome {
 public:
  // Which screen edge placeDockedRight docks to: the curve window sits at the
  // right, the section window at the left.
  enum class DockEdge { Right, Left };

  explicit QtWindowChrome(QMainWindow* window, QPushButton* optimise = nullptr,
                          QPushButton* transfer = nullptr, ImageWidget* image = nullptr,
                          DockEdge edge = DockEdge::Right);

  void setShowOtherWindow(std::function<void()> show) { showOther_ = std::move(show); }

  void setCaption(std::string_view utf8) override;
  void setButtonVisible(Button b, bool visible) override;
  void focusButton(Button b) override;
  void setCursor(Cursor c) override;
  void setChecked(std::string_view item, bool checked) override;
  ScreenSize screenSize() const override;
  void placeDockedRight(int width) override;
  void showOtherWindow() override;

 private:
  QPushButton* button(Button b) const;

  QMainWindow* window_;
  QPushButton* optimise_;
  QPushButton* transfer_;
  ImageWidget* image_;
  DockEdge edge_;
  std::function<void()> showOther_;
};

}  // namespace ui
