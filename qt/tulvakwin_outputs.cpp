// "Tisk" and "Obrázek" of the curve window.
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>

#include "commands/curve/curve_outputs.h"
#include "qt/image_printing.h"
#include "qt/image_widget.h"
#include "qt/jpeg_picture.h"
#include "qt/tulvakwin.h"

void Tulvakwin::buildOutputMenus() {
  QMenu* tisk = menuBar()->addMenu(QStringLiteral("Tisk"));
  tisk->setObjectName("Tisk1");
  addItem(tisk, "Vytisknicovid1", QStringLiteral("Vytiskni co vidíš"),
          QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_T), [this] { Vytisknicovid1Click(); });
  addItem(tisk, "Nastaventiskrny1", QStringLiteral("Nastavení tiskárny"),
          QKeySequence(Qt::ALT | Qt::Key_T), [this] { Nastaventiskrny1Click(); });
  QMenu* obrazek = menuBar()->addMenu(QStringLiteral("Obrázek"));
  obrazek->setObjectName("Obrzek1");
  addItem(obrazek, "UlocoviddoJPGsouboru1", QStringLiteral("Ulož co vidíš do JPG souboru "),
          QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_J), [this] { UlocoviddoJPGsouboru1Click(); });
}

QPrinter& Tulvakwin::printer() {
  if (ownDialogs_) return ownDialogs_->printer();
  if (!ownPrinter_) ownPrinter_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
  return *ownPrinter_;
}

// Both outputs take the image's bitmap as it stands, the same picture the
// JPEG gets: the buttons lying over the chart are controls, not part of it.
void Tulvakwin::Vytisknicovid1Click() {
  if (!orv::prepareCurvePrint(session_, centralWidget()->width())) return;
  ui::printImageOrPdf(printer(), img_->canvas().image(), *dialogs_);
}

void Tulvakwin::Nastaventiskrny1Click() {
  dialogs_->printerSetup();
}

void Tulvakwin::UlocoviddoJPGsouboru1Click() {
  const std::optional<std::string> path = orv::chooseCurvePictureFile(*dialogs_);
  if (path) ui::writeJpegPicture(img_->canvas().image(), *path, *dialogs_);
}
