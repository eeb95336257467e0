// The curve window: one sounding, its composite curve and its layered model.
// A thin window: every menu item, key and mouse event calls one operation of
// the command layer on the window's CurveSession.
#pragma once

#include <QMainWindow>
#include <functional>
#include <memory>

#include "base/zeroed_block.h"
#include "commands/curve/curve_session.h"
#include "commands/section/curve_link.h"
#include "qt/qt_dialogs.h"
#include "qt/qt_window_chrome.h"

class QAction;
class QMenu;
class Ttabulkamereni;
class Ttabulkamodelu;
class QMouseEvent;
class QPrinter;
class QPushButton;

namespace ui {
class ImageWidget;
}

// Until the section window exists, the curve window's requests go nowhere.
class SectionForwarder : public orv::SectionLink {
 public:
  void setTarget(orv::SectionLink* target) { target_ = target; }
  void deleteCurrentPoint() override {
    if (target_) target_->deleteCurrentPoint();
  }
  void storeSounding() override {
    if (target_) target_->storeSounding();
  }
  void show() override {
    if (target_) target_->show();
  }
  void repaint() override {
    if (target_) target_->repaint();
  }
  void transferToSection() override {
    if (target_) target_->transferToSection();
  }
  void insertPoint() override {
    if (target_) target_->insertPoint();
  }
  bool loadNeighbour(bool next) override { return target_ && target_->loadNeighbour(next); }
  void describeCurrentPoint() override {
    if (target_) target_->describeCurrentPoint();
  }
  std::string currentProfileName() override {
    return target_ ? target_->currentProfileName() : std::string();
  }
  bool confirmClose() override { return !target_ || target_->confirmClose(); }

 private:
  orv::SectionLink* target_ = nullptr;
};

class Tulvakwin : public QMainWindow, public orv::CurveLink {
  Q_OBJECT

 public:
  // dialogs replaces the Qt dialogs (tests script the user); nullptr means
  // the real ones.
  explicit Tulvakwin(QWidget* parent = nullptr, ui::Dialogs* dialogs = nullptr);
  ~Tulvakwin() override;

  orv::CurveSession& session() { return session_; }
  ui::ImageWidget* image() const { return img_; }
  QPushButton* optimiseButton() const { return spustit_; }
  QPushButton* transferButton() const { return importdorezu_; }
  QAction* action(const QString& objectName) const;

  void setSection(orv::SectionLink* section);
  // Hooks of the application shell.
  void setHelpHook(std::function<void(int)> hook) { helpHook_ = std::move(hook); }
  void setAboutHook(std::function<void()> hook) { aboutHook_ = std::move(hook); }
  void setFirstShowHook(std::function<void()> hook) { firstShowHook_ = std::move(hook); }
  void setDisplayParametersHook(std::function<void()> hook) {
    displayParametersHook_ = std::move(hook);
  }
  void setPreferenceHook(std::function<void()> hook) { preferenceHook_ = std::move(hook); }
  void setQuitHook(std::function<void()> hook) { quitHook_ = std::move(hook); }

  // orv::CurveLink
  orv::CurveWindowState& state() override { return *state_; }
  void setTransferButtonVisible(bool visible) override;
  void takeOverLoadedPoint() override;
  void redraw() override;
  void loadNextInstrumentFile() override;

  // Writes the settings file; run at every close.
  void FormClose();

 public slots:
  void Konec1Click();
  void Npovda1Click();
  void Defaultnrozdlenobrazovkykolikprocentvpravo1Click();
  void Help1Click();
  void Oprogramu1Click();
  void Preference1Click();
  void Vytvoenmodelu1Click();
  void Zruitmodel1Click();
  void Zkoprujmodeldopamti1Click();
  void Vlomodelzpamti1Click();
  // "Editace" and "VP": the IP windows, their display, export and editing.
  void EditovatultlbodykivekokenVP1Click();
  void zobrazzpodnprvnhooknaaszapnutIabvypnutIabdlkymenVPpo1Click();
  void poetokenprovynesenvybjeckivky1Click();
  void asyokenoddoprovynesenvybjeckivky1Click();
  void asyoken1Click();
  void uloenvechbodvybjeckivkyproWINSURF1Click();
  void zobrazenmaximlnVPmxnapravmokraji1Click();
  void zobrazformouisolininebovybjeckivky1Click();
  void zobrazujnezobrazujvybjeckivky1Click();
  // "Tisk" and "Obrázek": the picture as it is shown, printed or as JPEG.
  void Vytisknicovid1Click();
  void Nastaventiskrny1Click();
  void UlocoviddoJPGsouboru1Click();
  // "Tabulka modelu" and "Tabulka měření": the tables beside the window.
  void Tabulkamodelu1Click();
  void Tabulkamen1Click();

  // The printer the set-up dialog configures and printing uses.
  QPrinter& printer();

 protected:
  void showEvent(QShowEvent* e) override;
  void changeEvent(QEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void buildMenus();
  // Defined beside their handlers (tulvakwin_ip_menu.cpp, tulvakwin_outputs.cpp).
  void buildEditMenu();
  void buildIpMenu();
  void buildOutputMenus();
  // The thorough fit, the equivalence ranges and the automatic model
  // (tulvakwin_fit_menu.cpp), at the end of the "Model" menu.
  void buildFitMenu();
  // The spreadsheet items of "Soubor" and the model table with undo and redo
  // in "Model" (tulvakwin_tables.cpp).
  void buildTableFileItems(QMenu* soubor);
  void buildModelTableItems(QMenu* model);
  // After every command, key and mouse event: the model's change is committed
  // as one step of its history and the tables show the state.
  void afterCommand();
  QAction* addItem(QMenu* menu, const QString& objectName, const QString& caption,
                   const QKeySequence& shortcut, std::function<void()> handler);
  QAction* addCaption(QMenu* menu, const QString& objectName, const QString& caption);
  void showSectionOnce();
  void placeButtons();
  void ImgMouseDown(QMouseEvent* e);
  void ImgMouseMove(QMouseEvent* e);
  void ImgMouseUp(QMouseEvent* e);
  void ImgDblClick(QMouseEvent* e);
  void FormResize(QSize size);

  orv::ZeroedBlock<orv::CurveWindowState> state_;
  ui::ImageWidget* img_;
  QPushButton* spustit_;
  QPushButton* importdorezu_;
  std::unique_ptr<ui::QtDialogs> ownDialogs_;
  // Only when the dialogs are scripted: the Qt dialogs own the printer otherwise.
  std::unique_ptr<QPrinter> ownPrinter_;
  ui::Dialogs* dialogs_;
  ui::QtWindowChrome chrome_;
  SectionForwarder section_;
  orv::CurveSession session_;
  bool shownOnce_ = false;
  // The second press of a double click: the time of the last press, and of
  // a double click whose own press may still follow.
  bool pressSeen_ = false;
  quint64 lastPressTime_ = 0;
  bool swallowPress_ = false;
  quint64 doubleClickTime_ = 0;
  bool closing_ = false;
  Ttabulkamodelu* modelTable_ = nullptr;
  Ttabulkamereni* readingsTable_ = nullptr;

  std::function<void(int)> helpHook_;
  std::function<void()> aboutHook_;
  std::function<void()> firstShowHook_;
  std::function<void()> displayParametersHook_;
  std::function<void()> preferenceHook_;
  std::function<void()> quitHook_;
};
