// The curve window's tables: the model table and the undo of model changes
// (menu "Model"), the readings table, the import of a spreadsheet's table and
// the export of the interpretation as one (menu "Soubor").
#include <QAction>
#include <QMenu>
#include <QTableWidget>

#include "commands/curve/model_undo.h"
#include "commands/curve/table_commands.h"
#include "qt/ttabulkamereni.h"
#include "qt/ttabulkamodelu.h"
#include "qt/tulvakwin.h"

void Tulvakwin::buildTableFileItems(QMenu* soubor) {
  addItem(soubor, "OtevttabulkuCSVTXT1", QStringLiteral("Otevřít tabulku (CSV/TXT)"),
          QKeySequence(), [this] { orv::openTableFile(session_); });
  // Ctrl+Alt+T prints ("Vytiskni co vidíš"); the readings table takes the
  // model table's key with Shift.
  addItem(soubor, "Tabulkamen1", QStringLiteral("Tabulka měření"),
          QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_T), [this] { Tabulkamen1Click(); });
  addItem(soubor, "UloitmodelakivkyCSV1", QStringLiteral("Uložit model a křivky (CSV)"),
          QKeySequence(), [this] { orv::saveModelCurvesCsv(session_); });
}

void Tulvakwin::buildModelTableItems(QMenu* model) {
  model->addSeparator();
  addItem(model, "Tabulkamodelu1", QStringLiteral("Tabulka modelu"),
          QKeySequence(Qt::CTRL | Qt::Key_T), [this] { Tabulkamodelu1Click(); });
  addItem(model, "Zpt1", QStringLiteral("Zpět (vrátit změnu modelu)"),
          QKeySequence(Qt::CTRL | Qt::Key_Z), [this] { orv::undoModelChange(session_); });
  addItem(model, "Znovu1", QStringLiteral("Znovu (obnovit vrácenou změnu modelu)"),
          QKeySequence(Qt::CTRL | Qt::Key_Y), [this] { orv::redoModelChange(session_); });
}

namespace {

// A table opens beside the curve window, over the section's right edge; the
// readings table below the model table, so that both can stay open.
void placeBeside(QWidget* table, const QWidget* window, int below) {
  const QRect g = window->frameGeometry();
  table->move(std::max(0, g.left() - table->width() - 8), g.top() + 40 + below);
}

}  // namespace

void Tulvakwin::Tabulkamodelu1Click() {
  if (!modelTable_) {
    modelTable_ = new Ttabulkamodelu(this, session_, [this] { afterCommand(); });
    // Undo and redo also while the table has the keyboard.
    modelTable_->addAction(action("Zpt1"));
    modelTable_->addAction(action("Znovu1"));
    placeBeside(modelTable_, this, 0);
  }
  modelTable_->refresh();
  modelTable_->show();
  modelTable_->raise();
  modelTable_->activateWindow();
}

void Tulvakwin::Tabulkamen1Click() {
  if (!readingsTable_) {
    readingsTable_ = new Ttabulkamereni(this, session_, [this] { afterCommand(); });
    placeBeside(readingsTable_, this, 480);
  }
  readingsTable_->refreshIfUnedited();
  readingsTable_->show();
  readingsTable_->raise();
  readingsTable_->activateWindow();
}

void Tulvakwin::afterCommand() {
  orv::recordModelStep(session_);
  if (modelTable_ && modelTable_->isVisible()) modelTable_->refresh();
  if (readingsTable_ && readingsTable_->isVisible()) readingsTable_->refreshIfUnedited();
}
