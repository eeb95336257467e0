#include "app/shell.h"

#include <QApplication>

#include "app/help_viewer.h"
#include "app/to_programu.h"
#include "app/tuvitani.h"
#include "commands/curve/curve_construction.h"
#include "commands/curve/curve_rendering.h"
#include "commands/curve/forward_problem_command.h"
#include "commands/curve/section_display_flags.h"
#include "core/interpretation/forward_problem.h"
#include "qt/tparucm.h"
#include "qt/tparzobr.h"
#include "qt/tpreferenceuzivatele.h"
#include "qt/tsection.h"
#include "qt/tulvakwin.h"
#include "qt/tvesparametryedit.h"

Shell::Shell(ui::Dialogs* dialogs, bool showWelcome) : showWelcome_(showWelcome) {
  // The order is fixed: the section sizes itself against the curve window,
  // and the curve window, created first, is the main window.
  curve_ = std::make_unique<Tulvakwin>(nullptr, dialogs);
  note(curve_.get());
  about_ = std::make_unique<To_programu>(curve_.get());
  note(about_.get());
  section_ = std::make_unique<TSection>(
      *curve_, orv::curveWindowWidth(curve_->state(), curve_->session().chrome), nullptr, dialogs);
  note(section_.get());
  pointDialog_ = std::make_unique<TVESparametryEdit>(section_->session(), section_.get());
  note(pointDialog_.get());
  dxfDialog_ = std::make_unique<TparUCM>(section_.get());
  note(dxfDialog_.get());
  ui::Dialogs& anyDialogs = curve_->session().dialogs;
  displayParameters_ =
      std::make_unique<Tparzobr>(curve_.get(), curve_->state(), displayFlags_, anyDialogs);
  note(displayParameters_.get());
  welcome_ = std::make_unique<Tuvitani>(curve_.get());
  note(welcome_.get());
  preferences_ = std::make_unique<Tpreferenceuzivatele>(curve_.get(), curve_->state(), &anyDialogs);
  preferences_->setForwardChangedHook([this] { orv::recomputeShownForward(curve_->session()); });
  note(preferences_.get());
  help_ = std::make_unique<HelpViewer>(nullptr);

  curve_->setSection(section_.get());
  TparUCM* dxfDialog = dxfDialog_.get();
  section_->setDxfSettingsDialog(
      [dxfDialog](orv::DxfSettings& s, ui::Dialogs& dialogs) { dxfDialog->execute(s, dialogs); });
  TVESparametryEdit* pointDialog = pointDialog_.get();
  section_->setPointDialog([pointDialog] {
    pointDialog->exec();
    return pointDialog->fields();
  });
  curve_->setHelpHook([this](int context) { showHelp(context); });
  section_->setHelpHook([this](int context) { showHelp(context); });
  curve_->setAboutHook([this] { about_->exec(); });
  curve_->setPreferenceHook([this] { preferences_->execute(); });
  curve_->setDisplayParametersHook([this] {
    orv::SectionWindowState& view = section_->viewState();
    displayFlags_ = {view.profilePrefix, view.labelBySurfaceChainage};
    displayParameters_->execute();
    view.profilePrefix = displayFlags_.profilePrefix;
    view.labelBySurfaceChainage = displayFlags_.labelBySurfaceChainage;
    orv::repaintCurveWindow(curve_->session());
    section_->repaint();
  });
  if (showWelcome_) curve_->setFirstShowHook([this] { welcome_->exec(); });
  // Closing either window ends the program; every road out keeps the DXF
  // settings in orv.ini.
  curve_->setQuitHook([this] {
    section_->FormClose();
    section_->hide();
    help_->hide();
    QApplication::quit();
  });
  section_->setCloseCurveWindowHook([this] { curve_->close(); });
}

Shell::~Shell() = default;

void Shell::note(const QObject* window) {
  creationOrder_ << window->metaObject()->className();
}

void Shell::start() {
  curve_->show();
}

void Shell::showHelp(int context) {
  help_->showContext(context);
}
