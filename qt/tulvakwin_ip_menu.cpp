// "Editace" and "VP" of the curve window: the IP windows, their display, the
// IP grid export and the editing of an outlying decay curve.
#include <QMenu>
#include <QMenuBar>

#include "commands/curve/ip_commands.h"
#include "qt/tulvakwin.h"

void Tulvakwin::buildEditMenu() {
  QMenu* editace = menuBar()->addMenu(QStringLiteral("Editace"));
  editace->setObjectName("Editace1");
  addItem(editace, "EditovatultlbodykivekokenVP1",
          QStringLiteral("Editovat ulétlý bod křivek oken VP (jen reinterpretace z leva)"),
          QKeySequence(Qt::Key_F5), [this] { EditovatultlbodykivekokenVP1Click(); });
}

void Tulvakwin::buildIpMenu() {
  QMenu* vp = menuBar()->addMenu(QStringLiteral("VP"));
  vp->setObjectName("VP1");
  addCaption(vp, "POZORPROEXPORTDOPFMUSBTOKNAVPSTEJN1",
             QStringLiteral("POZOR PRO EXPORT DO PF MUSÍ BÝT OKNA VP STEJNÁ"));
  addItem(vp, "zobrazzpodnprvnhooknaaszapnutIabvypnutIabdlkymenVPpo1",
          QStringLiteral("zobraz zpoždění prvního a časy hranic každého okna - čas zapnutí Iab - "
                         "vypnutí Iab - dobu měření VP po "),
          QKeySequence(), [this] { zobrazzpodnprvnhooknaaszapnutIabvypnutIabdlkymenVPpo1Click(); });
  addItem(vp, "poetokenprovynesenvybjeckivky1",
          QStringLiteral("uprav počet, zpoždění prvního a span oken pro vynesení vybíjecí křivky"),
          QKeySequence(), [this] { poetokenprovynesenvybjeckivky1Click(); });
  addItem(vp, "asyokenoddoprovynesenvybjeckivky1",
          QStringLiteral("uprav manuálně časy oken od do pro vynesení vybíjecí křivky"),
          QKeySequence(), [this] { asyokenoddoprovynesenvybjeckivky1Click(); });
  addItem(vp, "asyoken1", QStringLiteral("uložení křivek VP pro vykreslení ve WINSURFERu"),
          QKeySequence(), [this] { asyoken1Click(); });
  addItem(vp, "uloenvechbodvybjeckivkyproWINSURF1",
          QStringLiteral("uložení všech bodů všech vybíjecích křivek pro WINSURF"),
          QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_V),
          [this] { uloenvechbodvybjeckivkyproWINSURF1Click(); });
  addItem(vp, "zobrazenmaximlnVPmxnapravmokraji1",
          QStringLiteral("zobrazené maximální VPmx [%] na pravém okraji"), QKeySequence(),
          [this] { zobrazenmaximlnVPmxnapravmokraji1Click(); });
  addItem(vp, "zobrazformouisolininebovybjeckivky1",
          QStringLiteral("zobraz zdánlivou polarizovatelnost formou isolinií nebo vybíjecí křivky"),
          QKeySequence(), [this] { zobrazformouisolininebovybjeckivky1Click(); });
  QAction* decay = addItem(vp, orv::DecayCurvesItem, QStringLiteral("zobrazovat vybíjecí křivky"),
                           QKeySequence(), [this] { zobrazujnezobrazujvybjeckivky1Click(); });
  decay->setCheckable(true);
  decay->setChecked(true);
}

void Tulvakwin::EditovatultlbodykivekokenVP1Click() {
  orv::toggleIpOutlierEdit(session_);
}

void Tulvakwin::zobrazzpodnprvnhooknaaszapnutIabvypnutIabdlkymenVPpo1Click() {
  orv::showIpInfo(session_);
}

void Tulvakwin::poetokenprovynesenvybjeckivky1Click() {
  orv::editWindowPattern(session_);
}

void Tulvakwin::asyokenoddoprovynesenvybjeckivky1Click() {
  orv::editWindowTimes(session_);
}

void Tulvakwin::asyoken1Click() {
  orv::exportIpGrid(session_);
}

// The item stands in the menu, but there is nothing behind it.
void Tulvakwin::uloenvechbodvybjeckivkyproWINSURF1Click() {}

void Tulvakwin::zobrazenmaximlnVPmxnapravmokraji1Click() {
  orv::askIpMaxShown(session_);
}

void Tulvakwin::zobrazformouisolininebovybjeckivky1Click() {
  orv::toggleIpIsolines(session_);
}

void Tulvakwin::zobrazujnezobrazujvybjeckivky1Click() {
  orv::toggleDecayCurves(session_);
}
