// The curve window's dialogs and chrome without a window, for the
// command-line tool: messages and reports go to standard error, every
// question is cancelled, and long work shows its progress on standard error
// when that is a terminal (a script reading it gets no progress lines). The
// picture is a ui::NullCanvas, the section an orv::NoSection.
#pragma once

#include "ui/dialogs.h"
#include "ui/window_chrome.h"

namespace orv::cli {

class StderrDialogs : public ui::Dialogs {
 public:
  void message(std::string_view text) override;
  ui::Answer ask(std::string_view, bool withCancel) override {
    return withCancel ? ui::Answer::Cancel : ui::Answer::No;
  }
  std::optional<std::string> inputQuery(std::string_view, std::string_view,
                                        std::string_view) override {
    return std::nullopt;
  }
  std::optional<std::string> openFile(const ui::FileDialogRequest&) override {
    return std::nullopt;
  }
  std::optional<std::string> saveFile(const ui::FileDialogRequest&) override {
    return std::nullopt;
  }
  std::optional<ui::Colour> chooseColour(ui::Colour) override { return std::nullopt; }
  std::optional<ui::FontChoice> chooseFont(const ui::FontChoice&) override { return std::nullopt; }
  bool printerSetup() override { return false; }
  void report(std::string_view title, std::string_view text) override;
  std::unique_ptr<ui::Progress> progress(std::string_view title) override;
};

class NullChrome : public ui::WindowChrome {
 public:
  void setCaption(std::string_view) override {}
  void setButtonVisible(ui::Button, bool) override {}
  void focusButton(ui::Button) override {}
  void setCursor(ui::Cursor) override {}
  void setChecked(std::string_view, bool) override {}
  ui::ScreenSize screenSize() const override { return {1600, 1000}; }
  void placeDockedRight(int) override {}
  void showOtherWindow() override {}
};

}  // namespace orv::cli
