// Start-up: the set of windows, created once in a fixed order and kept for
// the whole run, and the ways they reach each other.
#pragma once

#include <QStringList>
#include <memory>

#include "commands/curve/section_display_flags.h"

class QObject;
class Tulvakwin;
class To_programu;
class TSection;
class TVESparametryEdit;
class TparUCM;
class Tparzobr;
class Tuvitani;
class Tpreferenceuzivatele;
class HelpViewer;

namespace ui {
class Dialogs;
}

class Shell {
 public:
  // dialogs replaces the Qt dialogs of both windows (tests script the user).
  explicit Shell(ui::Dialogs* dialogs = nullptr, bool showWelcome = true);
  ~Shell();
  Shell(const Shell&) = delete;
  Shell& operator=(const Shell&) = delete;

  // Shows the curve window, the main one; the rest follows from its events.
  void start();

  Tulvakwin* curve() const { return curve_.get(); }
  To_programu* about() const { return about_.get(); }
  TSection* section() const { return section_.get(); }
  TVESparametryEdit* pointDialog() const { return pointDialog_.get(); }
  TparUCM* dxfDialog() const { return dxfDialog_.get(); }
  Tparzobr* displayParameters() const { return displayParameters_.get(); }
  Tuvitani* welcome() const { return welcome_.get(); }
  Tpreferenceuzivatele* preferences() const { return preferences_.get(); }
  HelpViewer* help() const { return help_.get(); }

  // Object names of the windows in the order they were created.
  const QStringList& creationOrder() const { return creationOrder_; }

  void showHelp(int context);

 private:
  void note(const QObject* window);

  QStringList creationOrder_;
  std::unique_ptr<Tulvakwin> curve_;
  std::unique_ptr<To_programu> about_;
  std::unique_ptr<TSection> section_;
  std::unique_ptr<TVESparametryEdit> pointDialog_;
  std::unique_ptr<TparUCM> dxfDialog_;
  // The section settings the display dialog edits, synchronised with the
  // section window around each use.
  orv::SectionDisplayFlags displayFlags_{};
  std::unique_ptr<Tparzobr> displayParameters_;
  std::unique_ptr<Tuvitani> welcome_;
  std::unique_ptr<Tpreferenceuzivatele> preferences_;
  std::unique_ptr<HelpViewer> help_;
  bool showWelcome_;
};
