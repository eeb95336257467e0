// The section window: the section database of profiles and points, drawn as
// a geoelectric section. A thin window: every menu item, key and mouse event
// calls one operation of the command layer on the window's SectionSession.
#pragma once

#include <QMainWindow>
#include <functional>
#include <memory>

#include "base/zeroed_block.h"
#include "commands/curve/section_link.h"
#include "commands/section/curve_link.h"
#include "commands/section/profile_batch.h"
#include "commands/section/section_session.h"
#include "core/section/dxf_settings.h"
#include "core/section/section_database.h"
#include "core/section/section_window_state.h"
#include "qt/qt_window_chrome.h"

class QAction;
class QMenu;
class QMouseEvent;
class QPrinter;

namespace ui {
class Dialogs;
class ImageWidget;
class QtDialogs;
}  // namespace ui

class TSection : public QMainWindow, public orv::SectionLink {
  Q_OBJECT

 public:
  // The curve window exists first; the section sizes itself against its
  // width. dialogs replaces the Qt dialogs (tests script the user); nullptr
  // means the real ones.
  TSection(orv::CurveLink& curve, int curveWindowWidth, QWidget* parent = nullptr,
           ui::Dialogs* dialogs = nullptr);
  ~TSection() override;

  orv::SectionSession& session() { return session_; }
  orv::SectionDatabase& database() { return *db_; }
  orv::SectionWindowState& viewState() { return view_; }
  orv::DxfSettings& dxfSettings() { return dxf_; }
  // The DXF settings dialog, created by the application shell in its place of
  // the window order.
  void setDxfSettingsDialog(std::function<void(orv::DxfSettings&, ui::Dialogs&)> dialog) {
    dxfDialog_ = std::move(dialog);
  }
  ui::ImageWidget* image() const { return imgRez_; }
  QMenu* popupMenu() const { return popup_; }
  // The printer "Tisk formuláře" prints to: the one the set-up dialog
  // configures, or with stand-in dialogs a printer of the window's own.
  QPrinter& printer() { return formPrinter(); }
  QAction* action(const QString& objectName) const;

  // Hooks of the application shell.
  void setHelpHook(std::function<void(int)> hook) { helpHook_ = std::move(hook); }
  void setCloseCurveWindowHook(std::function<void()> hook) { closeCurveWindow_ = std::move(hook); }
  // Replaces the modal point parameters dialog (tests answer it directly).
  void setPointDialog(std::function<orv::PointFields()> dialog) {
    session_.pointDialog = std::move(dialog);
  }

  // orv::SectionLink
  void deleteCurrentPoint() override;
  void storeSounding() override;
  void show() override;
  void repaint() override;
  void transferToSection() override;
  void insertPoint() override;
  bool loadNeighbour(bool next) override;
  void describeCurrentPoint() override;
  std::string currentProfileName() override;
  bool confirmClose() override;

  // Redraws the picture: the profile menu, then the section.
  void paintSection();
  // The program ends (by "Konec", by closing either window): the DXF
  // settings are written to orv.ini, once.
  void FormClose();

 public slots:
  void Novprofil1Click();
  void Smaaktulnbod1Click();
  void pfClick(int k);
  void NaaktulnmpfupravXvechbodVESnapodlpovrchu1Click();
  void HelpF1Click();
  void Otevidbnamenchdatavsledk1Click();
  void Ulodbnamenchdatavsledkjako1Click();
  void Ulodbnamenchdatavsledk1Click();
  void Dalsousednbod1Click();
  void Pedchozsousednbod1Click();
  void Konec1Click();
  void Font1Click();
  void Nastaventiskrny1Click();
  void Tiskformule1Click();

 protected:
  void showEvent(QShowEvent* e) override;
  void closeEvent(QCloseEvent* e) override;

 private:
  void buildMenus();
  QAction* addItem(QMenu* menu, const QString& objectName, const QString& caption,
                   const QKeySequence& shortcut, std::function<void()> handler);
  void updateProfileMenu();
  orv::PointFields runPointDialog();
  ui::ScreenSize clientSize() const;
  void showAndWait(int milliseconds);
  void imgRezMouseDown(QMouseEvent* e);
  void imgRezDblClick(QMouseEvent* e);
  void imgRezMouseMove(QMouseEvent* e);
  void imgRezMouseUp(QMouseEvent* e);
  void showDeleteLineItem();
  // Progress of long work with "Storno"; false once the user cancelled.
  orv::WorkProgress workProgress(const QString& title);
  void FormShow();
  void FormResize(QSize size);
  void buildDatabaseMenu(QMenu* menu);
  void buildEditMenu(QMenu* menu);
  void buildIpMenu(QMenu* menu);
  void buildViewMenu(QMenu* menu);
  void buildLayersMenu(QMenu* menu);
  void buildPrintMenu(QMenu* menu);
  void buildExportMenu(QMenu* menu);
  void parametryexportudoUCM1Click();
  // Writes the drawn part of the bitmap as a JPEG (an existing picture is
  // replaced).
  void writeBitmapJpeg(const std::string& path);
  void savePicture(bool useDxfName);
  void buildArrowItems();
  void buildPopup();
  // Runs a command of the session (the name of a command of the layer).
  QAction* command(QMenu* menu, const char* objectName, const char* caption,
                   const QKeySequence& shortcut, void (*op)(orv::SectionSession&));
  QPrinter& formPrinter();

  orv::ZeroedBlock<orv::SectionDatabase> db_;
  orv::SectionWindowState view_;
  ui::ImageWidget* imgRez_;
  std::unique_ptr<ui::QtDialogs> ownDialogs_;
  ui::Dialogs* dialogs_;
  ui::QtWindowChrome chrome_;
  orv::SectionSession session_;
  QMenu* popup_ = nullptr;
  QAction* profileItems_[orv::MaxProfiles] = {};
  bool shownOnce_ = false;
  orv::DxfSettings dxf_;
  std::function<void(orv::DxfSettings&, ui::Dialogs&)> dxfDialog_;
  std::unique_ptr<QPrinter> ownPrinter_;
  // The program is ending: the user has let the database go. The curve
  // window's closing may close this window again.
  bool closing_ = false;
  bool settingsWritten_ = false;

  std::function<void(int)> helpHook_;
  std::function<void()> closeCurveWindow_;
};
