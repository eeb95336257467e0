// "Tisk" and "Obrázek" of the curve window.
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>

#include "curve/qt/tulvakwin.h"

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

// TO BE WRITTEN (outputs work): the three handlers below.
void Tulvakwin::Vytisknicovid1Click() {}
void Tulvakwin::Nastaventiskrny1Click() {}
void Tulvakwin::UlocoviddoJPGsouboru1Click() {}
